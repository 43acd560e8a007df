#include "ui/ToolGlyphs.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>
#include <QVBoxLayout>

namespace ui {

QFont PixelFont(int pixels, bool bold) {
    QFont f = QApplication::font();
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QToolButton* MakeToolButton(QWidget* panel, int x, Glyph glyph, const QString& hint) {
    auto* b = new QToolButton(panel);
    b->setAutoRaise(true);
    b->setGeometry(x, 8, 25, 25);
    b->setIcon(ToolGlyph(glyph));
    b->setToolTip(QString(hint).replace('\r', '\n'));
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QIcon ToolGlyph(Glyph which) {
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(0, 0, 128), red(192, 0, 0);
    p.setPen(QPen(ink, 1.5));
    switch (which) {
    case Glyph::Disks: // get data
        for (int i = 0; i < 3; ++i) p.drawEllipse(QRectF(3, 3 + 5 * i, 14, 5));
        break;
    case Glyph::Funnel: { // filter data
        const QPointF funnel[] = {{2, 3}, {18, 3}, {11, 11}, {11, 17}, {9, 17}, {9, 11}};
        p.setBrush(QColor(180, 200, 255));
        p.drawPolygon(funnel, 6);
        break;
    }
    case Glyph::Printer:
        p.drawRect(QRectF(2, 8, 16, 7));
        p.drawRect(QRectF(5, 3, 10, 5));
        p.fillRect(QRectF(5, 13, 10, 5), Qt::white);
        p.drawRect(QRectF(5, 13, 10, 5));
        break;
    case Glyph::List: // build a tag list
        for (int i = 0; i < 4; ++i) {
            p.drawPoint(QPointF(4, 4 + 4 * i));
            p.drawLine(QPointF(7, 4 + 4 * i), QPointF(17, 4 + 4 * i));
        }
        break;
    case Glyph::Chart: // go to charts: bars under a red line
        for (int i = 0; i < 4; ++i)
            p.drawLine(QPointF(4 + 4 * i, 16), QPointF(4 + 4 * i, 12 - 2 * i));
        p.setPen(QPen(red, 1.5));
        p.drawLine(QPointF(2, 12), QPointF(18, 4));
        break;
    case Glyph::Help:
        p.setFont(PixelFont(16, true));
        p.drawText(QRect(0, 0, 20, 20), Qt::AlignCenter, "?");
        break;
    case Glyph::Magnifier: // find
        p.drawEllipse(QRectF(3, 3, 10, 10));
        p.setPen(QPen(ink, 3));
        p.drawLine(QPointF(12, 12), QPointF(18, 18));
        break;
    case Glyph::Exit: // a door and an arrow out of it
        p.drawRect(QRectF(3, 2, 9, 16));
        p.setPen(QPen(red, 1.5));
        p.drawLine(QPointF(9, 10), QPointF(18, 10));
        p.drawLine(QPointF(15, 7), QPointF(18, 10));
        p.drawLine(QPointF(15, 13), QPointF(18, 10));
    }
    return QIcon(pm);
}

QFrame* MakeTitlePanel(QWidget* parent, QLabel*& first, QLabel*& second) {
    auto* panel = new QFrame(parent);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(2);
    panel->resize(377, 57);
    panel->setAutoFillBackground(true);
    QPalette colours = panel->palette();
    colours.setColor(QPalette::Window, parent->palette().color(QPalette::WindowText));
    colours.setColor(QPalette::WindowText, parent->palette().color(QPalette::Window));
    panel->setPalette(colours);
    auto* lines = new QVBoxLayout(panel);
    // Two lines of the bold title font fit the panel's 57 pixels only with narrow margins.
    lines->setContentsMargins(6, 3, 6, 3);
    lines->setSpacing(1);
    first = new QLabel(" ", panel);
    second = new QLabel(" ", panel);
    for (QLabel* l : {first, second}) {
        l->setAlignment(Qt::AlignCenter);
        l->setFont(PixelFont(13, true));
        lines->addWidget(l);
    }
    return panel;
}

} // namespace ui
