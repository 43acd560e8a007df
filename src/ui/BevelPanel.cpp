#include "ui/BevelPanel.h"

#include <QPainter>
#include <qdrawutil.h>

namespace ui {

BevelPanel::BevelPanel(QWidget* parent, Bevel outer, Bevel inner, int bevelWidth)
    : QWidget(parent), outer_(outer), inner_(inner), width_(bevelWidth) {}

void BevelPanel::SetFramed(bool framed) {
    framed_ = framed;
    update();
}

int BevelPanel::BorderWidth() const {
    return (framed_ ? 1 : 0) + (outer_ != Bevel::None ? width_ : 0) +
           (inner_ != Bevel::None ? width_ : 0);
}

void BevelPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QRect r = rect();
    if (framed_) {
        p.setPen(palette().color(QPalette::Shadow));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
    }
    for (Bevel b : {outer_, inner_}) {
        if (b == Bevel::None) continue;
        qDrawShadePanel(&p, r, palette(), b == Bevel::Lowered, width_);
        r.adjust(width_, width_, -width_, -width_);
    }
}

BevelLine::BevelLine(QWidget* parent) : QWidget(parent) { setFixedHeight(2); }

void BevelLine::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(palette().color(QPalette::Dark));
    p.drawLine(0, 0, width() - 1, 0);
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(0, 1, width() - 1, 1);
}

} // namespace ui
