// The start of both windowed programs: their global options, the application with its fatal
// error handler and splash, then the single-instance check, the host check and the message loop.
#pragma once

#include "hostdb/ProgramOptions.h"
#include "hostlink/HostLink.h"

#include <QApplication>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QMainWindow;
class QWidget;

namespace ui {

class FatalErrorHandler;

// The application object of both programs: every event handler runs inside notify(), so an
// exception escaping one is caught here and handed to the installed error handler.
class ZoltApplication : public QApplication {
    Q_OBJECT
public:
    using ErrorHandler = std::function<void(QObject* sender, const QString& message)>;

    ZoltApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // The application's handler of unhandled errors, dropped when its owner is destroyed;
    // without one, errors propagate as they are.
    void SetOnException(ErrorHandler handler, QObject* owner = nullptr);
    bool HasOnException() const;

    static ZoltApplication* Instance();

private:
    ErrorHandler onException_;
    QPointer<QObject> owner_;
    bool owned_ = false;
};

// What a main window starts with: the program's places, the system's locale, and its link to
// the host (null: made on first use through the Wine bridge).
struct MainSetup : hostdb::ProgramPlaces {
    std::shared_ptr<hostlink::HostLink> link;
};

// The setup from the global options over the environment's defaults, with the system's locale;
// `rest` gets the arguments after the options. False with the message.
bool MainSetupFromArguments(const std::vector<std::string>& args, MainSetup& setup,
                            std::vector<std::string>& rest, std::string& error);

// The host's warnings on stderr, one line each after the application's name, and as one text
// for a window: the first, with how many more follow.
QString ReportHostWarnings(const std::vector<std::string>& warnings);

// What sets one program apart at its start.
struct ProgramFacts {
    QString name;             // the command and application name, "ZoltW"
    QString displayTitle;     // the application's title, which also keys the single instance
    QString boxTitle;         // the title of the box that says the host was not found
    QString product, tagline; // the splash picture's two lines
    QStringList fatalInstructions;
    QString summary; // what the program does, in one line, for --help
    QString version; // the program's own, as its about box shows it
};

// The application's name and the program's title, which captions the error boxes and keys the
// single instance; the windows' captions stay their own.
void NameProgram(const ProgramFacts& facts);

// The steps before a program's main window exists. --help and --version are answered on stdout
// and a mistake in the options on stderr, before any display is opened; the program then ends
// with status 0 or 2.
class ProgramStartup {
public:
    ProgramStartup(int& argc, char** argv, const ProgramFacts& facts);
    ~ProgramStartup();
    ProgramStartup(const ProgramStartup&) = delete;
    ProgramStartup& operator=(const ProgramStartup&) = delete;

    // False when the program must end at once with ExitStatus().
    bool Started() const { return app_ != nullptr; }
    int ExitStatus() const { return status_; }
    MainSetup& Setup() { return setup_; }

    struct HostCheck {
        bool found = false;
        std::string error, reason;
    };
    // Ends a second copy on this display (status 0) after raising the first; shows the host's
    // absence in a box (status 1); else shows the window and runs the message loop.
    int Run(QMainWindow& window, const HostCheck& host);

private:
    ProgramFacts facts_;
    MainSetup setup_;
    int status_ = 0;
    std::unique_ptr<ZoltApplication> app_;
    QPointer<QWidget> splash_;
    std::unique_ptr<FatalErrorHandler> fatal_;
};

} // namespace ui
