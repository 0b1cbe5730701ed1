#pragma once

#include "core/ContentSections.h"

#include <QString>

#include <vector>

class QJsonObject;

namespace kovan {

// What the sync worker needs from the windows, as small interfaces so that the worker can be
// tested with fakes and never includes a widget header.

// The section pages. Called on the GUI thread only (the worker hands the call over and waits).
class ISectionPages {
public:
    virtual ~ISectionPages() = default;
    // Runs reloadCheck('<sessid>') in every loaded section page of `changed` (the sections
    // whose stamp the latest sync reply moved).
    virtual void checkRefresh(ContentSectionSet changed) = 0;
    // Reloads one section ("sign", "arts", "plan", "mkte", "rpae") or "all".
    virtual void forceReload(const QString& which) = 0;
};

// The rates ticker along the bottom of the main window.
class IRatesTicker {
public:
    virtual ~IRatesTicker() = default;
    // Any thread: whether a ticker worker exists right now.
    virtual bool tickerExists() const = 0;
    // Called from the sync worker's thread: creates and starts the ticker worker.
    virtual void startDrawRate() = 0;
};

// One element of a sync reply's rate array: the symbol code and the bid text, as sent (either
// may be empty).
struct RateQuote {
    QString code;
    QString bid;
};

// What checks the bids of every sync reply right after they went into the quote table (the
// member's price alerts). Called on the sync worker's thread with no lock of the sync tables
// held; it must neither block nor wait for the GUI thread.
class IQuoteWatcher {
public:
    virtual ~IQuoteWatcher() = default;
    // `rates`: the reply's rate array in order; `symbolInfo`: the symbol table as this reply
    // left it.
    virtual void quotesUpdated(const std::vector<RateQuote>& rates,
                               const QJsonObject& symbolInfo) = 0;
};

} // namespace kovan
