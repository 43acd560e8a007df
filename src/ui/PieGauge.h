// A round progress gauge, filled clockwise from the top, for the print and filtering windows.
#pragma once

#include <QColor>
#include <QWidget>

namespace ui {

// A round gauge filled clockwise from the top in red on the button face.
class PieGauge : public QWidget {
    Q_OBJECT
public:
    explicit PieGauge(QWidget* parent = nullptr);

    void SetMaxValue(int maximum);
    void SetProgress(int progress);
    void AddProgress(int step) { SetProgress(progress_ + step); }
    void SetColour(const QColor& colour) {
        colour_ = colour;
        update();
    }
    int MaxValue() const { return max_; }
    int Progress() const { return progress_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int max_ = 100, progress_ = 0;
    QColor colour_ = Qt::red;
};

} // namespace ui
