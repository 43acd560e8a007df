// The filter settings dialog: the filter page, its limits, the minimum price and volume and the
// performance evaluation, loaded from and saved to named settings files.
#pragma once

#include "hostdb/MarketCalendar.h"
#include "screener/engine/FilterSettings.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace ui {
class BevelPanel;
class IntegerEdit;
class RealEdit;
} // namespace ui

namespace zoltw {

class ScreenerWindow;

class FilterDialog : public QDialog {
    Q_OBJECT
public:
    explicit FilterDialog(ScreenerWindow& main);
    ~FilterDialog() override;

    // The filter settings of the last filter run, load, save or restore.
    screener::FilterSettings Record;

    // Area numbers "1" to "5".
    std::array<QLabel*, 5> AreaNumber{};
    // Area 1.
    QLabel* OptionalLabel;
    QPushButton* LoadButton;
    ui::BevelPanel* DataSetPanel;
    QLabel* DataSetLabel;
    // Area 2: the pages and the explanatory text that opens each.
    QLabel* ChooseLabel;
    QTabWidget* FilterPages;
    std::array<QLabel*, 10> PageText{};
    ui::IntegerEdit *HighWeeksEdit, *LowWeeksEdit;
    QRadioButton *HighNewButton, *HighGreaterButton, *LowNewButton, *LowGreaterButton;
    QCheckBox *CloseUpDollarChk, *CloseUpPerCChk, *CloseDownDollarChk, *CloseDownPerCChk;
    ui::RealEdit *MinUpDollar, *MaxUpDollar, *MinUpPerC, *MaxUpPerC;
    ui::RealEdit *MinDownDollar, *MaxDownDollar, *MinDownPerC, *MaxDownPerC;
    QLabel *UpDollar1Label, *UpDollar2Label, *UpPerC1Label, *UpPerC2Label;
    QLabel *DownDollar1Label, *DownDollar2Label, *DownPerC1Label, *DownPerC2Label;
    ui::IntegerEdit *GapUpDays, *GapDownDays, *VolumeDays;
    ui::RealEdit *VolAbovePerC, *VolBelowPerC;
    QLabel* VolDownDaysLabel;
    QCheckBox *NewHighChkA, *NewHighChkB, *NewHighChkC, *NewLowChkA, *NewLowChkB, *NewLowChkC;
    QCheckBox *CloseUpChkA, *CloseUpChkB, *CloseUpChkC, *CloseDownChkA, *CloseDownChkB,
        *CloseDownChkC;
    QCheckBox *GapUpChkA, *GapUpChkB, *GapUpChkC, *GapDownChkA, *GapDownChkB, *GapDownChkC;
    QCheckBox *VolAboveChkA, *VolAboveChkB, *VolAboveChkC, *VolBelowChkA, *VolBelowChkB,
        *VolBelowChkC;
    QLabel *VolAboveLine2, *VolBelowLine2;
    // Area 3.
    ui::BevelPanel* MinimumPanel;
    ui::RealEdit* MinCloseEdit;
    ui::IntegerEdit* MinVolumeEdit;
    // Area 4.
    ui::BevelPanel* EvalPanel;
    QLabel* PerfEvalHeader;
    QCheckBox* DoEvalCheckBox;
    QComboBox* TradeChoice;
    QLabel *EvalLabel1, *OpenDateLabel, *EvalLabel2, *EvalLabel3, *CloseDateLabel, *EvalLabel4;
    ui::IntegerEdit* EvalDays;
    QLineEdit* CompareEdit;
    // Area 5 and the buttons below.
    QLabel* StartLabel;
    QPushButton *DoItButton, *SaveButton, *CancelBtn, *HelpBtn;

    // The controls differ from the last loaded, saved or restored settings.
    bool SettingsModified() const { return modified_; }

    // Every control from Record, the derived texts refreshed; no longer modified.
    void SettingsToDialog();
    // Record from the controls, each value brought into its control's range; the controls then
    // show what was taken.
    void DialogToSettings();
    // The derived texts and states; SettingsModified stays as it is.
    void RefreshAll();

    void LoadButtonClick();
    void SaveButtonClick();
    void DoItButtonClick();

public slots:
    void reject() override; // Cancel, Escape and the close box restore the controls

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void CreateAreaNumbers();
    void CreateDataSetArea();
    void CreatePagesArea();
    void CreateWeeksPages();
    void CreateRangePages();
    void CreateGapPages();
    void CreateVolumePages();
    void CreateComboPage();
    void CreateMinimumsArea();
    void CreateEvaluationArea();
    void CreateStartArea();
    void ConnectChanges();
    void SetTabOrder();
    void ShowRecord(const screener::FilterSettings& s); // the controls only
    screener::FilterSettings TakeSettings();
    void Changed();
    void RefreshTitle();
    void RefreshOpenDate();
    void RefreshCloseDate();
    void LimitEvalDays();
    void RefreshEvalArea();
    void RefreshRangePages();
    void RefreshTabTexts();
    void PairClicked(QCheckBox* clicked, QCheckBox* other);
    bool EvalPossible() const;
    std::string LongDate(int day) const;

    ScreenerWindow& main_;
    hostdb::MarketCalendar calendar_;
    bool modified_ = false;
    int quiet_ = 0; // changes made by the dialog itself are no user changes
    int evalLimit_ = 999;
};

} // namespace zoltw
