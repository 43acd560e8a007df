// Helpers for the widget tests: a main() on the programs' application class, recorders for
// beeps, message boxes and help, and a way to act on a modal window once it is up.
#pragma once

#include "ui/FatalErrorHandler.h"
#include "ui/Hooks.h"
#include "ui/ProgramStartup.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>
#include <vector>

#define ZOLT_UI_TEST_MAIN(TestClass)                                                               \
    int main(int argc, char** argv) {                                                              \
        ui::ZoltApplication app(argc, argv);                                                       \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        TestClass tc;                                                                              \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }

namespace uitest {

struct Message {
    ui::BoxKind kind;
    QString text;
    QMessageBox::StandardButtons buttons;
    QWidget* parent = nullptr; // the box is centred over its window
};

// Replaces the beep, message-box and help hooks for its lifetime. Boxes are answered from
// `answers` in order (then with the first button offered), and `onMessage` runs before each
// answer is given.
class Recorder {
public:
    Recorder() {
        oldBeep_ = ui::SetBeepHook([this] { ++beeps; });
        oldMessage_ = ui::SetMessageHook([this](QWidget* parent, ui::BoxKind kind,
                                                const QString& text,
                                                QMessageBox::StandardButtons buttons) {
            messages.push_back({kind, text, buttons, parent});
            if (onMessage) onMessage(messages.back());
            if (!answers.empty()) {
                auto a = answers.front();
                answers.pop_front();
                return a;
            }
            for (auto b : {QMessageBox::Ok, QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
                if (buttons & b) return b;
            return QMessageBox::Ok;
        });
        oldHelp_ = ui::SetHelpHook([this](int context) { helpContexts.push_back(context); });
    }
    ~Recorder() {
        ui::SetBeepHook(oldBeep_);
        ui::SetMessageHook(oldMessage_);
        ui::SetHelpHook(oldHelp_);
    }
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    int beeps = 0;
    std::vector<Message> messages;
    std::deque<QMessageBox::StandardButton> answers;
    std::function<void(const Message&)> onMessage;
    std::vector<int> helpContexts;

private:
    ui::BeepHook oldBeep_;
    ui::MessageHook oldMessage_;
    ui::HelpHook oldHelp_;
};

// Fixes the clock for its lifetime.
class FixedClock {
public:
    explicit FixedClock(hostdb::DateTimeValue now) {
        old_ = ui::SetClockHook([now] { return now; });
    }
    ~FixedClock() { ui::SetClockHook(old_); }
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;

private:
    ui::ClockHook old_;
};

// Runs action on the first modal window of type T that is up (polling the event loop, so a
// modal exec() started after this call is found). Deleting the returned timer cancels it.
template <typename T> QTimer* WhenModal(std::function<void(T*)> action) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action] {
        T* w = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!w || !w->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        action(w);
    });
    timer->start();
    return timer;
}

} // namespace uitest
