// The about box: the program's title, version, notice and the maker's lines, and a window
// with the computer's operating system, processor and memory.
#pragma once

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <array>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace ui {

class BevelPanel;
class BevelLine;

// Sizes of the about box scale with the width and height of "Abcde fghijk" in its font, 60 and
// 14 pixels at the design resolution.
struct AboutMetrics {
    int w = 60, h = 14;
    int W(int x) const { return (w * x + 59) / 60; }
    int H(int y) const { return (h * y + 13) / 14; }
};

class AboutBox : public QObject {
    Q_OBJECT
public:
    explicit AboutBox(QObject* owner = nullptr);
    ~AboutBox() override;
    AboutBox(const AboutBox&) = delete;
    AboutBox& operator=(const AboutBox&) = delete;

    QString Caption = QStringLiteral("About");
    QString AppTitle = QStringLiteral("App Title");
    QString Version = QStringLiteral("version");
    QString Copyright;
    QStringList MainText;
    QStringList WarningText;

    // Fills the about window and shows it modally.
    void Execute();
    // Fills the about window without showing it.
    void Prepare();
    // Fills the system-information window with this machine's lines.
    void PrepareSystemInfo();
    void SetSystemInfoLines(const std::array<std::string, 4>& lines);

    QDialog* AboutWindow() const { return about_; }
    QDialog* SystemInfoWindow() const { return info_; }
    const AboutMetrics& Metrics() const { return metrics_; }

    QLabel* TitleLabel;
    QLabel* VersionLabel;
    QLabel* NoticeLabel;
    BevelPanel* IconBevel;
    QLabel* IconImage;
    QPlainTextEdit* MainMemo;
    BevelLine* Line;
    QPushButton* OKButton;
    QPushButton* SystemInfoButton;
    QPlainTextEdit* WarningMemo;
    std::array<QLabel*, 4> InfoLabels;
    QPushButton* InfoOKButton;

private:
    void BuildAbout();
    void BuildSystemInfo();
    void LayOutAbout();
    void LayOutSystemInfo();
    void SystemInfoClick();

    AboutMetrics metrics_;
    QPointer<QDialog> about_;
    QPointer<QDialog> info_;
};

} // namespace ui
