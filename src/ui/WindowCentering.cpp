#include "ui/WindowCentering.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace ui {

QPoint CenteredPosition(QSize window, QRect control, QSize screen) {
    int top = control.top() + control.height() / 2 - window.height() / 2;
    int left = control.left() + control.width() / 2 - window.width() / 2;
    top = std::max(0, std::min(screen.height() - window.height(), top));
    left = std::max(0, std::min(screen.width() - window.width(), left));
    return {left, top};
}

void CenterOver(QWidget* window, const QWidget* control) {
    QScreen* screen = control ? control->screen() : QGuiApplication::primaryScreen();
    QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    QRect target = area;
    if (control) {
        // A top-level control is placed by its frame, a child by its place on the screen.
        target = control->isWindow() ? control->frameGeometry()
                                     : QRect(control->mapToGlobal(QPoint(0, 0)), control->size());
    }
    QSize size = window->frameGeometry().size().expandedTo(window->size());
    window->move(CenteredPosition(size, target.translated(-area.topLeft()), area.size()) +
                 area.topLeft());
}

} // namespace ui
