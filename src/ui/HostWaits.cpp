#include "ui/HostWaits.h"

#include <QCoreApplication>
#include <QTimer>
#include <memory>

namespace ui {

std::function<bool(std::string_view, double)> WindowWaitHook(HostWaitWindow window) {
    struct State {
        QString told;
        QTimer* ended = nullptr;
    };
    auto state = std::make_shared<State>();
    // No call for a while: the wait is over, and so is what was told about it.
    state->ended = new QTimer(window.owner);
    state->ended->setSingleShot(true);
    state->ended->setInterval(200);
    QObject::connect(state->ended, &QTimer::timeout, window.owner, [state, tell = window.tell] {
        if (state->told.isEmpty()) return;
        state->told.clear();
        if (tell) tell(QString());
    });
    return [state, window](std::string_view awaited, double seconds) {
        if (seconds >= TellWaitAfterSeconds) {
            const QString text =
                QString::fromUtf8(awaited.data(), static_cast<qsizetype>(awaited.size())) +
                QStringLiteral("...");
            if (text != state->told && window.tell) window.tell(text);
            state->told = text;
        }
        state->ended->start();
        // Without a Stop on screen, a click must not start another request on this link.
        QCoreApplication::processEvents(window.takesInput && window.takesInput()
                                            ? QEventLoop::AllEvents
                                            : QEventLoop::ExcludeUserInputEvents);
        return !(window.stopped && window.stopped());
    };
}

} // namespace ui
