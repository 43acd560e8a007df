#include "ui/DialogParts.h"

namespace ui {

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
