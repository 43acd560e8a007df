// Zimra, the line-crossing finder: what sets its start apart from ZoltW's, then its main window.
#include "finder/app/FinderWindow.h"
#include "ui/ProgramStartup.h"

int main(int argc, char** argv) {
    ui::ProgramStartup start(
        argc, argv,
        {"Zimra",
         zimra::ApplicationTitle,
         zimra::WindowCaption,
         "ZimRA",
         "Find ZimRAs",
         {"An error has occurred that ZimRA cannot recover from.",
          "Please write down the message shown below, what you were doing",
          "when it appeared, and the settings you were using.",
          "Then report it, with those notes, so that it can be put right.",
          "Your settings files and tag lists are not changed by this.",
          "Settings changed since ZimRA was started are not saved.",
          " Click OK in the error box below to exit."},
         "The line-crossing finder of a QEL market database: the tickers whose close crossed one "
         "of twelve chart lines, optionally checked against expert ratings.",
         QString::asprintf("%.2f", zimra::ProgramVersion)});
    if (!start.Started()) return start.ExitStatus();
    zimra::FinderWindow window(std::move(start.Setup()));
    return start.Run(window, {window.HostFound(), window.HostError(), window.HostReason()});
}
