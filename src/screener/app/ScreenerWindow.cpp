#include "screener/app/ScreenerWindow.h"

#include "grid/view/GridReport.h"
#include "grid/view/ScreenerCell.h"
#include "hostdb/Format.h"
#include "hostdb/HostPath.h"
#include "hostlink/BridgeLink.h"
#include "hostlink/ChartLink.h"
#include "platform/Locale.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "platform/Workers.h"
#include "screener/app/DataSetChooser.h"
#include "screener/app/FilterDialog.h"
#include "screener/app/ResultChart.h"
#include "screener/app/SettingsTextWindow.h"
#include "screener/app/WorkWindows.h"
#include "screener/engine/DataSet.h"
#include "screener/engine/FilterPlan.h"
#include "screener/engine/SettingsText.h"
#include "ui/AboutBox.h"
#include "ui/HelpWindow.h"
#include "ui/Hooks.h"
#include "ui/HostWaits.h"
#include "ui/TagListBuildWindow.h"
#include "ui/ToolGlyphs.h"
#include "ui/WindowPlacement.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

namespace zoltw {

namespace {

constexpr ui::TagListProgram ZoltTagList{screener::ColTicker, "ZOLT", "ZOLT TagList Name", 1001};

const int DesignWidths[screener::ResultColumns] = {16, 63, 64, 67, 52, 54, 54, 56, 66, 64, 64};
constexpr int DesignWidth = 644;
constexpr int ToolBarHeight = 41, StatusHeight = 33, GridRows = 14, RowHeight = 18;
constexpr int MinStatusWidth = 240; // a short sentence beside the two panels
const char* const Section = "ZoltW";

QFrame* LoweredPanel(QWidget* parent, QFrame::Shadow shadow = QFrame::Sunken, int width = 1) {
    auto* f = new QFrame(parent);
    f->setFrameStyle(QFrame::Panel | shadow);
    f->setLineWidth(width);
    return f;
}

} // namespace

ScreenerWindow::ScreenerWindow(MainSetup setup, QWidget* parent)
    : QMainWindow(parent), setup_(std::move(setup)), grid_(screener::MakeResultGrid()) {
    CreateControls();
    FormCreate();
}

ScreenerWindow::~ScreenerWindow() = default;

void ScreenerWindow::CreateControls() {
    setWindowTitle(ProgramTitle);
    setFont(ui::PixelFont(13));
    auto* central = new QWidget(this);
    setCentralWidget(central);

    CreateToolPanel(central);
    CreateResultsPanel();
    CreateGrid(central);
    TitlePanel = ui::MakeTitlePanel(central, Title1, Title2);
    CreateStatusPanel(central);
    CreateCommandMenus();
    CreateHelpMenu();
}

void ScreenerWindow::CreateToolPanel(QWidget* central) {
    Panel1 = new QFrame(central);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    const char* hints[] = {"Get data", "Filter data",     "",
                           "Print",    "Build a TagList", "Build a TagList and\nGo to Charts",
                           "Exit"};
    const int xs[] = {8, 48, 0, 88, 116, 144, 224};
    const ui::Glyph glyphs[] = {ui::Glyph::Disks,   ui::Glyph::Funnel, ui::Glyph::Disks,
                                ui::Glyph::Printer, ui::Glyph::List,   ui::Glyph::Chart,
                                ui::Glyph::Exit};
    for (int c = 0; c < CommandCount; ++c) {
        if (c == CmdShowSettings) continue;
        Button[c] = ui::MakeToolButton(Panel1, xs[c], glyphs[c], hints[c]);
    }
    HelpButton = ui::MakeToolButton(Panel1, 184, ui::Glyph::Help, "Help");
}

void ScreenerWindow::CreateResultsPanel() {
    pnlResults = LoweredPanel(Panel1);
    pnlResults->setGeometry(269, 3, 201, 35);
    lblInspected = new QLabel(pnlResults);
    lblInspected->setGeometry(6, 2, 190, 15);
    lblDisplayed = new QLabel(pnlResults);
    lblDisplayed->setGeometry(6, 17, 190, 15);
}

void ScreenerWindow::CreateGrid(QWidget* central) {
    sgdData = new gridview::GridView(central);
    sgdData->SetCellPainter(gridview::ScreenerCellPainter());
    sgdData->SetDefaultRowHeight(RowHeight);
    sgdData->SetGrid(&grid_);
    sgdData->hide();
    connect(sgdData, &gridview::GridView::CellReleased, this, &ScreenerWindow::GridMouseUp);
}

void ScreenerWindow::CreateStatusPanel(QWidget* central) {
    Panel3 = new QFrame(central);
    Panel3->setFrameStyle(QFrame::Panel | QFrame::Raised);
    DataSetPanel = new QLabel(" ", Panel3);
    FilterSetPanel = new QLabel(" ", Panel3);
    StatusText = new QLabel(Panel3);
    // Seen over the data set's and settings' panels when the window is too narrow for it beside.
    StatusText->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    StatusText->setAutoFillBackground(true);
    StatusText->hide();
    for (QLabel* l : {DataSetPanel, FilterSetPanel}) {
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setFont(ui::PixelFont(13));
        QPalette lp = l->palette();
        lp.setColor(QPalette::WindowText, Qt::black);
        l->setPalette(lp);
    }
    // A caption longer than its panel widens it (a change of text asks the status panel to lay
    // out again).
    Panel3->installEventFilter(this);
}

bool ScreenerWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Panel3 && event->type() == QEvent::LayoutRequest) LayOutGrid();
    return QMainWindow::eventFilter(watched, event);
}

void ScreenerWindow::CreateCommandMenus() {
    // The same commands in the File menu, the pop-up menu and on the tool bar.
    const char* menuCaptions[] = {"&Get Data...", "&Filter Data...",   "&Show Settings",
                                  "&Print...",    "&Build TagList...", "Go to &Charts",
                                  "E&xit"};
    const char* popupCaptions[] = {"&Get data...", "&Filter data...",   "&Show settings",
                                   "&Print...",    "&Build TagList...", "Go to &Charts",
                                   "E&xit"};
    File1 = menuBar()->addMenu("&File");
    Help1 = menuBar()->addMenu("&Help");
    PopupMenu1 = new QMenu(this);
    const std::function<void()> handlers[] = {[this] { GetData(); },      [this] { FilterData(); },
                                              [this] { ShowSettings(); }, [this] { Print(); },
                                              [this] { BuildTagList(); }, [this] { GoToCharts(); },
                                              [this] { close(); }};
    for (int c = 0; c < CommandCount; ++c) {
        MenuItem[c] = new QAction(menuCaptions[c], this);
        PopupItem[c] = new QAction(popupCaptions[c], this);
        for (QAction* a : {MenuItem[c], PopupItem[c]})
            connect(a, &QAction::triggered, this, handlers[c]);
        if (Button[c]) connect(Button[c], &QToolButton::clicked, this, handlers[c]);
        SetEnabled(static_cast<Command>(c), c == CmdExit);
    }
    for (QMenu* m : {File1, PopupMenu1}) {
        QAction* const* items = m == File1 ? MenuItem : PopupItem;
        m->addAction(items[CmdGetData]);
        m->addSeparator();
        m->addAction(items[CmdFilter]);
        m->addAction(items[CmdShowSettings]);
        m->addSeparator();
        m->addAction(items[CmdPrint]);
        m->addAction(items[CmdBuildTagList]);
        m->addAction(items[CmdCharts]);
        m->addSeparator();
        m->addAction(items[CmdExit]);
    }
    // Beyond the host's commands: the results into a spreadsheet.
    CopyResults1 = new QAction("Copy &results", this);
    CopyResults1->setShortcut(QKeySequence::Copy);
    CopyResults1->setEnabled(false);
    addAction(CopyResults1);
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(CopyResults1);
    connect(CopyResults1, &QAction::triggered, this, &ScreenerWindow::CopyResults);
    // And our own chart of the highlighted row, without the host.
    ShowChart1 = new QAction("Show chart here", this);
    ShowChart1->setEnabled(false);
    PopupMenu1->addAction(ShowChart1);
    connect(ShowChart1, &QAction::triggered, this, &ScreenerWindow::ShowChartHere);
}

void ScreenerWindow::CreateHelpMenu() {
    Contents1 = Help1->addAction("&Contents");
    TopicSearch1 = Help1->addAction("&Topic Search");
    HowtouseHelp1 = Help1->addAction("&How to use Help");
    Help1->addSeparator();
    About1 = Help1->addAction("&About Zolt");
    connect(About1, &QAction::triggered, this, &ScreenerWindow::About);
    Help = ui::InstallHelpWindow("zoltw", "ZOLT Help", this);
    connect(Contents1, &QAction::triggered, Help, &ui::HelpWindow::ShowHelpContents);
    connect(HelpButton, &QToolButton::clicked, Help, &ui::HelpWindow::ShowHelpContents);
    connect(TopicSearch1, &QAction::triggered, Help, &ui::HelpWindow::ShowHelpTopicSearch);
    connect(HowtouseHelp1, &QAction::triggered, Help, &ui::HelpWindow::ShowHelpOnHelp);
}

void ScreenerWindow::FormCreate() {
    // The fatal error handler is installed by the program before the window exists.
    if (!hostdb::DiscoverHost(hostdb::HostProgram::ZoltW, setup_.env, host_, hostError_,
                              &hostReason_))
        return; // the program ends without reading its own settings
    hostFound_ = true;
    MarketDay = host_.globals.LastMarketDay;
    Title2->setText(
        QString::fromStdString("Last Market Date is " + host_.globals.LastMarketDateText));

    // The columns follow the user's font size: "Abcde fghijk" is 79 pixels at design.
    QFont arial("Arial", 10);
    arial.setBold(true);
    const int w = QFontMetrics(arial).horizontalAdvance("Abcde fghijk");
    ColumnWidths.clear();
    int sum = 0;
    // Rounded up: a title as wide as its design columns must not lose its last pixel.
    for (int d : DesignWidths) ColumnWidths.push_back((d * w + 78) / 79);
    // A column is at least as wide as its own titles drawn bold (as when sorted by it) and right
    // aligned after their trailing blank, within the title box's insets.
    grid::CellGrid titles = screener::MakeResultGrid();
    const std::string sampleDate =
        hostdb::FormatDateTime("ddddd", setup_.env.now, setup_.env.locale);
    screener::SetColumnTitles(titles, formats_, -1, {99, true, 1, sampleDate, sampleDate});
    const QFontMetrics bold(arial);
    for (int c = 0; c < titles.ColCount() && c < int(ColumnWidths.size()); ++c)
        for (int r = 0; r < titles.FixedRows(); ++r) {
            const grid::CellFormat* f = titles.Format(c, r);
            const QString text = gridview::CellText(titles.Text(c, r));
            if (!f || f->Span != 1 || text.trimmed().isEmpty()) continue;
            ColumnWidths[c] = std::max(ColumnWidths[c], bold.horizontalAdvance(text + ' ') + 6);
        }
    for (int width : ColumnWidths) sum += width;
    sgdData->SetColumnWidths(ColumnWidths);
    // Widths are the window's inner widths here: its frame is the window system's.
    MaxFormWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent) + sum + 6;
    MinFormWidth = Button[CmdExit]->x() + Button[CmdExit]->width() + 10;
    const int height = menuBar()->sizeHint().height() + ToolBarHeight + GridRows * RowHeight;
    // Sizing the window runs the width rule, before the saved place is applied.
    resize(std::clamp(DesignWidth, MinFormWidth, std::max(MinFormWidth, MaxFormWidth)), height);

    const platform::Profile own(setup_.ownSettings);
    ui::RestoreFormPosition(*this, own, Section);
    LastSettingsFile = own.ReadString(Section, "LastSettingsFile", "");
    LastDataFile = own.ReadString(Section, "LastDataFile", "");
    // A length that no data-set name can hold would make every new set's name wrong.
    MoveAveLength =
        platform::IntegerInRange(own.ReadInteger(Section, "MoveAveLength", 10), 10, 1, 99, true);
    setProperty("helpContext", 1002);
    TitlePanel->move((this->width() - TitlePanel->width()) / 2, TitlePanel->y());
    lblInspected->setText(" ");
    lblDisplayed->setText(" ");
    std::string threadsWarning;
    threads_ = platform::WorkerThreads(&threadsWarning);
    if (!threadsWarning.empty()) host_.warnings.push_back(threadsWarning);
    if (!host_.warnings.empty()) ShowStatus(ui::ReportHostWarnings(host_.warnings));
}

bool ScreenerWindow::IsEnabled(Command c) const { return MenuItem[c]->isEnabled(); }

void ScreenerWindow::SetEnabled(Command c, bool on) {
    MenuItem[c]->setEnabled(on);
    PopupItem[c]->setEnabled(on);
    if (Button[c]) Button[c]->setEnabled(on);
}

void ScreenerWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    EnableStartCommands();
}

void ScreenerWindow::EnableStartCommands() {
    SetEnabled(CmdGetData, true);
    SetEnabled(CmdFilter, !LastDataFile.empty());
    ShowDataSetCaption();
}

void ScreenerWindow::ShowDataSetCaption() {
    if (LastDataFile.empty()) {
        DataSetPanel->setText(" ");
        return;
    }
    hostdb::MarketCalendar calendar(setup_.env.locale);
    DataSetPanel->setText(QString::fromStdString(screener::DataSetCaption(LastDataFile, calendar)));
    int day = 0;
    const bool dated = screener::DataSetDay(LastDataFile, day);
    DataSetDate = dated ? hostdb::MarketCalendar::DayToDate(day) : 0;
    DataSetDay = hostdb::MarketCalendar::DateToDay(DataSetDate);
}

void ScreenerWindow::LayOutGrid() {
    QWidget* c = centralWidget();
    Panel1->setGeometry(0, 0, c->width(), ToolBarHeight);
    Panel3->setGeometry(0, c->height() - StatusHeight, c->width(), StatusHeight);
    sgdData->setGeometry(0, ToolBarHeight, c->width(),
                         std::max(0, c->height() - ToolBarHeight - StatusHeight));
    // The data set's and settings' panels at their design widths, wider for a longer caption and
    // narrower, down to their captions, where the window is narrower than the two.
    const auto needs = [](const QLabel* l) {
        return l->fontMetrics().horizontalAdvance(l->text()) + 2 * l->frameWidth() + 4;
    };
    const int dataNeeds = needs(DataSetPanel), filterNeeds = needs(FilterSetPanel);
    const int spare = c->width() - 4 - 5 - 4 - dataNeeds - filterNeeds;
    const int dataWidth = std::max(dataNeeds, std::min(401, dataNeeds + std::max(spare, 0)));
    const int filterWidth =
        std::max(filterNeeds, std::min(224, c->width() - 4 - 5 - 4 - dataWidth));
    DataSetPanel->setGeometry(4, 4, dataWidth, 25);
    FilterSetPanel->setGeometry(DataSetPanel->geometry().right() + 5, 4, filterWidth, 25);
    // Beside the two panels where there is room for a sentence; else over them while it shows.
    const int statusX = FilterSetPanel->geometry().right() + 5;
    const int room = c->width() - statusX - 4;
    StatusText->setGeometry(room >= MinStatusWidth ? QRect(statusX, 4, room, 25)
                                                   : QRect(4, 4, std::max(0, c->width() - 8), 25));
    if (!TitlePanel->isHidden() || TitlePanel->y() == 0)
        TitlePanel->move(TitlePanel->x(), ToolBarHeight + 40);
}

void ScreenerWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (!isMaximized() && !isFullScreen() && MaxFormWidth > 0) {
        if (width() > MaxFormWidth)
            resize(MaxFormWidth, height());
        else if (width() < MinFormWidth)
            resize(MinFormWidth, height());
    }
    LayOutGrid();
}

void ScreenerWindow::closeEvent(QCloseEvent* event) {
    if (hostFound_) {
        std::error_code ec; // a first start on an account without a settings directory yet
        std::filesystem::create_directories(setup_.ownSettings.parent_path(), ec);
        platform::Profile own(setup_.ownSettings);
        bool saved = ui::SaveFormPosition(*this, own, Section);
        saved = own.WriteStrings(Section, {{"LastSettingsFile", LastSettingsFile},
                                           {"LastDataFile", LastDataFile},
                                           {"MoveAveLength", std::to_string(MoveAveLength)}}) &&
                saved;
        if (!saved)
            ui::ShowMessage(this, ui::BoxKind::Warning,
                            QString::fromStdString("Your settings could not be saved in " +
                                                   setup_.ownSettings.string() + ": " +
                                                   own.WriteProblem() + "."));
    }
    event->accept();
}

void ScreenerWindow::CopyResults() {
    if (sgdData->isHidden()) return;
    QString text;
    for (int r = 0; r <= results_.PrintLastRow && r < grid_.RowCount(); ++r) {
        for (int c = 0; c < grid_.ColCount(); ++c)
            text += (c ? "\t" : "") + gridview::CellText(grid_.Text(c, r)).trimmed();
        text += '\n';
    }
    QApplication::clipboard()->setText(text);
}

void ScreenerWindow::WalkResults(int step) {
    if (sgdData->isHidden() || sorting_ || results_.LastResultRow < results_.FirstResultRow) return;
    int row = grid_.Selection.top;
    const bool outside = row < results_.FirstResultRow || row > results_.LastResultRow;
    // From outside the results the walk starts at the first; End goes to the last from anywhere.
    row = outside && step != INT_MAX ? results_.FirstResultRow
                                     : std::clamp(static_cast<long long>(row) + step,
                                                  static_cast<long long>(results_.FirstResultRow),
                                                  static_cast<long long>(results_.LastResultRow));
    grid_.Selection = {screener::ColTicker, row, screener::ColPerformance, row};
    sgdData->ScrollToRow(row);
    sgdData->viewport()->update();
    FollowChart();
}

int ScreenerWindow::PageRows() const {
    return std::max(1, sgdData->viewport()->height() / RowHeight - grid_.FixedRows());
}

void ScreenerWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up: WalkResults(-1); return;
    case Qt::Key_Down: WalkResults(1); return;
    case Qt::Key_PageUp: WalkResults(-PageRows()); return;
    case Qt::Key_PageDown: WalkResults(PageRows()); return;
    case Qt::Key_Home: WalkResults(INT_MIN); return;
    case Qt::Key_End: WalkResults(INT_MAX); return;
    case Qt::Key_Space: ShowChartHere(); return;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        const int row = grid_.Selection.top;
        if (!sgdData->isHidden() && !sorting_ && row >= results_.FirstResultRow &&
            row <= results_.LastResultRow && grid_.Format(screener::ColChart, row) == &formats_.FormatChart)
            ChartIconClicked(row);
        return;
    }
    default: QMainWindow::keyPressEvent(event);
    }
}

void ScreenerWindow::contextMenuEvent(QContextMenuEvent* event) {
    PopupMenu1->exec(event->globalPos());
}

DataSetChooser* ScreenerWindow::GetDataDialog() {
    if (!getData_) getData_ = std::make_unique<DataSetChooser>(*this);
    return getData_.get();
}

void ScreenerWindow::GetData() {
    GetDataDialog()->exec();
    ShowDataSetCaption();
}

void ScreenerWindow::DataSetChosen(const std::string& fileName, bool filterable) {
    LastDataFile = fileName;
    ShowDataSetCaption();
    sgdData->hide();
    TitlePanel->show();
    lblInspected->setText(" ");
    lblDisplayed->setText(" ");
    SetEnabled(CmdFilter, filterable);
    for (Command c : {CmdPrint, CmdBuildTagList, CmdCharts}) SetEnabled(c, false);
    CopyResults1->setEnabled(false);
    ShowChart1->setEnabled(false);
    if (!filterable)
        ShowStatus(QString::fromStdString("No ticker was written to " + fileName +
                                          ", so there is nothing to filter."));
}

FilterDialog* ScreenerWindow::GetFilterDialog() {
    if (!filterDialog_) filterDialog_ = std::make_unique<FilterDialog>(*this);
    return filterDialog_.get();
}

void ScreenerWindow::FilterData() {
    FilterDialog* dialog = GetFilterDialog();
    if (dialog->exec() != QDialog::Accepted) return;
    // The dialog's caption says whether the settings run differ from their file; the run's own
    // caption cannot know.
    const QString caption = FilterSetPanel->text();
    if (RunFilter(dialog->Record)) FilterSetPanel->setText(caption);
}

bool ScreenerWindow::RunFilter(const screener::FilterSettings& settings) {
    hostdb::MarketCalendar calendar(setup_.env.locale);
    calendar.HolidayFileName = hostdb::HolidayFilePath(host_.globals, setup_.env.dirs);
    screener::FilterPlan plan;
    if (!screener::MakeFilterPlan(settings, LastDataFile, host_.globals.LastMarketDay, calendar,
                                  plan)) {
        ui::ShowMessage(this, ui::BoxKind::Warning,
                        QString::fromStdString(LastDataFile + " " +
                                               screener::DataSetNameProblem(LastDataFile) + "."));
        return false;
    }
    screener::FilterRunInput in;
    in.dataSetPath = setup_.programDir / LastDataFile;
    in.settings = plan.settings;
    in.evalOpenDay = plan.evalOpenDay;
    in.evalCloseDay = plan.evalCloseDay;
    in.equityPathList = host_.globals.EquityPathList;
    in.dirs = setup_.env.dirs;
    in.locale = setup_.env.locale;
    // The run happens in the filtering window, which shows its progress and offers Stop.
    screener::FilterRunOutput out;
    std::string error;
    FilteringWindow filtering(
        [&](const hostdb::Progress& progress) {
            try {
                out = screener::RunFilter(in, grid_, results_, formats_, plan.titles, progress);
            } catch (const std::exception& e) {
                error = e.what();
            }
        },
        this);
    filtering.exec();
    if (!error.empty()) {
        ui::ShowMessage(this, ui::BoxKind::Error, QString::fromStdString(error));
        return false;
    }
    titles_ = plan.titles;
    settings_ = plan.settings;
    evalOpenDay_ = plan.evalOpenDay, evalCloseDay_ = plan.evalCloseDay,
    resultsDay_ = plan.marketDay;
    TagListName.clear(); // every new result set needs its own list
    lblInspected->setText(QString::fromStdString(out.inspectedText));
    lblDisplayed->setText(QString::fromStdString(out.displayedText));
    FilterSetPanel->setText(QString::fromStdString(
        screener::FilterCaption(plan.settings.Page, LastSettingsFile, false)));
    sgdData->GridChanged();
    sgdData->show();
    TitlePanel->hide();
    sgdData->ScrollToRow(grid_.Selection.top);
    SetEnabled(CmdGetData, true);
    SetEnabled(CmdFilter, true);
    SetEnabled(CmdShowSettings, true);
    const bool found = results_.LastResultRow >= results_.FirstResultRow;
    for (Command c : {CmdPrint, CmdBuildTagList, CmdCharts}) SetEnabled(c, found);
    CopyResults1->setEnabled(true);
    ShowChart1->setEnabled(found);
    FollowChart();
    if (!out.leftOut.empty())
        ShowStatus(QStringLiteral("%1 ticker(s) left out, their symbols holding control "
                                  "characters (first: %2)")
                       .arg(out.leftOut.size())
                       .arg(QString::fromStdString(out.leftOut.front())));
    return true;
}

void ScreenerWindow::SetWorkCommands(bool on) {
    for (QToolButton* b : Button)
        if (b) b->setEnabled(on);
    HelpButton->setEnabled(on);
    File1->setEnabled(on);
    Help1->setEnabled(on);
    File1->menuAction()->setEnabled(on);
    Help1->menuAction()->setEnabled(on);
}

void ScreenerWindow::SortResults(int column) {
    if (sorting_) return;
    sorting_ = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The panel's own texts come back with it after the sort.
    const QString title1 = Title1->text(), title2 = Title2->text();
    Title1->setText("Please wait...");
    Title2->setText("S o r t i n g   i n   P r o g r e s s");
    TitlePanel->show();
    TitlePanel->raise();
    sgdData->hide();
    SetWorkCommands(false);
    repaint();
    screener::SortResults(grid_, formats_, results_, column, titles_,
                          [](std::int64_t, std::int64_t) {
                              QApplication::processEvents();
                              return true;
                          });
    sgdData->ScrollToRow(grid_.Selection.top);
    // Every one of them comes back on: what was off before a sort was off because no results
    // were shown, and a sort needs results.
    SetWorkCommands(true);
    for (Command c : {CmdGetData, CmdFilter, CmdPrint, CmdBuildTagList, CmdCharts})
        SetEnabled(c, true);
    TitlePanel->hide();
    Title1->setText(title1);
    Title2->setText(title2);
    sgdData->GridChanged();
    sgdData->show();
    QApplication::restoreOverrideCursor();
    sorting_ = false;
    FollowChart();
}

void ScreenerWindow::GridMouseUp(int col, int row, Qt::MouseButton button,
                                 Qt::KeyboardModifiers mods) {
    if (sorting_ || button != Qt::LeftButton ||
        (mods & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)))
        return;
    if (col == screener::ColChart && grid_.Format(screener::ColChart, row) == &formats_.FormatChart) {
        ChartIconClicked(row);
        return;
    }
    // While our chart is open, a click on a result row highlights it for the chart.
    if (chart_ && chart_->isVisible() && row >= results_.FirstResultRow &&
        row <= results_.LastResultRow) {
        grid_.Selection = {screener::ColTicker, row, screener::ColPerformance, row};
        sgdData->viewport()->update();
        FollowChart();
        return;
    }
    if (row < grid_.FixedRows() && col >= 1 && col <= 10 &&
        results_.LastResultRow > results_.FirstResultRow)
        SortResults(col);
}

hostlink::HostLink& ScreenerWindow::Link() {
    if (!setup_.link) {
        setup_.link = std::make_shared<hostlink::BridgeLink>(
            hostlink::HostBridge(QApplication::applicationFilePath().toStdString(), setup_.env.dirs,
                                 host_.globals.HostLibraryPath));
    }
    if (!linkHooked_) {
        linkHooked_ = true;
        // The window keeps painting while the host is waited for; there is no Stop to take.
        setup_.link->SetWaitHook(
            ui::WindowWaitHook({this, {}, {}, [this](const QString& awaited) {
                                    if (!awaited.isEmpty())
                                        ShowStatus(awaited);
                                    else if (StatusText->text().endsWith(QStringLiteral("...")))
                                        ShowStatus(QString());
                                }}));
    }
    return *setup_.link;
}

void ScreenerWindow::ShowChartHere() {
    const int row = grid_.Selection.top;
    if (sgdData->isHidden() || sorting_ || row < results_.FirstResultRow ||
        row > results_.LastResultRow)
        return;
    if (!chart_)
        chart_ = new ui::PriceChartWindow(
            this, setup_.ownSettings, Section,
            {host_.globals.EquityPathList, setup_.env.dirs, setup_.env.locale,
             hostdb::HolidayFilePath(host_.globals, setup_.env.dirs), host_.globals.LastMarketDay});
    chart_->show();
    FollowChart();
    chart_->raise();
}

void ScreenerWindow::FollowChart() {
    const int row = grid_.Selection.top;
    if (!chart_ || !chart_->isVisible() || sgdData->isHidden() || row < results_.FirstResultRow ||
        row > results_.LastResultRow)
        return;
    const std::string ticker(platform::Trim(grid_.Text(screener::ColTicker, row)));
    if (ticker.empty()) return;
    screener::ResultChartFacts facts;
    facts.marketDay = resultsDay_;
    facts.page = settings_.Page;
    facts.evaluated = settings_.DoEval;
    facts.openDay = evalOpenDay_, facts.closeDay = evalCloseDay_;
    facts.change = grid_.Text(screener::ColPerformance, row);
    chart_->ShowSymbol(
        ticker, [&](hostdb::PriceHistory h) { return screener::ResultChart(std::move(h), facts); });
}

void ScreenerWindow::ChartIconClicked(int row) {
    const std::string ticker(platform::Trim(grid_.Text(screener::ColTicker, row)));
    if (ticker.empty()) return;
    grid_.Selection = {screener::ColTicker, row, screener::ColPerformance, row};
    sgdData->viewport()->repaint();
    FollowChart();
    QApplication::processEvents();
    const std::string& dir = host_.globals.HostDirectory;
    hostlink::HostLink& link = Link();
    hostlink::ActivateChartWindow(link, hostlink::ChartWindowTitle,
                                  hostdb::JoinHostPath(dir, "qelch32.exe"));
    // The host shows nothing when the chart cannot be opened; the user is told why here.
    if (!link.Post(hostdb::JoinHostPath(dir, "qelio32.dll"), hostlink::CodeShowTicker, ticker))
        ShowStatus(QString::fromStdString(
            "No chart for " + ticker + ": " +
            (link.Problem().empty() ? "the host refused it" : link.Problem())));
}

void ScreenerWindow::ShowStatus(const QString& text) {
    StatusText->setText(text);
    StatusText->setToolTip(text);
    StatusText->setVisible(!text.isEmpty());
    StatusText->raise();
    QTimer::singleShot(8000, StatusText, [label = StatusText, text] {
        if (label->text() != text) return;
        label->clear();
        label->hide();
    });
}

QPrinter& ScreenerWindow::Printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void ScreenerWindow::Print() {
    const platform::Locale& locale = setup_.env.locale;
    grid::PrintInputs in;
    in.headerLines = {{hostdb::FormatText("Zolt v%.2f Results", {ProgramVersion}, locale),
                       &formats_.FormatCentreBold},
                      {"Printed " + hostdb::FormatDateTime("ddddd", setup_.env.now, locale),
                       &formats_.FormatCentre},
                      {" ", &formats_.FormatPlain}};
    for (const std::string& line : SettingsText())
        in.firstPageLines.push_back({line, &formats_.FormatPlain});
    in.documentTitle = "Zolt";
    in.printedFor = grid::PrintedForText();
    in.firstRow = results_.FirstResultRow;
    in.lastRow = results_.PrintLastRow;
    // The evaluation's AVERAGE and comparison rows, after their separator, stay on one page.
    if (results_.PrintLastRow > results_.LastResultRow + 1)
        in.keepTogetherFrom = results_.LastResultRow + 1;
    in.fontName = "Arial";
    in.printFontSize = 11;
    in.screenPixelsPerInch = logicalDpiY();
    in.screenFontSize = 10;
    in.grid = &grid_;
    in.columnWidths = ColumnWidths;
    grid::PrintReport(this, std::move(in), &Printer());
}

bool ScreenerWindow::BuildTagList() {
    return ui::BuildTagList(grid_, this, results_.FirstResultRow, results_.LastResultRow,
                            ZoltTagList, setup_.env.dirs.LocalPath(host_.globals.HostDirectory),
                            TagListName, TagListFirstTicker);
}

void ScreenerWindow::GoToCharts() {
    if (TagListName.empty() && !BuildTagList()) return;
    hostlink::HostLink& link = Link();
    hostlink::OpenChart(link, host_.globals.HostLibraryPath, hostlink::ChartWindowTitle,
                        host_.globals.HostProgramPath, TagListFirstTicker, TagListName);
    if (!link.Problem().empty())
        ShowStatus(QString::fromStdString("The charts could not be opened: " + link.Problem()));
}

std::vector<std::string> ScreenerWindow::SettingsText() const {
    return screener::BuildSettingsText(DataSetPanel->text().toStdString(),
                                       FilterSetPanel->text().toStdString(), settings_,
                                       setup_.env.locale);
}

void ScreenerWindow::ShowSettings() {
    if (!showSettings_)
        showSettings_ =
            std::make_unique<SettingsTextWindow>([this] { return SettingsText(); }, this);
    showSettings_->exec();
}

void ScreenerWindow::About() {
    ui::AboutBox box(this);
    box.Caption = "About ZOLT";
    box.AppTitle = "ZOLT for Windows (32-bit)";
    box.Version = QString::asprintf("%.2f", ProgramVersion);
    box.MainText = {"ZOLT, the volume and price screener", "for the QEL charting package.", "",
                    "Questions and reports of errors are welcome",
                    "through the address given with your copy."};
    box.WarningText = {"Warning: this program is protected by copyright law.",
                       "Copying or passing it on without permission, in whole",
                       "or in part, may be prosecuted. Its results are no advice",
                       "to buy or sell; check every figure against your own data",
                       "before you trade."};
    box.Execute();
}

} // namespace zoltw
