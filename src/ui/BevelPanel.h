// Panels and frames drawn with the classic three-dimensional bevels (raised outer, lowered
// inner, framed) that the system's dialogs are laid out with.
#pragma once

#include <QDialog>
#include <QFont>
#include <QPushButton>
#include <QStyle>
#include <QWidget>

namespace ui {

class BevelPanel : public QWidget {
    Q_OBJECT
public:
    enum class Bevel { None, Raised, Lowered };

    explicit BevelPanel(QWidget* parent = nullptr, Bevel outer = Bevel::Raised,
                        Bevel inner = Bevel::Lowered, int bevelWidth = 1);

    void SetFramed(bool framed); // a dark line around the outside
    int BorderWidth() const;     // pixels taken by the bevels on each side

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Bevel outer_, inner_;
    int width_;
    bool framed_ = false;
};

// A horizontal line bevel: a shadow line over a highlight line.
class BevelLine : public QWidget {
    Q_OBJECT
public:
    explicit BevelLine(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

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
