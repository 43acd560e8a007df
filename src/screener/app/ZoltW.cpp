// ZoltW, the screener: the splash, the application title, the main window with the
// single-instance check, then the message loop.
#include "cli/Zolt.h"
#include "platform/Locale.h"
#include "screener/app/Mainform.h"
#include "ui/Just1w32.h"
#include "ui/SplashFm.h"
#include "ui/YvDExcpt.h"

#include <QMessageBox>
#include <iostream>

int main(int argc, char** argv) {
    ui::ZoltApplication app(argc, argv);
    auto splash = ui::ShowSplash(ui::MakeProductPicture("ZOLT", "for Windows (32-bit)"));
    QApplication::setApplicationDisplayName(zoltw::ProgramTitle);
    QApplication::setApplicationName("ZoltW");

    // The command line's global options, so that one host installation can be chosen.
    zoltw::MainSetup setup;
    setup.env.dirs = platform::Directories::FromEnvironment();
    setup.env.locale = platform::SystemLocale();
    setup.env.now = hostdb::LocalNow();
    setup.programDir = setup.env.dirs.program;
    std::vector<std::string> args(argv + 1, argv + argc);
    std::size_t i = 0;
    std::string error;
    if (!cli::ParseGlobalOptions(args, i, setup.env, setup.programDir, error) || i != args.size()) {
        if (error.empty()) error = "unexpected argument " + args[i];
        std::cerr << "ZoltW: " << error
                  << " (usage: ZoltW [--windows-dir DIR] [--now \"YYYY-MM-DD HH:MM\"] "
                     "[--program-dir DIR])\n";
        return 2;
    }
    std::filesystem::create_directories(setup.programDir);
    setup.ownSettings =
        platform::Directories::FileInDirectory(setup.env.dirs.settings, "OstravlR.Ini");

    ui::TYvDefaultException handleExcepts;
    handleExcepts.SetInstructions(
        {"An error has occurred that ZOLT cannot recover from.",
         "Please write down the message shown below, what you were doing",
         "when it appeared, and the data set and settings you were using.",
         "Then report it, with those notes, so that it can be put right.",
         "Your data sets, settings files and tag lists are not changed by this.",
         "Settings changed since ZOLT was started are not saved.",
         " Click OK in the error box below to exit."});
    handleExcepts.Install();

    zoltw::TfrmMain frmMain(std::move(setup));
    ui::TJustOne32 justOne(&frmMain);
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
