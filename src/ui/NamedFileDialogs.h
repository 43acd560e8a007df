// The two dialogs through which the programs' own files are named: Load picks one existing file
// of a kind by its bare name, Save chooses the short name (up to eight characters) a file is
// saved under; both list the files of the kind there and can delete one.
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

// What the two dialogs share: the kind of file, where such files live, and deleting one.
class NamedFileDialog : public QDialog {
    Q_OBJECT
public:
    QPushButton* DeleteButton = nullptr;

    QString KindWord;
    std::filesystem::path Directory;
    QString Extension;
    bool SignatureCheck = false;
    int HelpContext = 0;
    // Sets HelpContext and the property F1 reads.
    void SetHelpContext(int context) {
        HelpContext = context;
        setProperty("helpContext", context);
    }

    void SetKindWord(const QString& kindWord); // also the delete button's caption
    void HelpBtnClick();

protected:
    using QDialog::QDialog;
    // Asks before deleting the file of that name; false when the user declined. A file that
    // cannot be removed stays listed.
    bool DeleteNamedFile(const QString& name);
};

class LoadNamedFileDialog : public NamedFileDialog {
    Q_OBJECT
public:
    explicit LoadNamedFileDialog(QWidget* parent = nullptr);

    BevelPanel* Panel1;
    QLabel* Label1;
    QListWidget* FileNameList;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    QPushButton* HelpBtn;

    // Lists the names present and selects the first; says so when there is no file at all.
    void FillList();
    QString SelectedName() const;

    void OKBtnClick();
    void DeleteButtonClick();

protected:
    void showEvent(QShowEvent* event) override;
};

// True when a file was chosen; its bare name is returned in name.
bool ExecuteLoad(const QString& caption, const QString& kindWord,
                 const std::filesystem::path& directory, const QString& extension, int helpContext,
                 bool signatureCheck, QString& name);

// The name edit: lower-case letters become upper case, the characters a file name must not
// hold are refused with the warning beep, and typing stops at eight characters.
class SaveNameLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit SaveNameLineEdit(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

class SaveNamedFileDialog : public NamedFileDialog {
    Q_OBJECT
public:
    explicit SaveNamedFileDialog(QWidget* parent = nullptr);

    BevelPanel* Panel1;
    QLabel* Label1;
    SaveNameLineEdit* SaveNameEdit;
    QListWidget* SaveNameList;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    QPushButton* HelpBtn;

    QString DefaultName;
    QString InitialName;

    // Lists the names present and puts the initial (or default) name into the edit.
    void FillList();

    void OKBtnClick();
    void SaveNameListClick();
    void DeleteButtonClick();

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
