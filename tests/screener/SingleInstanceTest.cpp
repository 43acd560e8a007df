// The real ZoltW on real X servers: one copy per user and display. A copy on a second display
// runs on its own; a second start on the first copy's display raises that copy and ends.
#include "support/MadeHost.h"

#include <QProcess>
#include <QTest>
#include <QWidget>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace {

using DisplayPtr = std::unique_ptr<Display, int (*)(Display*)>;

DisplayPtr OpenDisplay(const QString& name) {
    return DisplayPtr(XOpenDisplay(name.toLocal8Bit().constData()), XCloseDisplay);
}

bool HasTitle(Display* d, Window w) {
    char* name = nullptr;
    const bool titled = XFetchName(d, w, &name) && name && *name;
    if (name) XFree(name);
    return titled;
}

// The mapped top-level windows of a process that have a title (not the splash), bottom to top (no
// window manager reparents them). The program listens for a second copy before its main window
// shows.
std::vector<Window> WindowsOf(Display* d, qint64 pid) {
    std::vector<Window> found;
    Window root = DefaultRootWindow(d), parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(d, root, &root, &parent, &children, &count)) return found;
    const Atom pidAtom = XInternAtom(d, "_NET_WM_PID", True);
    for (unsigned i = 0; i < count && pidAtom != None; ++i) {
        XWindowAttributes a;
        if (!XGetWindowAttributes(d, children[i], &a) || a.map_state != IsViewable) continue;
        Atom type;
        int format;
        unsigned long items, after;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(d, children[i], pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                               &items, &after, &data) == Success &&
            data && items == 1 && format == 32 &&
            static_cast<qint64>(*reinterpret_cast<unsigned long*>(data)) == pid &&
            HasTitle(d, children[i]))
            found.push_back(children[i]);
        if (data) XFree(data);
    }
    if (children) XFree(children);
    return found;
}

// The place of a window in the root's stacking order (higher is nearer the top); -1: none.
int StackPlace(Display* d, Window w) {
    Window root = DefaultRootWindow(d), parent = 0, *children = nullptr;
    unsigned count = 0;
    int place = -1;
    if (XQueryTree(d, root, &root, &parent, &children, &count))
        for (unsigned i = 0; i < count; ++i)
            if (children[i] == w) place = static_cast<int>(i);
    if (children) XFree(children);
    return place;
}

int TopPlaceOf(Display* d, qint64 pid) {
    int top = -1;
    for (Window w : WindowsOf(d, pid)) top = std::max(top, StackPlace(d, w));
    return top;
}

} // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT

    const testutil::MadeHost host_{{.tickers = 5, .years = 1}};
    QStringList args_;
    QString display_;
    QProcess xvfb_;
    QString otherDisplay_;

    QProcessEnvironment EnvFor(const QString& display) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("DISPLAY", display);
        env.insert("XDG_CONFIG_HOME", QString::fromStdString((host_.tmp / "config").string()));
        return env;
    }

    void Start(QProcess& p, const QString& display) {
        p.setProcessEnvironment(EnvFor(display));
        p.start(ZOLTW_PROGRAM, args_);
        QVERIFY(p.waitForStarted());
    }

    static void Stop(QProcess& p) {
        if (p.state() == QProcess::NotRunning) return;
        p.terminate();
        if (!p.waitForFinished(10000)) p.kill();
        p.waitForFinished(5000);
    }

    // A display of the test's own, so that a copy can run on another display than the first.
    bool StartOtherDisplay() {
        for (int n = 71; n < 100; ++n) {
            if (fs::exists("/tmp/.X" + std::to_string(n) + "-lock")) continue;
            xvfb_.start("Xvfb",
                        {QString(":%1").arg(n), "-nolisten", "tcp", "-screen", "0", "1024x768x24"});
            if (!xvfb_.waitForStarted()) return false;
            otherDisplay_ = QString(":%1").arg(n);
            for (int i = 0; i < 100 && xvfb_.state() == QProcess::Running; ++i) {
                if (OpenDisplay(otherDisplay_)) return true;
                QTest::qWait(100);
            }
            Stop(xvfb_);
        }
        return false;
    }

private slots:
    void initTestCase() {
        display_ = qEnvironmentVariable("DISPLAY");
        if (display_.isEmpty()) QSKIP("needs an X server (run under xvfb-run)");
        args_ = {"--windows-dir", QString::fromStdString(host_.windows.string()), "--program-dir",
                 QString::fromStdString(host_.program.string())};
        QVERIFY2(StartOtherDisplay(), "no second X server could be started");
    }

    void cleanupTestCase() { Stop(xvfb_); }

    void oneCopyPerDisplay() {
        DisplayPtr here = OpenDisplay(display_);
        DisplayPtr there = OpenDisplay(otherDisplay_);
        QVERIFY(here && there);

        QProcess first, other, second;
        Start(first, display_);
        QTRY_VERIFY_WITH_TIMEOUT(!WindowsOf(here.get(), first.processId()).empty(), 20000);

        // Not stopped by the first copy: it shows its window on its own display and stays.
        Start(other, otherDisplay_);
        QTRY_VERIFY_WITH_TIMEOUT(!WindowsOf(there.get(), other.processId()).empty(), 20000);

        // Cover the first copy, then start it again on its display.
        QWidget cover;
        cover.setWindowTitle("cover");
        cover.resize(1024, 768);
        cover.show();
        QVERIFY(QTest::qWaitForWindowExposed(&cover));
        cover.raise();
        const Window coverId = static_cast<Window>(cover.winId());
        QTRY_VERIFY(StackPlace(here.get(), coverId) > TopPlaceOf(here.get(), first.processId()));

        Start(second, display_);
        // The test's own window must keep answering its X server meanwhile.
        QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 15000);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(
            TopPlaceOf(here.get(), first.processId()) > StackPlace(here.get(), coverId), 5000);

        QCOMPARE(first.state(), QProcess::Running);
        QCOMPARE(other.state(), QProcess::Running);
        Stop(first);
        Stop(other);
    }
};

QTEST_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
