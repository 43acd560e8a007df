#include "finder/app/FinderSettingsDialog.h"

#include "finder/app/FinderWindow.h"
#include "finder/engine/IndicatorLines.h"
#include "hostdb/DateText.h"
#include "hostdb/TradingDays.h"
#include "ui/DateEdit.h"
#include "ui/Hooks.h"
#include "ui/NumericEdits.h"
#include "ui/SettingsFileButtons.h"
#include "ui/WindowCentering.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <algorithm>
#include <stdexcept>

namespace zimra {

using hostdb::MarketCalendar;

namespace {

constexpr int DialogHelp = 1015;
const ui::SettingsFileKind SettingsFiles{"ZimRA", ".MNI", 1020, 1031};
const char* const EvalPossible = "Performance Evaluation";
const char* const EvalNotPossible = "Performance evaluation is not possible because the Market "
                                    "Date selected is the last date for which data is available.";

// The system colours of the active and greyed parts.
QColor SystemColour(QPalette::ColorRole role) {
    return QApplication::palette().color(QPalette::Active, role);
}

void LabelColour(QWidget* w, bool active) {
    QPalette p = w->palette();
    const QColor c = SystemColour(active ? QPalette::ButtonText : QPalette::Dark);
    for (auto role : {QPalette::WindowText, QPalette::ButtonText})
        p.setColor(QPalette::All, role, c);
    w->setPalette(p);
}

void EditColour(QWidget* w, bool active) {
    QPalette p = w->palette();
    p.setColor(QPalette::All, QPalette::Base,
               SystemColour(active ? QPalette::Base : QPalette::Button));
    const QColor text = SystemColour(active ? QPalette::Text : QPalette::Dark);
    for (auto role : {QPalette::Text, QPalette::ButtonText}) p.setColor(QPalette::All, role, text);
    w->setPalette(p);
}

void Label(QLabel* l, bool enabled) {
    l->setEnabled(enabled);
    LabelColour(l, enabled);
}

void Edit(QWidget* w, bool enabled) {
    w->setEnabled(enabled);
    EditColour(w, enabled);
}

// A spin edit's value within its limits (with both limits 0 the edit itself does not check).
int Read(const ui::IntegerEdit* e) { return std::clamp(e->Value(), e->MinValue(), e->MaxValue()); }

void Set(ui::IntegerEdit* e, int value) {
    e->SetValue(std::clamp(value, e->MinValue(), e->MaxValue()));
}

// The box shows what the find and the file will use, not a typed value beyond its limits.
void ShowUsed(ui::IntegerEdit* e) {
    if (e->text() != QString::number(Read(e))) Set(e, Read(e));
}

// Typed and pasted letters become capitals.
class UpperCaseValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        input = input.toUpper();
        return Acceptable;
    }
};

QFrame* NewPanel(QWidget* dialog, int y, int width, int height) {
    auto* p = new QFrame(dialog);
    p->setFrameStyle(QFrame::Panel | QFrame::Raised);
    p->setGeometry(8, y, width, height);
    return p;
}

// Each sentence is laid out left to right: labels at their own width, controls at theirs.
struct Sentence {
    int x = 8;
    QWidget* At(QWidget* w, int y, int width, int height = 22) {
        // A choice is as wide as its longest item, whatever width was planned for it.
        if (auto* c = qobject_cast<QComboBox*>(w)) width = std::max(width, c->sizeHint().width());
        w->setGeometry(x, y, width, height);
        x += width + 6;
        return w;
    }
    QLabel* Label(QWidget* parent, const char* text, int y) {
        auto* l = new QLabel(text, parent);
        l->adjustSize();
        At(l, y + 3, l->width(), l->height());
        return l;
    }
};

QComboBox* NewCombo(QWidget* parent, std::initializer_list<const char*> items) {
    auto* c = new QComboBox(parent);
    for (const char* i : items) c->addItem(i);
    return c;
}

QComboBox* NewLineChoice(QWidget* parent) {
    auto* c = NewCombo(parent, {});
    for (const char* name : finder::LineNames) c->addItem(name);
    c->setMaxVisibleItems(finder::LineCount);
    return c;
}

QListWidget* NewList(QWidget* parent, std::initializer_list<const char*> items) {
    auto* l = new QListWidget(parent);
    for (const char* i : items) l->addItem(i);
    l->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    l->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    return l;
}

// Shortened to show just their items.
int ListHeight(QListWidget* l) { return l->count() * l->sizeHintForRow(0) + 2 * l->frameWidth(); }

ui::IntegerEdit* NewSpin(QWidget* parent, int low, int high, int length) {
    auto* e = new ui::IntegerEdit(parent);
    e->SetMinValue(low);
    e->SetMaxValue(high);
    e->setMaxLength(length);
    e->SetValidate(true);
    e->SetSpin(true);
    return e;
}

QCheckBox* NewCheck(QWidget* parent, const char* text) {
    auto* c = new QCheckBox(text, parent);
    c->adjustSize();
    return c;
}

} // namespace

ExactRatingsEdit::ExactRatingsEdit(QWidget* parent) : QLineEdit(parent) {
    setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9;-]*"), this));
}

void ExactRatingsEdit::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    const bool isChar = typed.size() == 1 && typed[0].unicode() >= 32 &&
                        typed[0].unicode() != 127 &&
                        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    const QChar c = isChar ? typed[0] : QChar();
    if (!isChar || (c >= '0' && c <= '9') || c == '-' || c == ';') {
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    if (c != ' ') ui::Beep();
}

FinderSettingsDialog::FinderSettingsDialog(FinderWindow& main)
    : QDialog(&main), main_(main), calendar_(main.Environment().locale) {
    // The dialog's calendar has no holiday file: the built-in rules, as the find engine uses.
    CreateControls();
    std::string problem;
    model_ =
        finder::LoadFinderSettings(main_.ProgramDir(), main_.LastSettingsFile, Last(), &problem);
    ui::ForgetUnreadableSettingsFile(&main_, main_.LastSettingsFile, problem);
    ModelToDialog();
    Connect();
}

FinderSettingsDialog::~FinderSettingsDialog() = default;

const std::string& FinderSettingsDialog::SettingsName() const { return main_.LastSettingsFile; }

int FinderSettingsDialog::Last() const { return main_.Host().globals.LastMarketDay; }

void FinderSettingsDialog::CreateControls() {
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setProperty("helpContext", DialogHelp);
    QFont f = QApplication::font();
    f.setPixelSize(12);
    setFont(f);
    setFixedSize(592, 403);

    CreateMarketSentence();
    CreatePrevActSentence();
    CreatePrevERSentence();
    CreateEvalSentence();
    CreateButtons();
    SetTabOrder();
}

void FinderSettingsDialog::CreateMarketSentence() {
    MarketPanel = NewPanel(this, 8, 576, 36);
    Sentence s;
    MarketLabel1 = s.Label(MarketPanel, "Find stocks that", 7);
    MarketAction =
        NewCombo(MarketPanel, {finder::MarketActionNames[0], finder::MarketActionNames[1],
                               finder::MarketActionNames[2], finder::MarketActionNames[3]});
    s.At(MarketAction, 7, 100);
    MarketLabel2 = s.Label(MarketPanel, "their", 7);
    MarketLine = NewLineChoice(MarketPanel);
    s.At(MarketLine, 7, 116);
    MarketLabel3 = s.Label(MarketPanel, "on Market Date", 7);
    MarketDateEdit = new ui::DateEdit(MarketPanel);
    // Choices wide enough for their items may leave the date too little room: the five gaps
    // of the sentence give it back, down to two pixels each.
    constexpr int DateWidth = 86;
    if (const int over = s.x + DateWidth - 568; over > 0) {
        const int gap = std::max(2, 6 - (over + 4) / 5);
        int x = 8;
        for (QWidget* w : std::initializer_list<QWidget*>{MarketLabel1, MarketAction, MarketLabel2,
                                                          MarketLine, MarketLabel3}) {
            w->move(x, w->y());
            x += w->width() + gap;
        }
        s.x = x;
    }
    s.At(MarketDateEdit, 7, std::max(DateWidth, 568 - s.x));
    // The trading days in a colour that reads as pickable on the popup's button face.
    MarketDateEdit->ValidDateColor = palette().color(QPalette::Highlight);
    MarketDateEdit->MinDate = MarketCalendar::DayToDate(finder::FirstMarketDate);
    MarketDateEdit->MaxDate = MarketCalendar::DayToDate(Last());
}

void FinderSettingsDialog::CreatePrevActSentence() {
    PrevActPanel = NewPanel(this, 48, 576, 68);
    Sentence s;
    PrevActCheckBox = NewCheck(PrevActPanel, "Also require that they've closed");
    s.At(PrevActCheckBox, 9, PrevActCheckBox->width(), 18);
    PrevActAction = NewList(PrevActPanel, {"above", "below"});
    s.At(PrevActAction, 6, 64, ListHeight(PrevActAction));
    PrevActLabel1 = s.Label(PrevActPanel, "their", 7);
    PrevActLine = NewLineChoice(PrevActPanel);
    s.At(PrevActLine, 7, 136);
    s.x = 28;
    PrevActLabel2 = s.Label(PrevActPanel, "for at least", 40);
    PrevActSpentDays = NewSpin(PrevActPanel, 1, 99, 2);
    s.At(PrevActSpentDays, 40, 44);
    PrevActLabel3 = s.Label(PrevActPanel, "of the previous", 40);
    PrevActOutOfDays = NewSpin(PrevActPanel, 1, 99, 2);
    s.At(PrevActOutOfDays, 40, 44);
    PrevActLabel4 = s.Label(PrevActPanel, "trading days.", 40);
}

void FinderSettingsDialog::CreatePrevERSentence() {
    PrevERPanel = NewPanel(this, 120, 576, 130);
    Sentence s;
    PrevChoice = NewList(PrevERPanel, {finder::PrevChoiceNames[0], finder::PrevChoiceNames[1],
                                       finder::PrevChoiceNames[2]});
    s.At(PrevChoice, 6, 128, ListHeight(PrevChoice));
    const int sentence = s.x;
    PrevLabel1 = s.Label(PrevERPanel, "that, on the Market Date or the", 5);
    PrevLabel2 = s.Label(PrevERPanel, "previous", 5);
    PrevDaysEdit = NewSpin(PrevERPanel, 0, 9, 1);
    s.At(PrevDaysEdit, 5, 36);
    s.x = sentence;
    PrevLabel3 = s.Label(PrevERPanel, "trading days, the stocks above", 30);
    PrevLabel4 = s.Label(PrevERPanel, "also have at least one of the following:", 30);
    auto range = [&](QCheckBox*& box, const char* text, ui::IntegerEdit*& min, QLabel*& and_,
                     ui::IntegerEdit*& max, int y) {
        s.x = 28;
        box = NewCheck(PrevERPanel, text);
        s.At(box, y + 2, 190, 18);
        min = NewSpin(PrevERPanel, 0, 100, 3);
        s.At(min, y, 48);
        and_ = s.Label(PrevERPanel, "and", y);
        max = NewSpin(PrevERPanel, 0, 100, 3);
        s.At(max, y, 48);
    };
    range(PrevUpCheckBox, "An Upside ER between", PrevUpMinEdit, PrevUpLabel, PrevUpMaxEdit, 56);
    range(PrevDnCheckBox, "A Downside ER between", PrevDnMinEdit, PrevDnLabel, PrevDnMaxEdit, 80);
    s.x = 28;
    PrevExactCheckBox = NewCheck(PrevERPanel, "An ER that exactly matches one of:");
    s.At(PrevExactCheckBox, 106, PrevExactCheckBox->width(), 18);
    PrevExactEdit = new ExactRatingsEdit(PrevERPanel);
    s.At(PrevExactEdit, 104, 568 - s.x);
}

void FinderSettingsDialog::CreateEvalSentence() {
    EvalPanel = NewPanel(this, 254, 368, 144);
    PerfEvalHeader = new QLabel(EvalPossible, EvalPanel);
    PerfEvalHeader->setWordWrap(true);
    PerfEvalHeader->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    PerfEvalHeader->setGeometry(8, 4, 352, 16);
    Sentence s;
    DoEvalCheckBox = NewCheck(EvalPanel, "Show me results of");
    s.At(DoEvalCheckBox, 26, DoEvalCheckBox->width(), 18);
    TradeChoice = NewList(EvalPanel, {finder::TradeChoiceNames[0], finder::TradeChoiceNames[1]});
    s.At(TradeChoice, 22, 104, ListHeight(TradeChoice));
    s.x = 8;
    EvalLabel1 = s.Label(EvalPanel, "initiated at the opening price on", 58);
    OpenDateLabel = new QLabel(EvalPanel);
    s.At(OpenDateLabel, 61, 360 - s.x, 16);
    s.x = 8;
    EvalLabel2 = s.Label(EvalPanel, "and closed out at the closing price", 78);
    EvalDays = NewSpin(EvalPanel, 0, 999, 3);
    s.At(EvalDays, 78, 52);
    s.x = 8;
    EvalLabel3 = s.Label(EvalPanel, "trading days later on", 100);
    CloseDateLabel = new QLabel(EvalPanel);
    s.At(CloseDateLabel, 103, 360 - s.x, 16);
    s.x = 8;
    EvalLabel4 = s.Label(EvalPanel, "Then compare them to these tickers:", 120);
    CompareEdit = new QLineEdit(EvalPanel);
    CompareEdit->setValidator(new UpperCaseValidator(CompareEdit));
    s.At(CompareEdit, 120, 360 - s.x, 20);
}

void FinderSettingsDialog::CreateButtons() {
    // As wide as the longest caption, the find button's unsaved one included, from the right.
    const char* captions[] = {"&Load settings previously saved",
                              "&Save settings to a file, then find"};
    int width = 200;
    const int margins = 2 * style()->pixelMetric(QStyle::PM_ButtonMargin) + 8;
    for (const std::string& c : {std::string(captions[0]), std::string(captions[1]),
                                 finder::FindButtonCaption(false), finder::FindButtonCaption(true)})
        width =
            std::max(width, fontMetrics().horizontalAdvance(QString::fromStdString(c).remove('&')) +
                                margins);
    const int left = 584 - width;
    auto button = [&](const std::string& text, int y) {
        auto* b = new QPushButton(QString::fromStdString(text), this);
        b->setGeometry(left, y, width, 26);
        return b;
    };
    LoadButton = button(captions[0], 258);
    SaveButton = button(captions[1], 286);
    SaveButton->setDefault(true);
    FindUseButton = button(finder::FindButtonCaption(false), 314);
    CancelBtn = button("Cancel", 342);
    HelpBtn = button("Help", 370);
    CancelBtn->setGeometry(left, 342, (width - 4) / 2, 26);
    HelpBtn->setGeometry(left + (width - 4) / 2 + 4, 342, width - (width - 4) / 2 - 4, 26);
}

// The keyboard walks the sentences in the order they are read.
void FinderSettingsDialog::SetTabOrder() {
    QWidget* order[] = {MarketAction,      MarketLine,     MarketDateEdit,   PrevActCheckBox,
                        PrevActAction,     PrevActLine,    PrevActSpentDays, PrevActOutOfDays,
                        PrevChoice,        PrevDaysEdit,   PrevUpCheckBox,   PrevUpMinEdit,
                        PrevUpMaxEdit,     PrevDnCheckBox, PrevDnMinEdit,    PrevDnMaxEdit,
                        PrevExactCheckBox, PrevExactEdit,  DoEvalCheckBox,   TradeChoice,
                        EvalDays,          CompareEdit,    LoadButton,       SaveButton,
                        FindUseButton,     CancelBtn,      HelpBtn};
    for (QWidget* w : order) w->setFocusPolicy(Qt::StrongFocus);
    for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void FinderSettingsDialog::Connect() {
    auto modified = [this] { Modified(); };
    for (QComboBox* c : {MarketAction, MarketLine, PrevActLine})
        connect(c, &QComboBox::currentIndexChanged, this, modified);
    for (QListWidget* l : {PrevActAction, TradeChoice})
        connect(l, &QListWidget::currentRowChanged, this, modified);
    for (ui::IntegerEdit* e : SpinEdits())
        if (e != EvalDays) connect(e, &QLineEdit::textChanged, this, modified);
    for (QLineEdit* e : {static_cast<QLineEdit*>(PrevExactEdit), CompareEdit})
        connect(e, &QLineEdit::textChanged, this, modified);
    for (ui::IntegerEdit* e : SpinEdits())
        connect(e, &QLineEdit::editingFinished, this, [e] { ShowUsed(e); });
    connect(EvalDays, &QLineEdit::textChanged, this, [this] {
        if (loading_) return;
        ShowTradeDays();
        Modified();
    });
    connect(PrevActCheckBox, &QCheckBox::toggled, this, [this] {
        PrevActGreying();
        Modified();
    });
    connect(PrevChoice, &QListWidget::currentRowChanged, this, [this] {
        ERGreying();
        Modified();
    });
    for (QCheckBox* c : {PrevUpCheckBox, PrevDnCheckBox, PrevExactCheckBox})
        connect(c, &QCheckBox::toggled, this, [this] {
            ERGreying();
            Modified();
        });
    connect(PrevExactCheckBox, &QCheckBox::clicked, this, [this](bool checked) {
        if (checked && isVisible()) PrevExactEdit->setFocus(Qt::OtherFocusReason);
    });
    connect(DoEvalCheckBox, &QCheckBox::toggled, this, [this] {
        SetEvalMaximum();
        EvalGreying();
        Modified();
    });
    connect(MarketDateEdit, &ui::DateEdit::dateChanged, this,
            &FinderSettingsDialog::MarketDateChanged);
    connect(MarketDateEdit, &ui::DateEdit::calendarPageChanged, this,
            &FinderSettingsDialog::MarkTradingDays);
    connect(LoadButton, &QPushButton::clicked, this, &FinderSettingsDialog::LoadButtonClick);
    connect(SaveButton, &QPushButton::clicked, this, &FinderSettingsDialog::SaveButtonClick);
    connect(FindUseButton, &QPushButton::clicked, this, &FinderSettingsDialog::FindUseButtonClick);
    connect(CancelBtn, &QPushButton::clicked, this, &FinderSettingsDialog::reject);
    connect(HelpBtn, &QPushButton::clicked, this, [this] { ui::ShowHelp(this, DialogHelp); });
}

void FinderSettingsDialog::ModelToDialog() {
    loading_ = true;
    const finder::FinderSettings& s = model_;
    MarketAction->setCurrentIndex(s.MarketAction);
    MarketLine->setCurrentIndex(s.MarketLine);
    // A stored date is shown as stored; it is normalised when it is changed or accepted.
    working_ = s.MarketDate;
    MarketDateEdit->SetDate(MarketCalendar::DayToDate(s.MarketDate));
    PrevActCheckBox->setChecked(s.DoPrevAction);
    PrevActAction->setCurrentRow(s.PrevActAction);
    PrevActLine->setCurrentIndex(s.PrevActLine);
    Set(PrevActSpentDays, s.PrevActSpentDays);
    Set(PrevActOutOfDays, s.PrevActOutOfDays);
    PrevChoice->setCurrentRow(s.PrevChoice);
    Set(PrevDaysEdit, s.PrevDays);
    PrevUpCheckBox->setChecked(s.PrevUp);
    Set(PrevUpMinEdit, s.PrevUpMin);
    Set(PrevUpMaxEdit, s.PrevUpMax);
    PrevDnCheckBox->setChecked(s.PrevDn);
    Set(PrevDnMinEdit, s.PrevDnMin);
    Set(PrevDnMaxEdit, s.PrevDnMax);
    PrevExactCheckBox->setChecked(s.PrevExact);
    PrevExactEdit->setText(QString::fromStdString(s.PrevExactText));
    DoEvalCheckBox->setChecked(s.DoEval);
    TradeChoice->setCurrentRow(s.TradeChoice);
    EvalDays->SetMaxValue(999);
    Set(EvalDays, s.EvalDays);
    CompareEdit->setText(QString::fromStdString(s.Compare).toUpper());
    PrevActGreying();
    ERGreying();
    SetEvalMaximum();
    ShowTradeDays();
    EvalGreying();
    loading_ = false;
    modified_ = false;
    UpdateCaptions();
}

void FinderSettingsDialog::DialogToModel() {
    finder::FinderSettings& s = model_;
    ShowTradeDays();
    s.MarketDate = working_;
    s.EntryDay = entry_;
    s.ExitDay = exit_;
    s.MarketAction = MarketAction->currentIndex();
    s.MarketLine = MarketLine->currentIndex();
    s.DoPrevAction = PrevActCheckBox->isChecked();
    s.PrevActAction = PrevActAction->currentRow();
    s.PrevActLine = PrevActLine->currentIndex();
    s.PrevActSpentDays = Read(PrevActSpentDays);
    s.PrevActOutOfDays = Read(PrevActOutOfDays);
    s.PrevChoice = PrevChoice->currentRow();
    s.PrevDays = Read(PrevDaysEdit);
    s.PrevUp = PrevUpCheckBox->isChecked();
    s.PrevUpMin = Read(PrevUpMinEdit);
    s.PrevUpMax = Read(PrevUpMaxEdit);
    s.PrevDn = PrevDnCheckBox->isChecked();
    s.PrevDnMin = Read(PrevDnMinEdit);
    s.PrevDnMax = Read(PrevDnMaxEdit);
    s.PrevExact = PrevExactCheckBox->isChecked();
    s.PrevExactText = PrevExactEdit->text().toStdString();
    s.DoEval = DoEvalCheckBox->isChecked();
    s.TradeChoice = TradeChoice->currentRow();
    s.EvalDays = Read(EvalDays);
    s.Compare = CompareEdit->text().toUpper().toStdString();
    finder::SwapReversedRanges(s);
    // The edits show the swapped ranges too; that alone is no change of the settings.
    const bool wasLoading = loading_;
    loading_ = true;
    Set(PrevUpMinEdit, s.PrevUpMin);
    Set(PrevUpMaxEdit, s.PrevUpMax);
    Set(PrevDnMinEdit, s.PrevDnMin);
    Set(PrevDnMaxEdit, s.PrevDnMax);
    for (ui::IntegerEdit* e : SpinEdits()) ShowUsed(e);
    loading_ = wasLoading;
}

std::vector<ui::IntegerEdit*> FinderSettingsDialog::SpinEdits() const {
    return {PrevActSpentDays, PrevActOutOfDays, PrevDaysEdit,  PrevUpMinEdit,
            PrevUpMaxEdit,    PrevDnMinEdit,    PrevDnMaxEdit, EvalDays};
}

void FinderSettingsDialog::MarketDateChanged() {
    if (loading_ || normalising_) return;
    // Text typed but not yet left counts, so a date typed and accepted at once is the one used.
    const hostdb::DateTimeValue typed = hostdb::StrToDate2k(
        MarketDateEdit->text().toStdString(), MarketDateEdit->EditFormat().Rules(), ui::Today());
    const hostdb::DateTimeValue date = typed != 0 ? typed : MarketDateEdit->GetDate();
    const int last = Last();
    int day = working_; // no date at all leaves the market date as it was
    if (date != 0) {
        if (date > MarketCalendar::DayToDate(last))
            day = last;
        else if (date < MarketCalendar::DayToDate(finder::FirstMarketDate))
            day = finder::FirstMarketDate;
        else
            day = MarketCalendar::DateToDay(date);
    }
    day = day > last ? last : hostdb::TradingDayAtOrBefore(calendar_, day);
    // Stepping back from the first accepted days would leave the range: step forward instead.
    if (day < finder::FirstMarketDate)
        day = std::min(hostdb::TradingDayAtOrAfter(calendar_, finder::FirstMarketDate), last);
    normalising_ = true;
    MarketDateEdit->SetDate(MarketCalendar::DayToDate(day));
    MarketDateEdit->setText(QString::fromStdString(
        MarketDateEdit->EditFormat().Format(MarketCalendar::DayToDate(day))));
    normalising_ = false;
    if (day == working_) return;
    working_ = day;
    SetEvalMaximum();
    ShowTradeDays();
    EvalGreying();
    Modified();
}

void FinderSettingsDialog::MarkTradingDays() {
    MarketDateEdit->ClearValidDates();
    const int first = MarketCalendar::DateToDay(
        hostdb::EncodeDate(MarketDateEdit->PageYear, MarketDateEdit->PageMonth(), 1));
    for (int d = first; d < first + 31; ++d)
        if (d >= finder::FirstMarketDate && d <= Last() && calendar_.DayKind(d) <= 4)
            MarketDateEdit->AddValidDate(MarketCalendar::DayToDate(d));
}

void FinderSettingsDialog::SetEvalMaximum() {
    int most = 999;
    if (DoEvalCheckBox->isChecked() && working_ < Last())
        most = std::clamp(hostdb::MaxEvalDays(calendar_, working_, Last()), 0, 999);
    const int value = Read(EvalDays);
    EvalDays->SetMaxValue(most);
    // Both limits 0 switch the edit's own check off, so the value is limited here.
    if (value > most || EvalDays->text().isEmpty()) EvalDays->SetValue(std::min(value, most));
}

void FinderSettingsDialog::ShowTradeDays() {
    entry_ = hostdb::EvalOpenDay(calendar_, working_);
    exit_ = hostdb::EvalCloseDay(calendar_, working_, Read(EvalDays));
    const char* format = "dddd, mmmm d, yyyy";
    OpenDateLabel->setText(QString::fromStdString(calendar_.FormatDay(format, entry_)));
    CloseDateLabel->setText(QString::fromStdString(calendar_.FormatDay(format, exit_)));
}

void FinderSettingsDialog::PrevActGreying() {
    const bool on = PrevActCheckBox->isChecked();
    for (QWidget* w :
         {static_cast<QWidget*>(PrevActAction), static_cast<QWidget*>(PrevActLine),
          static_cast<QWidget*>(PrevActSpentDays), static_cast<QWidget*>(PrevActOutOfDays)})
        Edit(w, on);
    for (QLabel* l : {PrevActLabel1, PrevActLabel2, PrevActLabel3, PrevActLabel4})
        LabelColour(l, on);
}

void FinderSettingsDialog::ERGreying() {
    const int choice = PrevChoice->currentRow();
    const bool on = choice == finder::Require || choice == finder::JustLetMeKnow;
    Edit(PrevDaysEdit, on);
    for (QLabel* l : {PrevLabel1, PrevLabel2, PrevLabel3, PrevLabel4}) LabelColour(l, on);
    for (QCheckBox* c : {PrevUpCheckBox, PrevDnCheckBox, PrevExactCheckBox}) {
        c->setEnabled(on);
        LabelColour(c, on);
    }
    const bool up = on && PrevUpCheckBox->isChecked(), dn = on && PrevDnCheckBox->isChecked();
    Edit(PrevUpMinEdit, up);
    Edit(PrevUpMaxEdit, up);
    Label(PrevUpLabel, up);
    Edit(PrevDnMinEdit, dn);
    Edit(PrevDnMaxEdit, dn);
    Label(PrevDnLabel, dn);
    Edit(PrevExactEdit, on && PrevExactCheckBox->isChecked());
}

void FinderSettingsDialog::EvalGreying() {
    const bool possible = working_ < Last();
    QWidget* const parts[] = {TradeChoice, EvalLabel1,     OpenDateLabel, EvalLabel2, EvalDays,
                              EvalLabel3,  CloseDateLabel, EvalLabel4,    CompareEdit};
    DoEvalCheckBox->setEnabled(possible);
    LabelColour(DoEvalCheckBox, possible);
    LabelColour(PerfEvalHeader, possible);
    if (!possible) {
        PerfEvalHeader->setText(EvalNotPossible);
        // The reason, wrapped, with the greyed check box below it rather than under it.
        const int height =
            PerfEvalHeader->fontMetrics()
                .boundingRect(QRect(0, 0, 352, 1000), Qt::TextWordWrap, EvalNotPossible)
                .height();
        PerfEvalHeader->setGeometry(8, 4, 352, height);
        DoEvalCheckBox->move(DoEvalCheckBox->x(), 4 + height + 4);
        for (QWidget* w : parts) w->hide();
        return;
    }
    PerfEvalHeader->setText(EvalPossible);
    PerfEvalHeader->setGeometry(8, 4, 352, 16);
    DoEvalCheckBox->move(DoEvalCheckBox->x(), 26);
    const bool on = DoEvalCheckBox->isChecked();
    for (QWidget* w : parts) {
        w->show();
        if (auto* l = qobject_cast<QLabel*>(w))
            Label(l, on);
        else
            Edit(w, on);
    }
}

void FinderSettingsDialog::Modified() {
    if (loading_) return;
    modified_ = true;
    UpdateCaptions();
}

void FinderSettingsDialog::UpdateCaptions() {
    setWindowTitle(QString::fromStdString(finder::FinderDialogCaption(SettingsName(), modified_)));
    FindUseButton->setText(QString::fromStdString(finder::FindButtonCaption(modified_)));
}

void FinderSettingsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ui::CenterOver(this, nullptr);
    MarketDateEdit->setFocus(Qt::OtherFocusReason);
    UpdateCaptions();
}

void FinderSettingsDialog::LoadButtonClick() {
    QString name;
    finder::FinderSettings loaded;
    if (!ui::LoadSettingsFile(this, SettingsFiles, main_.ProgramDir(), name,
                              [&](const std::string& chosen) {
                                  std::string problem;
                                  loaded = finder::LoadFinderSettings(main_.ProgramDir(), chosen,
                                                                      Last(), &problem);
                                  return problem;
                              }))
        return;
    model_ = loaded;
    main_.LastSettingsFile = ui::FileNameBytes(name);
    ModelToDialog();
}

void FinderSettingsDialog::SaveButtonClick() {
    QString name = ui::FileNameText(main_.LastSettingsFile);
    const finder::FinderSettings before = model_;
    bool taken = false;
    if (!ui::SaveSettingsFile(this, SaveButton, SettingsFiles, main_.ProgramDir(), name,
                              [&](const std::string& chosen) {
                                  MarketDateChanged();
                                  DialogToModel();
                                  taken = true;
                                  finder::SaveFinderSettings(model_, main_.ProgramDir(), chosen);
                              })) {
        // Not saved: the dialog stays open with the settings still marked unsaved, and the model
        // (what Cancel restores) stays as it was.
        if (taken) model_ = before;
        return;
    }
    main_.LastSettingsFile = ui::FileNameBytes(name);
    modified_ = false;
    UpdateCaptions();
    accept();
}

void FinderSettingsDialog::FindUseButtonClick() {
    MarketDateChanged();
    DialogToModel();
    accept();
}

void FinderSettingsDialog::reject() {
    ModelToDialog();
    QDialog::reject();
}

} // namespace zimra
