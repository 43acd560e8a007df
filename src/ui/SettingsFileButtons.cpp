#include "ui/SettingsFileButtons.h"

#include "platform/Profile.h"
#include "ui/Hooks.h"
#include "ui/NamedFileDialogs.h"

#include <exception>

namespace ui {

namespace {

QString Sentence(QString text) {
    if (!text.endsWith('.')) text += '.';
    return text;
}

} // namespace

bool LoadSettingsFile(QWidget* dialog, const SettingsFileKind& kind,
                      const std::filesystem::path& directory, QString& name,
                      const std::function<std::string(const std::string& name)>& read) {
    QString chosen;
    if (!ExecuteLoad("Load " + kind.program + " Settings", "settings file", directory,
                     kind.extension, kind.loadHelp, false, chosen))
        return false;
    // A chosen file that cannot be read would otherwise replace the settings with defaults.
    const std::string problem = read(FileNameBytes(chosen));
    if (!problem.empty()) {
        ShowMessage(dialog, BoxKind::Error,
                    "The settings file " + chosen +
                        " could not be read: " + Sentence(QString::fromStdString(problem)));
        return false;
    }
    name = chosen;
    return true;
}

void ForgetUnreadableSettingsFile(QWidget* parent, std::string& name, const std::string& problem) {
    if (problem.empty() || problem == platform::MissingFileReason) return;
    ShowMessage(parent, BoxKind::Error,
                "The settings file " + FileNameText(name) + " could not be read: " +
                    Sentence(QString::fromStdString(problem)) + " The default settings are used.");
    name.clear();
}

bool SaveSettingsFile(QWidget* dialog, QWidget* centreOver, const SettingsFileKind& kind,
                      const std::filesystem::path& directory, QString& name,
                      const std::function<void(const std::string& name)>& write) {
    QString chosen = name;
    if (!ExecuteSave("Save " + kind.program + " Settings", "settings file", directory, "",
                     kind.extension, kind.saveHelp, false, centreOver, chosen))
        return false;
    try {
        write(FileNameBytes(chosen));
    } catch (const std::exception& e) {
        ShowMessage(dialog, BoxKind::Error, Sentence(QString::fromLocal8Bit(e.what())));
        return false;
    }
    name = chosen;
    return true;
}

} // namespace ui
