#include "ui/SingleInstance.h"

#include "ui/Hooks.h"

#include <QCryptographicHash>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QTimer>
#include <QWidget>
#include <unistd.h>

namespace ui {

namespace {

const QByteArray Request = "raise\n";
const QByteArray Answer = "raised\n";

// Runs the event loop until done() holds or the time is up; the first copy may live in this
// very thread (tests), so the wait must not block it.
template <typename Done> bool WaitFor(QLocalSocket& socket, int ms, Done done) {
    if (done()) return true;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    auto check = [&] {
        if (done()) loop.quit();
    };
    QObject::connect(&socket, &QLocalSocket::connected, &loop, check);
    QObject::connect(&socket, &QLocalSocket::readyRead, &loop, check);
    QObject::connect(&socket, &QLocalSocket::disconnected, &loop, &QEventLoop::quit);
    QObject::connect(&socket, &QLocalSocket::errorOccurred, &loop, &QEventLoop::quit);
    timer.start(ms);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    return done();
}

} // namespace

SingleInstanceGuard::SingleInstanceGuard(QWidget* owner)
    : SingleInstanceGuard(owner, ProgramTitle()) {}

SingleInstanceGuard::SingleInstanceGuard(QWidget* owner, const QString& title)
    : QObject(owner), owner_(owner) {
    Check(title);
}

SingleInstanceGuard::~SingleInstanceGuard() {
    if (server_) server_->close();
}

QString SingleInstanceGuard::CurrentDisplay() {
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("xcb")) {
        // ":0" and ":0.0" are one display; the screen number does not make another.
        QString display = QString::fromLocal8Bit(qgetenv("DISPLAY"));
        static const QRegularExpression screen(QStringLiteral("\\.\\d+$"));
        if (display.contains(QLatin1Char(':'))) display.remove(screen);
        return QStringLiteral("x11 ") + display;
    }
    if (platform.startsWith(QLatin1String("wayland"))) {
        QByteArray display = qgetenv("WAYLAND_DISPLAY");
        if (display.isEmpty()) display = "wayland-0";
        return QStringLiteral("wayland ") + QString::fromLocal8Bit(display);
    }
    return platform;
}

QString SingleInstanceGuard::ServerName(const QString& title, const QString& display) {
    QByteArray key = title.toUtf8() + '\n' + display.toUtf8();
    QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex();
    return QStringLiteral("zolt-one-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash.left(16)));
}

bool SingleInstanceGuard::IsListening() const { return server_ && server_->isListening(); }

void SingleInstanceGuard::Check(const QString& title) {
    QString name = ServerName(title, CurrentDisplay());
    switch (AskFirstCopy(name)) {
    case Reply::Raised:
        first_ = false;
        EndProgram(0);
        return;
    case Reply::NoFirstCopy: Listen(name); return;
    case Reply::Silent:
        // A first copy that is still starting up keeps its name; this copy runs unguarded.
        return;
    }
}

SingleInstanceGuard::Reply SingleInstanceGuard::AskFirstCopy(const QString& name) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!WaitFor(socket, WaitMs, [&] { return socket.state() == QLocalSocket::ConnectedState; }))
        return socket.state() == QLocalSocket::ConnectingState ? Reply::Silent : Reply::NoFirstCopy;
    socket.write(Request);
    socket.flush();
    QByteArray reply;
    bool raised = WaitFor(socket, WaitMs, [&] {
        reply += socket.readAll();
        return reply.contains(Answer);
    });
    return raised ? Reply::Raised : Reply::Silent;
}

void SingleInstanceGuard::Listen(const QString& name) {
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name)) {
        // Nobody listens there, so the name is left over from a copy that did not end cleanly.
        QLocalServer::removeServer(name);
        server_->listen(name);
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = server_->nextPendingConnection()) {
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            connect(client, &QLocalSocket::readyRead, this, [this, client] {
                if (!client->canReadLine()) return;
                if (client->readLine() != Request) return;
                RaiseOwner();
                client->write(Answer);
                client->flush();
            });
        }
    });
}

void SingleInstanceGuard::RaiseOwner() {
    if (!owner_) return;
    QWidget* window = owner_->window();
    if (window->isMinimized()) window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    if (!window->isVisible()) window->show();
    window->raise();
    window->activateWindow();
}

} // namespace ui
