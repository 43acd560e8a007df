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

QFont DialogFont(int pixelSize, bool bold) {
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

Qt::WindowFlags FixedDialogFlags() {
    return Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
}

void SetUpFixedDialog(QDialog* dialog, const QString& objectName, int width, int height) {
    dialog->setObjectName(objectName);
    dialog->setFont(DialogFont(11, true));
    QPalette pal = dialog->palette();
    pal.setColor(QPalette::WindowText, Qt::black);
    dialog->setPalette(pal);
    dialog->setFixedSize(width, height);
}

QPushButton* MakeGlyphButton(QWidget* parent, const QString& text, QStyle::StandardPixmap icon,
                             QRect geometry) {
    auto* b = new QPushButton(text, parent);
    b->setIcon(parent->style()->standardIcon(icon));
    b->setGeometry(geometry);
    return b;
}

void MakeDialogButtons(QWidget* parent, int left, QPushButton*& ok, QPushButton*& cancel,
                       QPushButton*& help) {
    ok = MakeGlyphButton(parent, QStringLiteral("OK"), QStyle::SP_DialogOkButton,
                         QRect(left, 8, 77, 27));
    ok->setDefault(true);
    cancel = MakeGlyphButton(parent, QStringLiteral("Cancel"), QStyle::SP_DialogCancelButton,
                             QRect(left, 42, 77, 27));
    help = MakeGlyphButton(parent, QStringLiteral("&Help"), QStyle::SP_DialogHelpButton,
                           QRect(left, 76, 77, 27));
}

} // namespace ui
