// Zimra's main window: start-up on the host, the find run in the window with its running state,
// gauge and Stop, expert ratings through the host's chart window, sorting, report, tag lists.
#pragma once

#include "finder/engine/FindRun.h"
#include "finder/engine/FinderSettings.h"
#include "grid/view/GridView.h"
#include "hostdb/HostInstallation.h"
#include "hostlink/ChartDriver.h"
#include "hostlink/HostLink.h"
#include "ui/PriceChart.h"
#include "ui/ProgramStartup.h"

#include <QMainWindow>
#include <filesystem>
#include <memory>
#include <string>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPrinter;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace ui {
class HelpWindow;
}

namespace zimra {

class FinderSettingsDialog;

constexpr const char* WindowCaption = "ZimRA";
constexpr const char* ApplicationTitle = "Find ZimRAs";
constexpr double ProgramVersion = 2.07;

using ui::MainSetup;

class FinderWindow : public QMainWindow, private hostlink::MainWindowSide {
    Q_OBJECT
public:
    explicit FinderWindow(MainSetup setup, QWidget* parent = nullptr);
    ~FinderWindow() override;

    bool HostFound() const { return hostFound_; }
    const std::string& HostError() const { return hostError_; }
    const std::string& HostReason() const { return hostReason_; }

    // Commands.
    void Find();
    // Runs a find with these settings in the window.
    void RunFind(finder::FinderSettings settings);
    void Print();
    bool BuildTagList();
    void GoToCharts();
    void About();
    void SortColumn(int column, bool descending);
    // Shows a grid of this window's formats and its state as a find leaves them, with the
    // commands a find would enable.
    void ShowResults(grid::CellGrid grid, const finder::FinderState& state);

    std::string LastSettingsFile;
    std::string TagListName, TagListFirstTicker;
    std::vector<int> ColumnWidths;
    int DefaultWidth = 0;
    bool Running() const { return running_; }

    // The controls, by the names users and tests know them by.
    QToolButton *FindButton, *PrintButton, *BuildListButton, *ChartsButton, *HelpButton,
        *ExitButton;
    QPushButton* StopButton;
    QFrame *ToolPanel, *ProgressPanel, *TitlePanel;
    QProgressBar* ProgressGauge;
    QLabel *Title1, *Title2;
    QMenu *File1, *Help1;
    QAction *Find1, *Print1, *BuildTagList1, *GotoCharts1, *Exit1, *Contents1, *TopicSearch1,
        *HowtouseHelp1, *About1, *Stop1;
    gridview::GridView* StringGrid1;
    ui::HelpWindow* Help = nullptr;
    QPrinter& Printer();

    // Beyond the host's commands: the rows as tab-separated text (Ctrl+C), and a walk through
    // the results with the chart following on Enter.
    QAction* CopyResults1 = nullptr;
    void CopyResults();
    void WalkResults(int step);
    void OpenRowChart(int row);
    // Our own chart of the highlighted row (Space, or the pop-up's "Show chart here"), which
    // follows the highlight until it is closed.
    QMenu* PopupMenu1 = nullptr;
    QAction* ShowChart1 = nullptr;
    void ShowChartHere();
    ui::PriceChartWindow* Chart() const { return chart_; }

    const grid::CellGrid& Grid() const { return grid_; }
    const finder::FinderState& State() const { return state_; }
    const finder::FinderSettings& Settings() const { return settings_; }
    // The cell formats the window's grid uses (sorting knows its formats by address).
    const finder::FinderFormats& Formats() const { return formats_; }
    const hostdb::HostInstallation& Host() const { return host_; }
    int Threads() const { return threads_; }
    const hostdb::HostEnvironment& Environment() const { return setup_.env; }
    const std::filesystem::path& ProgramDir() const { return setup_.programDir; }
    FinderSettingsDialog* FindWhatDialog(); // created on first use and kept

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // Redraws the chart for the highlighted row while it is open.
    void FollowChart();
    void CreateControls();
    void FormCreate();
    void SetRunning(bool on);
    void SetResultCommands(bool on);
    void GridMouseUp(int col, int row, Qt::MouseButton button, Qt::KeyboardModifiers mods);
    // Two lines in the title panel for 10 s, or until the next find when `untilNextFind`.
    void Notice(const QString& first, const QString& second, bool untilNextFind = false);
    hostlink::HostLink& Link();
    // What the link waits for, in the title panel; empty: the wait is over.
    void TellWait(const QString& awaited);
    // The grid redrawn from its top: the first results in view after a find or a sort.
    void ShowTop();

    // The chart driving moves this window out of the chart's way and back.
    void SaveAndPlace(int top, int height, int left) override;
    void PointerToStop() override;
    void RestoreAndFocus() override;
    void ProcessMessages() override;

    MainSetup setup_;
    bool hostFound_ = false;
    bool linkHooked_ = false;
    int notices_ = 0; // the number of the notice shown last, so that an older timer leaves it
    std::string hostError_, hostReason_;
    hostdb::HostInstallation host_;
    int threads_ = 1; // for the scans, from ZOLT_THREADS or the processor
    finder::FinderFormats formats_;
    grid::CellGrid grid_;
    finder::FinderState state_;
    finder::FinderSettings settings_;
    bool running_ = false, stop_ = false, sorting_ = false, shownOnce_ = false;
    QRect savedGeometry_;
    Qt::WindowStates savedState_;
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<FinderSettingsDialog> findWhat_;
    ui::PriceChartWindow* chart_ = nullptr; // made on first use, owned
};

} // namespace zimra
