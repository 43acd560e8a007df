// The dialog that picks one existing file of a kind of the programs' own files by its bare
// name, and can delete files of that kind.
#pragma once

#include "ui/BevelPanel.h"

#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <filesystem>

class QLabel;

namespace ui {

class LoadNamedFileDialog : public QDialog {
    Q_OBJECT
public:
    explicit LoadNamedFileDialog(QWidget* parent = nullptr);

    BevelPanel* Panel1;
    QLabel* Label1;
    QListWidget* FileNameList;
    QPushButton* DeleteButton;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    QPushButton* HelpBtn;

    QString KindWord;
    std::filesystem::path Directory;
    QString Extension;
    bool SignatureCheck = false;
    int HelpContext = 0;

    void SetKindWord(const QString& kindWord); // also the delete button's caption
    // Lists the names present and selects the first; says so when there is no file at all.
    void FillList();
    QString SelectedName() const;

    void OKBtnClick();
    void DeleteButtonClick();
    void HelpBtnClick();

protected:
    void showEvent(QShowEvent* event) override;
};

// True when a file was chosen; its bare name is returned in name.
bool ExecuteLoad(const QString& caption, const QString& kindWord,
                 const std::filesystem::path& directory, const QString& extension, int helpContext,
                 bool signatureCheck, QString& name);

} // namespace ui
