// The small modal window a print run works in: the page being printed in its caption, a pie
// gauge of the rows done, and Cancel.
#pragma once

#include "grid/view/GridReport.h"

#include <QColor>
#include <QDialog>

class QPushButton;
class QTimer;

namespace grid {

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

class PrintProgressDialog : public QDialog {
    Q_OBJECT
public:
    PrintProgressDialog(ReportRun& run, QWidget* parent = nullptr);

    PrintOutcome Outcome() const { return outcome_; }

    QPushButton* CancelButton;
    PieGauge* PrintGauge;
    QTimer* PrintKickoff;

public slots:
    void PrintKickoffTimer();
    void CancelButtonClick();
    // Escape and the window's close box are Cancel: the run closes the window itself.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    ReportRun& run_;
    PrintOutcome outcome_ = PrintOutcome::Cancelled;
    bool started_ = false;
};

} // namespace grid
