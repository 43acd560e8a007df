#include "ui/LoadNamedFileDialog.h"

#include "hostdb/NamedFiles.h"
#include "ui/Hooks.h"
#include "ui/WindowCentering.h"

#include <QApplication>
#include <QLabel>
#include <QStyle>
#include <QTimer>
#include <system_error>

namespace ui {

namespace {

bool AnyFileWithExtension(const std::filesystem::path& dir, const std::string& ext) {
    return !hostdb::ListNamedFiles(dir, ext, false).empty();
}

} // namespace

LoadNamedFileDialog::LoadNamedFileDialog(QWidget* parent) : QDialog(parent, FixedDialogFlags()) {
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

void LoadNamedFileDialog::SetKindWord(const QString& kindWord) {
    KindWord = kindWord;
    DeleteButton->setText(QStringLiteral("Delete a ") + kindWord);
}

void LoadNamedFileDialog::FillList() {
    FileNameList->clear();
    std::string ext = Extension.toStdString();
    if (!AnyFileWithExtension(Directory, ext)) {
        ShowMessage(this, BoxKind::Warning,
                    QStringLiteral("No ") + KindWord + QStringLiteral(" was found."));
        return;
    }
    for (const std::string& name : hostdb::ListNamedFiles(Directory, ext, SignatureCheck))
        FileNameList->addItem(QString::fromStdString(name));
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
    QString name = item->text();
    if (ShowMessage(this, BoxKind::Confirmation,
                    QStringLiteral("About to delete the ") + name + QStringLiteral(" ") + KindWord +
                        QStringLiteral(". OK to delete?"),
                    QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
        return;
    if (auto file = hostdb::FindNamedFile(Directory, name.toStdString(), Extension.toStdString())) {
        std::error_code ec;
        std::filesystem::remove(*file, ec); // a failure leaves the name listed
    }
    FillList();
    if (FileNameList->count() == 0) reject();
}

void LoadNamedFileDialog::HelpBtnClick() { ShowHelp(this, HelpContext); }

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
    dialog.HelpContext = helpContext;
    dialog.SignatureCheck = signatureCheck;
    dialog.FillList();
    if (dialog.FileNameList->count() == 0) return false;
    CenterOver(&dialog, nullptr);
    if (dialog.exec() != QDialog::Accepted) return false;
    name = dialog.SelectedName();
    return true;
}

} // namespace ui
