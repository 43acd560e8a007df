// The Load and Save buttons of both programs' settings dialogs: the file named in the named-file
// dialogs, read or written by the caller, and a file that cannot be read or written refused with
// its reason, the dialog and the last settings file left as they were.
#pragma once

#include "ui/FileNameText.h"

#include <QString>
#include <filesystem>
#include <functional>
#include <string>

class QWidget;

namespace ui {

struct SettingsFileKind {
    QString program;        // in the captions: "Load <program> Settings"
    QString extension;      // ".VNI"
    int loadHelp, saveHelp; // help contexts of the two named-file dialogs
};

// Asks for a file to load; `read` reads the named file and gives why it could not (empty when
// it could). True with `name` the file read; false when nothing was chosen or it was refused.
bool LoadSettingsFile(QWidget* dialog, const SettingsFileKind& kind,
                      const std::filesystem::path& directory, QString& name,
                      const std::function<std::string(const std::string& name)>& read);

// For a dialog's first settings: a last settings file that exists but cannot be read is named
// with its reason over `parent`, and `name` is cleared, so that no caption shows it over the
// defaults. A missing file is not reported: the defaults are what it gives.
void ForgetUnreadableSettingsFile(QWidget* parent, std::string& name, const std::string& problem);

// Asks for the name to save under, starting from `name`, centred over `centreOver`; `write`
// writes the named file and throws std::exception when it cannot. True with `name` the file
// written.
bool SaveSettingsFile(QWidget* dialog, QWidget* centreOver, const SettingsFileKind& kind,
                      const std::filesystem::path& directory, QString& name,
                      const std::function<void(const std::string& name)>& write);

} // namespace ui
