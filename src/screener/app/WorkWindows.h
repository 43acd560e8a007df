// The screener's two small progress windows: data set generation (a bar gauge, the ticker at
// work, Stop) and the filter run (a pie gauge, Stop). Each starts its run 100 ms after it shows
// and closes itself when the run ends, unless it has a last word for the user.
#pragma once

#include "hostdb/Progress.h"
#include "screener/engine/DataSetGeneration.h"

#include <QDialog>
#include <chrono>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace ui {
class PieGauge;
}

namespace zoltw {

// Shared by both windows: Stop, also by Escape and by closing the window, the busy flag, and
// pending events let through at most every `ProcessInterval` so painting never slows a run.
class WorkWindow : public QDialog {
    Q_OBJECT
public:
    QPushButton* StopButton = nullptr;
    QTimer* KickOff = nullptr;
    bool StopPressed() const { return stop_; }
    std::chrono::milliseconds ProcessInterval{100};

protected:
    explicit WorkWindow(QWidget* parent);
    // The run, from the timer; the window accepts itself afterwards.
    virtual void Run() = 0;
    // Lets events through when the interval has passed (always when `force`), after Show() has
    // brought the window's texts up to date; false once Stop was pressed.
    bool Pump(bool force = false);
    // Puts the run's latest state on the window, only when it is about to be painted.
    virtual void Show() {}
    // Keeps the window up after the run, its Stop button turned into OK, for a last text the
    // user must read.
    void HoldOpen();
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void Start();
    bool busy_ = false, stop_ = false, held_ = false;
    std::chrono::steady_clock::time_point lastPump_;
};

class GenerationWindow : public WorkWindow {
    Q_OBJECT
public:
    GenerationWindow(screener::GenerateInput input, hostdb::MarketCalendar& calendar,
                     QWidget* parent);

    QProgressBar* GenerateGauge;
    QLabel *TickerCode, *TickerName;

    const screener::GenerateResult& Result() const { return result_; }
    // Why the data set could not be written; empty when it was.
    const std::string& Error() const { return error_; }

protected:
    void Run() override;
    void Show() override;

private:
    screener::GenerateInput input_;
    std::int64_t done_ = 0;
    std::string symbol_ = " ", name_ = " ";
    hostdb::MarketCalendar& calendar_;
    screener::GenerateResult result_;
    std::string error_;
};

class FilteringWindow : public WorkWindow {
    Q_OBJECT
public:
    // `run` filters with the progress it is given.
    FilteringWindow(std::function<void(const hostdb::Progress&)> run, QWidget* parent);

    ui::PieGauge* FilterGauge;

protected:
    void Run() override;
    void Show() override;

private:
    std::function<void(const hostdb::Progress&)> run_;
    std::int64_t done_ = 0, total_ = 0;
};

} // namespace zoltw
