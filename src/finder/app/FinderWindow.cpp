#include "finder/app/FinderWindow.h"

#include "finder/app/FinderChart.h"
#include "finder/app/FinderSettingsDialog.h"
#include "grid/view/FinderCell.h"
#include "grid/view/GridReport.h"
#include "grid/view/ScreenerCell.h"
#include "hostdb/Format.h"
#include "hostdb/HostPath.h"
#include "hostlink/BridgeLink.h"
#include "hostlink/ChartLink.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "platform/Workers.h"
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
#include <QCursor>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>

namespace zimra {

namespace {

constexpr ui::TagListProgram ZimraTagList{finder::ColTicker, "ZIMRA", "ZimRA TagList Name", 1001};

const int DesignWidths[finder::FinderColumns] = {64, 66, 66, 64, 64, 215};
constexpr int ToolBarHeight = 41, GridRows = 14, RowHeight = 18;
const char* const Section = "ZimRA";

double SteadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

FinderWindow::FinderWindow(MainSetup setup, QWidget* parent)
    : QMainWindow(parent), setup_(std::move(setup)),
      grid_(finder::FinderColumns, finder::FinderTitleRows + 1, 0, finder::FinderTitleRows) {
    CreateControls();
    FormCreate();
}

FinderWindow::~FinderWindow() = default;

void FinderWindow::CreateControls() {
    setWindowTitle(WindowCaption);
    setFont(ui::PixelFont(13));
    auto* central = new QWidget(this);
    setCentralWidget(central);
    ToolPanel = new QFrame(central);
    ToolPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto button = [this](int x, ui::Glyph glyph, const char* hint) {
        return ui::MakeToolButton(ToolPanel, x, glyph, hint);
    };
    FindButton = button(8, ui::Glyph::Magnifier, "Find...");
    PrintButton = button(48, ui::Glyph::Printer, "Print");
    BuildListButton = button(76, ui::Glyph::List, "Build a TagList");
    ChartsButton = button(104, ui::Glyph::Chart, "Build a TagList and\rGo to Charts");
    HelpButton = button(144, ui::Glyph::Help, "Help");
    ExitButton = button(184, ui::Glyph::Exit, "Exit");
    StopButton = new QPushButton("Stop", ToolPanel);
    StopButton->setGeometry(8, 8, 75, 25);
    StopButton->hide();
    ProgressPanel = new QFrame(ToolPanel);
    ProgressPanel->setGeometry(96, 10, 200, 21);
    ProgressPanel->hide();
    ProgressGauge = new QProgressBar(ProgressPanel);
    ProgressGauge->setGeometry(0, 0, 200, 21);
    ProgressGauge->setTextVisible(false);
    QPalette gp = ProgressGauge->palette();
    gp.setColor(QPalette::Highlight, Qt::red);
    gp.setColor(QPalette::Base, Qt::black);
    gp.setColor(QPalette::Window, Qt::black);
    ProgressGauge->setPalette(gp);

    StringGrid1 = new gridview::GridView(central);
    StringGrid1->SetCellPainter(gridview::FinderCellPainter());
    StringGrid1->SetDefaultRowHeight(RowHeight);
    StringGrid1->SetGrid(&grid_);
    StringGrid1->hide();
    connect(StringGrid1, &gridview::GridView::CellReleased, this, &FinderWindow::GridMouseUp);

    TitlePanel = ui::MakeTitlePanel(central, Title1, Title2);
    Title1->clear(); // no text at start

    File1 = menuBar()->addMenu("&File");
    Find1 = File1->addAction("&Find...");
    File1->addSeparator();
    Print1 = File1->addAction("&Print...");
    BuildTagList1 = File1->addAction("&Build TagList...");
    GotoCharts1 = File1->addAction("Go to &Charts");
    File1->addSeparator();
    Exit1 = File1->addAction("E&xit");
    Help1 = menuBar()->addMenu("&Help");
    Contents1 = Help1->addAction("&Contents");
    TopicSearch1 = Help1->addAction("&Topic Search");
    HowtouseHelp1 = Help1->addAction("&How to use Help");
    Help1->addSeparator();
    About1 = Help1->addAction("&About  ZimRA");
    Stop1 = menuBar()->addAction("&Stop");
    Stop1->setVisible(false);

    for (QAction* a : {Find1, Print1, BuildTagList1, GotoCharts1}) a->setEnabled(false);
    for (QToolButton* b : {FindButton, PrintButton, BuildListButton, ChartsButton})
        b->setEnabled(false);
    connect(Find1, &QAction::triggered, this, &FinderWindow::Find);
    connect(FindButton, &QToolButton::clicked, this, &FinderWindow::Find);
    connect(Print1, &QAction::triggered, this, &FinderWindow::Print);
    connect(PrintButton, &QToolButton::clicked, this, &FinderWindow::Print);
    connect(BuildTagList1, &QAction::triggered, this, [this] { BuildTagList(); });
    connect(BuildListButton, &QToolButton::clicked, this, [this] { BuildTagList(); });
    connect(GotoCharts1, &QAction::triggered, this, &FinderWindow::GoToCharts);
    connect(ChartsButton, &QToolButton::clicked, this, &FinderWindow::GoToCharts);
    connect(Exit1, &QAction::triggered, this, &QWidget::close);
    connect(ExitButton, &QToolButton::clicked, this, &QWidget::close);
    connect(Stop1, &QAction::triggered, this, [this] { stop_ = true; });
    connect(StopButton, &QPushButton::clicked, this, [this] { stop_ = true; });
    connect(About1, &QAction::triggered, this, &FinderWindow::About);
    CopyResults1 = new QAction("Copy &results", this);
    CopyResults1->setShortcut(QKeySequence::Copy);
    addAction(CopyResults1);
    connect(CopyResults1, &QAction::triggered, this, &FinderWindow::CopyResults);
    // The right button sorts on the titles; over the results it brings this pop-up.
    PopupMenu1 = new QMenu(this);
    ShowChart1 = PopupMenu1->addAction("Show chart here");
    ShowChart1->setEnabled(false);
    connect(ShowChart1, &QAction::triggered, this, &FinderWindow::ShowChartHere);
    Help = ui::InstallHelpWindow("zimra", "ZimRA Help", this);
    connect(Contents1, &QAction::triggered, Help, &ui::HelpWindow::ShowHelpContents);
    connect(HelpButton, &QToolButton::clicked, Help, &ui::HelpWindow::ShowHelpContents);
    connect(TopicSearch1, &QAction::triggered, Help, &ui::HelpWindow::ShowHelpTopicSearch);
    connect(HowtouseHelp1, &QAction::triggered, Help, &ui::HelpWindow::ShowHelpOnHelp);
}

void FinderWindow::FormCreate() {
    if (!hostdb::DiscoverHost(hostdb::HostProgram::Zimra, setup_.env, host_, hostError_,
                              &hostReason_))
        return;
    hostFound_ = true;
    Title2->setText(
        QString::fromStdString("Last Market Date is " + host_.globals.LastMarketDateText));
    QFont arial("Arial", 10);
    arial.setBold(true);
    const int w = QFontMetrics(arial).horizontalAdvance("Abcde fghijk");
    int sum = 0;
    for (int d : DesignWidths) ColumnWidths.push_back(d * w / 79), sum += d * w / 79;
    StringGrid1->SetColumnWidths(ColumnWidths);
    // Inner widths: the window system adds its own frame.
    DefaultWidth = sum + style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 12;
    resize(DefaultWidth, menuBar()->sizeHint().height() + ToolBarHeight + GridRows * RowHeight);
    const platform::Profile own(setup_.ownSettings);
    ui::RestoreFormPosition(*this, own, Section);
    LastSettingsFile = own.ReadString(Section, "LastSettingsFile", "");
    setProperty("helpContext", 1002);
    TitlePanel->move((width() - TitlePanel->width()) / 2, ToolBarHeight + 40);
    std::string threadsWarning;
    threads_ = platform::WorkerThreads(&threadsWarning);
    if (!threadsWarning.empty()) host_.warnings.push_back(threadsWarning);
    // Until the first find, the host's warning stands where the find's own text will.
    if (!host_.warnings.empty()) {
        const QString warning = ui::ReportHostWarnings(host_.warnings);
        Title1->setToolTip(warning);
        Title1->setText(Title1->fontMetrics().elidedText(warning, Qt::ElideMiddle, 377 - 8));
    }
}

void FinderWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    Find1->setEnabled(true);
    FindButton->setEnabled(true);
}

void FinderWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (!isMaximized() && !isFullScreen() && DefaultWidth > 0 && width() > DefaultWidth)
        resize(DefaultWidth, height());
    QWidget* c = centralWidget();
    ToolPanel->setGeometry(0, 0, c->width(), ToolBarHeight);
    StringGrid1->setGeometry(0, ToolBarHeight, c->width(),
                             std::max(0, c->height() - ToolBarHeight));
}

void FinderWindow::closeEvent(QCloseEvent* event) {
    if (running_) { // Stop first; the find puts the chart back and then the window closes
        stop_ = true;
        event->ignore();
        QTimer::singleShot(100, this, &QWidget::close);
        return;
    }
    if (hostFound_) {
        std::error_code ec;
        std::filesystem::create_directories(setup_.ownSettings.parent_path(), ec);
        platform::Profile own(setup_.ownSettings);
        bool saved = ui::SaveFormPosition(*this, own, Section);
        saved = own.WriteString(Section, "LastSettingsFile", LastSettingsFile) && saved;
        if (!saved)
            ui::ShowMessage(this, ui::BoxKind::Warning,
                            QString::fromStdString("Your settings could not be saved in " +
                                                   setup_.ownSettings.string() + ": " +
                                                   own.WriteProblem() + "."));
    }
    event->accept();
}

FinderSettingsDialog* FinderWindow::FindWhatDialog() {
    if (!findWhat_) findWhat_ = std::make_unique<FinderSettingsDialog>(*this);
    return findWhat_.get();
}

void FinderWindow::Find() {
    FinderSettingsDialog* dialog = FindWhatDialog();
    if (dialog->exec() == QDialog::Accepted) RunFind(dialog->Settings());
}

void FinderWindow::SetRunning(bool on) {
    running_ = on;
    for (QMenu* m : {File1, Help1}) {
        m->menuAction()->setVisible(!on);
        m->menuAction()->setEnabled(!on);
    }
    for (QToolButton* b :
         {FindButton, PrintButton, BuildListButton, ChartsButton, HelpButton, ExitButton}) {
        b->setVisible(!on);
        b->setEnabled(!on);
    }
    ProgressPanel->setVisible(on);
    StopButton->setVisible(on);
    StopButton->setEnabled(on);
    Stop1->setVisible(on);
    Stop1->setEnabled(on);
}

void FinderWindow::SetResultCommands(bool on) {
    for (QAction* a : {Print1, BuildTagList1, GotoCharts1, ShowChart1}) a->setEnabled(on);
    for (QToolButton* b : {PrintButton, BuildListButton, ChartsButton}) b->setEnabled(on);
    FollowChart();
}

void FinderWindow::RunFind(finder::FinderSettings s) {
    if (running_) return;
    const int last = host_.globals.LastMarketDay;
    finder::AcceptSettings(s, last);
    settings_ = s;
    TagListName.clear();
    const hostdb::HostGlobals& g = host_.globals;
    std::unique_ptr<hostlink::ChartDriver> chart;
    hostlink::MainWindowSide& side = *this;
    if (finder::ErCheckWanted(s))
        chart = std::make_unique<hostlink::ChartDriver>(
            Link(), side,
            hostlink::ChartDriverSetup{
                hostdb::JoinHostPath(g.HostDirectory, "qelio32.dll"), g.HostProgramPath,
                platform::Directories::FileInDirectory(setup_.env.dirs.windows, "QelChart.Ini"),
                finder::IndicatorsValue(s), setup_.env.locale, setup_.env.now, SteadySeconds,
                [this] { return stop_; }});
    finder::FindInput in;
    in.settings = s;
    in.lastMarketDay = last;
    in.tickerFiles = host_.tickerFiles;
    in.threads = threads_;
    in.equityPathList = g.EquityPathList;
    in.dirs = setup_.env.dirs;
    in.locale = setup_.env.locale;
    in.chart = chart.get();

    stop_ = false;
    SetRunning(true);
    TitlePanel->hide();
    StringGrid1->show();
    ProgressGauge->setRange(0, std::max<int>(1, static_cast<int>(in.tickerFiles.size())));
    auto lastPaint = std::chrono::steady_clock::now();
    finder::RunFind(in, grid_, state_, formats_, [&](std::int64_t done, std::int64_t) {
        const auto now = std::chrono::steady_clock::now();
        if (now - lastPaint >= std::chrono::milliseconds(50)) {
            lastPaint = now;
            ProgressGauge->setValue(static_cast<int>(done));
            StringGrid1->GridChanged();
            StringGrid1->ScrollToRow(grid_.Selection.top);
            QApplication::processEvents();
        }
        return !stop_;
    });
    SetRunning(false);
    ProgressGauge->setValue(0);
    ShowTop();
    SetResultCommands(state_.listed > 0);
    // Without the chart no ticker can meet a ratings test; the user is told why.
    if (chart && !chart->Problem().empty())
        Notice("No expert ratings could be read:", QString::fromStdString(chart->Problem()), true);
}

void FinderWindow::ShowResults(grid::CellGrid grid, const finder::FinderState& state) {
    grid_ = std::move(grid);
    state_ = state;
    TitlePanel->hide();
    StringGrid1->SetGrid(&grid_);
    StringGrid1->show();
    SetResultCommands(state_.listed > 0);
}

void FinderWindow::Notice(const QString& first, const QString& second, bool untilNextFind) {
    Title1->setText(first);
    Title2->setText(second);
    TitlePanel->adjustSize();
    TitlePanel->resize(std::max(377, TitlePanel->width()), 57);
    TitlePanel->move((width() - TitlePanel->width()) / 2, TitlePanel->y());
    TitlePanel->show();
    TitlePanel->raise();
    const int number = ++notices_;
    if (untilNextFind) return;
    QTimer::singleShot(10000, TitlePanel, [this, number] {
        if (number == notices_ && !sorting_ && !running_) TitlePanel->hide();
    });
}

void FinderWindow::GridMouseUp(int col, int row, Qt::MouseButton button,
                               Qt::KeyboardModifiers mods) {
    // While our chart is open, a left click on a result row highlights it for the chart.
    if (chart_ && chart_->isVisible() && !running_ && !sorting_ && button == Qt::LeftButton &&
        row >= state_.FirstResultRow && row <= state_.LastResultRow && state_.listed > 0) {
        grid_.Selection = {finder::ColFoundDay, row, finder::FinderColumns - 1, row};
        StringGrid1->viewport()->update();
        FollowChart();
        return;
    }
    if (running_ || sorting_ || row >= finder::FinderTitleRows ||
        (button != Qt::LeftButton && button != Qt::RightButton) ||
        (mods & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) ||
        state_.LastResultRow - state_.FirstResultRow + 1 < 2)
        return;
    SortColumn(col, button == Qt::RightButton);
}

void FinderWindow::SortColumn(int column, bool descending) {
    sorting_ = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Title1->setText("Please wait...");
    Title2->setText("S o r t i n g   i n   P r o g r e s s");
    TitlePanel->show();
    TitlePanel->raise();
    StringGrid1->hide();
    repaint();
    const finder::SortOutcome outcome =
        finder::SortFinderResults(grid_, formats_, state_, column, descending, setup_.env.locale);
    QApplication::restoreOverrideCursor();
    if (outcome == finder::SortOutcome::TooManyItems)
        QMessageBox::warning(this, "Too many items",
                             "Sorry, but there are more items than can be sorted by this column. "
                             "The Ticker and Full Name columns have no upper limit, however.");
    TitlePanel->hide();
    ShowTop();
    StringGrid1->show();
    sorting_ = false;
    FollowChart();
}

void FinderWindow::ShowTop() {
    StringGrid1->GridChanged();
    StringGrid1->ScrollToRow(0);
}

hostlink::HostLink& FinderWindow::Link() {
    if (!setup_.link)
        setup_.link = std::make_shared<hostlink::BridgeLink>(
            hostlink::HostBridge(QApplication::applicationFilePath().toStdString(), setup_.env.dirs,
                                 host_.globals.HostLibraryPath));
    if (!linkHooked_) {
        linkHooked_ = true;
        // During a find only Stop is on screen, so input may pass; Stop ends the wait.
        setup_.link->SetWaitHook(ui::WindowWaitHook(
            {this, [this] { return running_; }, [this] { return running_ && stop_; },
             [this](const QString& awaited) { TellWait(awaited); }}));
    }
    return *setup_.link;
}

void FinderWindow::TellWait(const QString& awaited) {
    if (awaited.isEmpty()) {
        if (running_) TitlePanel->hide();
        return;
    }
    Notice(awaited, running_ ? QStringLiteral("Stop ends the wait") : QString(), true);
}

void FinderWindow::SaveAndPlace(int top, int height, int left) {
    savedState_ = windowState();
    savedGeometry_ = geometry();
    showNormal();
    setGeometry(left, top, width(), height);
}

void FinderWindow::PointerToStop() {
    QCursor::setPos(StopButton->mapToGlobal(StopButton->rect().center()));
}

void FinderWindow::RestoreAndFocus() {
    setGeometry(savedGeometry_);
    setWindowState(savedState_);
    activateWindow();
    raise();
}

void FinderWindow::ProcessMessages() { QApplication::processEvents(); }

QPrinter& FinderWindow::Printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void FinderWindow::Print() {
    const platform::Locale& locale = setup_.env.locale;
    grid::PrintInputs in;
    in.headerLines = {
        {"ZimRA Results", &formats_.BoldCentred},
        {"Printed " + hostdb::FormatDateTime("ddddd", setup_.env.now, locale), &formats_.Centred},
        {" ", &formats_.PlainLeft}};
    for (const std::string& line :
         finder::ReportDescription(settings_, host_.globals.LastMarketDay, locale))
        in.firstPageLines.push_back({line, &formats_.PlainLeft});
    in.documentTitle = "ZimRA";
    in.firstRow = state_.FirstResultRow;
    in.lastRow = state_.EndRow - 1;
    in.fontName = "Arial";
    in.printFontSize = 11;
    in.screenPixelsPerInch = logicalDpiY();
    in.screenFontSize = 10;
    in.grid = &grid_;
    in.columnWidths = ColumnWidths;
    grid::PrintReport(this, std::move(in), &Printer());
}

bool FinderWindow::BuildTagList() {
    return ui::BuildTagList(
        grid_, this, state_.FirstResultRow, state_.LastResultRow, ZimraTagList,
        setup_.env.dirs.LocalPath(host_.globals.HostDirectory), TagListName, TagListFirstTicker);
}

void FinderWindow::GoToCharts() {
    if (TagListName.empty() && !BuildTagList()) return;
    hostlink::HostLink& link = Link();
    hostlink::OpenChart(link, host_.globals.HostLibraryPath, hostlink::ChartWindowTitle,
                        host_.globals.HostProgramPath, TagListFirstTicker, TagListName);
    if (!link.Problem().empty())
        Notice("The charts could not be opened:", QString::fromStdString(link.Problem()));
}

void FinderWindow::CopyResults() {
    if (StringGrid1->isHidden() || running_) return;
    QString text;
    for (int r = 0; r < state_.EndRow && r < grid_.RowCount(); ++r) {
        for (int c = 0; c < grid_.ColCount(); ++c)
            text += (c ? "\t" : "") + gridview::CellText(grid_.Text(c, r)).trimmed();
        text += '\n';
    }
    QApplication::clipboard()->setText(text);
}

void FinderWindow::WalkResults(int step) {
    if (StringGrid1->isHidden() || running_ || sorting_ || state_.listed == 0) return;
    int row = grid_.Selection.top;
    row = row < state_.FirstResultRow || row > state_.LastResultRow
              ? state_.FirstResultRow
              : std::clamp(row + step, state_.FirstResultRow, state_.LastResultRow);
    grid_.Selection = {finder::ColFoundDay, row, finder::FinderColumns - 1, row};
    StringGrid1->ScrollToRow(row);
    StringGrid1->viewport()->update();
    FollowChart();
}

void FinderWindow::ShowChartHere() {
    const int row = grid_.Selection.top;
    if (StringGrid1->isHidden() || running_ || sorting_ || state_.listed == 0 ||
        row < state_.FirstResultRow || row > state_.LastResultRow)
        return;
    if (!chart_) // the finder's own calendar: built-in holidays, as the find's
        chart_ = new ui::PriceChartWindow(this, setup_.ownSettings, Section,
                                          {host_.globals.EquityPathList,
                                           setup_.env.dirs,
                                           setup_.env.locale,
                                           {},
                                           host_.globals.LastMarketDay});
    chart_->show();
    FollowChart();
    chart_->raise();
}

void FinderWindow::FollowChart() {
    const int row = grid_.Selection.top;
    if (!chart_ || !chart_->isVisible() || StringGrid1->isHidden() || running_ ||
        row < state_.FirstResultRow || row > state_.LastResultRow)
        return;
    const std::string ticker(platform::Trim(grid_.Text(finder::ColTicker, row)));
    if (ticker.empty()) return;
    chart_->ShowSymbol(ticker, [&](hostdb::PriceHistory h) {
        return finder::FinderChart(std::move(h), settings_);
    });
}

void FinderWindow::contextMenuEvent(QContextMenuEvent* event) {
    const QPoint inGrid = StringGrid1->mapFrom(this, event->pos());
    if (event->reason() == QContextMenuEvent::Mouse && StringGrid1->isVisible() &&
        StringGrid1->rect().contains(inGrid) && inGrid.y() < finder::FinderTitleRows * RowHeight)
        return; // a title: the release sorts
    PopupMenu1->exec(event->globalPos());
}

void FinderWindow::OpenRowChart(int row) {
    const std::string ticker(platform::Trim(grid_.Text(finder::ColTicker, row)));
    if (ticker.empty()) return;
    const std::string& dir = host_.globals.HostDirectory;
    hostlink::HostLink& link = Link();
    hostlink::ActivateChartWindow(link, hostlink::ChartWindowTitle, host_.globals.HostProgramPath);
    if (!link.Post(hostdb::JoinHostPath(dir, "qelio32.dll"), hostlink::CodeShowTicker, ticker))
        Notice(QString::fromStdString("No chart for " + ticker + ":"),
               QString::fromStdString(link.Problem().empty() ? "the host refused it"
                                                             : link.Problem()));
}

void FinderWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up: WalkResults(-1); return;
    case Qt::Key_Down: WalkResults(1); return;
    case Qt::Key_Space: ShowChartHere(); return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!StringGrid1->isHidden() && !running_ && state_.listed > 0 &&
            grid_.Selection.top >= state_.FirstResultRow &&
            grid_.Selection.top <= state_.LastResultRow)
            OpenRowChart(grid_.Selection.top);
        return;
    default: QMainWindow::keyPressEvent(event);
    }
}

void FinderWindow::About() {
    ui::AboutBox box(this);
    box.Caption = "About ZimRA";
    box.AppTitle = ApplicationTitle;
    box.Version = QString::asprintf("%.2f", ProgramVersion);
    box.MainText = {"ZimRA, the line-crossing finder", "for the QEL charting package.", "",
                    "Questions and reports of errors are welcome",
                    "through the address given with your copy."};
    box.WarningText = {"Warning: this program is protected by copyright law.",
                       "Copying or passing it on without permission, in whole",
                       "or in part, may be prosecuted. Its results are no advice",
                       "to buy or sell; check every figure against your own data",
                       "before you trade."};
    box.Execute();
}

} // namespace zimra
