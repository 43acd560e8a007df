// The Save and Load dialogs of named files: the name keys, default names, replacing, names the
// host's platform cannot open, deleting, and what Load returns.
#include "ui/NamedFileDialogs.h"

#include "UiTestSupport.h"
#include "hostdb/TagListFile.h"
#include "support/TestUtil.h"
#include "ui/SettingsFileButtons.h"

#include <QClipboard>
#include <QKeyEvent>

using namespace ui;
using testutil::TempDir;
using uitest::Recorder;
using uitest::WhenModal;

namespace {

std::string TagListBytes() {
    hostdb::TagListFile list;
    list.AddTicker("LIST.LIS", "IBM", 0);
    return list.Bytes();
}

std::vector<std::string> Names(const QListWidget* list) {
    std::vector<std::string> out;
    for (int i = 0; i < list->count(); ++i) out.push_back(list->item(i)->text().toStdString());
    return out;
}

} // namespace

class NamedFileDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void saveNameKeys() {
        Recorder rec;
        SaveNamedFileDialog dialog;
        dialog.show();
        dialog.SaveNameEdit->setFocus();
        QTest::keyClicks(dialog.SaveNameEdit, "abc.d");
        QCOMPARE(dialog.SaveNameEdit->text(), QString("ABCD"));
        QCOMPARE(rec.beeps, 1);
        for (const char* refused :
             {" ", "*", "+", ",", "/", ";", "<", "=", ">", "?", "[", "\\", "]", "|", "\""})
            QTest::keyClicks(dialog.SaveNameEdit, refused);
        QKeyEvent accented(QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier, QString(QChar(0xE9)));
        QApplication::sendEvent(dialog.SaveNameEdit, &accented);
        QCOMPARE(dialog.SaveNameEdit->text(), QString("ABCD"));
        QCOMPARE(rec.beeps, 17);
        QTest::keyClicks(dialog.SaveNameEdit, "-_1x9z"); // eight is the most
        QCOMPARE(dialog.SaveNameEdit->text(), QString("ABCD-_1X"));
        // Pasted text cannot smuggle in a path.
        dialog.SaveNameEdit->clear();
        QGuiApplication::clipboard()->setText("../x");
        dialog.SaveNameEdit->paste();
        QCOMPARE(dialog.SaveNameEdit->text(), QString());
        QGuiApplication::clipboard()->setText("abc");
        dialog.SaveNameEdit->paste();
        QCOMPARE(dialog.SaveNameEdit->text(), QString("ABC"));
    }

    void saveOffersTheDefaultNameInAnEmptyDirectory() {
        Recorder rec;
        TempDir dir;
        QString name, shown;
        bool selected = false;
        WhenModal<SaveNamedFileDialog>([&](SaveNamedFileDialog* d) {
            shown = d->SaveNameEdit->text();
            selected = d->SaveNameEdit->selectedText() == shown;
            QCOMPARE(d->windowTitle(), QString("ZOLT TagList Name"));
            QCOMPARE(d->DeleteButton->text(), QString("Delete a TagList"));
            QTest::mouseClick(d->HelpBtn, Qt::LeftButton);
            QTest::mouseClick(d->DeleteButton, Qt::LeftButton); // nothing listed: a beep
            QTest::mouseClick(d->CancelBtn, Qt::LeftButton);
        });
        QVERIFY(!ExecuteSave("ZOLT TagList Name", "TagList", dir.Path(), "ZOLT", ".LIS", 1001, true,
                             nullptr, name));
        QCOMPARE(shown, QString("ZOLT"));
        QVERIFY(selected);
        QCOMPARE(name, QString());
        QCOMPARE(rec.helpContexts, std::vector<int>{1001});
        QCOMPARE(rec.beeps, 1);
    }

    void replacingAskedEvenForAnUnlistedFile() {
        // OTHER.LIS is no tag list, so it is not offered, yet saving under its name replaces it.
        Recorder rec;
        TempDir dir;
        testutil::WriteFile(dir / "OTHER.LIS", "not a tag list, but someone's file");
        testutil::WriteFile(dir / "ZOLT.LIS", TagListBytes());
        QString name = "ZOLT", listed, keptAfterNo;
        rec.answers = {QMessageBox::No, QMessageBox::Yes};
        rec.onMessage = [&](const uitest::Message&) {
            if (rec.messages.size() != 1) return;
            // After No the dialog comes back with the typed name.
            WhenModal<SaveNamedFileDialog>([&](SaveNamedFileDialog* d) {
                keptAfterNo = d->SaveNameEdit->text();
                QTest::mouseClick(d->OKBtn, Qt::LeftButton);
            });
        };
        WhenModal<SaveNamedFileDialog>([&](SaveNamedFileDialog* d) {
            listed = QString::fromStdString(Names(d->SaveNameList).at(0));
            QCOMPARE(d->SaveNameList->count(), 1);
            QCOMPARE(d->SaveNameList->currentItem()->text(), QString("ZOLT")); // the initial name
            d->SaveNameEdit->selectAll();
            QTest::keyClicks(d->SaveNameEdit, "other");
            QTest::mouseClick(d->OKBtn, Qt::LeftButton);
        });
        QVERIFY(ExecuteSave("ZOLT TagList Name", "TagList", dir.Path(), "ZOLT", ".LIS", 1001, true,
                            nullptr, name));
        QCOMPARE(listed, QString("ZOLT"));
        QCOMPARE(keptAfterNo, QString("OTHER"));
        QCOMPARE(name, QString("OTHER"));
        QCOMPARE(rec.messages.size(), size_t(2));
        QCOMPARE(rec.messages[0].text,
                 QString("The TagList OTHER already exists. Do you want to replace it?"));
        QCOMPARE(rec.messages[0].kind, BoxKind::Warning);
        QCOMPARE(rec.messages[0].buttons, QMessageBox::Yes | QMessageBox::No);
    }

    void saveRefusesAnEmptyNameAndTakesListClicks() {
        Recorder rec;
        TempDir dir;
        testutil::WriteFile(dir / "GROWTH.VNI", "");
        testutil::WriteFile(dir / "VALUE.VNI", "");
        QString name;
        WhenModal<SaveNamedFileDialog>([&](SaveNamedFileDialog* d) {
            QCOMPARE(d->SaveNameEdit->text(), QString()); // no default for settings files
            QTest::mouseClick(d->OKBtn, Qt::LeftButton);
            QVERIFY(d->isVisible());
            QCOMPARE(rec.beeps, 1);
            QListWidgetItem* value = d->SaveNameList->item(1);
            QTest::mouseClick(d->SaveNameList->viewport(), Qt::LeftButton, {},
                              d->SaveNameList->visualItemRect(value).center());
            QCOMPARE(d->SaveNameEdit->text(), QString("VALUE"));
            QCOMPARE(d->SaveNameEdit->selectedText(), QString("VALUE"));
            QTest::mouseDClick(d->SaveNameList->viewport(), Qt::LeftButton, {},
                               d->SaveNameList->visualItemRect(value).center());
        });
        QVERIFY(ExecuteSave("Save Zolt Settings", "settings file", dir.Path(), "", ".VNI", 1032,
                            false, nullptr, name));
        QCOMPARE(name, QString("VALUE"));
        QCOMPARE(rec.messages.size(), size_t(1)); // the replace question
    }

    void saveSelectsTheListedNameWithoutRegardToCase() {
        TempDir dir;
        testutil::WriteFile(dir / "Zolt.LIS", TagListBytes());
        testutil::WriteFile(dir / "GAPS.LIS", TagListBytes());
        SaveNamedFileDialog d;
        d.Directory = dir.Path();
        d.Extension = ".LIS";
        d.SignatureCheck = true;
        d.DefaultName = "ZOLT";
        d.FillList();
        QVERIFY(d.SaveNameList->currentItem());
        QCOMPARE(d.SaveNameList->currentItem()->text(), QString("Zolt"));
        QCOMPARE(d.SaveNameEdit->text(), QString("ZOLT")); // the edit keeps the name it was given
        d.InitialName = "gaps";
        d.FillList();
        QCOMPARE(d.SaveNameList->currentItem()->text(), QString("GAPS"));
        d.InitialName = "ZOL"; // only a whole name counts
        d.FillList();
        QVERIFY(!d.SaveNameList->currentItem());
    }

    void saveRefusesNamesTheHostsPlatformCannotOpen() {
        Recorder rec;
        TempDir dir;
        QString name, keptAfterError;
        bool openAfterDevice = false, openAfterColon = false;
        WhenModal<SaveNamedFileDialog>([&](SaveNamedFileDialog* d) {
            d->SaveNameEdit->selectAll();
            QTest::keyClicks(d->SaveNameEdit, "com1");
            QTest::mouseClick(d->OKBtn, Qt::LeftButton);
            openAfterDevice = d->isVisible();
            keptAfterError = d->SaveNameEdit->text();
            d->SaveNameEdit->selectAll();
            QTest::keyClicks(d->SaveNameEdit, "a:b");
            QTest::mouseClick(d->OKBtn, Qt::LeftButton);
            openAfterColon = d->isVisible();
            d->SaveNameEdit->selectAll();
            QTest::keyClicks(d->SaveNameEdit, "com10");
            QTest::mouseClick(d->OKBtn, Qt::LeftButton);
        });
        QVERIFY(ExecuteSave("ZOLT TagList Name", "TagList", dir.Path(), "ZOLT", ".LIS", 1001, true,
                            nullptr, name));
        QVERIFY(openAfterDevice);
        QVERIFY(openAfterColon);
        QCOMPARE(keptAfterError, QString("COM1"));
        QCOMPARE(name, QString("COM10"));
        QCOMPARE(rec.messages.size(), size_t(2));
        QCOMPARE(rec.messages[0].kind, BoxKind::Error);
        QCOMPARE(rec.messages[0].text,
                 QString("The TagList name COM1 is a device name on the host's platform."));
        QCOMPARE(rec.messages[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(rec.messages[1].text, QString("The TagList name A:B may not hold \":\"."));
    }

    void saveDialogDeletes() {
        Recorder rec;
        TempDir dir;
        testutil::WriteFile(dir / "GROWTH.VNI", "");
        testutil::WriteFile(dir / "VALUE.VNI", "");
        SaveNamedFileDialog d;
        d.SetKindWord("settings file");
        d.Directory = dir.Path();
        d.Extension = ".VNI";
        d.InitialName = "MINE";
        d.FillList();
        d.show();
        d.SaveNameList->setCurrentRow(0);
        rec.answers = {QMessageBox::Cancel, QMessageBox::Ok};
        QTest::mouseClick(d.DeleteButton, Qt::LeftButton);
        QVERIFY(std::filesystem::exists(dir / "GROWTH.VNI"));
        d.SaveNameList->setCurrentRow(0);
        QTest::mouseClick(d.DeleteButton, Qt::LeftButton);
        QCOMPARE(rec.messages.back().text,
                 QString("About to delete the GROWTH settings file. OK to delete?"));
        QCOMPARE(rec.messages.back().kind, BoxKind::Confirmation);
        QVERIFY(!std::filesystem::exists(dir / "GROWTH.VNI"));
        QCOMPARE(Names(d.SaveNameList), std::vector<std::string>{"VALUE"});
        QCOMPARE(d.SaveNameEdit->text(), QString("MINE"));
    }

    void loadClosesAsCancelledWhenTheLastFileIsDeleted() {
        Recorder rec;
        TempDir dir;
        testutil::WriteFile(dir / "ONLY.VNI", "[x]");
        QString name = "unchanged";
        WhenModal<LoadNamedFileDialog>([&](LoadNamedFileDialog* d) {
            QCOMPARE(d->FileNameList->currentItem()->text(), QString("ONLY"));
            QTest::mouseClick(d->DeleteButton, Qt::LeftButton);
        });
        QVERIFY(!ExecuteLoad("Load Zolt Settings", "settings file", dir.Path(), ".VNI", 1020, false,
                             name));
        QCOMPARE(name, QString("unchanged"));
        QVERIFY(!std::filesystem::exists(dir / "ONLY.VNI"));
        QCOMPARE(rec.messages.size(), size_t(2));
        QCOMPARE(rec.messages[0].text,
                 QString("About to delete the ONLY settings file. OK to delete?"));
        QCOMPARE(rec.messages[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
        // Refilling the list finds no file left and says so, as the first filling would.
        QCOMPARE(rec.messages[1].text, QString("No settings file was found."));
    }

    void loadWithoutFilesOnlySaysSo() {
        Recorder rec;
        TempDir dir;
        testutil::WriteFile(dir / "OTHER.TXT", "");
        bool dialogShown = false;
        // Should a dialog come up after all, it is recorded and closed.
        QTimer* watch = WhenModal<LoadNamedFileDialog>([&](LoadNamedFileDialog* d) {
            dialogShown = true;
            d->reject();
        });
        QString name;
        QWidget owner;
        owner.show();
        owner.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&owner));
        QVERIFY(!ExecuteLoad("Load Zolt Settings", "settings file", dir.Path(), ".VNI", 1020, false,
                             name));
        QCOMPARE(rec.messages.size(), size_t(1));
        QCOMPARE(rec.messages[0].text, QString("No settings file was found."));
        QCOMPARE(rec.messages[0].parent, &owner); // over the window it was asked from
        QCOMPARE(rec.messages[0].kind, BoxKind::Warning);
        QVERIFY(!dialogShown);
        delete watch;

        // A dialog used directly with nothing to list ends itself as cancelled.
        LoadNamedFileDialog d;
        d.SetKindWord("settings file");
        d.Directory = dir.Path();
        d.Extension = ".VNI";
        d.FillList();
        QCOMPARE(d.exec(), int(QDialog::Rejected));
    }

    void loadReturnsTheChosenName() {
        Recorder rec;
        TempDir dir;
        for (const char* n : {"VALUE", "growth", "Basic"})
            testutil::WriteFile(dir / (std::string(n) + ".VNI"), "");
        QString name;
        std::vector<std::string> listed;
        WhenModal<LoadNamedFileDialog>([&](LoadNamedFileDialog* d) {
            listed = Names(d->FileNameList);
            QCOMPARE(d->DeleteButton->text(), QString("Delete a settings file"));
            d->FileNameList->setFocus();
            QTest::keyClick(d->FileNameList, Qt::Key_F1); // help from the list as from the button
            d->FileNameList->setCurrentRow(1);
            QTest::mouseClick(d->OKBtn, Qt::LeftButton);
        });
        QVERIFY(ExecuteLoad("Load Zolt Settings", "settings file", dir.Path(), ".VNI", 1020, false,
                            name));
        QCOMPARE(listed, (std::vector<std::string>{"Basic", "growth", "VALUE"}));
        QCOMPARE(name, QString("growth"));
        QVERIFY(rec.messages.empty());
        QCOMPARE(rec.helpContexts, std::vector<int>{1020});
    }

    void namesAreBytes() {
        // Whatever the bytes, the text gives them back: stray, cut-off, overlong, surrogate, and
        // the stray bytes' own code points written out.
        for (const char* bytes : {"CAF\xC9", "\xE2\x82", "\xC0\xAF", "\xED\xA0\x80",
                                  "\xEF\x9E\x80X", "caf\xC3\xA9 \xF0\x9F\x93\x88", "\xFF\xFE"})
            QCOMPARE(FileNameBytes(FileNameText(bytes)), std::string(bytes));
        QCOMPARE(FileNameText("caf\xC3\xA9"), QString::fromUtf8("caf\xC3\xA9"));

        // A name that is not UTF-8 is listed, and Load reads that very file.
        Recorder rec;
        TempDir dir;
        testutil::WriteFile(dir / "CAF\xC9.VNI", "");
        testutil::WriteFile(dir / "CAFE.VNI", "");
        WhenModal<LoadNamedFileDialog>([&](LoadNamedFileDialog* d) {
            d->FileNameList->setCurrentRow(0);
            QTest::mouseClick(d->OKBtn, Qt::LeftButton);
        });
        std::string read;
        QString name;
        QVERIFY(LoadSettingsFile(nullptr, {"Zolt", ".VNI", 1020, 1021}, dir.Path(), name,
                                 [&](const std::string& chosen) {
                                     read = chosen;
                                     return std::string();
                                 }));
        QCOMPARE(read, std::string("CAF\xC9"));
        QCOMPARE(FileNameBytes(name), read);
        QVERIFY(rec.messages.empty());

        // A last settings file that cannot be read is named and forgotten; a missing one is not.
        std::string last = "CAF\xC9";
        ForgetUnreadableSettingsFile(nullptr, last, "does not exist");
        QCOMPARE(last, std::string("CAF\xC9"));
        ForgetUnreadableSettingsFile(nullptr, last, "is larger than 1 MB");
        QVERIFY(last.empty());
        QCOMPARE(rec.messages.size(), size_t(1));
        QVERIFY(
            rec.messages[0].text.contains("is larger than 1 MB. The default settings are used."));
    }
};

ZOLT_UI_TEST_MAIN(NamedFileDialogsTest)
#include "NamedFileDialogsTest.moc"
