#pragma once

#include "alerts/PriceAlert.h"
#include "alerts/PriceAlertBook.h"
#include "core/JsonParams.h"
#include "core/SyncTables.h"
#include "net/SyncReplyProcessor.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

namespace kovan::alerttest {

// The symbol table of the tests: gold with two decimals, silver whole, aluminium in steps of 5.
inline QJsonObject symbolTable() {
    return parseJsonObject(QStringLiteral(
        R"({"XAU":{"showname":"黄金美元","minpip":0.01,"piplen":2,"basepip":1},
            "XAGRMB":{"showname":"现货白银","minpip":1,"piplen":0,"basepip":1},
            "AIDRMB":{"showname":"现货铝","minpip":5,"piplen":0,"basepip":1}})"));
}

// A reply's rates from the JSON text of its rate array, e.g. R"([{"S":"XAU","B":"2050.10"}])",
// as the sync worker hands them on once the quote table took them.
inline std::vector<RateQuote> rates(const char* json) {
    NameValueList quoteTable;
    std::vector<RateQuote> seen;
    SyncReplyProcessor::applyRates(quoteTable, QJsonDocument::fromJson(QByteArray(json)).array(),
                                   &seen);
    return seen;
}

inline PriceAlert alert(const char* symbol, double price, AlertDirection d, bool repeat = false,
                        const char* note = "") {
    PriceAlert a;
    a.symbol = QString::fromUtf8(symbol);
    a.price = price;
    a.direction = d;
    a.repeat = repeat;
    a.note = QString::fromUtf8(note);
    return a;
}

// Sync tables holding the test symbols and the bids given as "CODE=bid" lines.
inline SyncTables tablesWithBids(const QStringList& bids) {
    SyncTables t = SyncTables::initial();
    t.symbolInfo = symbolTable();
    for (const QString& line : bids) {
        const QString code = line.section(u'=', 0, 0), bid = line.section(u'=', 1);
        t.quoteTable.setValue(QString(code + QStringLiteral("_BID")), bid);
    }
    return t;
}

// The symbols the book's active alerts watch.
inline QSet<QString> watched(const PriceAlertBook& book) {
    const std::shared_ptr<const WatchList> w = book.watchList();
    return QSet<QString>(w->keyBegin(), w->keyEnd());
}

constexpr AlertDirection Rise = AlertDirection::Rise;
constexpr AlertDirection Fall = AlertDirection::Fall;

} // namespace kovan::alerttest
