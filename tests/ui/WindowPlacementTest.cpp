// A main window's place kept between runs: what the stored keys give on a screen, and a window
// saved and restored, normal and maximised.
#include "ui/WindowPlacement.h"

#include "support/TestUtil.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <climits>

using namespace ui;

class WindowPlacementTest : public QObject {
    Q_OBJECT

    testutil::TempDir tmp_;

    platform::Profile File(const std::string& keys) {
        static int n = 0;
        std::filesystem::path path = tmp_ / ("OstravlR" + std::to_string(++n) + ".Ini");
        testutil::WriteFile(path, "[ZoltW]\r\n" + keys);
        return platform::Profile(path);
    }

private slots:
    void storedKeysOnAScreen() {
        const QSize screen(1024, 768), current(600, 400);
        // First start: the current size, centred, normal.
        FormPosition p = StoredFormPosition(File(""), "ZoltW", current, screen);
        QCOMPARE(p.bounds, QRect(212, 184, 600, 400));
        QVERIFY(!p.maximised);

        // Saved on a larger screen: a left or top beyond this one is centred, one inside stays.
        p = StoredFormPosition(File("Left=3000\r\nTop=100\r\nWidth=500\r\nHeight=300\r\n"), "ZoltW",
                               current, screen);
        QCOMPARE(p.bounds, QRect(262, 100, 500, 300));
        p = StoredFormPosition(File("Left=1023\r\nTop=768\r\n"), "ZoltW", current, screen);
        QCOMPARE(p.bounds, QRect(1023, 184, 600, 400));
        p = StoredFormPosition(File("Left=-40\r\nTop=-10\r\n"), "ZoltW", current, screen);
        QCOMPARE(p.bounds.topLeft(), QPoint(-40, -10));

        // State 1 (minimised when saved) and states the file cannot hold come back normal.
        for (const char* normal : {"State=1\r\n", "State=7\r\n", "State=-2147483648\r\n"})
            QVERIFY(!StoredFormPosition(File(normal), "ZoltW", current, screen).maximised);
        p = StoredFormPosition(File("State=2\r\n"), "ZoltW", current, screen);
        QVERIFY(p.maximised);
        // Another program's section is not ours.
        p = StoredFormPosition(File("State=2\r\n[ZimRA]\r\nLeft=5\r\n"), "ZimRA", current, screen);
        QCOMPARE(p.bounds.left(), 5);
        QVERIFY(!p.maximised);
    }

    void hostileAndLostPlacesComeBackOnAScreen() {
        const QRect main(0, 0, 1024, 768), right(1024, 0, 1280, 1024);
        const std::vector<QRect> both{main, right}, one{main};
        const QSize minimum(400, 300), current(600, 400);
        // On the second monitor it stays; that monitor removed, it is centred on the main one.
        QCOMPARE(KeptOnScreens(QRect(1100, 50, 600, 400), minimum, current, both, main),
                 QRect(1100, 50, 600, 400));
        QCOMPARE(KeptOnScreens(QRect(1100, 50, 600, 400), minimum, current, one, main),
                 QRect(212, 184, 600, 400));
        // A monitor to the left of or above the main one, since removed.
        QCOMPARE(KeptOnScreens(QRect(-2000, 50, 600, 400), minimum, current, one, main).topLeft(),
                 QPoint(212, 184));
        QCOMPARE(KeptOnScreens(QRect(50, -900, 600, 400), minimum, current, one, main).topLeft(),
                 QPoint(212, 184));
        // Less than a third of the title bar on the screen is too little; a third is enough.
        QCOMPARE(KeptOnScreens(QRect(-401, 0, 600, 400), minimum, current, one, main).left(), 212);
        QCOMPARE(KeptOnScreens(QRect(-400, 0, 600, 400), minimum, current, one, main).left(), -400);
        // Sizes below the minimum or above every screen are the current size.
        QCOMPARE(KeptOnScreens(QRect(10, 10, 99999999, -5), minimum, current, one, main),
                 QRect(10, 10, 600, 400));
        QCOMPARE(KeptOnScreens(QRect(10, 10, 399, 299), minimum, current, one, main).size(),
                 current);
        // The extremes of the int range.
        QCOMPARE(KeptOnScreens(QRect(INT_MIN, INT_MIN, 600, 400), minimum, current, one, main),
                 QRect(212, 184, 600, 400));
        platform::Profile hostile = File("State=99\r\nTop=-2147483648\r\nLeft=2147483647\r\n"
                                         "Height=-5\r\nWidth=99999999\r\n");
        QWidget w;
        w.setMinimumSize(minimum);
        w.resize(current);
        RestoreFormPosition(w, hostile, "ZoltW");
        QCOMPARE(w.size(), current);
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(screen.contains(QRect(w.pos(), QSize(current.width(), 20))));
    }

    void savedAndRestored() {
        const std::filesystem::path path = tmp_ / "Round.Ini";
        testutil::WriteFile(path, "[ZimRA]\r\nWidth=1\r\n");
        {
            QWidget w;
            w.move(30, 40);
            w.resize(500, 300);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            platform::Profile file(path);
            QVERIFY(SaveFormPosition(w, file, "ZoltW"));
        }
        // The keys in their order, the other section untouched.
        QCOMPARE(QString::fromStdString(testutil::ReadFile(path)),
                 QString("[ZimRA]\r\nWidth=1\r\n[ZoltW]\r\nState=0\r\nTop=40\r\nLeft=30\r\n"
                         "Height=300\r\nWidth=500\r\n"));
        {
            QWidget w;
            w.resize(200, 100);
            RestoreFormPosition(w, platform::Profile(path), "ZoltW");
            QCOMPARE(w.pos(), QPoint(30, 40));
            QCOMPARE(w.size(), QSize(500, 300));
            // Closed maximised: State 2, and the normal bounds are what is kept.
            w.show();
            w.showMaximized();
            QTRY_VERIFY(w.isMaximized());
            platform::Profile file(path);
            QVERIFY(SaveFormPosition(w, file, "ZoltW"));
            QVERIFY(!w.isMaximized());
        }
        platform::Profile file(path);
        QCOMPARE(file.ReadInteger("ZoltW", "State", -1), 2);
        QCOMPARE(file.ReadInteger("ZoltW", "Width", -1), 500);
        QCOMPARE(file.ReadInteger("ZoltW", "Left", -1), 30);
        QWidget w;
        RestoreFormPosition(w, file, "ZoltW");
        w.show();
        QTRY_VERIFY(w.isMaximized());
        QCOMPARE(w.normalGeometry().size(), QSize(500, 300));
    }
};

QTEST_MAIN(WindowPlacementTest)
#include "WindowPlacementTest.moc"
