#include "screener/app/FilterDialog.h"

#include "hostdb/Format.h"
#include "hostdb/HostInstallation.h"
#include "hostdb/TradingDays.h"
#include "screener/app/ScreenerWindow.h"
#include "ui/BevelPanel.h"
#include "ui/Hooks.h"
#include "ui/NumericEdits.h"
#include "ui/SettingsFileButtons.h"
#include "ui/WindowCentering.h"
#include "ui/DialogParts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QValidator>
#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace zoltw {

namespace {

constexpr int HelpContext = 1011;
const ui::SettingsFileKind SettingsFiles{"Zolt", ".VNI", 1020, 1032};

const char* const NotPossibleText = "Performance evaluation is not possible because the data set "
                                    "isfor the last date on which data is available.";

const std::array<const char*, 10> PageTexts = {
    "\nShow tickers whose High (the intraday high) for the \n"
    "Market Date just reached a new high for the specified\n"
    "number of weeks, or is at a high for the specified \n"
    "number of weeks or more. ",
    "\nShow tickers whose Low (the intraday low) for the \n"
    "Market Date just reached a new low for the specified\n"
    "number of weeks, or is at a low for the specified \n"
    "number of weeks or more. ",
    "\nShow tickers whose closing price on the \n"
    "market date rose by the indicated amounts \n"
    "from the previous trading day. You may specify \n"
    "a price range, a percentage range, or both.",
    "\nShow tickers whose closing price on the \n"
    "market date fell by the indicated amounts \n"
    "from the previous trading day. You may specify \n"
    "a price range, a percentage range, or both.",
    "\nShow tickers that gapped up. Gapping up is \n"
    "defined as the low for the day being higher \n"
    "than the high for the previous trading day.",
    "\nShow tickers that gapped down. Gapping down\n"
    "is defined as the high for the day being lower \n"
    "than the low for the previous trading day.",
    "\nShow tickers whose volume is ABOVE \n"
    "the moving average of volume.",
    "\nShow tickers whose volume is BELOW \n"
    "the moving average of volume.",
    "\nShow all tickers (except, as always, those that don't\n"
    "meet the minimum price or volume requirements).",
    "\nShow tickers that meet one or more selected tests in \n"
    "column A while also meeting one or more selected tests \n"
    "in column B while also meeting one or more selected \n"
    "tests in column C. Ignore any column with no selections."};

// Tickers are symbols: whatever is typed or pasted shows in upper case.
class UpperCaseValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        input = input.toUpper();
        return Acceptable;
    }
};

void SetRole(QWidget* w, QPalette::ColorRole role, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(role, colour);
    w->setPalette(p);
}

// Places widgets left to right on one line, each after the last.
struct Flow {
    int x, y;
    template <typename W> W* operator()(W* w, int width = -1, int gap = 4) {
        if (auto* l = qobject_cast<QLabel*>(w)) l->setTextFormat(Qt::PlainText);
        if (width < 0) {
            w->adjustSize();
            width = w->width();
        }
        const int h = qobject_cast<QLabel*>(w) ? w->sizeHint().height() : 22;
        w->setGeometry(x, qobject_cast<QLabel*>(w) ? y + (22 - h) / 2 : y, width, h);
        x += width + gap;
        return w;
    }
};

QLabel* NewLabel(QWidget* parent, const char* text, int x, int y) {
    auto* l = new QLabel(text, parent);
    l->setTextFormat(Qt::PlainText);
    l->move(x, y);
    l->adjustSize();
    return l;
}

ui::IntegerEdit* NewIntEdit(QWidget* parent, int min, int max, int length, bool spin) {
    auto* e = new ui::IntegerEdit(parent);
    e->SetMinValue(min);
    e->SetMaxValue(max);
    if (length > 0) e->setMaxLength(length);
    e->SetValidate(true);
    e->SetSpin(spin);
    return e;
}

ui::RealEdit* NewRealEdit(QWidget* parent, const char* format) {
    auto* e = new ui::RealEdit(parent);
    // No limits are set for these: with validation on, limits of 0 and 0 would make
    // every value 0.
    e->SetValidate(false);
    e->SetFormatString(format);
    return e;
}

// The top of the first line below each page's explanatory text.
constexpr int PageRow = 96;

} // namespace

FilterDialog::FilterDialog(ScreenerWindow& main)
    : QDialog(&main), main_(main), calendar_(main.Environment().locale) {
    setWindowFlags(ui::FixedDialogFlags());
    setProperty("helpContext", HelpContext);
    setFont(ui::DialogFont(11, true));
    setFixedSize(612, 632);
    calendar_.HolidayFileName =
        hostdb::HolidayFilePath(main.Host().globals, main.Environment().dirs);
    CreateControls();
    SetTabOrder();
    ConnectChanges();
    std::string problem;
    Record = screener::LoadSettings(main.ProgramDir(), main.LastSettingsFile,
                                    main.Environment().locale, &problem);
    ui::ForgetUnreadableSettingsFile(&main, main.LastSettingsFile, problem);
    SettingsToDialog();
}

FilterDialog::~FilterDialog() = default;

void FilterDialog::CreateControls() {
    CreateAreaNumbers();
    CreateDataSetArea();
    CreatePagesArea();
    CreateMinimumsArea();
    CreateEvaluationArea();
    CreateStartArea();

    connect(LoadButton, &QPushButton::clicked, this, &FilterDialog::LoadButtonClick);
    connect(SaveButton, &QPushButton::clicked, this, &FilterDialog::SaveButtonClick);
    connect(DoItButton, &QPushButton::clicked, this, &FilterDialog::DoItButtonClick);
    connect(CancelBtn, &QPushButton::clicked, this, &FilterDialog::reject);
    connect(HelpBtn, &QPushButton::clicked, this, [this] { ui::ShowHelp(this, HelpContext); });
}

void FilterDialog::CreateAreaNumbers() {
    const int numberY[5] = {9, 41, 374, 412, 546};
    for (int i = 0; i < 5; ++i) {
        auto* n = new QLabel(QString::number(i + 1), this);
        n->setAlignment(Qt::AlignCenter);
        n->setStyleSheet("QLabel { background-color: #202020; color: white; }");
        n->setGeometry(8, numberY[i], 18, 18);
        AreaNumber[static_cast<size_t>(i)] = n;
    }
}

// Area 1 and the data set.
void FilterDialog::CreateDataSetArea() {
    LoadButton = new QPushButton("&Load previously saved filter settings", this);
    LoadButton->setGeometry(32, 6, 250, 25);
    OptionalLabel = NewLabel(this, "(optional)", 288, 11);
    DataSetPanel =
        new ui::BevelPanel(this, ui::BevelPanel::Bevel::Lowered, ui::BevelPanel::Bevel::None);
    DataSetPanel->setGeometry(346, 6, 258, 25);
    DataSetLabel = new QLabel(DataSetPanel);
    DataSetLabel->setTextFormat(Qt::PlainText);
    DataSetLabel->setAlignment(Qt::AlignCenter);
    DataSetLabel->setGeometry(2, 2, 254, 21);
}

// Area 2.
void FilterDialog::CreatePagesArea() {
    ChooseLabel = NewLabel(this, "Click on a tab to choose the filter type:", 32, 41);
    FilterPages = new QTabWidget(this);
    FilterPages->setGeometry(32, 60, 572, 306);
    FilterPages->setFont(ui::DialogFont(11, false));
    FilterPages->tabBar()->setExpanding(false);
    FilterPages->setStyleSheet("QTabBar::tab { min-width: 36px; height: 16px; }");
    for (size_t i = 0; i < PageText.size(); ++i) {
        auto* page = new QWidget;
        FilterPages->addTab(page, screener::FilterTabCaptions[i]);
        auto* t = new QLabel(PageTexts[i], page);
        t->setTextFormat(Qt::PlainText);
        t->setFrameStyle(QFrame::Box | QFrame::Plain);
        t->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        t->setGeometry(10, 6, 546, 78);
        PageText[i] = t;
    }
    CreateWeeksPages();
    CreateRangePages();
    CreateGapPages();
    CreateVolumePages();
    CreateComboPage();
}

// High and Low.
void FilterDialog::CreateWeeksPages() {
    auto weeksPage = [](QWidget* p, ui::IntegerEdit*& edit, QRadioButton*& only,
                        QRadioButton*& greater, const char* onlyText, const char* greaterText) {
        Flow f{40, PageRow};
        f(new QLabel("Number of weeks:", p));
        edit = f(NewIntEdit(p, 0, 999, 3, true), 56);
        only = new QRadioButton(onlyText, p);
        only->setGeometry(40, PageRow + 32, 440, 20);
        greater = new QRadioButton(greaterText, p);
        greater->setGeometry(40, PageRow + 56, 440, 20);
    };
    weeksPage(FilterPages->widget(0), HighWeeksEdit, HighNewButton, HighGreaterButton,
              "Show only if the stock just reached this new high",
              "Show if stock is at high for number of weeks or greater");
    weeksPage(FilterPages->widget(1), LowWeeksEdit, LowNewButton, LowGreaterButton,
              "Show only if the stock just reached this new low",
              "Show if stock is at low for number of weeks or greater");
}

// Up and Down.
void FilterDialog::CreateRangePages() {
    auto rangePage = [](QWidget* p, const char* heading, QCheckBox*& dollarChk, QLabel*& dollar1,
                        ui::RealEdit*& minDollar, QLabel*& dollar2, ui::RealEdit*& maxDollar,
                        QCheckBox*& perCChk, ui::RealEdit*& minPerC, QLabel*& perC1,
                        ui::RealEdit*& maxPerC, QLabel*& perC2) {
        NewLabel(p, heading, 40, PageRow);
        Flow d{60, PageRow + 26};
        dollarChk = d(new QCheckBox(p), 18);
        dollar1 = d(new QLabel("$", p));
        minDollar = d(NewRealEdit(p, "#0.00"), 56);
        dollar2 = d(new QLabel("to $", p));
        maxDollar = d(NewRealEdit(p, "#0.00"), 56);
        Flow c{60, PageRow + 54};
        perCChk = c(new QCheckBox(p), 18);
        minPerC = c(NewRealEdit(p, "#0.0"), 56);
        perC1 = c(new QLabel("% to", p));
        maxPerC = c(NewRealEdit(p, "#0.0"), 56);
        perC2 = c(new QLabel("%", p));
    };
    rangePage(FilterPages->widget(2), "Show stocks that Closed Up", CloseUpDollarChk,
              UpDollar1Label, MinUpDollar, UpDollar2Label, MaxUpDollar, CloseUpPerCChk, MinUpPerC,
              UpPerC1Label, MaxUpPerC, UpPerC2Label);
    rangePage(FilterPages->widget(3), "Show stocks that Closed Down", CloseDownDollarChk,
              DownDollar1Label, MinDownDollar, DownDollar2Label, MaxDownDollar, CloseDownPerCChk,
              MinDownPerC, DownPerC1Label, MaxDownPerC, DownPerC2Label);
}

// GapU and GapD.
void FilterDialog::CreateGapPages() {
    auto gapPage = [](QWidget* p, const char* text, ui::IntegerEdit*& days) {
        Flow f{40, PageRow};
        f(new QLabel(text, p));
        days = f(NewIntEdit(p, 0, 9, 1, true), 40);
        f(new QLabel("days.", p));
    };
    gapPage(FilterPages->widget(4), "Show stocks with a Gap Up within the last", GapUpDays);
    gapPage(FilterPages->widget(5), "Show stocks with a Gap Down within the last", GapDownDays);
}

// VolU and VolD.
void FilterDialog::CreateVolumePages() {
    QWidget* above = FilterPages->widget(6);
    Flow f{40, PageRow};
    f(new QLabel("Volume must be at least", above));
    VolAbovePerC = f(NewRealEdit(above, ""), 56);
    f(new QLabel("% Above its moving average", above));
    Flow g{40, PageRow + 30};
    g(new QLabel("for the last", above));
    VolumeDays = g(NewIntEdit(above, 1, 9, 1, true), 40);
    g(new QLabel("days.", above));

    QWidget* below = FilterPages->widget(7);
    Flow h{40, PageRow};
    h(new QLabel("Volume must be at least", below));
    VolBelowPerC = h(new ui::RealEdit(below), 56);
    VolBelowPerC->MinValue = 0;
    VolBelowPerC->MaxValue = 100;
    // Room for every value the settings file can hold ("99.99"): three characters would
    // cut a loaded 45.5 to "45.".
    VolBelowPerC->setMaxLength(5);
    VolBelowPerC->SetValidate(true);
    h(new QLabel("% Below its moving average", below));
    VolDownDaysLabel = new QLabel(below);
    VolDownDaysLabel->setTextFormat(Qt::PlainText);
    VolDownDaysLabel->setGeometry(40, PageRow + 32, 440, 18);
}

// Combo: columns A, B and C, one row per test, the C box carrying the description.
void FilterDialog::CreateComboPage() {
    QWidget* p = FilterPages->widget(9);
    const int a = 24, b = 48, c = 72, top = 88;
    for (auto [x, head] : {std::pair{a, "A"}, std::pair{b, "B"}, std::pair{c, "C"}})
        NewLabel(p, head, x + 1, top);
    int y = top + 16;
    auto comboRow = [&](QCheckBox*& ca, QCheckBox*& cb, QCheckBox*& cc, QLabel** line2) {
        ca = new QCheckBox(p);
        ca->setGeometry(a, y, 18, 18);
        cb = new QCheckBox(p);
        cb->setGeometry(b, y, 18, 18);
        cc = new QCheckBox(p);
        cc->setGeometry(c, y, 420, 18);
        y += 19;
        if (line2) {
            *line2 = new QLabel(p);
            (*line2)->setTextFormat(Qt::PlainText);
            (*line2)->setGeometry(c + 20, y - 3, 400, 15);
            y += 13;
        }
    };
    comboRow(NewHighChkA, NewHighChkB, NewHighChkC, nullptr);
    comboRow(NewLowChkA, NewLowChkB, NewLowChkC, nullptr);
    comboRow(CloseUpChkA, CloseUpChkB, CloseUpChkC, nullptr);
    comboRow(CloseDownChkA, CloseDownChkB, CloseDownChkC, nullptr);
    comboRow(GapUpChkA, GapUpChkB, GapUpChkC, nullptr);
    comboRow(GapDownChkA, GapDownChkB, GapDownChkC, nullptr);
    comboRow(VolAboveChkA, VolAboveChkB, VolAboveChkC, &VolAboveLine2);
    comboRow(VolBelowChkA, VolBelowChkB, VolBelowChkC, &VolBelowLine2);
}

// Area 3.
void FilterDialog::CreateMinimumsArea() {
    MinimumPanel = new ui::BevelPanel(this);
    MinimumPanel->setGeometry(32, 370, 572, 32);
    Flow f{8, 5};
    f(new QLabel("Set minimum price $", MinimumPanel));
    MinCloseEdit = f(NewRealEdit(MinimumPanel, "##0.00"), 60);
    f(new QLabel("and", MinimumPanel), -1, 12);
    f(new QLabel("minimum volume", MinimumPanel));
    MinVolumeEdit = f(NewIntEdit(MinimumPanel, 0, 0, 0, false), 60, 0);
    MinVolumeEdit->SetFormatString("#0");
    f(new QLabel(",000 shares.", MinimumPanel));
}

// Area 4.
void FilterDialog::CreateEvaluationArea() {
    EvalPanel = new ui::BevelPanel(this);
    EvalPanel->setGeometry(32, 408, 572, 128);
    PerfEvalHeader = new QLabel("Performance Evaluation", EvalPanel);
    PerfEvalHeader->setTextFormat(Qt::PlainText);
    PerfEvalHeader->setWordWrap(true);
    PerfEvalHeader->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PerfEvalHeader->setGeometry(8, 4, 556, 30);
    Flow f{8, 24};
    DoEvalCheckBox = f(new QCheckBox("Show the results of", EvalPanel));
    TradeChoice = f(new QComboBox(EvalPanel), 110);
    TradeChoice->addItems({"long trades", "short trades"});
    EvalLabel1 = f(new QLabel("initiated at the opening price on", EvalPanel));
    Flow g{8, 50};
    OpenDateLabel = g(new QLabel(EvalPanel), 200);
    EvalLabel2 = g(new QLabel("and closed out at the closing price", EvalPanel));
    Flow h{8, 76};
    EvalDays = h(NewIntEdit(EvalPanel, 0, 999, 3, true), 56);
    EvalLabel3 = h(new QLabel("trading days later on", EvalPanel));
    CloseDateLabel = h(new QLabel(EvalPanel), 200);
    Flow k{8, 100};
    EvalLabel4 = k(new QLabel("Then compare them to these tickers:", EvalPanel));
    CompareEdit = k(new QLineEdit(EvalPanel), 180);
    CompareEdit->setValidator(new UpperCaseValidator(CompareEdit));
}

// Area 5 and the buttons below.
void FilterDialog::CreateStartArea() {
    StartLabel = NewLabel(this, "Cick a button to start filtering:", 32, 546);
    DoItButton = new QPushButton("&Filter using these (unsaved) settings", this);
    DoItButton->setGeometry(32, 564, 284, 27);
    SaveButton = new QPushButton("&Save all settings, then filter", this);
    SaveButton->setGeometry(320, 564, 284, 27);
    SaveButton->setDefault(true);
    CancelBtn = new QPushButton("Cancel", this);
    CancelBtn->setGeometry(446, 599, 77, 27);
    HelpBtn = new QPushButton("Help", this);
    HelpBtn->setGeometry(527, 599, 77, 27);
}

void FilterDialog::SetTabOrder() {
    const std::vector<QWidget*> order = {
        LoadButton,    FilterPages,    HighWeeksEdit,    HighNewButton,    HighGreaterButton,
        LowWeeksEdit,  LowNewButton,   LowGreaterButton, CloseUpDollarChk, MinUpDollar,
        MaxUpDollar,   CloseUpPerCChk, MinUpPerC,        MaxUpPerC,        CloseDownDollarChk,
        MinDownDollar, MaxDownDollar,  CloseDownPerCChk, MinDownPerC,      MaxDownPerC,
        GapUpDays,     GapDownDays,    VolAbovePerC,     VolumeDays,       VolBelowPerC,
        NewHighChkA,   NewHighChkB,    NewHighChkC,      NewLowChkA,       NewLowChkB,
        NewLowChkC,    CloseUpChkA,    CloseUpChkB,      CloseUpChkC,      CloseDownChkA,
        CloseDownChkB, CloseDownChkC,  GapUpChkA,        GapUpChkB,        GapUpChkC,
        GapDownChkA,   GapDownChkB,    GapDownChkC,      VolAboveChkA,     VolAboveChkB,
        VolAboveChkC,  VolBelowChkA,   VolBelowChkB,     VolBelowChkC,     MinCloseEdit,
        MinVolumeEdit, DoEvalCheckBox, TradeChoice,      EvalDays,         CompareEdit,
        DoItButton,    SaveButton,     CancelBtn,        HelpBtn};
    for (QWidget* w : order)
        if (w->focusPolicy() == Qt::NoFocus) w->setFocusPolicy(Qt::StrongFocus);
    for (size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

void FilterDialog::ConnectChanges() {
    for (QLineEdit* e : std::initializer_list<QLineEdit*>{
             HighWeeksEdit, LowWeeksEdit, MinUpDollar, MaxUpDollar, MinUpPerC, MaxUpPerC,
             MinDownDollar, MaxDownDollar, MinDownPerC, MaxDownPerC, GapUpDays, GapDownDays,
             VolAbovePerC, VolumeDays, VolBelowPerC, MinCloseEdit, MinVolumeEdit, CompareEdit})
        connect(e, &QLineEdit::textChanged, this, &FilterDialog::Changed);
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{
             HighNewButton, HighGreaterButton, LowNewButton, LowGreaterButton, NewHighChkA,
             NewHighChkB,   NewHighChkC,       NewLowChkA,   NewLowChkB,       NewLowChkC,
             CloseUpChkA,   CloseUpChkB,       CloseUpChkC,  CloseDownChkA,    CloseDownChkB,
             CloseDownChkC, GapUpChkA,         GapUpChkB,    GapUpChkC,        GapDownChkA,
             GapDownChkB,   GapDownChkC,       VolAboveChkA, VolAboveChkB,     VolAboveChkC,
             VolBelowChkA,  VolBelowChkB,      VolBelowChkC})
        connect(b, &QAbstractButton::toggled, this, &FilterDialog::Changed);
    connect(DoEvalCheckBox, &QCheckBox::toggled, this, [this] {
        LimitEvalDays();
        RefreshEvalArea();
        Changed();
    });
    connect(EvalDays, &QLineEdit::textChanged, this, [this] {
        // Beyond the limit there are no prices to close the trade with.
        if (!quiet_ && EvalPossible() && DoEvalCheckBox->isChecked() &&
            EvalDays->Value() > evalLimit_) {
            ++quiet_;
            EvalDays->SetValue(evalLimit_);
            --quiet_;
        }
        RefreshCloseDate();
        Changed();
    });
    auto pair = [this](QCheckBox* a, QCheckBox* b) {
        connect(a, &QCheckBox::clicked, this, [this, a, b] { PairClicked(a, b); });
        connect(b, &QCheckBox::clicked, this, [this, a, b] { PairClicked(b, a); });
    };
    pair(CloseUpDollarChk, CloseUpPerCChk);
    pair(CloseDownDollarChk, CloseDownPerCChk);
    connect(FilterPages, &QTabWidget::currentChanged, this, &FilterDialog::RefreshTabTexts);
}

void FilterDialog::PairClicked(QCheckBox* clicked, QCheckBox* other) {
    // A closed-up or closed-down test always keeps at least one of its ranges.
    if (!clicked->isChecked() && !other->isChecked()) other->setChecked(true);
    Changed();
    RefreshRangePages();
}

void FilterDialog::Changed() {
    if (quiet_ || modified_) return;
    modified_ = true;
    RefreshTitle();
}

void FilterDialog::RefreshTitle() {
    setWindowTitle(
        QString::fromStdString(screener::FilterDialogTitle(main_.LastSettingsFile, modified_)));
    DoItButton->setText(QString::fromStdString(screener::DoItCaption(modified_)));
}

bool FilterDialog::EvalPossible() const {
    return main_.DataSetDay < main_.Host().globals.LastMarketDay;
}

std::string FilterDialog::LongDate(int day) const {
    return hostdb::FormatDateTime("dddddd", hostdb::MarketCalendar::DayToDate(day),
                                  main_.Environment().locale);
}

void FilterDialog::RefreshOpenDate() {
    OpenDateLabel->setText(
        QString::fromStdString(LongDate(hostdb::EvalOpenDay(calendar_, main_.DataSetDay))));
}

void FilterDialog::RefreshCloseDate() {
    CloseDateLabel->setText(QString::fromStdString(
        LongDate(hostdb::EvalCloseDay(calendar_, main_.DataSetDay, EvalDays->Value()))));
}

void FilterDialog::LimitEvalDays() {
    if (!DoEvalCheckBox->isChecked() || !EvalPossible()) return;
    evalLimit_ =
        hostdb::MaxEvalDays(calendar_, main_.DataSetDay, main_.Host().globals.LastMarketDay);
    EvalDays->SetMaxValue(evalLimit_);
    const int v = EvalDays->Value();
    if (v > evalLimit_ || v < 0) {
        ++quiet_;
        EvalDays->SetValue(std::clamp(v, 0, evalLimit_));
        --quiet_;
        RefreshCloseDate();
    }
}

void FilterDialog::RefreshEvalArea() {
    const bool possible = EvalPossible();
    DoEvalCheckBox->setEnabled(possible);
    for (QWidget* w : std::initializer_list<QWidget*>{
             DoEvalCheckBox, TradeChoice, EvalLabel1, OpenDateLabel, EvalLabel2, EvalDays,
             EvalLabel3, CloseDateLabel, EvalLabel4, CompareEdit})
        w->setVisible(possible);
    const QPalette& pal = palette();
    PerfEvalHeader->setText(possible ? "Performance Evaluation" : NotPossibleText);
    SetRole(PerfEvalHeader, QPalette::WindowText,
            pal.color(possible ? QPalette::ButtonText : QPalette::Dark));
    const bool enabled = possible && DoEvalCheckBox->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{TradeChoice, EvalDays, CompareEdit}) {
        w->setEnabled(enabled);
        SetRole(w, QPalette::Base, pal.color(enabled ? QPalette::Base : QPalette::Button));
    }
    for (QLabel* l :
         {EvalLabel1, EvalLabel2, EvalLabel3, EvalLabel4, OpenDateLabel, CloseDateLabel})
        SetRole(l, QPalette::WindowText,
                pal.color(enabled ? QPalette::ButtonText : QPalette::Dark));
    SetRole(EvalDays, QPalette::Text, pal.color(enabled ? QPalette::Text : QPalette::Dark));
}

void FilterDialog::RefreshRangePages() {
    const QPalette& pal = palette();
    auto follow = [&](QCheckBox* chk, std::initializer_list<QWidget*> edits,
                      std::initializer_list<QLabel*> labels) {
        const bool on = chk->isChecked();
        for (QWidget* e : edits) {
            e->setEnabled(on);
            SetRole(e, QPalette::Base, pal.color(on ? QPalette::Base : QPalette::Button));
        }
        for (QLabel* l : labels)
            SetRole(l, QPalette::WindowText, pal.color(on ? QPalette::ButtonText : QPalette::Dark));
    };
    follow(CloseUpDollarChk, {MinUpDollar, MaxUpDollar}, {UpDollar1Label, UpDollar2Label});
    follow(CloseUpPerCChk, {MinUpPerC, MaxUpPerC}, {UpPerC1Label, UpPerC2Label});
    follow(CloseDownDollarChk, {MinDownDollar, MaxDownDollar},
           {DownDollar1Label, DownDollar2Label});
    follow(CloseDownPerCChk, {MinDownPerC, MaxDownPerC}, {DownPerC1Label, DownPerC2Label});
}

void FilterDialog::RefreshTabTexts() {
    const platform::Locale& loc = main_.Environment().locale;
    auto text = [&](std::string_view pattern, std::initializer_list<hostdb::FormatArg> args) {
        return QString::fromStdString(hostdb::FormatText(pattern, args, loc));
    };
    switch (FilterPages->currentIndex()) {
    case screener::PageVolD:
        VolDownDaysLabel->setText(text("for each of the last %d days (set # of days on VolU page).",
                                       {VolumeDays->Value()}));
        break;
    case screener::PageCombo: {
        NewHighChkC->setText(
            text("Intraday High reached a new %d-week High.", {HighWeeksEdit->Value()}));
        NewLowChkC->setText(
            text("Intraday Low reached a new %d-week Low.", {LowWeeksEdit->Value()}));
        auto closed = [&](const char* dollarPattern, const char* bare, QCheckBox* dollar,
                          ui::RealEdit* minD, ui::RealEdit* maxD, QCheckBox* perC,
                          ui::RealEdit* minP, ui::RealEdit* maxP) {
            QString s;
            if (dollar->isChecked()) {
                s = text(dollarPattern, {minD->Value(), maxD->Value()});
                if (perC->isChecked()) s += "or ";
            } else {
                s = bare;
            }
            if (perC->isChecked()) s += text("%.1f%% to %.1f%%.", {minP->Value(), maxP->Value()});
            return s;
        };
        CloseUpChkC->setText(closed("Closed Up $%.2f to $%.2f ", "Closed Up ", CloseUpDollarChk,
                                    MinUpDollar, MaxUpDollar, CloseUpPerCChk, MinUpPerC,
                                    MaxUpPerC));
        CloseDownChkC->setText(closed("Closed Down $%.2f to $%.2f ", "Closed Down ",
                                      CloseDownDollarChk, MinDownDollar, MaxDownDollar,
                                      CloseDownPerCChk, MinDownPerC, MaxDownPerC));
        GapUpChkC->setText(text("Gapped Up sometime in the last %d days.", {GapUpDays->Value()}));
        GapDownChkC->setText(
            text("Gapped Down sometime in the last %d days.", {GapDownDays->Value()}));
        const QString line2 = text("moving average for the last %d days.", {VolumeDays->Value()});
        VolAboveChkC->setText(
            text("Volume was at least %.1f%% Above its", {VolAbovePerC->Value()}));
        VolAboveLine2->setText(line2);
        VolBelowChkC->setText(
            text("Volume was at least %.1f%% Below its", {VolBelowPerC->Value()}));
        VolBelowLine2->setText(line2);
        break;
    }
    default: break;
    }
}

void FilterDialog::RefreshAll() {
    RefreshOpenDate();
    LimitEvalDays();
    RefreshCloseDate();
    RefreshEvalArea();
    RefreshRangePages();
    RefreshTabTexts();
}

void FilterDialog::ShowRecord(const screener::FilterSettings& s) {
    ++quiet_;
    FilterPages->setCurrentIndex(std::clamp(s.Page, 0, 9));
    MinCloseEdit->SetValue(s.MinClose);
    MinVolumeEdit->SetValue(s.MinVolume);
    HighWeeksEdit->SetValue(s.NewHighWeeks);
    (s.NewHighOnly ? HighNewButton : HighGreaterButton)->setChecked(true);
    LowWeeksEdit->SetValue(s.NewLowWeeks);
    (s.NewLowOnly ? LowNewButton : LowGreaterButton)->setChecked(true);
    CloseUpDollarChk->setChecked(s.CloseUpDollar);
    CloseUpPerCChk->setChecked(s.CloseUpPerC);
    MinUpDollar->SetValue(s.CloseUpMinDollar);
    MaxUpDollar->SetValue(s.CloseUpMaxDollar);
    MinUpPerC->SetValue(s.CloseUpMinPerC);
    MaxUpPerC->SetValue(s.CloseUpMaxPerC);
    CloseDownDollarChk->setChecked(s.CloseDownDollar);
    CloseDownPerCChk->setChecked(s.CloseDownPerC);
    MinDownDollar->SetValue(s.CloseDownMinDollar);
    MaxDownDollar->SetValue(s.CloseDownMaxDollar);
    MinDownPerC->SetValue(s.CloseDownMinPerC);
    MaxDownPerC->SetValue(s.CloseDownMaxPerC);
    GapUpDays->SetValue(s.GapUpDays);
    GapDownDays->SetValue(s.GapDownDays);
    // These two show the general format, which would show a float's binary tail (45.55 as
    // 45.5499992370605); the file keeps two decimals, so the edits show those.
    auto twoDecimals = [](float v) { return std::round(double(v) * 100) / 100; };
    VolAbovePerC->SetValue(twoDecimals(s.VolumeAbovePerC));
    VolumeDays->SetValue(s.VolumeDays);
    VolBelowPerC->SetValue(twoDecimals(s.VolumeBelowPerC));
    const auto flags = screener::ComboFlags(s);
    const std::array<std::array<QCheckBox*, 8>, 3> boxes = {{
        {NewHighChkA, NewLowChkA, CloseUpChkA, CloseDownChkA, GapUpChkA, GapDownChkA, VolAboveChkA,
         VolBelowChkA},
        {NewHighChkB, NewLowChkB, CloseUpChkB, CloseDownChkB, GapUpChkB, GapDownChkB, VolAboveChkB,
         VolBelowChkB},
        {NewHighChkC, NewLowChkC, CloseUpChkC, CloseDownChkC, GapUpChkC, GapDownChkC, VolAboveChkC,
         VolBelowChkC},
    }};
    for (size_t col = 0; col < 3; ++col)
        for (size_t t = 0; t < 8; ++t) boxes[col][t]->setChecked(flags[col][t]);
    DoEvalCheckBox->setChecked(s.DoEval);
    TradeChoice->setCurrentIndex(s.TradeChoice == 1 ? 1 : 0);
    EvalDays->SetValue(s.EvalDays);
    CompareEdit->setText(QString::fromStdString(s.Compare).toUpper());
    --quiet_;
}

screener::FilterSettings FilterDialog::TakeSettings() {
    // Typed text is only checked for being a number; the range is applied here.
    auto whole = [](const ui::IntegerEdit* e) { return e->CheckValue(e->Value()); };
    auto real = [](const ui::RealEdit* e) { return static_cast<float>(e->CheckValue(e->Value())); };
    screener::FilterSettings s;
    s.Page = FilterPages->currentIndex();
    s.MinClose = real(MinCloseEdit);
    s.MinVolume = whole(MinVolumeEdit);
    s.NewHighA = NewHighChkA->isChecked();
    s.NewHighB = NewHighChkB->isChecked();
    s.NewHighC = NewHighChkC->isChecked();
    s.NewHighWeeks = whole(HighWeeksEdit);
    s.NewHighOnly = HighNewButton->isChecked();
    s.NewLowA = NewLowChkA->isChecked();
    s.NewLowB = NewLowChkB->isChecked();
    s.NewLowC = NewLowChkC->isChecked();
    s.NewLowWeeks = whole(LowWeeksEdit);
    s.NewLowOnly = LowNewButton->isChecked();
    s.CloseUpA = CloseUpChkA->isChecked();
    s.CloseUpB = CloseUpChkB->isChecked();
    s.CloseUpC = CloseUpChkC->isChecked();
    s.CloseUpDollar = CloseUpDollarChk->isChecked();
    s.CloseUpPerC = CloseUpPerCChk->isChecked();
    s.CloseUpMinDollar = real(MinUpDollar);
    s.CloseUpMaxDollar = real(MaxUpDollar);
    s.CloseUpMinPerC = real(MinUpPerC);
    s.CloseUpMaxPerC = real(MaxUpPerC);
    s.CloseDownA = CloseDownChkA->isChecked();
    s.CloseDownB = CloseDownChkB->isChecked();
    s.CloseDownC = CloseDownChkC->isChecked();
    s.CloseDownDollar = CloseDownDollarChk->isChecked();
    s.CloseDownPerC = CloseDownPerCChk->isChecked();
    s.CloseDownMinDollar = real(MinDownDollar);
    s.CloseDownMaxDollar = real(MaxDownDollar);
    s.CloseDownMinPerC = real(MinDownPerC);
    s.CloseDownMaxPerC = real(MaxDownPerC);
    s.GapUpA = GapUpChkA->isChecked();
    s.GapUpB = GapUpChkB->isChecked();
    s.GapUpC = GapUpChkC->isChecked();
    s.GapUpDays = whole(GapUpDays);
    s.GapDownA = GapDownChkA->isChecked();
    s.GapDownB = GapDownChkB->isChecked();
    s.GapDownC = GapDownChkC->isChecked();
    s.GapDownDays = whole(GapDownDays);
    s.VolumeAboveA = VolAboveChkA->isChecked();
    s.VolumeAboveB = VolAboveChkB->isChecked();
    s.VolumeAboveC = VolAboveChkC->isChecked();
    s.VolumeAbovePerC = real(VolAbovePerC);
    s.VolumeDays = whole(VolumeDays);
    s.VolumeBelowA = VolBelowChkA->isChecked();
    s.VolumeBelowB = VolBelowChkB->isChecked();
    s.VolumeBelowC = VolBelowChkC->isChecked();
    s.VolumeBelowPerC = real(VolBelowPerC);
    s.DoEval = DoEvalCheckBox->isChecked();
    s.TradeChoice = TradeChoice->currentIndex() == 1 ? 1 : 0;
    s.EvalDays = whole(EvalDays);
    s.EvalDays =
        screener::LimitEvalDays(s, calendar_, main_.DataSetDay, main_.Host().globals.LastMarketDay);
    s.Compare = CompareEdit->text().toUpper().toStdString();
    return s;
}

void FilterDialog::SettingsToDialog() {
    ShowRecord(Record);
    ++quiet_;
    RefreshAll();
    --quiet_;
    modified_ = false;
    RefreshTitle();
}

void FilterDialog::DialogToSettings() {
    Record = TakeSettings();
    ShowRecord(Record);
    ++quiet_;
    RefreshAll();
    --quiet_;
}

void FilterDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ui::CenterOver(this, &main_);
    DataSetLabel->setText(QString::fromStdString("Data set: " + LongDate(main_.DataSetDay)));
    ++quiet_;
    RefreshAll();
    --quiet_;
    RefreshTitle();
}

void FilterDialog::LoadButtonClick() {
    QString name;
    screener::FilterSettings loaded;
    if (!ui::LoadSettingsFile(this, SettingsFiles, main_.ProgramDir(), name,
                              [&](const std::string& chosen) {
                                  std::string problem;
                                  loaded = screener::LoadSettings(main_.ProgramDir(), chosen,
                                                                  main_.Environment().locale,
                                                                  &problem);
                                  return problem;
                              }))
        return;
    main_.LastSettingsFile = ui::FileNameBytes(name);
    Record = loaded;
    SettingsToDialog();
}

void FilterDialog::SaveButtonClick() {
    QString name = ui::FileNameText(main_.LastSettingsFile);
    screener::FilterSettings taken;
    // Nothing saved: the dialog stays open with the settings unsaved and unrun.
    if (!ui::SaveSettingsFile(this, &main_, SettingsFiles, main_.ProgramDir(), name,
                              [&](const std::string& chosen) {
                                  taken = TakeSettings();
                                  screener::SaveSettings(taken, main_.ProgramDir(), chosen,
                                                         main_.Environment().locale);
                              }))
        return;
    main_.LastSettingsFile = ui::FileNameBytes(name);
    Record = taken;
    ShowRecord(Record);
    modified_ = false;
    RefreshTitle();
    main_.FilterSetPanel->setText(QString::fromStdString(
        screener::FilterCaption(Record.Page, main_.LastSettingsFile, false)));
    accept();
}

void FilterDialog::DoItButtonClick() {
    DialogToSettings();
    main_.FilterSetPanel->setText(QString::fromStdString(
        screener::FilterCaption(Record.Page, main_.LastSettingsFile, modified_)));
    accept();
}

void FilterDialog::reject() {
    SettingsToDialog();
    QDialog::reject();
}

} // namespace zoltw
