#pragma once

#include "core/Endpoints.h"

#include <QString>
#include <QUrl>

#include <optional>

namespace kovan {

// The wire format between the script injected into bridged pages and the native side.
//
// A page's window.external.FCB(name, params) becomes one window.prompt(message, default) call
// whose message is the marker alone and whose default value carries the call:
//   <decimal length of name> + ":" + name + params
// (the engine cuts a prompt's message at 10,240 characters but passes its default value and its
// answer whole). The answer is one letter followed by text:
//   "R" + result          the command's result text;
//   "E" + message         the wrapper throws new Error(message);
//   "D" + token           deferred: the wrapper fetches the answer (again "R…" or "E…") with a
//                         synchronous request to kBridgeScheme + ":wait?p=" + token.
// Pure functions, any thread.
namespace bridge {

inline constexpr char16_t kMarker[] = u"\u0001KOVAN-FCB\u0002";
inline constexpr char kScheme[] = "fcb";

// The longest call (name and parameters together, in UTF-16 units) the bridge takes: 32 Mi
// characters. A longer one is refused with a script error that names the limit, never cut.
inline constexpr qsizetype kMaxCallLength = qsizetype(32) * 1024 * 1024;

struct Call {
    QString name;
    QString params;
};

// What the injected wrapper hands to window.prompt for a call.
struct PromptText {
    QString message;
    QString defaultValue;
};
PromptText encodeCall(const QString& name, const QString& params);
// nullopt when the prompt is not a bridge call (a page's own prompt()) or is malformed.
std::optional<Call> decodeCall(const QString& message, const QString& defaultValue);
// The error of a call longer than kMaxCallLength.
QString tooLongMessage();

QString resultAnswer(const QString& text);
QString errorAnswer(const QString& message);
QString deferredAnswer(const QString& token);

// The only origin the bridge serves: scheme http, the page server's host (ignoring letter case)
// and port (80 when the URL gives none). Everything else — other hosts, ports, schemes,
// opaque origins — is refused.
bool isPageServerOrigin(const QUrl& origin, const HostPort& pageServer);

// The message of the error a refused caller gets.
inline constexpr char kForbidden[] = "forbidden";

// The script injected at document creation (main world, all frames): defines
// window.external.FCB on top of the prompt function captured at that moment.
QString injectedScript();
// The host look: no text selection. Injected once the document element exists.
QString hostStyleScript();

} // namespace bridge
} // namespace kovan
