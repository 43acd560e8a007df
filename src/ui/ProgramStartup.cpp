#include "ui/ProgramStartup.h"

#include "platform/Locale.h"
#include "ui/FatalErrorHandler.h"
#include "ui/Hooks.h"
#include "ui/SingleInstance.h"
#include "ui/SplashWindow.h"

#include <QCommandLineParser>
#include <QMainWindow>
#include <QMessageBox>
#include <iostream>

namespace ui {

ZoltApplication::ZoltApplication(int& argc, char** argv) : QApplication(argc, argv) {}

ZoltApplication* ZoltApplication::Instance() {
    return qobject_cast<ZoltApplication*>(QCoreApplication::instance());
}

void ZoltApplication::SetOnException(ErrorHandler handler, QObject* owner) {
    onException_ = std::move(handler);
    owner_ = owner;
    owned_ = owner != nullptr;
}

bool ZoltApplication::HasOnException() const { return onException_ && (!owned_ || owner_); }

bool ZoltApplication::notify(QObject* receiver, QEvent* event) {
    if (!HasOnException()) return QApplication::notify(receiver, event);
    QString message;
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        message = QString::fromLocal8Bit(e.what());
        if (message.isEmpty()) message = QStringLiteral("Unexpected error");
    } catch (...) {
        message = QStringLiteral("Unknown error");
    }
    // Copied, so that a handler replacing itself cannot pull the function from under the call.
    ErrorHandler handler = onException_;
    handler(receiver, message);
    return false;
}

bool MainSetupFromArguments(const std::vector<std::string>& args, MainSetup& setup,
                            std::vector<std::string>& rest, std::string& error) {
    hostdb::ProgramPlaces& places = setup;
    if (!hostdb::ProgramPlacesFromArguments(args, places, rest, error)) return false;
    setup.env.locale = platform::SystemLocale();
    return true;
}

QString ReportHostWarnings(const std::vector<std::string>& warnings) {
    for (const std::string& w : warnings)
        std::cerr << QCoreApplication::applicationName().toStdString() << ": warning: " << w
                  << "\n";
    if (warnings.empty()) return {};
    QString text = QString::fromStdString(warnings.front());
    if (warnings.size() > 1)
        text += QStringLiteral(" (and %1 more warnings on stderr)").arg(warnings.size() - 1);
    return text;
}

void NameProgram(const ProgramFacts& facts) {
    SetProgramTitle(facts.displayTitle);
    QApplication::setApplicationName(facts.name);
}

ProgramStartup::ProgramStartup(int& argc, char** argv, const ProgramFacts& facts) : facts_(facts) {
    // Read before a display is opened, so that a mistake is reported also where none can be.
    QCoreApplication::setApplicationName(facts.name);
    QCommandLineParser parser;
    parser.setApplicationDescription(facts.summary);
    const QCommandLineOption help({"h", "help"}, "Print this help and exit.");
    const QCommandLineOption version("version", "Print the version and exit.");
    const QCommandLineOption windowsDir(
        "windows-dir",
        "The host's Windows directory; PREFIX/drive_c/windows also takes its drives from PREFIX "
        "(default: $WINEPREFIX/drive_c/windows, else ~/.wine/drive_c/windows).",
        "DIR");
    const QCommandLineOption now(
        "now", "The clock, from 1980-01-02 to 2069-09-16 (default: the system's).",
        "\"YYYY-MM-DD HH:MM\"");
    const QCommandLineOption programDir(
        "program-dir",
        "Where data sets and settings files live (default: $XDG_DATA_HOME/zolt for an installed "
        "program, else beside the executable).",
        "DIR");
    parser.addOptions({help, version, windowsDir, now, programDir});
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    std::string error;
    if (parser.parse(arguments) && parser.isSet(help)) {
        // Without an application object yet, Qt cannot name the program itself.
        std::cout << parser.helpText()
                         .replace(QStringLiteral("<executable_name>"), facts.name)
                         .toStdString();
        return; // status 0
    }
    if (parser.errorText().isEmpty() && parser.isSet(version)) {
        std::cout << facts.name.toStdString() << " " << facts.version.toStdString() << " (zolt "
                  << ZOLT_VERSION << ")\n";
        return;
    }
    static_cast<hostdb::ProgramPlaces&>(setup_) = hostdb::DefaultProgramPlaces();
    if (!parser.errorText().isEmpty()) {
        error = parser.errorText().toStdString();
    } else if (!parser.positionalArguments().isEmpty()) {
        error = "unexpected argument " + parser.positionalArguments().front().toStdString();
    } else {
        for (const QCommandLineOption* o : {&windowsDir, &now, &programDir})
            for (const QString& value : parser.values(*o))
                if (error.empty() && !hostdb::ApplyGlobalOption(
                                         "--" + o->names().front().toStdString(),
                                         value.toStdString(), setup_.env, setup_.programDir, error))
                    break;
    }
    if (!error.empty()) {
        std::cerr << facts.name.toStdString() << ": " << error << "\nRun '"
                  << facts.name.toStdString() << " --help' for the options.\n";
        status_ = 2;
        return;
    }
    setup_.env.locale = platform::SystemLocale();
    std::error_code ec; // a missing program directory is made by its first writer
    std::filesystem::create_directories(setup_.programDir, ec);

    app_ = std::make_unique<ZoltApplication>(argc, argv);
    splash_ = ShowSplash(MakeProductPicture(facts.product, facts.tagline));
    NameProgram(facts);
    fatal_ = std::make_unique<FatalErrorHandler>();
    fatal_->SetInstructions(facts.fatalInstructions);
    fatal_->Install();
}

ProgramStartup::~ProgramStartup() = default;

int ProgramStartup::Run(QMainWindow& window, const HostCheck& host) {
    SingleInstanceGuard justOne(&window);
    if (!justOne.IsFirstCopy()) return 0;
    if (!host.found) {
        if (splash_) splash_->close();
        QMessageBox box(QMessageBox::Critical, facts_.boxTitle, QString::fromStdString(host.error),
                        QMessageBox::Abort);
        box.setInformativeText(QString::fromStdString(host.reason));
        box.exec();
        return 1;
    }
    window.show();
    return app_->exec();
}

} // namespace ui
