#include "ui/PieGauge.h"

#include <QPainter>
#include <algorithm>

namespace ui {

PieGauge::PieGauge(QWidget* parent) : QWidget(parent) {}

void PieGauge::SetMaxValue(int maximum) {
    max_ = std::max(maximum, 1);
    SetProgress(progress_);
}

void PieGauge::SetProgress(int progress) {
    int p = std::clamp(progress, 0, max_);
    if (p == progress_) return;
    progress_ = p;
    update();
}

void PieGauge::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(palette().color(QPalette::WindowText));
    p.setBrush(palette().color(QPalette::Button));
    p.drawEllipse(r);
    // Qt counts angles in sixteenths of a degree, anticlockwise from three o'clock.
    int span = static_cast<int>(static_cast<long long>(progress_) * 360 * 16 / max_);
    if (span > 0) {
        p.setBrush(colour_);
        p.drawPie(r, 90 * 16, -span);
    }
}

} // namespace ui
