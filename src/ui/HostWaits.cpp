#include "ui/HostWaits.h"

#include <QCoreApplication>
#include <QPointer>
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
    // A link may outlive its window: then its waits are plain ones.
    return [state, window, alive = QPointer<QObject>(window.owner)](std::string_view awaited,
                                                                    double seconds) {
        if (!alive) return true;
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
        return !(alive && window.stopped && window.stopped());
    };
}

} // namespace ui
