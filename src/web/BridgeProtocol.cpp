#include "web/BridgeProtocol.h"

namespace kovan::bridge {

namespace {

QString marker() {
    return QString::fromUtf16(kMarker);
}

} // namespace

PromptText encodeCall(const QString& name, const QString& params) {
    return {marker(), QString::number(name.size()) + u':' + name + params};
}

std::optional<Call> decodeCall(const QString& message, const QString& defaultValue) {
    if (message != marker())
        return std::nullopt;
    const qsizetype colon = defaultValue.indexOf(u':');
    if (colon <= 0)
        return std::nullopt;
    bool ok = false;
    const qsizetype nameLength = QStringView(defaultValue).left(colon).toLongLong(&ok);
    if (!ok || nameLength < 0 || colon + 1 + nameLength > defaultValue.size())
        return std::nullopt;
    return Call{defaultValue.mid(colon + 1, nameLength), defaultValue.mid(colon + 1 + nameLength)};
}

QString tooLongMessage() {
    return QStringLiteral("FCB: a call may hold at most %1 characters").arg(kMaxCallLength);
}

QString resultAnswer(const QString& text) {
    return u'R' + text;
}

QString errorAnswer(const QString& message) {
    return u'E' + message;
}

QString deferredAnswer(const QString& token) {
    return u'D' + token;
}

bool isPageServerOrigin(const QUrl& origin, const HostPort& pageServer) {
    if (!origin.isValid() || origin.scheme().compare(u"http", Qt::CaseInsensitive) != 0)
        return false;
    if (origin.host().compare(pageServer.host, Qt::CaseInsensitive) != 0 || origin.host().isEmpty())
        return false;
    return origin.port(80) == int(pageServer.port);
}

QString injectedScript() {
    // Captures prompt and XMLHttpRequest before any page script runs, so a page that redefines
    // either cannot break the bridge or read other frames' answers.
    static const QString script =
        QStringLiteral(R"JS((function () {
  'use strict';
  var ext = window.external;
  if (!ext || (ext.FCB && ext.FCB.__kovanBridge)) return;
  var ask = window.prompt.bind(window);
  var Xhr = window.XMLHttpRequest;
  var marker = '%1';
  function settle(answer, allowDefer) {
    if (typeof answer !== 'string' || answer.length === 0)
      throw new Error('FCB unavailable');
    var kind = answer.charAt(0), text = answer.substring(1);
    if (kind === 'R') return text;
    if (kind === 'E') throw new Error(text);
    if (kind === 'D' && allowDefer) {
      var x = new Xhr();
      x.open('GET', '%2:wait?p=' + encodeURIComponent(text), false);
      try { x.send(null); } catch (e) { throw new Error('FCB unavailable'); }
      return settle(x.responseText, false);
    }
    throw new Error('FCB unavailable');
  }
  var fcb = function (name, params) {
    var n = (name === undefined || name === null) ? '' : String(name);
    var p = (params === undefined || params === null) ? '' : String(params);
    if (n.length + p.length > %3) throw new Error('%4');
    return settle(ask(marker, n.length + ':' + n + p), true);
  };
  Object.defineProperty(fcb, '__kovanBridge', { value: true });
  try { ext.FCB = fcb; } catch (e) {}
})();)JS")
            .arg(QStringLiteral("\\u0001KOVAN-FCB\\u0002"), QString::fromLatin1(kScheme),
                 QString::number(kMaxCallLength), tooLongMessage());
    return script;
}

QString hostStyleScript() {
    return QStringLiteral(R"JS((function () {
  var root = document.documentElement;
  if (!root || document.getElementById('__kovanHostStyle')) return;
  var s = document.createElement('style');
  s.id = '__kovanHostStyle';
  s.textContent = '*{-webkit-user-select:none!important;user-select:none!important}';
  (document.head || root).appendChild(s);
})();)JS");
}

} // namespace kovan::bridge
