// What the fixed-size dialogs of both programs are made of: their font, window flags and frame,
// glyph buttons and the column of OK, Cancel and Help.
#pragma once

#include <QDialog>
#include <QFont>
#include <QPushButton>
#include <QStyle>

namespace ui {

// The dialogs' font, "MS Sans Serif" or the nearest sans-serif face, bold, in pixels.
QFont DialogFont(int pixelSize, bool bold);

// The window flags of the fixed-size dialogs: title and system menu, no resizing.
Qt::WindowFlags FixedDialogFlags();

// A named-file dialog's frame: object name, bold dialog font in black, fixed client size.
void SetUpFixedDialog(QDialog* dialog, const QString& objectName, int width, int height);

// A button with one of the platform's standard glyphs, placed at geometry.
QPushButton* MakeGlyphButton(QWidget* parent, const QString& text, QStyle::StandardPixmap icon,
                             QRect geometry);

// The column of OK (the default), Cancel and Help buttons, 77 x 27 each, at x = left.
void MakeDialogButtons(QWidget* parent, int left, QPushButton*& ok, QPushButton*& cancel,
                       QPushButton*& help);

} // namespace ui
