// The application-wide error handler: an exception escaping an event handler ends that
// handler where it failed, is dropped, and the program runs on.

#include "core/Errors.h"
#include "shell/KovanApplication.h"

#include <QEvent>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace kovan;

namespace {

// A click handler that fails half-way through.
class FailingButton : public QPushButton {
public:
    int started = 0;
    int finished = 0;

protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) {
            ++started;
            if (started % 2 == 1)
                throw DivisionByZeroError("division by zero");
            ++finished;
            return true;
        }
        return QPushButton::event(e);
    }
};

} // namespace

TEST(ErrorHandler, FailedHandlerEndsWhereItFailedAndTheNextRunStartsAfresh) {
    FailingButton button;
    QEvent click(QEvent::User);
    EXPECT_NO_THROW(QCoreApplication::sendEvent(&button, &click));
    EXPECT_EQ(button.started, 1);
    EXPECT_EQ(button.finished, 0);
    EXPECT_NO_THROW(QCoreApplication::sendEvent(&button, &click));
    EXPECT_EQ(button.started, 2);
    EXPECT_EQ(button.finished, 1);
}

TEST(ErrorHandler, TimerHandlersKeepRunningAfterAFailure) {
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++ticks;
        if (ticks == 1)
            throw std::runtime_error("first tick fails");
        if (ticks == 3)
            QCoreApplication::quit();
    });
    timer.start(1);
    QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_EQ(ticks, 3);
}

TEST(ErrorHandler, TextComesFromTheCaughtException) {
    // The texts themselves are tested with composeErrorText (core); here only that the
    // handler composes from the exception it caught, derived kinds and non-std ones included.
    const DivisionByZeroError division("x");
    EXPECT_EQ(KovanApplication::myExecpet(nullptr, std::make_exception_ptr(division)),
              QString::fromStdString(composeErrorText(division)));
    const std::logic_error logic("bad");
    EXPECT_EQ(KovanApplication::myExecpet(nullptr, std::make_exception_ptr(logic)),
              QString::fromStdString(composeErrorText(logic)));
    EXPECT_EQ(KovanApplication::myExecpet(nullptr, std::make_exception_ptr(42)),
              QString::fromStdString(composeUnknownErrorText()));
}

TEST(ErrorHandler, GuardedRunsAndSwallows) {
    bool before = false, after = false;
    KovanApplication::guarded(nullptr, [&] {
        before = true;
        throw ConversionError("'zz' is not a valid hexadecimal value");
        after = true;
    });
    EXPECT_TRUE(before);
    EXPECT_FALSE(after);
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    KovanApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
