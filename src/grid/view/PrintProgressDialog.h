// The small modal window a print run works in: the page being printed in its caption, a pie
// gauge of the rows done, and Cancel.
#pragma once

#include "grid/view/GridReport.h"
#include "ui/PieGauge.h"

#include <QDialog>

class QPushButton;
class QTimer;

namespace grid {

class PrintProgressDialog : public QDialog {
    Q_OBJECT
public:
    PrintProgressDialog(ReportRun& run, QWidget* parent = nullptr);

    PrintOutcome Outcome() const { return outcome_; }

    QPushButton* CancelButton;
    ui::PieGauge* PrintGauge;
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
