#pragma once

#include <QApplication>

#include <exception>

namespace kovan {

// The application object. Every event handler runs through notify(); an exception that
// escapes one ends that handler where it failed and goes to myExecpet, which classifies it,
// composes its text and drops it: errors never reach the user and the program runs on (the
// text goes to the log file only).
// GUI thread only.
class KovanApplication : public QApplication {
    Q_OBJECT
public:
    KovanApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // The application-wide error handler. `sender` is the object whose handler failed (may be
    // null). Never throws. Returns the composed text (dropped by callers; traced: the log file,
    // and stderr with KOVAN_TRACE).
    static QString myExecpet(QObject* sender, std::exception_ptr error);

    // Runs `f`, handing any escaping exception to myExecpet. For work that does not come
    // through notify() (start-up, callbacks run from queued functors).
    template <typename F> static void guarded(QObject* sender, F&& f) {
        try {
            f();
        } catch (...) {
            myExecpet(sender, std::current_exception());
        }
    }
};

} // namespace kovan
