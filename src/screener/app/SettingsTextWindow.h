// The settings window: the plain-English description of the filter behind the results shown,
// built anew each time it is shown.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QPlainTextEdit;
class QPushButton;

namespace zoltw {

class SettingsTextWindow : public QDialog {
    Q_OBJECT
public:
    // `lines` builds the text when the window is shown.
    SettingsTextWindow(std::function<std::vector<std::string>()> lines, QWidget* parent);

    QPlainTextEdit* memShowSettings;
    QPushButton* btnOK;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    std::function<std::vector<std::string>()> lines_;
};

} // namespace zoltw
