// Panels and frames drawn with the classic three-dimensional bevels (raised outer, lowered
// inner, framed) that the system's dialogs are laid out with.
#pragma once

#include <QFont>
#include <QWidget>

namespace ui {

class TBevelPanel : public QWidget {
    Q_OBJECT
public:
    enum class Bevel { None, Raised, Lowered };

    explicit TBevelPanel(QWidget* parent = nullptr, Bevel outer = Bevel::Raised,
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
class TLineBevel : public QWidget {
    Q_OBJECT
public:
    explicit TLineBevel(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The dialogs' font, "MS Sans Serif" or the nearest sans-serif face, bold, in pixels.
QFont DialogFont(int pixelSize, bool bold);

} // namespace ui
