// The dialog that chooses a short name (up to eight characters) under which one kind of the
// programs' own files is saved, listing, and offering to delete, those already there.
#pragma once

#include "ui/BevelPanel.h"

#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QValidator>
#include <filesystem>

class QLabel;

namespace ui {

// The name edit: lower-case letters become upper case, the characters a file name must not
// hold are refused with the warning beep, and typing stops at eight characters.
class SaveNameLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit SaveNameLineEdit(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

class SaveNamedFileDialog : public QDialog {
    Q_OBJECT
public:
    explicit SaveNamedFileDialog(QWidget* parent = nullptr);

    BevelPanel* Panel1;
    QLabel* Label1;
    SaveNameLineEdit* SaveNameEdit;
    QListWidget* SaveNameList;
    QPushButton* DeleteButton;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    QPushButton* HelpBtn;

    QString KindWord;
    std::filesystem::path Directory;
    QString Extension;
    QString DefaultName;
    QString InitialName;
    bool SignatureCheck = false;
    int HelpContext = 0;

    void SetKindWord(const QString& kindWord); // also the delete button's caption
    // Lists the names present and puts the initial (or default) name into the edit.
    void FillList();

    void OKBtnClick();
    void SaveNameListClick();
    void DeleteButtonClick();
    void HelpBtnClick();

private:
    bool filling_ = false;
};

// True when a name was chosen; it is returned in name, which also supplies the initial name.
// Asks before a name of an existing file is returned; the dialog is centred over centreOver.
bool ExecuteSave(const QString& caption, const QString& kindWord,
                 const std::filesystem::path& directory, const QString& defaultName,
                 const QString& extension, int helpContext, bool signatureCheck,
                 QWidget* centreOver, QString& name);

} // namespace ui
