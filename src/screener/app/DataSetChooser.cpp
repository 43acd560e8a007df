#include "screener/app/DataSetChooser.h"

#include "hostdb/Format.h"
#include "hostdb/SearchPath.h"
#include "hostdb/TradingDays.h"
#include "screener/app/ScreenerWindow.h"
#include "screener/app/WorkWindows.h"
#include "screener/engine/DataSet.h"
#include "ui/DateEdit.h"
#include "ui/Hooks.h"
#include "ui/NumericEdits.h"
#include "ui/WindowCentering.h"

#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyledItemDelegate>
#include <algorithm>

namespace zoltw {

namespace fs = std::filesystem;

DataSetRow DescribeDataSet(const std::string& fileName, const platform::Locale& locale) {
    DataSetRow row;
    int day = 0;
    if (!screener::DataSetDay(fileName, day)) return row;
    const hostdb::DateTimeValue date = hostdb::MarketCalendar::DayToDate(day);
    row.isDate = true;
    row.date = hostdb::FormatDateTime("ddddd", date, locale);
    row.weekday = hostdb::FormatDateTime("ddd", date, locale);
    row.length = hostdb::FormatText("%d-day ave.",
                                    {screener::DecodeDataSetName(fileName).moveAveLength}, locale);
    return row;
}

std::string SizeText(std::uint64_t bytes, int count, const platform::Locale& locale) {
    return hostdb::FormatText("%.1f MB used by %d data sets",
                              {static_cast<double>(bytes) / 1048576.0, count}, locale);
}

namespace {

// Rows drawn from their names: date, weekday and length in columns at the widths of sample
// texts; a name that is no date in grey.
class DataSetDelegate final : public QStyledItemDelegate {
public:
    DataSetDelegate(const platform::Locale& locale, QObject* parent)
        : QStyledItemDelegate(parent), locale_(locale) {}

    void paint(QPainter* p, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette& pal = option.palette;
        p->fillRect(option.rect, pal.color(selected ? QPalette::Highlight : QPalette::Base));
        const std::string name = index.data().toString().toStdString();
        const DataSetRow row = DescribeDataSet(name, locale_);
        const QFontMetrics fm(option.font);
        const int top = option.rect.top() + fm.ascent(), left = option.rect.left();
        p->setFont(option.font);
        p->setPen(pal.color(selected ? QPalette::HighlightedText : QPalette::Text));
        if (!row.isDate) {
            if (!selected) p->setPen(pal.color(QPalette::Disabled, QPalette::Text));
            p->drawText(left + 2, top, index.data().toString());
            return;
        }
        const QString length = QString::fromStdString(row.length);
        p->drawText(left + 2, top, QString::fromStdString(row.date));
        p->drawText(left + fm.horizontalAdvance("99/99/99 "), top,
                    QString::fromStdString(row.weekday));
        p->drawText(left + fm.horizontalAdvance("99/99/99 WWW 99-day ave.") -
                        fm.horizontalAdvance(length),
                    top, length);
    }

private:
    platform::Locale locale_;
};

} // namespace

DataSetChooser::DataSetChooser(ScreenerWindow& main)
    : QDialog(&main), main_(main), calendar_(main.Environment().locale) {
    setWindowTitle("Specify a data set");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setProperty("helpContext", 1014);
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    setFixedSize(440, 330);
    calendar_.HolidayFileName =
        hostdb::HolidayFilePath(main.Host().globals, main.Environment().dirs);

    CreateExistingPart();
    CreateGeneratePart();
    CreateButtons();
    SetTabOrder();
    SetDateRange();
    UseExistingButton->setChecked(true);
    Connect();
}

void DataSetChooser::CreateExistingPart() {
    UseExistingButton = new QRadioButton("Open an existing data set", this);
    UseExistingButton->setGeometry(12, 8, 300, 20);
    DataSetListBox = new QListWidget(this);
    DataSetListBox->setGeometry(28, 32, 250, 150);
    DataSetListBox->setSortingEnabled(true);
    DataSetListBox->setUniformItemSizes(true);
    DataSetListBox->setItemDelegate(new DataSetDelegate(main_.Environment().locale, this));
    DeleteButton = new QPushButton(style()->standardIcon(QStyle::SP_TrashIcon),
                                   "Delete selected data set", this);
    DeleteButton->setGeometry(28, 188, 250, 26);
    SizeLabel = new QLabel(this);
    SizeLabel->setGeometry(28, 216, 250, 18);
    SizeLabel->setAlignment(Qt::AlignCenter);
    QFont regular = font();
    regular.setBold(false);
    SizeLabel->setFont(regular);
}

void DataSetChooser::CreateGeneratePart() {
    GenerateNewButton = new QRadioButton("Generate a new data", this);
    GenerateNewButton->setGeometry(12, 240, 170, 20);
    auto label = [this](const char* text, int x, int y) {
        auto* l = new QLabel(text, this);
        l->move(x, y);
        l->adjustSize();
        return l;
    };
    label("set for the Market Date", 182, 242);
    MarketDateEdit = new ui::DateEdit(this);
    MarketDateEdit->setGeometry(28, 266, 110, 24);
    // The trading days in a colour that reads as pickable on the popup's button face.
    MarketDateEdit->ValidDateColor = palette().color(QPalette::Highlight);
    label("using", 146, 270);
    label("a", 190, 270);
    VolMoveAve = new ui::IntegerEdit(this);
    VolMoveAve->setGeometry(204, 266, 44, 24);
    VolMoveAve->SetMinValue(1);
    VolMoveAve->SetMaxValue(99);
    VolMoveAve->setMaxLength(2);
    VolMoveAve->SetValidate(true);
    VolMoveAve->SetSpin(true);
    label("-day moving", 252, 270);
    label("average of volume.", 28, 296);
}

void DataSetChooser::CreateButtons() {
    OKBtn = new QPushButton("OK", this);
    OKBtn->setDefault(true);
    OKBtn->setGeometry(340, 32, 88, 28);
    CancelBtn = new QPushButton("Cancel", this);
    CancelBtn->setGeometry(340, 66, 88, 28);
    HelpBtn = new QPushButton("Help", this);
    HelpBtn->setGeometry(340, 100, 88, 28);
}

void DataSetChooser::SetTabOrder() {
    for (QWidget* w : std::initializer_list<QWidget*>{
             UseExistingButton, DataSetListBox, DeleteButton, GenerateNewButton, MarketDateEdit,
             VolMoveAve, OKBtn, CancelBtn, HelpBtn})
        w->setFocusPolicy(w->focusPolicy() == Qt::NoFocus ? Qt::TabFocus : w->focusPolicy());
    setTabOrder(UseExistingButton, DataSetListBox);
    setTabOrder(DataSetListBox, DeleteButton);
    setTabOrder(DeleteButton, GenerateNewButton);
    setTabOrder(GenerateNewButton, MarketDateEdit);
    setTabOrder(MarketDateEdit, VolMoveAve);
    setTabOrder(VolMoveAve, OKBtn);
}

// The edit's range: 2 January 1980 to the last day of the last market date's month.
void DataSetChooser::SetDateRange() {
    const int last = main_.Host().globals.LastMarketDay;
    const hostdb::CivilDate l = hostdb::DecodeDate(hostdb::MarketCalendar::DayToDate(last));
    MarketDateEdit->MinDate = hostdb::EncodeDate(1980, 1, 2);
    MarketDateEdit->MaxDate =
        hostdb::EncodeDate(l.year, l.month, hostdb::DaysInMonth(l.year, l.month));
    MarketDateEdit->SetDate(hostdb::MarketCalendar::DayToDate(last));
}

void DataSetChooser::Connect() {
    connect(OKBtn, &QPushButton::clicked, this, &DataSetChooser::OKClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(HelpBtn, &QPushButton::clicked, this, [this] { ui::ShowHelp(this, 1014); });
    connect(DeleteButton, &QPushButton::clicked, this, &DataSetChooser::DeleteClick);
    connect(DataSetListBox, &QListWidget::itemClicked, this,
            [this] { UseExistingButton->setChecked(true); });
    connect(DataSetListBox, &QListWidget::itemDoubleClicked, this, &DataSetChooser::OKClick);
    for (QRadioButton* r : {UseExistingButton, GenerateNewButton})
        connect(r, &QRadioButton::clicked, this, [this] {
            if (!UseExistingButton->isChecked()) DataSetListBox->clearSelection();
        });
    connect(MarketDateEdit, &ui::DateEdit::dateChanged, this, [this] {
        NormaliseDate();
        GenerationInputChanged();
    });
    connect(MarketDateEdit, &QLineEdit::textEdited, this, &DataSetChooser::GenerationInputChanged);
    connect(MarketDateEdit, &ui::DateEdit::calendarPageChanged, this, [this] {
        MarkTradingDays();
        GenerationInputChanged();
    });
    connect(VolMoveAve, &QLineEdit::textEdited, this, &DataSetChooser::GenerationInputChanged);
    connect(VolMoveAve->SpinButton(), &ui::SpinButtons::upClicked, this,
            &DataSetChooser::GenerationInputChanged);
    connect(VolMoveAve->SpinButton(), &ui::SpinButtons::downClicked, this,
            &DataSetChooser::GenerationInputChanged);
}

DataSetChooser::~DataSetChooser() = default;

void DataSetChooser::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ui::CenterOver(this, &main_);
    working_ = main_.MarketDay;
    VolMoveAve->SetValue(main_.MoveAveLength);
    RefreshList();
}

void DataSetChooser::GenerationInputChanged() {
    GenerateNewButton->setChecked(true);
    DataSetListBox->clearSelection();
}

void DataSetChooser::RefreshList() {
    DataSetListBox->clear();
    std::uint64_t bytes = 0;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(main_.ProgramDir(), ec)) {
        const std::string name = e.path().filename().string();
        std::error_code fe;
        if (name.empty() || name[0] == '.' || !e.is_regular_file(fe) ||
            !hostdb::MatchesWildcard(name, "*.vds"))
            continue;
        bytes += e.file_size(fe);
        DataSetListBox->addItem(QString::fromStdString(name));
    }
    const int count = DataSetListBox->count();
    const auto current =
        DataSetListBox->findItems(QString::fromStdString(main_.LastDataFile), Qt::MatchExactly);
    if (count > 0)
        DataSetListBox->setCurrentItem(current.isEmpty() ? DataSetListBox->item(0)
                                                         : current.front());
    UseExistingButton->setEnabled(count > 0);
    DeleteButton->setEnabled(count > 0);
    if (count > 0) {
        if (!UseExistingButton->isChecked()) DataSetListBox->clearSelection();
    } else {
        UseExistingButton->setChecked(false);
        GenerateNewButton->setChecked(true);
    }
    SizeLabel->setText(QString::fromStdString(SizeText(bytes, count, main_.Environment().locale)));
}

void DataSetChooser::NormaliseDate() {
    int d = hostdb::MarketCalendar::DateToDay(MarketDateEdit->GetDate());
    const int last = main_.Host().globals.LastMarketDay;
    d = d > last ? last : hostdb::TradingDayAtOrBefore(calendar_, d);
    if (d != working_) {
        working_ = d;
        MarketDateEdit->SetDate(hostdb::MarketCalendar::DayToDate(d));
    }
}

void DataSetChooser::MarkTradingDays() {
    MarketDateEdit->ClearValidDates();
    const int first = hostdb::MarketCalendar::DateToDay(
        hostdb::EncodeDate(MarketDateEdit->PageYear, MarketDateEdit->PageMonth(), 1));
    for (int d = first; d < first + 31; ++d)
        if (calendar_.DayKind(d) <= 4 && d <= main_.Host().globals.LastMarketDay)
            MarketDateEdit->AddValidDate(hostdb::MarketCalendar::DayToDate(d));
}

void DataSetChooser::DeleteClick() {
    QListWidgetItem* item = DataSetListBox->currentItem();
    if (!item || !item->isSelected()) return;
    if (ui::ShowMessage(this, ui::BoxKind::Confirmation, "OK to delete this data set?",
                        QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
        return;
    std::error_code ec;
    fs::remove(main_.ProgramDir() / item->text().toStdString(), ec);
    if (ec)
        ui::ShowMessage(this, ui::BoxKind::Error,
                        QString::fromStdString("The data set " + item->text().toStdString() +
                                               " could not be deleted: " + ec.message()));
    RefreshList();
}

void DataSetChooser::OKClick() {
    QListWidgetItem* item = DataSetListBox->currentItem();
    const bool existing = UseExistingButton->isChecked();
    if (existing && (!item || !item->isSelected())) return;
    // A file that is not named after a host's date cannot be filtered.
    if (existing) {
        std::string problem = screener::DataSetNameProblem(item->text().toStdString());
        std::error_code ec;
        const auto size = fs::file_size(main_.ProgramDir() / item->text().toStdString(), ec);
        if (problem.empty() && !ec) problem = screener::DataSetSizeProblem(size);
        if (!problem.empty()) {
            ui::ShowMessage(this, ui::BoxKind::Warning,
                            item->text() + " " + QString::fromStdString(problem) + ".");
            return;
        }
    }
    NormaliseDate();
    main_.MarketDay = working_;
    // What is typed may lie outside 1 to 99: the box shows the length used.
    main_.MoveAveLength = VolMoveAve->CheckValue(VolMoveAve->Value());
    VolMoveAve->SetValue(main_.MoveAveLength);
    bool filterable = true;
    std::string name;
    if (existing) {
        name = item->text().toStdString();
    } else {
        name = screener::DataSetFileName(working_, main_.MoveAveLength);
        main_.LastDataFile = name;
        std::error_code ec;
        if (fs::exists(main_.ProgramDir() / name, ec) &&
            ui::ShowMessage(this, ui::BoxKind::Warning,
                            "This data set already exists. Generate it again?",
                            QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
            return;
        screener::GenerateInput in;
        in.marketDay = working_;
        in.moveAveLength = main_.MoveAveLength;
        in.outputPath = main_.ProgramDir() / name;
        in.tickerFiles = main_.Host().tickerFiles;
        in.threads = main_.Threads();
        GenerationWindow generate(std::move(in), calendar_, this);
        generate.exec();
        const screener::GenerateResult& r = generate.Result();
        filterable = r.written || (r.keptEarlier && fs::file_size(in.outputPath, ec) > 0 && !ec);
    }
    main_.DataSetChosen(name, filterable);
    accept();
}

} // namespace zoltw
