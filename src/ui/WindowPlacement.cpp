#include "ui/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <string>

namespace ui {

FormPosition StoredFormPosition(const platform::Profile& file, std::string_view section,
                                QSize current, QSize screen) {
    FormPosition p;
    const int width = file.ReadInteger(section, "Width", current.width());
    const int height = file.ReadInteger(section, "Height", current.height());
    int top = file.ReadInteger(section, "Top", (screen.height() - height) / 2);
    int left = file.ReadInteger(section, "Left", (screen.width() - width) / 2);
    // A state the file cannot hold is the normal one, so the window is never left unseen.
    p.maximised = file.ReadInteger(section, "State", StateNormal) == StateMaximised;
    // Saved on a larger screen: back onto this one.
    if (top >= screen.height()) top = (screen.height() - height) / 2;
    if (left >= screen.width()) left = (screen.width() - width) / 2;
    p.bounds = QRect(left, top, width, height);
    return p;
}

QRect KeptOnScreens(QRect bounds, QSize minimum, QSize current, const std::vector<QRect>& screens,
                    const QRect& primary) {
    int widest = primary.width(), highest = primary.height();
    for (const QRect& s : screens) {
        widest = std::max(widest, s.width());
        highest = std::max(highest, s.height());
    }
    int width = bounds.width(), height = bounds.height();
    if (width < std::max(minimum.width(), 1) || width > widest) width = current.width();
    if (height < std::max(minimum.height(), 1) || height > highest) height = current.height();
    // The title bar's strip, in 64-bit arithmetic: a hostile left or top is near the int range.
    constexpr long long TitleBar = 20;
    const long long left = bounds.left(), top = bounds.top();
    bool reachable = false;
    for (const QRect& s : screens) {
        const long long x0 = std::max<long long>(left, s.left());
        const long long x1 = std::min<long long>(left + width, s.left() + s.width());
        const long long y0 = std::max<long long>(top, s.top());
        const long long y1 = std::min<long long>(top + TitleBar, s.top() + s.height());
        if (y1 > y0 && (x1 - x0) * 3 >= width) reachable = true;
    }
    if (!reachable)
        return QRect(primary.left() + (primary.width() - width) / 2,
                     primary.top() + (primary.height() - height) / 2, width, height);
    return QRect(bounds.left(), bounds.top(), width, height);
}

void RestoreFormPosition(QWidget& form, const platform::Profile& file, std::string_view section) {
    const QScreen* screen = form.screen() ? form.screen() : QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->geometry().size() : QSize(1024, 768);
    const FormPosition p = StoredFormPosition(file, section, form.size(), screenSize);
    std::vector<QRect> screens;
    for (const QScreen* s : QGuiApplication::screens()) screens.push_back(s->availableGeometry());
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QRect kept =
        KeptOnScreens(p.bounds, form.minimumSize(), form.size(), screens,
                      primary ? primary->availableGeometry() : QRect(QPoint(0, 0), screenSize));
    form.move(kept.topLeft());
    form.resize(kept.size());
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
