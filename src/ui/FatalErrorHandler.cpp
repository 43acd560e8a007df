#include "ui/FatalErrorHandler.h"

#include "ui/Hooks.h"
#include "ui/ProgramStartup.h"

#include <QPlainTextEdit>
#include <QScreen>
#include <exception>

namespace ui {

FatalErrorHandler::FatalErrorHandler(QObject* owner)
    : QObject(owner), instructions_{
                          QStringLiteral(
                              "An unexpected error has occurred. Please write down the error "
                              "message shown below and report it to Ostravl Software:"),
                          QStringLiteral("    Telephone: (555) 014-2290"),
                          QStringLiteral("    Fax: (555) 014-2291"),
                          QStringLiteral("    E-mail: support@ostravl.example"),
                          QStringLiteral(" "),
                          QStringLiteral("Click OK to exit."),
                      } {
    notice_ = new QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint);
    notice_->setObjectName(QStringLiteral("YvNoticeWindow"));
    QPalette pal = notice_->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        pal.setColor(group, QPalette::Window, Qt::white);
        pal.setColor(group, QPalette::Base, Qt::white);
        // The memo is disabled so that it takes no caret, but its text must stay legible.
        pal.setColor(group, QPalette::Text, Qt::black);
        pal.setColor(group, QPalette::WindowText, Qt::black);
    }
    notice_->setPalette(pal);
    notice_->setAutoFillBackground(true);
    QFont font(QStringLiteral("Arial"), 10);
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    notice_->setFont(font);
    memo_ = new QPlainTextEdit(notice_);
    memo_->setFrameShape(QFrame::NoFrame);
    memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo_->setReadOnly(true);
    memo_->setEnabled(false);
    memo_->setPalette(pal);
    if (QScreen* screen = QGuiApplication::primaryScreen()) LayoutNotice(screen->geometry());
}

FatalErrorHandler::~FatalErrorHandler() { delete notice_.data(); }

void FatalErrorHandler::Install() {
    ZoltApplication* app = ZoltApplication::Instance();
    if (!app) return;
    app->SetOnException(
        [this](QObject* sender, const QString& message) { HandleException(sender, message); },
        this);
}

void FatalErrorHandler::LayoutNotice(const QRect& screen) {
    int sw = screen.width(), sh = screen.height();
    if (notice_->isWindow())
        notice_->setGeometry(screen.x(), screen.y(), sw, sh / 4);
    else
        notice_->setGeometry(0, 0, sw, sh / 4);
    memo_->setGeometry(sw / 10, 4, sw * 4 / 5, sh / 5);
}

void FatalErrorHandler::PrepareNotice() {
    notice_->setWindowTitle(Caption);
    memo_->setPlainText(instructions_.join(QLatin1Char('\n')));
}

void FatalErrorHandler::HandleException(QObject*, const QString& message) {
    // A second error while the first is on the screen adds nothing: the program is ending.
    if (handling_) return;
    handling_ = true;
    Beep();
    PrepareNotice();
    if (QScreen* screen = QGuiApplication::primaryScreen()) LayoutNotice(screen->geometry());
    notice_->show();
    notice_->raise();
    notice_->repaint();
    QCoreApplication::processEvents();
    ShowMessage(nullptr, BoxKind::Error, message, QMessageBox::Ok);
    handling_ = false;
    EndProgram(1);
}

} // namespace ui
