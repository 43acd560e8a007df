// ZoltW, the screener: the splash, the application title, the main window with the
// single-instance check, then the message loop.
#include "screener/app/ScreenerWindow.h"
#include "ui/FatalErrorHandler.h"
#include "ui/SingleInstance.h"
#include "ui/SplashWindow.h"

#include <QMessageBox>
#include <iostream>

int main(int argc, char** argv) {
    // The command line's global options, so that one host installation can be chosen; read
    // first, so that a mistake is reported also where no display can be opened.
    zoltw::MainSetup setup;
    std::vector<std::string> rest;
    std::string error;
    if (!zoltw::SetupFromArguments(std::vector<std::string>(argv + 1, argv + argc), setup, rest,
                                   error) ||
        !rest.empty()) {
        if (error.empty()) error = "unexpected argument " + rest.front();
        std::cerr << "ZoltW: " << error
                  << " (usage: ZoltW [--windows-dir DIR] [--now \"YYYY-MM-DD HH:MM\"] "
                     "[--program-dir DIR])\n";
        return 2;
    }
    std::error_code ec; // a missing program directory is made by its first writer
    std::filesystem::create_directories(setup.programDir, ec);

    ui::ZoltApplication app(argc, argv);
    auto splash = ui::ShowSplash(ui::MakeProductPicture("ZOLT", "for Windows (32-bit)"));
    QApplication::setApplicationDisplayName(zoltw::ProgramTitle);
    QApplication::setApplicationName("ZoltW");

    ui::FatalErrorHandler handleExcepts;
    handleExcepts.SetInstructions(
        {"An error has occurred that ZOLT cannot recover from.",
         "Please write down the message shown below, what you were doing",
         "when it appeared, and the data set and settings you were using.",
         "Then report it, with those notes, so that it can be put right.",
         "Your data sets, settings files and tag lists are not changed by this.",
         "Settings changed since ZOLT was started are not saved.",
         " Click OK in the error box below to exit."});
    handleExcepts.Install();

    zoltw::ScreenerWindow frmMain(std::move(setup));
    ui::SingleInstanceGuard justOne(&frmMain);
    if (!justOne.IsFirstCopy()) return 0;
    if (!frmMain.HostFound()) {
        if (splash) splash->close();
        QMessageBox box(QMessageBox::Critical, zoltw::ProgramTitle,
                        QString::fromStdString(frmMain.HostError()), QMessageBox::Abort);
        box.setInformativeText(QString::fromStdString(frmMain.HostReason()));
        box.exec();
        return 1;
    }
    frmMain.show();
    return app.exec();
}
