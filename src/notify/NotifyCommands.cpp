#include "notify/NotifyCommands.h"

#include "core/CommandRegistry.h"
#include "core/Errors.h"
#include "core/JsonParams.h"
#include "notify/NoticeList.h"

#include <QJsonArray>

#include <memory>

namespace kovan {

QString NotifyCommands::tipwindow(const QString& params) {
    const QJsonObject o = commandParamObject(params, "tipwindow");
    if (!m_t.notices)
        return QStringLiteral("1");
    const int index = m_t.notices->append(rbMsgRecord::make(
        jsonText(o, u"title"), jsonText(o, u"content"), jsonText(o, u"viewact"),
        jsonText(o, u"vititle"), jsonText(o, u"viparam"), qint32(jsonInt(o, u"staytitle"))));
    if (m_t.showMsg)
        m_t.showMsg(index);
    if (m_t.soundOn && m_t.soundOn() && m_t.audioPlay) {
        const QString audio = jsonText(o, u"audio");
        m_t.audioPlay(audio.isEmpty() ? kDefaultNoticeSound : audio);
    }
    return QStringLiteral("1");
}

QString NotifyCommands::addfloatmsg(const QString& params) {
    const QJsonObject o = commandParamObject(params, "addfloatmsg");
    if (jsonText(o, u"title").isEmpty() || jsonText(o, u"id").isEmpty() || !m_t.topInfoList)
        return QStringLiteral("1");
    topInfoRuntimeRecord item;
    item.evID = qint32(jsonInt(o, u"id"));
    item.title = jsonText(o, u"title");
    item.evType = jsonText(o, u"type");
    item.impant = qint32(jsonInt(o, u"impant"));
    item.expired = 0;
    // The duplicate scan and the append are one step under the lock: the sync worker appends
    // concurrently.
    m_t.topInfoList->with([&item](QList<topInfoRuntimeRecord>& list) {
        for (const topInfoRuntimeRecord& held : std::as_const(list))
            if (held.evID == item.evID && held.evType == item.evType)
                return;
        list.append(std::move(item));
    });
    return QStringLiteral("1");
}

QString NotifyCommands::realsign(const QString& params) {
    const QJsonObject o = commandParamObject(params, "realsign");
    const QJsonValue incomingValue = o.value(u"items");
    if (!incomingValue.isArray())
        throw ConversionError("realsign: parameter has no items array");
    if (m_t.realtimeSignals) {
        QJsonObject& rs = *m_t.realtimeSignals;
        QJsonArray held = rs.value(u"items").toArray();
        for (const QJsonValue& value : incomingValue.toArray()) {
            const QJsonObject incoming = value.toObject();
            const qint64 id = jsonInt(incoming, u"id");
            const qint64 count = std::min<qint64>(jsonInt(rs, u"itemcount"), held.size());
            qint64 found = -1;
            for (qint64 i = 0; i < count && found < 0; ++i)
                if (jsonInt(held.at(i).toObject(), u"id") == id)
                    found = i;
            if (found >= 0) {
                QJsonObject signal = held.at(found).toObject();
                const double tp = jsonReal(incoming, u"tp");
                if (jsonReal(signal, u"tp") != tp)
                    signal.insert(QStringLiteral("tp"), tp);
                const double sl = jsonReal(incoming, u"sl");
                if (jsonReal(signal, u"sl") != sl)
                    signal.insert(QStringLiteral("sl"), sl);
                held.replace(found, signal);
            } else {
                held.append(value);
            }
            rs.insert(QStringLiteral("items"), held);
            rs.insert(QStringLiteral("itemcount"), held.size());
        }
    }
    if (m_t.refreshInstantTrade)
        m_t.refreshInstantTrade();
    return QStringLiteral("1");
}

QString NotifyCommands::playaudio(const QString& params) {
    const QJsonObject o = commandParamObject(params, "playaudio");
    const QString audio = jsonText(o, u"audio");
    if (!audio.isEmpty() && m_t.audioPlay)
        m_t.audioPlay(audio);
    return QStringLiteral("1");
}

void registerNotifyCommands(CommandRegistry& registry, NotifyCommandTargets targets) {
    const auto commands = std::make_shared<NotifyCommands>(std::move(targets));
    registry.add(QStringLiteral("tipwindow"),
                 [commands](const QString& p) { return commands->tipwindow(p); });
    registry.add(QStringLiteral("addfloatmsg"),
                 [commands](const QString& p) { return commands->addfloatmsg(p); });
    registry.add(QStringLiteral("realsign"),
                 [commands](const QString& p) { return commands->realsign(p); });
    registry.add(QStringLiteral("playaudio"),
                 [commands](const QString& p) { return commands->playaudio(p); });
}

} // namespace kovan
