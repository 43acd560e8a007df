#include "screener/app/WorkWindows.h"

#include "ui/PieGauge.h"
#include "grid/view/ScreenerCell.h"
#include "ui/Hooks.h"
#include "ui/WindowCentering.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace zoltw {

WorkWindow::WorkWindow(QWidget* parent) : QDialog(parent) {
    StopButton = new QPushButton("Stop", this);
    StopButton->setDefault(true);
    connect(StopButton, &QPushButton::clicked, this, [this] {
        if (held_ && !busy_) accept();
        stop_ = true;
    });
    KickOff = new QTimer(this);
    KickOff->setSingleShot(true);
    KickOff->setInterval(100);
    connect(KickOff, &QTimer::timeout, this, &WorkWindow::Start);
}

void WorkWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ui::CenterOver(this, parentWidget());
    KickOff->start();
}

void WorkWindow::Start() {
    KickOff->stop();
    if (busy_) return;
    busy_ = true;
    stop_ = false;
    lastPump_ = std::chrono::steady_clock::now();
    Run();
    busy_ = false;
    if (!held_) accept();
}

void WorkWindow::HoldOpen() {
    held_ = true;
    StopButton->setText("OK");
}

bool WorkWindow::Pump(bool force) {
    const auto now = std::chrono::steady_clock::now();
    if (force || now - lastPump_ >= ProcessInterval) {
        lastPump_ = now;
        Show();
        QApplication::processEvents();
    }
    return !stop_;
}

// Escape and the window's close box stop the run; the window closes when the run has ended.
void WorkWindow::reject() { StopButton->click(); }

void WorkWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    StopButton->click();
}

GenerationWindow::GenerationWindow(screener::GenerateInput input, hostdb::MarketCalendar& calendar,
                                   QWidget* parent)
    : WorkWindow(parent), input_(std::move(input)), calendar_(calendar) {
    setWindowTitle("Generating a new data set");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(300, 120);
    GenerateGauge = new QProgressBar(this);
    GenerateGauge->setGeometry(16, 12, 268, 20);
    GenerateGauge->setTextVisible(false);
    QPalette gp = GenerateGauge->palette();
    gp.setColor(QPalette::Highlight, QColor(0, 0, 128));
    GenerateGauge->setPalette(gp);
    TickerCode = new QLabel(" ", this);
    TickerCode->setGeometry(16, 40, 80, 18);
    TickerName = new QLabel(" ", this);
    TickerName->setGeometry(100, 40, 184, 18);
    StopButton->setGeometry(112, 76, 75, 28);
}

void GenerationWindow::Show() {
    GenerateGauge->setValue(static_cast<int>(done_));
    TickerCode->setText(gridview::CellText(symbol_));
    TickerName->setText(gridview::CellText(name_));
}

void GenerationWindow::Run() {
    GenerateGauge->setRange(0, std::max<int>(1, static_cast<int>(input_.tickerFiles.size())));
    GenerateGauge->setValue(0);
    screener::GenerateInput input = input_;
    input.onTicker = [this](const std::string& symbol, const std::string& name) {
        symbol_ = symbol, name_ = name;
        if (input_.onTicker) input_.onTicker(symbol, name);
    };
    try {
        result_ =
            screener::GenerateDataSet(input, calendar_, [this](std::int64_t done, std::int64_t) {
                done_ = done;
                return Pump();
            });
        Show();
        if (result_.keptEarlier) {
            // The user stopped expecting the set to be replaced: say that it was not.
            TickerCode->hide();
            TickerName->setGeometry(16, 40, 268, 18);
            TickerName->setText("Stopped; the earlier data set is kept");
            HoldOpen();
        }
    } catch (const std::exception& e) {
        // The engine replaces the file only when it is whole, so an older set stays intact.
        error_ = e.what();
        ui::ShowMessage(this, ui::BoxKind::Error,
                        QString::fromStdString("The data set was not written: " + error_));
    }
}

FilteringWindow::FilteringWindow(std::function<void(const hostdb::Progress&)> run, QWidget* parent)
    : WorkWindow(parent), run_(std::move(run)) {
    setWindowTitle("Filtering...");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(205, 63);
    StopButton->setGeometry(16, 17, 89, 29);
    FilterGauge = new ui::PieGauge(this);
    FilterGauge->setGeometry(140, 7, 49, 49);
    FilterGauge->SetColour(QColor(0, 0, 128));
}

void FilteringWindow::Show() {
    if (total_ > 0 && FilterGauge->MaxValue() != total_)
        FilterGauge->SetMaxValue(static_cast<int>(total_));
    FilterGauge->SetProgress(static_cast<int>(done_));
}

void FilteringWindow::Run() {
    FilterGauge->SetProgress(0);
    run_([this](std::int64_t done, std::int64_t total) {
        done_ = done, total_ = total;
        return Pump();
    });
    Show();
}

} // namespace zoltw
