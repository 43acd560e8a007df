// ZoltW, the screener: what sets its start apart from Zimra's, then its main window.
#include "screener/app/ScreenerWindow.h"
#include "ui/ProgramStartup.h"

int main(int argc, char** argv) {
    ui::ProgramStartup start(
        argc, argv,
        {"ZoltW",
         zoltw::ProgramTitle,
         zoltw::ProgramTitle,
         "ZOLT",
         "for Windows (32-bit)",
         {"An error has occurred that ZOLT cannot recover from.",
          "Please write down the message shown below, what you were doing",
          "when it appeared, and the data set and settings you were using.",
          "Then report it, with those notes, so that it can be put right.",
          "Your data sets, settings files and tag lists are not changed by this.",
          "Settings changed since ZOLT was started are not saved.",
          " Click OK in the error box below to exit."},
         "The volume and price screener of a QEL market database: a digest of every ticker for a "
         "date, filtered, shown, evaluated, printed and handed back to QEL.",
         QString::asprintf("%.2f", zoltw::ProgramVersion)});
    if (!start.Started()) return start.ExitStatus();
    zoltw::ScreenerWindow window(std::move(start.Setup()));
    return start.Run(window, {window.HostFound(), window.HostError(), window.HostReason()});
}
