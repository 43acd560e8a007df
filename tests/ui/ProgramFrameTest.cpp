// What both programs start with: the fatal error handler and its owner, the single instance,
// the splash, and the about box with its system lines.
#include "UiTestSupport.h"
#include "support/TestUtil.h"
#include "ui/AboutBox.h"
#include "ui/BevelPanel.h"
#include "ui/FatalErrorHandler.h"
#include "ui/ProgramStartup.h"
#include "ui/SingleInstance.h"
#include "ui/SplashWindow.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <cstring>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace ui;
using uitest::Recorder;
using uitest::WhenModal;

namespace {

// A main window whose close handling leaves a mark (where a program would save its settings).
class MarkingWindow : public QMainWindow {
public:
    explicit MarkingWindow(QString mark) : mark_(std::move(mark)) {}

protected:
    void closeEvent(QCloseEvent* event) override {
        QFile f(mark_);
        if (f.open(QIODevice::WriteOnly)) f.write("closed");
        QMainWindow::closeEvent(event);
    }

private:
    QString mark_;
};

// The child process of fatalErrorEndsWithoutClosing: a program whose command throws.
int RunFatalChild(int argc, char** argv, const QString& mark) {
    ZoltApplication app(argc, argv);
    // The error box is answered at once; the beep, the notice and the ending are the real ones.
    SetMessageHook([](QWidget*, BoxKind, const QString&, QMessageBox::StandardButtons) {
        return QMessageBox::Ok;
    });
    MarkingWindow window(mark);
    FatalErrorHandler handler(&window);
    handler.Install();
    auto* button = new QPushButton("Run", &window);
    window.setCentralWidget(button);
    QObject::connect(button, &QPushButton::clicked, [] { throw std::runtime_error("boom"); });
    window.show();
    QTimer::singleShot(0, button, [button] { button->click(); });
    // Should the program survive the error it ends normally, closing its window.
    QTimer::singleShot(10000, &window, [&] {
        window.close();
        QCoreApplication::exit(0);
    });
    return app.exec();
}

// A socket file nobody listens on, as a copy that crashed leaves it.
void MakeStaleSocket(const QString& name) {
    QByteArray path = QFile::encodeName(QDir::tempPath() + "/" + name);
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    QVERIFY(fd >= 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    QVERIFY(size_t(path.size()) < sizeof addr.sun_path);
    std::memcpy(addr.sun_path, path.constData(), size_t(path.size()));
    ::unlink(path.constData());
    QVERIFY(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0);
    ::close(fd);
    QVERIFY(QFile::exists(QString::fromLocal8Bit(path)));
}

QString UniqueTitle(const char* what) {
    return QString("zolt ui test %1 %2 %3")
        .arg(what)
        .arg(QCoreApplication::applicationPid())
        .arg(QDateTime::currentMSecsSinceEpoch());
}

} // namespace

class ProgramFrameTest : public QObject {
    Q_OBJECT
private slots:
    void exceptionInAButtonReachesTheHandler() {
        Recorder rec;
        std::vector<int> ended;
        EndProgramHook oldEnd = SetEndProgramHook([&](int code) { ended.push_back(code); });
        QMainWindow window;
        FatalErrorHandler handler(&window);
        handler.Install();
        auto* button = new QPushButton("Filter", &window);
        window.setCentralWidget(button);
        connect(button, &QPushButton::clicked,
                [] { throw std::runtime_error("Division by zero"); });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        bool noticeUp = false;
        rec.onMessage = [&](const uitest::Message&) {
            noticeUp = handler.NoticeWindow()->isVisible();
        };
        QTest::mouseClick(button, Qt::LeftButton);

        QCOMPARE(rec.beeps, 1);
        QVERIFY(noticeUp); // shown before the error box
        QCOMPARE(rec.messages.size(), size_t(1));
        QCOMPARE(rec.messages[0].kind, BoxKind::Error);
        QCOMPARE(rec.messages[0].text, QString("Division by zero"));
        QCOMPARE(rec.messages[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(ended, std::vector<int>{1});

        QRect screen = QGuiApplication::primaryScreen()->geometry();
        QWidget* notice = handler.NoticeWindow();
        QCOMPARE(notice->geometry(),
                 QRect(screen.x(), screen.y(), screen.width(), screen.height() / 4));
        QCOMPARE(notice->windowTitle(), QString("Fatal Error"));
        QCOMPARE(notice->palette().color(QPalette::Window), QColor(Qt::white));
        QPlainTextEdit* memo = handler.NoticeMemo();
        QCOMPARE(memo->geometry(),
                 QRect(screen.width() / 10, 4, screen.width() * 4 / 5, screen.height() / 5));
        QVERIFY(!memo->isEnabled());
        QCOMPARE(memo->toPlainText().split('\n'), handler.Instructions());
        QCOMPARE(handler.Instructions().size(), 6);
        QCOMPARE(handler.Instructions().last(), QString("Click OK to exit."));
        SetEndProgramHook(oldEnd);
    }

    void instructionsAreReplacedWhole() {
        Recorder rec;
        EndProgramHook oldEnd = SetEndProgramHook([](int) {});
        QWidget owner;
        FatalErrorHandler handler(&owner);
        handler.Caption = "ZOLT Error";
        handler.SetInstructions(
            {"Please note the error below.", " Click OK in the error box below to exit."});
        handler.Install();
        QTimer::singleShot(0, &owner, [] { throw 42; }); // not even a standard exception
        QTRY_COMPARE(rec.messages.size(), size_t(1));
        QCOMPARE(
            handler.NoticeMemo()->toPlainText(),
            QString("Please note the error below.\n Click OK in the error box below to exit."));
        QCOMPARE(handler.NoticeWindow()->windowTitle(), QString("ZOLT Error"));
        QVERIFY(!rec.messages[0].text.isEmpty());
        SetEndProgramHook(oldEnd);
    }

    void handlerGoesWithItsOwner() {
        {
            QWidget owner;
            FatalErrorHandler handler(&owner);
            handler.Install();
            QVERIFY(ZoltApplication::Instance()->HasOnException());
        }
        QVERIFY(!ZoltApplication::Instance()->HasOnException());
    }

    void fatalErrorEndsWithoutClosing() {
        testutil::TempDir dir;
        QString mark = QString::fromStdString((dir / "closed").string());
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", QGuiApplication::platformName());
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {"--fatal-child", mark});
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 1);
        QVERIFY(!QFile::exists(mark)); // no close handling ran, so nothing was saved
    }

    void secondCopyRaisesTheFirst() {
        QString title = UniqueTitle("raise");
        std::vector<int> ended;
        EndProgramHook oldEnd = SetEndProgramHook([&](int code) { ended.push_back(code); });
        QMainWindow firstWindow;
        SingleInstanceGuard first(&firstWindow, title);
        QVERIFY(first.IsFirstCopy());
        QVERIFY(first.IsListening());
        QVERIFY(ended.empty());
        firstWindow.showMinimized();
        QTRY_VERIFY(firstWindow.isMinimized());

        QMainWindow secondWindow;
        SingleInstanceGuard second(&secondWindow, title);
        QVERIFY(!second.IsFirstCopy());
        QCOMPARE(ended, std::vector<int>{0});
        QVERIFY(!second.IsListening());
        QTRY_VERIFY(!firstWindow.isMinimized());
        QVERIFY(firstWindow.isVisible());
        SetEndProgramHook(oldEnd);
    }

    void keepsRunningWhenNoFirstCopyAnswers() {
        QString title = UniqueTitle("silent");
        const QString name =
            SingleInstanceGuard::ServerName(title, SingleInstanceGuard::CurrentDisplay());
        std::vector<int> ended;
        EndProgramHook oldEnd = SetEndProgramHook([&](int code) { ended.push_back(code); });
        {
            // A first copy still starting up: it accepts the connection but does not answer.
            QLocalServer busy;
            QVERIFY(busy.listen(name));
            QWidget window;
            SingleInstanceGuard guard(&window, title);
            QVERIFY(guard.IsFirstCopy());
            QVERIFY(ended.empty());
            // Its name stays with the copy that is starting.
            QVERIFY(!guard.IsListening());
            QLocalSocket probe;
            probe.connectToServer(name);
            QVERIFY(probe.waitForConnected(5000));
            QTRY_VERIFY(busy.hasPendingConnections());
        }
        {
            // The name left by a copy that died without closing is taken over.
            MakeStaleSocket(name);
            QWidget window;
            SingleInstanceGuard guard(&window, title);
            QVERIFY(guard.IsFirstCopy());
            QVERIFY(guard.IsListening());
        }
        QVERIFY(ended.empty());
        QVERIFY(SingleInstanceGuard::ServerName(title, ":1") !=
                SingleInstanceGuard::ServerName(title + "x", ":1"));
        QVERIFY(SingleInstanceGuard::ServerName(title, ":1") !=
                SingleInstanceGuard::ServerName(title, ":2"));
        SetEndProgramHook(oldEnd);
    }

    void splashGoesWhenTheMainWindowIsActivated() {
        QPointer<SplashWindow> splash =
            ShowSplash(MakeProductPicture("ZOLT", "Volume/price screener"));
        QVERIFY(splash);
        QCOMPARE(splash->size(), QSize(332, 272));
        QVERIFY(splash->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(splash->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(splash->Image1->pixmap().size(), QSize(320, 260));
        QCOMPARE(splash->Image1->geometry().center(), splash->rect().center());
        QMainWindow main;
        main.show();
        main.activateWindow();
        QTRY_VERIFY(splash.isNull());
    }

    void aboutBoxAndSystemInfo() {
        AboutBox about;
        about.Caption = "About ZOLT";
        about.AppTitle = "ZOLT for Windows (32-bit)";
        about.Version = "1.2";
        about.Copyright = "2026 Maker";
        QString version, notice, caption, infoCaption;
        std::vector<QString> infoLines;
        WhenModal<QDialog>([&](QDialog* box) {
            caption = box->windowTitle();
            version = about.VersionLabel->text();
            notice = about.NoticeLabel->text();
            WhenModal<QDialog>([&](QDialog* info) {
                if (info == about.AboutWindow()) return; // not up yet
                infoCaption = info->windowTitle();
                for (QLabel* l : about.InfoLabels) infoLines.push_back(l->text());
                QTest::mouseClick(about.InfoOKButton, Qt::LeftButton);
                QTimer::singleShot(0, about.OKButton,
                                   [&] { QTest::mouseClick(about.OKButton, Qt::LeftButton); });
            });
            QTest::mouseClick(about.SystemInfoButton, Qt::LeftButton);
        });
        about.Execute();
        QCOMPARE(caption, QString("About ZOLT"));
        QCOMPARE(version, QString("Version: 1.2"));
        QCOMPARE(notice, QString("Copyright") + QChar(0xA9) + " 2026 Maker");
        QCOMPARE(about.TitleLabel->text(), QString("ZOLT for Windows (32-bit)"));
        QCOMPARE(about.TitleLabel->pos(), QPoint(about.Metrics().W(6), about.Metrics().W(6)));
        QCOMPARE(infoCaption, QString("System Info"));
        QCOMPARE(infoLines.size(), size_t(4));
        QVERIFY(infoLines[2].startsWith(" Real memory: "));
        QVERIFY(infoLines[3].startsWith(" Page file: "));

        // The layout follows the text metrics.
        const AboutMetrics& k = about.Metrics();
        QDialog* w = about.AboutWindow();
        QCOMPARE(w->width(), k.W(300));
        QCOMPARE(w->height(), about.WarningMemo->geometry().bottom() + 1 + 2 * k.H(4));
        QCOMPARE(about.IconBevel->geometry().right() + 1, w->width() - k.W(6) - 6);
        QCOMPARE(about.OKButton->size(), QSize(k.W(80), k.H(24)));
        QCOMPARE(about.SystemInfoButton->y(), about.OKButton->geometry().bottom() + 1 + 2 * k.H(4));
        QCOMPARE(about.MainMemo->toPlainText().split('\n'), about.MainText);
        QCOMPARE(about.WarningText.size(), 5);
        QCOMPARE(about.InfoLabels[1]->y(), about.InfoLabels[0]->geometry().bottom() + 1 + k.H(4));
    }
};

int main(int argc, char** argv) {
    if (argc == 3 && QByteArray(argv[1]) == "--fatal-child")
        return RunFatalChild(argc, argv, QString::fromLocal8Bit(argv[2]));
    ZoltApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    ProgramFrameTest tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "ProgramFrameTest.moc"
