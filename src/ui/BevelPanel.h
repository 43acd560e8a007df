// Panels and frames drawn with the classic three-dimensional bevels (raised outer, lowered
// inner, framed) that the system's dialogs are laid out with.
#pragma once

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

} // namespace ui
