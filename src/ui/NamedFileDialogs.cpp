#include "ui/NamedFileDialogs.h"

#include "hostdb/NamedFiles.h"
#include "ui/DialogParts.h"
#include "ui/FileNameText.h"
#include "ui/Hooks.h"
#include "ui/WindowCentering.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QStyle>
#include <QTimer>
#include <system_error>

namespace ui {

void NamedFileDialog::SetKindWord(const QString& kindWord) {
    KindWord = kindWord;
    if (DeleteButton) DeleteButton->setText(QStringLiteral("Delete a ") + kindWord);
}

void NamedFileDialog::HelpBtnClick() { ShowHelp(this, HelpContext); }

bool NamedFileDialog::DeleteNamedFile(const QString& name) {
    if (ShowMessage(this, BoxKind::Confirmation,
                    QStringLiteral("About to delete the ") + name + QStringLiteral(" ") + KindWord +
                        QStringLiteral(". OK to delete?"),
                    QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
        return false;
    if (auto file =
            hostdb::FindNamedFile(Directory, FileNameBytes(name), Extension.toStdString())) {
        std::error_code ec;
        std::filesystem::remove(*file, ec);
    }
    return true;
}

namespace {

bool AnyFileWithExtension(const std::filesystem::path& dir, const std::string& ext) {
    return !hostdb::ListNamedFiles(dir, ext, false).empty();
}

} // namespace

LoadNamedFileDialog::LoadNamedFileDialog(QWidget* parent)
    : NamedFileDialog(parent, FixedDialogFlags()) {
    SetUpFixedDialog(this, QStringLiteral("LoadAFileDialog"), 277, 281);

    Panel1 = new BevelPanel(this);
    Panel1->setGeometry(8, 8, 177, 265);
    Label1 = new QLabel(QStringLiteral("Load from:"), Panel1);
    Label1->setGeometry(10, 6, 157, 16);
    FileNameList = new QListWidget(Panel1);
    FileNameList->setGeometry(10, 24, 157, 193);
    DeleteButton = MakeGlyphButton(Panel1, QStringLiteral("Delete a"), QStyle::SP_TrashIcon,
                                   QRect(10, 230, 157, 25));
    Label1->setBuddy(FileNameList);

    MakeDialogButtons(this, 193, OKBtn, CancelBtn, HelpBtn);

    connect(OKBtn, &QPushButton::clicked, this, &LoadNamedFileDialog::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(HelpBtn, &QPushButton::clicked, this, &LoadNamedFileDialog::HelpBtnClick);
    connect(DeleteButton, &QPushButton::clicked, this, &LoadNamedFileDialog::DeleteButtonClick);
    connect(FileNameList, &QListWidget::itemDoubleClicked, this, [this] { OKBtnClick(); });
}

void LoadNamedFileDialog::FillList() {
    FileNameList->clear();
    std::string ext = Extension.toStdString();
    if (!AnyFileWithExtension(Directory, ext)) {
        // Before the dialog is shown it has no place yet: the box goes over its owner.
        ShowMessage(isVisible() ? this : parentWidget(), BoxKind::Warning,
                    QStringLiteral("No ") + KindWord + QStringLiteral(" was found."));
        return;
    }
    for (const std::string& name : hostdb::ListNamedFiles(Directory, ext, SignatureCheck))
        FileNameList->addItem(FileNameText(name));
    if (FileNameList->count() > 0) FileNameList->setCurrentRow(0);
}

QString LoadNamedFileDialog::SelectedName() const {
    QListWidgetItem* item = FileNameList->currentItem();
    return item ? item->text() : QString();
}

void LoadNamedFileDialog::OKBtnClick() {
    if (!FileNameList->currentItem()) {
        Beep();
        return;
    }
    accept();
}

void LoadNamedFileDialog::DeleteButtonClick() {
    QListWidgetItem* item = FileNameList->currentItem();
    if (!item) {
        Beep();
        return;
    }
    if (!DeleteNamedFile(item->text())) return;
    FillList();
    if (FileNameList->count() == 0) reject();
}

void LoadNamedFileDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // An empty list has nothing to offer: the dialog ends as soon as it appears.
    if (FileNameList->count() == 0)
        QTimer::singleShot(0, this, [this] {
            if (isVisible() && FileNameList->count() == 0) reject();
        });
}

bool ExecuteLoad(const QString& caption, const QString& kindWord,
                 const std::filesystem::path& directory, const QString& extension, int helpContext,
                 bool signatureCheck, QString& name) {
    LoadNamedFileDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(caption);
    dialog.SetKindWord(kindWord);
    dialog.Directory = directory;
    dialog.Extension = extension;
    dialog.SetHelpContext(helpContext);
    dialog.SignatureCheck = signatureCheck;
    dialog.FillList();
    if (dialog.FileNameList->count() == 0) return false;
    CenterOver(&dialog, nullptr);
    if (dialog.exec() != QDialog::Accepted) return false;
    name = dialog.SelectedName();
    return true;
}

namespace {

// Pasted or dropped text follows the same rules as typed text.
class SaveNameValidator : public QValidator {
public:
    explicit SaveNameValidator(QLineEdit* edit) : QValidator(edit), edit_(edit) {}

    State validate(QString& input, int&) const override {
        std::u32string text = input.toStdU32String();
        if (!hostdb::IsAcceptableSaveName(text)) return Invalid;
        input = input.toUpper();
        // A longer name set by the program (a listed file) may still be shortened.
        if (input.size() > hostdb::MaxSaveNameLength && input.size() > edit_->text().size())
            return Invalid;
        return Acceptable;
    }

private:
    QLineEdit* edit_;
};

} // namespace

SaveNameLineEdit::SaveNameLineEdit(QWidget* parent) : QLineEdit(parent) {
    setValidator(new SaveNameValidator(this));
}

void SaveNameLineEdit::keyPressEvent(QKeyEvent* event) {
    QString typed = event->text();
    bool printable = !typed.isEmpty() && typed.at(0).unicode() >= 32 && typed.at(0) != QChar(127);
    if (!printable || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    QString insertText;
    for (char32_t c : typed.toStdU32String()) {
        char32_t f = hostdb::FilterSaveNameKey(c);
        if (f == 0) {
            Beep();
            return;
        }
        insertText += QString::fromStdU32String(std::u32string(1, f));
    }
    if (text().size() - selectedText().size() + insertText.size() > hostdb::MaxSaveNameLength)
        return;
    insert(insertText);
}

SaveNamedFileDialog::SaveNamedFileDialog(QWidget* parent)
    : NamedFileDialog(parent, FixedDialogFlags()) {
    SetUpFixedDialog(this, QStringLiteral("SaveAFileDialog"), 271, 257);

    Panel1 = new BevelPanel(this);
    Panel1->setGeometry(8, 8, 173, 241);
    Label1 = new QLabel(QStringLiteral("Save as:"), Panel1);
    Label1->setGeometry(8, 6, 157, 16);
    SaveNameEdit = new SaveNameLineEdit(Panel1);
    SaveNameEdit->setGeometry(8, 24, 157, 22);
    SaveNameList = new QListWidget(Panel1);
    SaveNameList->setGeometry(8, 52, 157, 137);
    DeleteButton = MakeGlyphButton(Panel1, QStringLiteral("Delete a"), QStyle::SP_TrashIcon,
                                   QRect(8, 206, 157, 25));
    Label1->setBuddy(SaveNameEdit);

    MakeDialogButtons(this, 187, OKBtn, CancelBtn, HelpBtn);
    setTabOrder(SaveNameEdit, SaveNameList);
    setTabOrder(SaveNameList, DeleteButton);
    setTabOrder(DeleteButton, OKBtn);
    setTabOrder(OKBtn, CancelBtn);
    setTabOrder(CancelBtn, HelpBtn);

    connect(OKBtn, &QPushButton::clicked, this, &SaveNamedFileDialog::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(HelpBtn, &QPushButton::clicked, this, &SaveNamedFileDialog::HelpBtnClick);
    connect(DeleteButton, &QPushButton::clicked, this, &SaveNamedFileDialog::DeleteButtonClick);
    connect(SaveNameList, &QListWidget::currentItemChanged, this, [this] {
        if (!filling_) SaveNameListClick();
    });
    connect(SaveNameList, &QListWidget::itemClicked, this, [this] { SaveNameListClick(); });
    connect(SaveNameList, &QListWidget::itemDoubleClicked, this, [this] { OKBtnClick(); });
}

void SaveNamedFileDialog::FillList() {
    filling_ = true;
    SaveNameList->clear();
    for (const std::string& name :
         hostdb::ListNamedFiles(Directory, Extension.toStdString(), SignatureCheck))
        SaveNameList->addItem(FileNameText(name));
    SaveNameEdit->setText(InitialName.isEmpty() ? DefaultName : InitialName);
    SaveNameEdit->selectAll();
    SaveNameEdit->setFocus();
    SaveNameList->setCurrentItem(nullptr);
    for (int i = 0; i < SaveNameList->count(); ++i) {
        // The platform's list box finds its items without regard to case.
        if (SaveNameList->item(i)->text().compare(SaveNameEdit->text(), Qt::CaseInsensitive) == 0) {
            SaveNameList->setCurrentRow(i);
            break;
        }
    }
    filling_ = false;
}

void SaveNamedFileDialog::OKBtnClick() {
    if (SaveNameEdit->text().isEmpty()) {
        Beep();
        return;
    }
    QString name = SaveNameEdit->text();
    std::string reason = hostdb::UnopenableNameReason(FileNameBytes(name));
    if (!reason.empty()) {
        ShowMessage(this, BoxKind::Error,
                    QStringLiteral("The ") + KindWord + QStringLiteral(" name ") + name +
                        QStringLiteral(" ") + QString::fromStdString(reason) + QStringLiteral("."));
        SaveNameEdit->selectAll();
        SaveNameEdit->setFocus();
        return;
    }
    accept();
}

void SaveNamedFileDialog::SaveNameListClick() {
    QListWidgetItem* item = SaveNameList->currentItem();
    if (!item) return;
    SaveNameEdit->setText(item->text());
    SaveNameEdit->selectAll();
    SaveNameEdit->setFocus();
}

void SaveNamedFileDialog::DeleteButtonClick() {
    QListWidgetItem* item = SaveNameList->currentItem();
    if (!item || !item->isSelected()) {
        Beep();
        return;
    }
    if (!DeleteNamedFile(item->text())) return;
    FillList();
}

bool ExecuteSave(const QString& caption, const QString& kindWord,
                 const std::filesystem::path& directory, const QString& defaultName,
                 const QString& extension, int helpContext, bool signatureCheck,
                 QWidget* centreOver, QString& name) {
    SaveNamedFileDialog dialog(centreOver ? centreOver->window() : nullptr);
    dialog.setWindowTitle(caption);
    dialog.SetKindWord(kindWord);
    dialog.SetHelpContext(helpContext);
    dialog.Directory = directory;
    dialog.DefaultName = defaultName;
    dialog.Extension = extension;
    dialog.SignatureCheck = signatureCheck;
    dialog.InitialName = name;
    dialog.FillList();
    CenterOver(&dialog, centreOver);
    for (;;) {
        if (dialog.exec() != QDialog::Accepted) return false;
        QString chosen = dialog.SaveNameEdit->text();
        // Any existing file is asked about, readable or not, since saving would replace it.
        if (hostdb::FindNamedFile(directory, FileNameBytes(chosen), extension.toStdString())) {
            QString question = QStringLiteral("The ") + kindWord + QStringLiteral(" ") + chosen +
                               QStringLiteral(" already exists. Do you want to replace it?");
            if (ShowMessage(&dialog, BoxKind::Warning, question,
                            QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
                continue;
        }
        name = chosen;
        return true;
    }
}

} // namespace ui
