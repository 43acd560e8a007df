// ZoltW's main window: start-up on the host, the commands of the work flow with their enabling,
// the results grid with sorting and chart icons, and the window's own settings between runs.
#pragma once

#include "grid/view/GridView.h"
#include "hostdb/HostInstallation.h"
#include "hostlink/HostLink.h"
#include "screener/engine/FilterRun.h"
#include "screener/engine/FilterSettings.h"
#include "screener/engine/ResultGrid.h"
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
class QToolButton;

namespace ui {
class HelpWindow;
}

namespace zoltw {

class FilterDialog;
class SettingsTextWindow;
class DataSetChooser;

constexpr const char* ProgramTitle = "ZOLT (32-bit)";
constexpr double ProgramVersion = 2.07;

using ui::MainSetup;

class ScreenerWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit ScreenerWindow(MainSetup setup, QWidget* parent = nullptr);
    ~ScreenerWindow() override;

    // False when the host was not found: the window must not be shown; the program shows
    // HostError() and ends.
    bool HostFound() const { return hostFound_; }
    const std::string& HostError() const { return hostError_; }
    const std::string& HostReason() const { return hostReason_; }

    // Commands.
    void GetData();
    void FilterData();
    void SortResults(int column);
    void ChartIconClicked(int row);
    void About();
    void ShowSettings();
    void Print();
    // The title rows and the rows the report covers as tab-separated text, for a spreadsheet.
    void CopyResults();
    // Moves the highlighted result row by `step` (INT_MIN: the first, INT_MAX: the last), the
    // chart following on Enter; PageRows() is a page of the grid.
    void WalkResults(int step);
    int PageRows() const;
    bool BuildTagList();
    void GoToCharts();
    // Our own chart of the highlighted row, which follows the highlight until it is closed.
    void ShowChartHere();
    ui::PriceChartWindow* Chart() const { return chart_; }
    // The description of the settings in force, as the settings window and the report show it.
    std::vector<std::string> SettingsText() const;

    // Sets the data set (a YYMMDDNN.vds name in the program directory) as Get Data does.
    void DataSetChosen(const std::string& fileName, bool filterable);
    // Runs the filter over the current data set with these settings into the grid.
    bool RunFilter(const screener::FilterSettings& settings);
    // The data-set caption from LastDataFile.
    void ShowDataSetCaption();
    // Get Data always; Filter when a data set is named.
    void EnableStartCommands();

    // Own settings and state, as the window keeps them.
    std::string LastSettingsFile, LastDataFile;
    // The tag list built from the results shown; empty until one is built after a filter run.
    std::string TagListName, TagListFirstTicker;
    int MoveAveLength = 10;
    int MarketDay = 0; // the market day of the current work; the last market date at start
    hostdb::DateTimeValue DataSetDate = 0;
    int DataSetDay = 0;
    int MaxFormWidth = 0, MinFormWidth = 0;
    std::vector<int> ColumnWidths;

    // The controls, by the names users and tests know them by.
    enum Command {
        CmdGetData,
        CmdFilter,
        CmdShowSettings,
        CmdPrint,
        CmdBuildTagList,
        CmdCharts,
        CmdExit,
        CommandCount
    };
    QAction* MenuItem[CommandCount] = {};
    QAction* PopupItem[CommandCount] = {};
    QToolButton* Button[CommandCount] = {}; // none for Show Settings
    QToolButton* HelpButton = nullptr;
    QMenu *File1 = nullptr, *Help1 = nullptr, *PopupMenu1 = nullptr;
    QAction* CopyResults1 = nullptr; // the pop-up's item before the chart's, also Ctrl+C
    QAction* ShowChart1 = nullptr;   // the pop-up's last item, also Space
    QAction *Contents1 = nullptr, *TopicSearch1 = nullptr, *HowtouseHelp1 = nullptr,
            *About1 = nullptr;
    QFrame *Panel1 = nullptr, *pnlResults = nullptr, *TitlePanel = nullptr, *Panel3 = nullptr;
    QLabel *lblInspected = nullptr, *lblDisplayed = nullptr, *Title1 = nullptr, *Title2 = nullptr;
    QLabel *DataSetPanel = nullptr, *FilterSetPanel = nullptr, *StatusText = nullptr;
    gridview::GridView* sgdData = nullptr;
    ui::HelpWindow* Help = nullptr;
    // The printer the print dialog sets up, kept between prints as the dialog's choices are.
    QPrinter& Printer();

    const grid::CellGrid& Grid() const { return grid_; }
    const screener::ResultState& Results() const { return results_; }
    const hostdb::HostInstallation& Host() const { return host_; }
    int Threads() const { return threads_; }
    const hostdb::HostEnvironment& Environment() const { return setup_.env; }
    const std::filesystem::path& ProgramDir() const { return setup_.programDir; }
    DataSetChooser* GetDataDialog(); // created on first use and kept
    FilterDialog* GetFilterDialog(); // created on first use and kept
    bool IsEnabled(Command c) const;
    // A sentence in the status line for 8 s, beside the panels or, where the window is too
    // narrow, over them; empty: none.
    void ShowStatus(const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Redraws the chart for the highlighted row while it is open.
    void FollowChart();
    void CreateControls();
    void CreateToolPanel(QWidget* central);
    void CreateResultsPanel();
    void CreateGrid(QWidget* central);
    void CreateStatusPanel(QWidget* central);
    void CreateCommandMenus();
    void CreateHelpMenu();
    void FormCreate();
    void SetEnabled(Command c, bool on);
    void SetWorkCommands(bool on); // Show Settings stays as it is
    void GridMouseUp(int col, int row, Qt::MouseButton button, Qt::KeyboardModifiers mods);
    hostlink::HostLink& Link();
    void LayOutGrid();

    MainSetup setup_;
    bool hostFound_ = false;
    bool linkHooked_ = false;
    std::string hostError_, hostReason_;
    hostdb::HostInstallation host_;
    int threads_ = 1; // for the scans, from ZOLT_THREADS or the processor
    screener::ScreenerFormats formats_;
    grid::CellGrid grid_;
    screener::ResultState results_;
    screener::ColumnTitleInfo titles_;
    screener::FilterSettings settings_; // in force since the last filter run
    int evalOpenDay_ = 0, evalCloseDay_ = 0, resultsDay_ = 0; // of the last filter run
    ui::PriceChartWindow* chart_ = nullptr;                   // made on first use, owned
    std::unique_ptr<SettingsTextWindow> showSettings_;
    std::unique_ptr<DataSetChooser> getData_;
    std::unique_ptr<FilterDialog> filterDialog_;
    std::unique_ptr<QPrinter> printer_;
    bool shownOnce_ = false;
    bool sorting_ = false;
};

} // namespace zoltw
