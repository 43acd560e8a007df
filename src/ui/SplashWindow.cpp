#include "ui/SplashWindow.h"

#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <cmath>

namespace ui {

QPixmap MakeProductPicture(const QString& title, const QString& subtitle) {
    QPixmap pm(320, 260);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 260);
    sky.setColorAt(0, QColor(12, 36, 84));
    sky.setColorAt(1, QColor(4, 12, 32));
    p.fillRect(pm.rect(), sky);

    // Grid and daily bars of a rising market with its moving average.
    QRect chart(16, 96, 288, 120);
    p.setPen(QColor(40, 70, 120));
    for (int y = chart.top(); y <= chart.bottom(); y += 20)
        p.drawLine(chart.left(), y, chart.right(), y);
    QPainterPath average;
    double level = 0.25, avg = 0.25;
    for (int i = 0; i < 48; ++i) {
        double wave = 0.08 * std::sin(i * 0.55) + 0.05 * std::sin(i * 1.7);
        level = std::clamp(level + 0.012 + wave * 0.35, 0.05, 0.95);
        double high = std::min(0.98, level + 0.05), low = std::max(0.02, level - 0.05);
        int x = chart.left() + 3 + i * 6;
        auto yOf = [&](double v) { return chart.bottom() - static_cast<int>(v * chart.height()); };
        p.setPen(QPen(wave >= 0 ? QColor(90, 220, 120) : QColor(240, 110, 90), 2));
        p.drawLine(x, yOf(high), x, yOf(low));
        avg = avg * 0.85 + level * 0.15;
        if (i == 0)
            average.moveTo(x, yOf(avg));
        else
            average.lineTo(x, yOf(avg));
    }
    p.setPen(QPen(QColor(255, 210, 80), 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(average);

    QFont big(QStringLiteral("Arial"));
    big.setStyleHint(QFont::SansSerif);
    big.setPixelSize(44);
    big.setBold(true);
    p.setFont(big);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 18, 320, 52), Qt::AlignCenter, title);
    QFont small = big;
    small.setPixelSize(15);
    small.setBold(false);
    p.setFont(small);
    p.setPen(QColor(200, 215, 240));
    p.drawText(QRect(0, 66, 320, 22), Qt::AlignCenter, subtitle);
    small.setPixelSize(12);
    p.setFont(small);
    p.drawText(QRect(0, 228, 320, 24), Qt::AlignCenter, QStringLiteral("Loading..."));
    return pm;
}

SplashWindow::SplashWindow(const QPixmap& picture, QWidget* parent)
    : QWidget(parent, parent ? Qt::Widget
                             : Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("Splash"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(332, 272);
    Panel1 = new QFrame(this);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(3);
    Panel1->setGeometry(0, 0, 332, 272);
    Image1 = new QLabel(Panel1);
    Image1->setPixmap(picture);
    Image1->setGeometry((332 - 320) / 2, (272 - 260) / 2, 320, 260);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &SplashWindow::WindowActivated);
}

void SplashWindow::WindowActivated(QWindow* window) {
    if (window && isWindow() && window != windowHandle()) close();
}

void SplashWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isWindow() && !isActiveWindow() &&
        QGuiApplication::focusWindow() && QGuiApplication::focusWindow() != windowHandle())
        close();
}

QPointer<SplashWindow> ShowSplash(const QPixmap& picture) {
    auto* splash = new SplashWindow(picture);
    splash->show();
    splash->repaint();
    QCoreApplication::processEvents();
    return splash;
}

} // namespace ui
