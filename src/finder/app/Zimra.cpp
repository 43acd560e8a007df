// Zimra, the line-crossing finder: the splash, the application title, the main window with the
// single-instance check, then the message loop.
#include "cli/Zolt.h"
#include "finder/app/FinderWindow.h"
#include "platform/Locale.h"
#include "ui/FatalErrorHandler.h"
#include "ui/SingleInstance.h"
#include "ui/SplashWindow.h"

#include <QMessageBox>
#include <iostream>

int main(int argc, char** argv) {
    // The command line's global options, read before a display is opened.
    cli::ProgramPlaces places;
    std::vector<std::string> rest;
    std::string error;
    if (!cli::ProgramPlacesFromArguments(std::vector<std::string>(argv + 1, argv + argc), places,
                                         rest, error) ||
        !rest.empty()) {
        if (error.empty()) error = "unexpected argument " + rest.front();
        std::cerr << "Zimra: " << error
                  << " (usage: Zimra [--windows-dir DIR] [--now \"YYYY-MM-DD HH:MM\"] "
                     "[--program-dir DIR])\n";
        return 2;
    }
    std::error_code ec; // a missing program directory is made by its first writer
    std::filesystem::create_directories(places.programDir, ec);
    zimra::MainSetup setup{places.env, places.programDir, places.ownSettings, nullptr};
    setup.env.locale = platform::SystemLocale();

    ui::ZoltApplication app(argc, argv);
    auto splash = ui::ShowSplash(ui::MakeProductPicture("ZimRA", "Find ZimRAs"));
    QApplication::setApplicationDisplayName(zimra::ApplicationTitle);
    QApplication::setApplicationName("Zimra");
    ui::FatalErrorHandler handleExcepts;
    handleExcepts.SetInstructions({"An error has occurred that ZimRA cannot recover from.",
                                   "Please write down the message shown below, what you were doing",
                                   "when it appeared, and the settings you were using.",
                                   "Then report it, with those notes, so that it can be put right.",
                                   "Your settings files and tag lists are not changed by this.",
                                   "Settings changed since ZimRA was started are not saved.",
                                   " Click OK in the error box below to exit."});
    handleExcepts.Install();

    zimra::FinderWindow form1(std::move(setup));
    ui::SingleInstanceGuard justOne(&form1);
    if (!justOne.IsFirstCopy()) return 0;
    if (!form1.HostFound()) {
        if (splash) splash->close();
        QMessageBox box(QMessageBox::Critical, zimra::WindowCaption,
                        QString::fromStdString(form1.HostError()), QMessageBox::Abort);
        box.setInformativeText(QString::fromStdString(form1.HostReason()));
        box.exec();
        return 1;
    }
    form1.show();
    return app.exec();
}
