// The data-set chooser: an existing data set of the program directory, or a new one for a
// market date and moving-average length, generated in the generation window; also deletes sets.
#pragma once

#include "hostdb/MarketCalendar.h"

#include <QDialog>
#include <memory>
#include <string>

class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace ui {
class DateEdit;
class IntegerEdit;
} // namespace ui

namespace zoltw {

class ScreenerWindow;

// What a list row shows for a data set name: its short date, short weekday and "%d-day ave.";
// a name that is no date shows as it is and cannot be chosen.
struct DataSetRow {
    bool isDate = false;
    std::string date, weekday, length;
};
DataSetRow DescribeDataSet(const std::string& fileName, const platform::Locale& locale);

// "%.1f MB used by %d data sets".
std::string SizeText(std::uint64_t bytes, int count, const platform::Locale& locale);

class DataSetChooser : public QDialog {
    Q_OBJECT
public:
    explicit DataSetChooser(ScreenerWindow& main);
    ~DataSetChooser() override;

    QRadioButton *UseExistingButton, *GenerateNewButton;
    QListWidget* DataSetListBox;
    QPushButton *DeleteButton, *OKBtn, *CancelBtn, *HelpBtn;
    QLabel* SizeLabel;
    ui::DateEdit* MarketDateEdit;
    ui::IntegerEdit* VolMoveAve;

    int WorkingMarketDay() const { return working_; }
    void RefreshList();
    void OKClick();
    void DeleteClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateExistingPart();
    void CreateGeneratePart();
    void CreateButtons();
    void SetTabOrder();
    void SetDateRange();
    void Connect();
    void GenerationInputChanged();
    void NormaliseDate();
    void MarkTradingDays();

    ScreenerWindow& main_;
    hostdb::MarketCalendar calendar_;
    int working_ = 0;
};

} // namespace zoltw
