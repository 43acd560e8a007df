// Shows every shared widget side by side in one window laid out like a 1600 x 1000 screen;
// --screenshot FILE saves a picture of it and exits.
#include "hostdb/DateTime.h"
#include "hostdb/TagListFile.h"
#include "platform/Directories.h"
#include "ui/AboutBox.h"
#include "ui/CalendarPopup.h"
#include "ui/DateEdit.h"
#include "ui/FatalErrorHandler.h"
#include "ui/ProgramStartup.h"
#include "ui/NamedFileDialogs.h"
#include "ui/NumericEdits.h"
#include "ui/SingleInstance.h"
#include "ui/SplashWindow.h"

#include <QDir>
#include <QFile>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>
#include <exception>

namespace {

// A title bar over an embedded dialog, since embedded windows lose their own.
QWidget* Framed(QWidget* parent, QWidget* content, const QString& title, QPoint at) {
    auto* frame = new QWidget(parent);
    auto* bar = new QLabel(QStringLiteral(" ") + title, frame);
    bar->setAutoFillBackground(true);
    QPalette pal = bar->palette();
    pal.setColor(QPalette::Window, QColor(0, 0, 128));
    pal.setColor(QPalette::WindowText, Qt::white);
    bar->setPalette(pal);
    QFont f = bar->font();
    f.setBold(true);
    bar->setFont(f);
    content->setParent(frame, Qt::Widget);
    QSize size = content->size().expandedTo(content->minimumSize());
    bar->setGeometry(0, 0, std::max(size.width(), bar->sizeHint().width() + 8), 20);
    content->setGeometry(0, 20, size.width(), size.height());
    frame->setGeometry(at.x(), at.y(), std::max(size.width(), bar->width()), size.height() + 20);
    content->show();
    frame->show();
    return frame;
}

// A real one-ticker list, so the save dialog's signature check has something to pass.
void WriteTagList(const QString& path) {
    hostdb::TagListFile list;
    list.AddTicker(path.toStdString(), "IBM", 0);
    try {
        list.Write();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
    }
}

void WriteText(const QString& path, const QByteArray& text) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(text);
}

} // namespace

int main(int argc, char** argv) {
    ui::ZoltApplication app(argc, argv);
    // As the programs do: the date edits write dates the way the host's WIN.INI says.
    ui::DateEditFormat::SetDefault(
        ui::DateEditFormat::FromWinIni(platform::Directories::FromEnvironment().windows));
    QApplication::setApplicationDisplayName(QStringLiteral("ZOLT (32-bit)"));
    QString screenshot;
    QStringList args = QCoreApplication::arguments();
    int at = static_cast<int>(args.indexOf(QStringLiteral("--screenshot")));
    if (at >= 0 && at + 1 < args.size()) screenshot = args[at + 1];

    QTemporaryDir tagDir, settingsDir;
    for (const char* name : {"ZOLT", "BREAKOUT", "GAPS", "NEWHIGHS"})
        WriteTagList(tagDir.filePath(QString::fromLatin1(name) + QStringLiteral(".LIS")));
    WriteText(tagDir.filePath(QStringLiteral("NOTALIST.LIS")), "not a tag list");
    for (const char* name : {"DEFAULT", "GROWTH", "MOMENTUM", "VOLSPIKE"})
        WriteText(settingsDir.filePath(QString::fromLatin1(name) + QStringLiteral(".VNI")),
                  "[Filter]\r\n");

    QWidget window;
    window.setWindowTitle(QStringLiteral("Shared widgets"));
    window.setFixedSize(1600, 1000);

    // The fatal error notice, across the top quarter of this "screen".
    ui::FatalErrorHandler fatal;
    fatal.PrepareNotice();
    fatal.NoticeWindow()->setParent(&window, Qt::Widget);
    fatal.LayoutNotice(QRect(0, 0, 1600, 1000));

    const int row1 = 262, row2 = 640;

    auto* save = new ui::SaveNamedFileDialog;
    save->setWindowTitle(QStringLiteral("ZOLT TagList Name"));
    save->SetKindWord(QStringLiteral("TagList"));
    save->Directory = tagDir.path().toStdString();
    save->Extension = QStringLiteral(".LIS");
    save->DefaultName = QStringLiteral("ZOLT");
    save->SignatureCheck = true;
    save->HelpContext = 1001;
    save->FillList();
    Framed(&window, save, QStringLiteral("ZOLT TagList Name (SaveNamedFileDialog)"), {12, row1});

    auto* load = new ui::LoadNamedFileDialog;
    load->SetKindWord(QStringLiteral("settings file"));
    load->Directory = settingsDir.path().toStdString();
    load->Extension = QStringLiteral(".VNI");
    load->HelpContext = 1020;
    load->FillList();
    Framed(&window, load, QStringLiteral("Load Zolt Settings (LoadNamedFileDialog)"), {300, row1});

    auto* splash = new ui::SplashWindow(
        ui::MakeProductPicture(QStringLiteral("ZOLT"), QStringLiteral("Volume/price screener")),
        &window);
    Framed(&window, splash, QStringLiteral("SplashWindow"), {594, row1});

    ui::AboutBox about;
    about.Caption = QStringLiteral("About ZOLT");
    about.AppTitle = QStringLiteral("ZOLT for Windows (32-bit)");
    about.Version = QStringLiteral("0.1");
    about.Prepare();
    Framed(&window, about.AboutWindow(), QStringLiteral("About ZOLT (AboutBox)"), {944, row1});
    about.PrepareSystemInfo();
    Framed(&window, about.SystemInfoWindow(), QStringLiteral("System Info"), {1300, row1});

    // The numeric edits.
    auto* numbers = new QGroupBox(QStringLiteral("Numeric edits"), &window);
    numbers->setGeometry(12, row2, 420, 230);
    auto* form = new QFormLayout(numbers);
    auto* price = new ui::RealEdit;
    price->SetAlignment(ui::EditAlignment::taRightJustify);
    price->MinValue = 0;
    price->MaxValue = 9999;
    price->SetFormatString(QStringLiteral("##0.00"));
    price->SetValue(12.5);
    form->addRow(QStringLiteral("RealEdit \"##0.00\", right:"), price);
    auto* percent = new ui::RealEdit;
    percent->SetValidate(false);
    percent->SetFormatString(QStringLiteral("#0.0"));
    percent->SetValue(-3.25);
    form->addRow(QStringLiteral("RealEdit \"#0.0\":"), percent);
    auto* days = new ui::IntegerEdit;
    days->SetMinValue(0);
    days->SetMaxValue(999);
    days->SetSpin(true);
    days->SetValue(1200);
    form->addRow(QStringLiteral("IntegerEdit, spin, 0..999:"), days);
    auto* volume = new ui::CardinalEdit;
    volume->SetFormatString(QStringLiteral("#0"));
    volume->SetValue(-3);
    form->addRow(QStringLiteral("CardinalEdit (-3 given):"), volume);
    auto* centred = new ui::AlignEdit;
    centred->SetAlignment(ui::EditAlignment::taCenter);
    centred->setText(QStringLiteral("centred text"));
    form->addRow(QStringLiteral("AlignEdit, centred:"), centred);

    // The date edit and its popup calendar, with the weekdays of the page as valid dates.
    auto* dates = new QGroupBox(QStringLiteral("DateEdit and CalendarPopup"), &window);
    dates->setGeometry(450, row2, 300, 300);
    auto* dateEdit = new ui::DateEdit(dates);
    dateEdit->setGeometry(12, 28, 140, 24);
    dateEdit->ValidDateColor = QColor(0, 0, 200);
    QObject::connect(dateEdit, &ui::DateEdit::calendarPageChanged, dateEdit, [dateEdit] {
        dateEdit->ClearValidDates();
        int days = hostdb::DaysInMonth(dateEdit->PageYear, dateEdit->PageMonth());
        for (int d = 1; d <= days; ++d) {
            hostdb::DateTimeValue v =
                hostdb::EncodeDate(dateEdit->PageYear, dateEdit->PageMonth(), d);
            int wd = hostdb::DayOfWeekSunday(v);
            if (wd != 0 && wd != 6) dateEdit->AddValidDate(v);
        }
    });
    window.show();
    QCoreApplication::processEvents(); // sizes the date edit: its date becomes today
    auto* calendar = new ui::CalendarPopup(dateEdit, dates);
    calendar->setWindowFlags(Qt::Widget);
    calendar->move(12, 60);
    calendar->show();
    auto* note =
        new QLabel(QStringLiteral("Valid dates (weekdays) in blue;\nMaxDate = today."), dates);
    note->setGeometry(12, 64 + calendar->height(), 270, 36);

    // The standard error box of the fatal error handler.
    QMessageBox errorBox(QMessageBox::Critical, QStringLiteral("ZOLT (32-bit)"),
                         QStringLiteral("Division by zero."), QMessageBox::Ok);
    errorBox.setWindowFlags(Qt::Widget);
    errorBox.adjustSize();
    Framed(&window, &errorBox, QStringLiteral("Error box (FatalErrorHandler)"), {770, row2});

    // The single-instance guard has nothing to show but its state.
    QString guardTitle = QStringLiteral("ZOLT gallery %1").arg(QCoreApplication::applicationPid());
    ui::SingleInstanceGuard guard(&window, guardTitle);
    auto* guardLabel = new QLabel(&window);
    guardLabel->setText(QStringLiteral("SingleInstanceGuard: %1\nsocket %2")
                            .arg(guard.IsListening() ? QStringLiteral("first copy, listening")
                                                     : QStringLiteral("not listening"),
                                 ui::SingleInstanceGuard::ServerName(
                                     guardTitle, ui::SingleInstanceGuard::CurrentDisplay())));
    guardLabel->setGeometry(770, row2 + 180, 400, 40);

    note->show();
    guardLabel->show();
    if (!screenshot.isEmpty()) {
        QTimer::singleShot(300, &window, [&] {
            bool ok = window.grab().save(screenshot);
            std::fprintf(stderr, ok ? "saved %s\n" : "could not save %s\n",
                         screenshot.toLocal8Bit().constData());
            QCoreApplication::exit(ok ? 0 : 1);
        });
    }
    return app.exec();
}
