#include "ui/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <string>

namespace ui {

FormPosition StoredFormPosition(const platform::Profile& file, std::string_view section,
                                QSize current, QSize screen) {
    FormPosition p;
    const int width = file.ReadInteger(section, "Width", current.width());
    const int height = file.ReadInteger(section, "Height", current.height());
    int top = file.ReadInteger(section, "Top", (screen.height() - height) / 2);
    int left = file.ReadInteger(section, "Left", (screen.width() - width) / 2);
    const int state = file.ReadInteger(section, "State", StateNormal);
    p.changeState = state == StateNormal || state == StateMinimised || state == StateMaximised;
    p.maximised = state == StateMaximised;
    // Saved on a larger screen: back onto this one.
    if (top >= screen.height()) top = (screen.height() - height) / 2;
    if (left >= screen.width()) left = (screen.width() - width) / 2;
    p.bounds = QRect(left, top, width, height);
    return p;
}

void RestoreFormPosition(QWidget& form, const platform::Profile& file, std::string_view section) {
    const QScreen* screen = form.screen() ? form.screen() : QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->geometry().size() : QSize(1024, 768);
    const FormPosition p = StoredFormPosition(file, section, form.size(), screenSize);
    form.move(p.bounds.topLeft());
    form.resize(p.bounds.size());
    if (!p.changeState) return;
    Qt::WindowStates states = form.windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized);
    form.setWindowState(p.maximised ? states | Qt::WindowMaximized : states);
}

bool SaveFormPosition(QWidget& form, platform::Profile& file, std::string_view section) {
    const Qt::WindowStates states = form.windowState();
    const int state = states & Qt::WindowMinimized   ? StateMinimised
                      : states & Qt::WindowMaximized ? StateMaximised
                                                     : StateNormal;
    // The normal bounds are what comes back next time, whatever the state now.
    QRect normal(form.pos(), form.size());
    if (states & (Qt::WindowMaximized | Qt::WindowMinimized)) {
        // Positions are the frame's, as move() takes them.
        normal = form.normalGeometry();
        normal.translate(form.pos() - form.geometry().topLeft());
    }
    if (state == StateMaximised) form.setWindowState(states & ~Qt::WindowMaximized);
    return file.WriteStrings(section, {{"State", std::to_string(state)},
                                       {"Top", std::to_string(normal.top())},
                                       {"Left", std::to_string(normal.left())},
                                       {"Height", std::to_string(normal.height())},
                                       {"Width", std::to_string(normal.width())}});
}

} // namespace ui
