#include "screener/app/SettingsTextWindow.h"

#include "grid/view/ScreenerCell.h"
#include "ui/WindowCentering.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

namespace zoltw {

SettingsTextWindow::SettingsTextWindow(std::function<std::vector<std::string>()> lines,
                                       QWidget* parent)
    : QDialog(parent), lines_(std::move(lines)) {
    setWindowTitle("ZOLT Settings");
    resize(600, 304);
    setProperty("helpContext", 1033);
    memShowSettings = new QPlainTextEdit(this);
    memShowSettings->setReadOnly(true);
    memShowSettings->setFrameStyle(QFrame::NoFrame);
    memShowSettings->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memShowSettings->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont arial("Arial");
    arial.setPixelSize(13);
    memShowSettings->setFont(arial);
    btnOK = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), "OK", this);
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
}

void SettingsTextWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ui::CenterOver(this, parentWidget());
    memShowSettings->clear();
    for (const std::string& line : lines_())
        memShowSettings->appendPlainText(gridview::CellText(line));
    memShowSettings->moveCursor(QTextCursor::Start);
}

void SettingsTextWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    memShowSettings->setGeometry(0, 0, width(), height() - 71);
    btnOK->setGeometry(width() - 112, height() - 62, 97, 30);
}

} // namespace zoltw
