#include "alerts/AlertFile.h"

#include "core/AtomicFile.h"
#include "core/Errors.h"

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <optional>

namespace kovan::alertfile {

namespace {

QString timeText(qint64 ms) {
    if (ms <= 0)
        return QString();
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toString(Qt::ISODateWithMs);
}

QJsonObject encodeAlert(const PriceAlert& a) {
    return QJsonObject{
        {QStringLiteral("symbol"), a.symbol},
        {QStringLiteral("price"), a.price},
        {QStringLiteral("direction"),
         a.direction == AlertDirection::Rise ? QStringLiteral("rise") : QStringLiteral("fall")},
        {QStringLiteral("note"), a.note},
        {QStringLiteral("repeat"), a.repeat},
        {QStringLiteral("enabled"), a.enabled},
        {QStringLiteral("state"),
         a.state == AlertState::Waiting ? QStringLiteral("waiting") : QStringLiteral("triggered")},
        {QStringLiteral("triggeredAt"), timeText(a.triggeredAtMs)}};
}

// A member of `o` of the JSON type `type`, or its default when missing; false when it is there
// with another type.
bool member(const QJsonObject& o, const char* key, QJsonValue::Type type, QJsonValue& out) {
    const QJsonValue v = o.value(QLatin1StringView(key));
    if (v.isUndefined())
        return true;
    if (v.type() != type)
        return false;
    out = v;
    return true;
}

std::optional<PriceAlert> decodeAlert(const QJsonValue& value, QString* problem) {
    const auto bad = [problem](const QString& why) -> std::optional<PriceAlert> {
        *problem = why;
        return std::nullopt;
    };
    if (!value.isObject())
        return bad(QStringLiteral("an alert is not an object"));
    const QJsonObject o = value.toObject();
    PriceAlert a;
    const QJsonValue symbol = o.value(u"symbol"), price = o.value(u"price");
    const QJsonValue direction = o.value(u"direction");
    if (!symbol.isString() || symbol.toString().isEmpty())
        return bad(QStringLiteral("an alert without a symbol"));
    if (!price.isDouble() || !std::isfinite(price.toDouble()) || price.toDouble() <= 0)
        return bad(QStringLiteral("an alert without a positive price"));
    if (direction != QJsonValue(QStringLiteral("rise")) &&
        direction != QJsonValue(QStringLiteral("fall")))
        return bad(QStringLiteral("an alert without a direction"));
    a.symbol = symbol.toString();
    a.price = price.toDouble();
    a.direction = direction.toString() == u"rise" ? AlertDirection::Rise : AlertDirection::Fall;

    QJsonValue note{QString()}, repeat{false}, enabled{true}, state{QStringLiteral("waiting")},
        at{QString()};
    if (!member(o, "note", QJsonValue::String, note) ||
        !member(o, "repeat", QJsonValue::Bool, repeat) ||
        !member(o, "enabled", QJsonValue::Bool, enabled) ||
        !member(o, "state", QJsonValue::String, state) ||
        !member(o, "triggeredAt", QJsonValue::String, at))
        return bad(QStringLiteral("an alert field of the wrong kind"));
    if (state.toString() != u"waiting" && state.toString() != u"triggered")
        return bad(QStringLiteral("an alert state that is neither waiting nor triggered"));
    a.note = cutNote(note.toString());
    a.repeat = repeat.toBool();
    a.enabled = enabled.toBool();
    a.state = state.toString() == u"waiting" ? AlertState::Waiting : AlertState::Triggered;
    if (!at.toString().isEmpty()) {
        const QDateTime t = QDateTime::fromString(at.toString(), Qt::ISODateWithMs);
        if (!t.isValid())
            return bad(QStringLiteral("an unreadable trigger time"));
        a.triggeredAtMs = t.toMSecsSinceEpoch();
    }
    return a;
}

} // namespace

QByteArray encode(const std::vector<PriceAlert>& alerts) {
    QJsonArray list;
    for (const PriceAlert& a : alerts)
        list.append(encodeAlert(a));
    const QJsonObject root{{QStringLiteral("format"), kFormat}, {QStringLiteral("alerts"), list}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool decode(const QByteArray& bytes, std::vector<PriceAlert>& alerts, QString* problem) {
    QString why;
    QString& p = problem ? *problem : why;
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) {
        p = QStringLiteral("not a JSON object");
        return false;
    }
    const QJsonObject root = doc.object();
    const QJsonValue format = root.value(u"format");
    if (!format.isDouble() || format.toDouble() != kFormat) {
        p = QStringLiteral("not format %1").arg(kFormat);
        return false;
    }
    const QJsonValue list = root.value(u"alerts");
    if (!list.isArray()) {
        p = QStringLiteral("no alerts array");
        return false;
    }
    std::vector<PriceAlert> out;
    for (const QJsonValue& v : list.toArray()) {
        std::optional<PriceAlert> a = decodeAlert(v, &p);
        if (!a)
            return false;
        out.push_back(std::move(*a));
    }
    alerts = std::move(out);
    return true;
}

ReadResult read(const QString& path) {
    ReadResult r;
    try {
        const std::optional<QByteArray> bytes = readOwnFile(path, kMaxBytes);
        if (!bytes)
            return r; // Missing
        r.status = decode(*bytes, r.alerts, &r.problem) ? ReadResult::Status::Read
                                                        : ReadResult::Status::Bad;
    } catch (const FileOpenError& e) {
        r.status = ReadResult::Status::Bad;
        r.problem = QString::fromUtf8(e.what());
    }
    if (r.status == ReadResult::Status::Bad)
        r.alerts.clear();
    return r;
}

bool write(const QString& path, const std::vector<PriceAlert>& alerts, QString* error) {
    return writeFileAtomically(path, encode(alerts), error, FileAccess::OwnerOnly);
}

bool keepAsBad(const QString& path) {
    const QString bad = path + kBadSuffix;
    QFile::remove(bad);
    return QFile::rename(path, bad);
}

} // namespace kovan::alertfile
