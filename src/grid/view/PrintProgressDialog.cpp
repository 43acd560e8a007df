#include "grid/view/PrintProgressDialog.h"

#include "ui/BevelPanel.h"
#include "ui/WindowCentering.h"
#include "ui/DialogParts.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

namespace grid {

PrintProgressDialog::PrintProgressDialog(ReportRun& run, QWidget* parent)
    : QDialog(parent), run_(run) {
    setObjectName(QStringLiteral("Printing"));
    setWindowFlags(ui::FixedDialogFlags());
    setWindowTitle(QStringLiteral("Printing page n"));
    setFixedSize(205, 63);

    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setGeometry(32, 19, 75, 25);
    PrintGauge = new ui::PieGauge(this);
    PrintGauge->setObjectName(QStringLiteral("PrintGauge"));
    PrintGauge->setGeometry(140, 7, 49, 49);
    PrintKickoff = new QTimer(this);
    PrintKickoff->setObjectName(QStringLiteral("PrintKickoff"));
    PrintKickoff->setSingleShot(true);
    PrintKickoff->setInterval(100);

    connect(CancelButton, &QPushButton::clicked, this, &PrintProgressDialog::CancelButtonClick);
    connect(PrintKickoff, &QTimer::timeout, this, &PrintProgressDialog::PrintKickoffTimer);

    run_.SetHooks({
        [this](int page) { setWindowTitle(QStringLiteral("Printing page %1").arg(page)); },
        [this](int maximum) {
            PrintGauge->SetMaxValue(maximum);
            PrintGauge->SetProgress(0);
        },
        [this] { PrintGauge->AddProgress(1); },
        [] { QCoreApplication::processEvents(); },
    });
}

void PrintProgressDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (started_) return;
    ui::CenterOver(this, nullptr);
    PrintGauge->SetProgress(0);
    setWindowTitle(QStringLiteral("Printing page 1"));
    PrintKickoff->start();
}

void PrintProgressDialog::PrintKickoffTimer() {
    PrintKickoff->stop();
    if (run_.Busy() || started_) return;
    started_ = true;
    outcome_ = run_.Run();
    accept();
}

void PrintProgressDialog::CancelButtonClick() {
    if (run_.Busy()) {
        run_.Cancel();
        return;
    }
    // Before the run starts nothing is printed; after it ends the window is closing anyway.
    if (!started_) {
        PrintKickoff->stop();
        started_ = true;
        outcome_ = PrintOutcome::Cancelled;
        accept();
    }
}

void PrintProgressDialog::reject() { CancelButtonClick(); }

void PrintProgressDialog::closeEvent(QCloseEvent* event) {
    if (run_.Busy() || !started_) {
        event->ignore();
        CancelButtonClick();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace grid
