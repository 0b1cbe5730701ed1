#include "shell/KovanApplication.h"

#include "core/Errors.h"
#include "core/Trace.h"

namespace kovan {

KovanApplication::KovanApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool KovanApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        myExecpet(receiver, std::current_exception());
        return true;
    }
}

QString KovanApplication::myExecpet(QObject* sender, std::exception_ptr error) {
    std::string text;
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        text = composeErrorText(e);
    } catch (...) {
        text = composeUnknownErrorText();
    }
    const QString composed = QString::fromStdString(text);
    // Nothing reaches the user; the text goes to the log file (and stderr with KOVAN_TRACE).
    const QString who =
        sender ? QString::fromLatin1(sender->metaObject()->className()) : QStringLiteral("-");
    QString shown = composed;
    trace(QStringLiteral("error dropped (") + who + QStringLiteral("): ") +
          shown.replace(u'\r', u'|'));
    return composed;
}

} // namespace kovan
