// Zimra's settings dialog: what to find, stated as sentences of lists, dates and numbers, with
// the trade's days, the greying of the parts that do not apply, and the named settings files.
#pragma once

#include "finder/engine/FinderSettings.h"
#include "hostdb/MarketCalendar.h"

#include <QDialog>
#include <QLineEdit>
#include <string>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QListWidget;
class QPushButton;

namespace ui {
class DateEdit;
class IntegerEdit;
} // namespace ui

namespace zimra {

class FinderWindow;

// The exact-ER edit: digits, "-", ";" and control keys pass; a blank is dropped silently and
// anything else with the warning beep. Pasted text must hold only those characters.
class ExactRatingsEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit ExactRatingsEdit(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

class FinderSettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit FinderSettingsDialog(FinderWindow& main);
    ~FinderSettingsDialog() override;

    QFrame *MarketPanel, *PrevActPanel, *PrevERPanel, *EvalPanel;
    QLabel *MarketLabel1, *MarketLabel2, *MarketLabel3;
    QComboBox *MarketAction, *MarketLine;
    ui::DateEdit* MarketDateEdit;
    QCheckBox* PrevActCheckBox;
    QListWidget* PrevActAction;
    QLabel *PrevActLabel1, *PrevActLabel2, *PrevActLabel3, *PrevActLabel4;
    QComboBox* PrevActLine;
    ui::IntegerEdit *PrevActSpentDays, *PrevActOutOfDays;
    QListWidget* PrevChoice;
    QLabel *PrevLabel1, *PrevLabel2, *PrevLabel3, *PrevLabel4;
    ui::IntegerEdit* PrevDaysEdit;
    QCheckBox *PrevUpCheckBox, *PrevDnCheckBox, *PrevExactCheckBox;
    ui::IntegerEdit *PrevUpMinEdit, *PrevUpMaxEdit, *PrevDnMinEdit, *PrevDnMaxEdit;
    QLabel *PrevUpLabel, *PrevDnLabel;
    ExactRatingsEdit* PrevExactEdit;
    QLabel* PerfEvalHeader;
    QCheckBox* DoEvalCheckBox;
    QListWidget* TradeChoice;
    QLabel *EvalLabel1, *OpenDateLabel, *EvalLabel2, *EvalLabel3, *CloseDateLabel, *EvalLabel4;
    ui::IntegerEdit* EvalDays;
    QLineEdit* CompareEdit;
    QPushButton *LoadButton, *SaveButton, *FindUseButton, *CancelBtn, *HelpBtn;

    // The model the find runs with: what the controls held when the dialog last closed with OK,
    // or the settings last loaded.
    const finder::FinderSettings& Settings() const { return model_; }
    // The current settings name (the main window's LastSettingsFile).
    const std::string& SettingsName() const;
    bool SettingsModified() const { return modified_; }
    int WorkingMarketDay() const { return working_; }
    int EntryDay() const { return entry_; }
    int ExitDay() const { return exit_; }

    // The model into the controls, and the controls into the model.
    void ModelToDialog();
    void DialogToModel();
    std::vector<ui::IntegerEdit*> SpinEdits() const; // the numbers of the sentences

    void LoadButtonClick();
    void SaveButtonClick();
    void FindUseButtonClick();
    void reject() override; // Cancel, Escape and the close box restore the controls

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void CreateMarketSentence();
    void CreatePrevActSentence();
    void CreatePrevERSentence();
    void CreateEvalSentence();
    void CreateButtons();
    void SetTabOrder();
    void Connect();
    void MarketDateChanged();
    void MarkTradingDays();
    void SetEvalMaximum();
    void ShowTradeDays();
    void PrevActGreying();
    void ERGreying();
    void EvalGreying();
    void Modified();
    void UpdateCaptions();
    int Last() const;

    FinderWindow& main_;
    hostdb::MarketCalendar calendar_;
    finder::FinderSettings model_;
    int working_ = 0, entry_ = 0, exit_ = 0;
    bool modified_ = false;
    bool loading_ = false;     // the controls are being set from the model
    bool normalising_ = false; // the market date is being put back into its edit
};

} // namespace zimra
