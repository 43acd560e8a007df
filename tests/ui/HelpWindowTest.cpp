// The help window over the real pages of both programs (every context, every link, the search)
// and over made-up page folders (search order, history, keys, pages that are missing).
#include "ui/HelpWindow.h"

#include "UiTestSupport.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QWindow>

using namespace ui;

namespace {

const QString kHelpDir = QStringLiteral(ZOLT_HELP_DIR);

struct Program {
    QString dir, caption;
    QList<int> contexts; // the help contexts its windows and dialogs use
};

const QList<Program>& Programs() {
    static const QList<Program> programs = {
        {QStringLiteral("zoltw"),
         QStringLiteral("ZOLT Help"),
         {1001, 1002, 1011, 1014, 1020, 1032, 1033}},
        {QStringLiteral("zimra"), QStringLiteral("ZimRA Help"), {1001, 1002, 1015, 1020, 1031}},
    };
    return programs;
}

QString Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

void Write(const QString& path, const QString& text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.toUtf8());
}

QString Page(const QString& title, const QString& body) {
    return QStringLiteral("<html><head><title>%1</title></head><body><h1>%1</h1>%2</body></html>")
        .arg(title, body);
}

// A small book: a contents page, two pages linked from it, and a page on using help.
void MakeBook(const QString& root) {
    Write(root + "/demo/index.txt", "# test book\n"
                                    "contents.html contents\n"
                                    "alpha.html 1002\n"
                                    "beta.html 1001 1011\n"
                                    "../using.html using-help\n");
    Write(root + "/demo/contents.html",
          Page("Demo Contents", "<p><a href=\"alpha.html\">Alpha</a> <a href=\"beta.html#b2\">Beta"
                                "</a></p>"));
    Write(root + "/demo/alpha.html",
          Page("Alpha Window", "<p>Pressing Frobnicate starts the run. Beta is elsewhere.</p>"));
    Write(root + "/demo/beta.html", Page("Beta Dialog", "<p>About the alpha values.</p>"
                                                        "<h2 id=\"b2\">Second</h2><p>More.</p>"));
    Write(root + "/using.html", Page("Using Help", "<p>How this window works.</p>"));
}

// Every href of a page: links and style sheets.
QStringList Links(const QString& html) {
    QStringList out;
    static const QRegularExpression href(QStringLiteral("href\\s*=\\s*\"([^\"]*)\""),
                                         QRegularExpression::CaseInsensitiveOption);
    for (auto m = href.globalMatch(html); m.hasNext();) out << m.next().captured(1);
    return out;
}

bool HasAnchor(const QString& html, const QString& name) {
    const QString quoted = QRegularExpression::escape(name);
    return html.contains(
        QRegularExpression(QStringLiteral("\\b(id|name)\\s*=\\s*\"%1\"").arg(quoted)));
}

void ShowActive(QWidget& w) {
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

} // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT

private slots:
    // Every help context of both programs opens a page of its own with a title; the contents
    // and using-help pages exist; the tables name only pages that are there.
    void everyContextOpensATitledPage() {
        for (const Program& p : Programs()) {
            HelpWindow w(p.dir, p.caption, {kHelpDir});
            QVERIFY2(w.Book().Found(), qPrintable(p.dir));
            QVERIFY2(w.Book().Problems().isEmpty(), qPrintable(w.Book().Problems().join('\n')));
            QSet<QString> seen;
            for (int context : p.contexts) {
                w.ShowHelpContext(context);
                const QString page = w.CurrentPage();
                QVERIFY2(!page.isEmpty(),
                         qPrintable(QStringLiteral("%1 %2").arg(p.dir).arg(context)));
                QVERIFY(QFileInfo(page).isFile());
                QCOMPARE(page, w.Book().PageForContext(context));
                QVERIFY(!w.CurrentTitle().trimmed().isEmpty());
                QVERIFY2(!w.Browser()->toPlainText().contains(QStringLiteral("There is no help")),
                         qPrintable(page));
                seen.insert(page);
            }
            QCOMPARE(seen.size(), p.contexts.size());
            w.ShowHelpContents();
            QCOMPARE(w.CurrentPage(), w.Book().ContentsPage());
            QVERIFY(!w.CurrentTitle().isEmpty());
            QVERIFY(!seen.contains(w.CurrentPage()));
            w.ShowHelpOnHelp();
            QVERIFY(!w.Book().UsingHelpPage().isEmpty());
            QCOMPARE(w.CurrentPage(), w.Book().UsingHelpPage());
            QVERIFY(w.CurrentTitle().contains(QStringLiteral("Help")));
            w.close();
        }
    }

    // Walks from each contents page along every link: each link names an existing page and,
    // with a "#", an anchor on it; every page of the folder is reached and listed in the table.
    void everyLinkResolvesAndEveryPageIsReached() {
        const QString root = QDir::cleanPath(kHelpDir);
        for (const Program& p : Programs()) {
            HelpBook book(p.dir, {kHelpDir});
            QVERIFY(book.Found());
            QStringList queue{book.ContentsPage()};
            QSet<QString> visited;
            int links = 0;
            while (!queue.isEmpty()) {
                const QString page = queue.takeFirst();
                if (visited.contains(page)) continue;
                visited.insert(page);
                const QString html = Read(page);
                QVERIFY2(html.contains(QStringLiteral("<title>")), qPrintable(page));
                for (const QString& link : Links(html)) {
                    ++links;
                    const QString where = page + QStringLiteral(": ") + link;
                    const QUrl url = QUrl::fromLocalFile(page).resolved(QUrl(link));
                    QVERIFY2(url.isLocalFile(), qPrintable(where));
                    const QString target = QDir::cleanPath(url.toLocalFile());
                    QVERIFY2(target.startsWith(root + '/'), qPrintable(where));
                    QVERIFY2(QFileInfo(target).isFile(), qPrintable(where));
                    if (url.hasFragment())
                        QVERIFY2(HasAnchor(Read(target), url.fragment()), qPrintable(where));
                    if (target.endsWith(QStringLiteral(".html"))) queue << target;
                }
            }
            QVERIFY(links > 20);
            for (const HelpPage& page : book.Pages())
                QVERIFY2(visited.contains(page.file), qPrintable(page.file + " is not linked"));
            const QStringList files =
                QDir(book.Directory()).entryList({QStringLiteral("*.html")}, QDir::Files);
            for (const QString& f : files)
                QVERIFY2(book.PageOf(book.Directory() + '/' + f), qPrintable(f + " not in index"));
        }
    }

    // A link chosen with Tab and Enter shows its page and lands on its anchor.
    void linksAreFollowedInTheWindow() {
        QTemporaryDir tmp;
        MakeBook(tmp.path());
        HelpWindow w(QStringLiteral("demo"), QStringLiteral("Demo Help"), {tmp.path()});
        ShowActive(w);
        w.ShowHelpContents();
        QCOMPARE(w.CurrentTitle(), QStringLiteral("Demo Contents"));
        w.Browser()->setFocus();
        QTest::keyClick(w.Browser(), Qt::Key_Tab);
        QTest::keyClick(w.Browser(), Qt::Key_Tab);
        QTest::keyClick(w.Browser(), Qt::Key_Return);
        QCOMPARE(w.CurrentPage(), tmp.path() + "/demo/beta.html");
        QCOMPARE(w.Browser()->source().fragment(), QStringLiteral("b2"));
        QCOMPARE(w.ContentsList()->currentItem()->text(), QStringLiteral("Beta Dialog"));

        // An anchor of a real page (an id of a heading) scrolls the page to it.
        HelpWindow zoltw(QStringLiteral("zoltw"), QStringLiteral("ZOLT Help"), {kHelpDir});
        ShowActive(zoltw);
        const QString page = zoltw.Book().PageForContext(1002);
        zoltw.OpenPage(page);
        QCOMPARE(zoltw.Browser()->verticalScrollBar()->value(), 0);
        zoltw.OpenPage(page + QStringLiteral("#sorting"));
        QTRY_VERIFY(zoltw.Browser()->verticalScrollBar()->value() > 0);
    }

    // The search over the real pages: a word of a page's text, a page's title, any case, and
    // nonsense.
    void searchFindsPagesOfBothPrograms() {
        HelpBook zoltw(QStringLiteral("zoltw"), {kHelpDir});
        HelpBook zimra(QStringLiteral("zimra"), {kHelpDir});
        auto holds = [](const QList<const HelpPage*>& found, const QString& file) {
            for (const HelpPage* p : found)
                if (p->file == file) return true;
            return false;
        };
        // A word of the text only, not of the title.
        const QString filter = zoltw.PageForContext(1011);
        QVERIFY(!zoltw.PageOf(filter)->title.contains(QStringLiteral("gap"), Qt::CaseInsensitive));
        QVERIFY(holds(zoltw.Search(QStringLiteral("gapped")), filter));
        QVERIFY(holds(zoltw.Search(QStringLiteral("GaPPeD")), filter));
        QVERIFY(holds(zoltw.Search(QStringLiteral("Combo")), filter));
        const QString settings = zimra.PageForContext(1015);
        QVERIFY(holds(zimra.Search(QStringLiteral("bollinger")), settings));
        for (const HelpBook* book : {&zoltw, &zimra}) {
            for (const HelpPage& page : book->Pages()) {
                const QList<const HelpPage*> found = book->Search(page.title.toUpper());
                QVERIFY2(holds(found, page.file), qPrintable(page.title));
                // Pages whose title holds every word come before pages that only mention them.
                const QStringList words = page.title.split(' ', Qt::SkipEmptyParts);
                bool titles = true;
                for (const HelpPage* hit : found) {
                    bool all = true;
                    for (const QString& word : words)
                        all = all && hit->title.contains(word, Qt::CaseInsensitive);
                    if (hit == found.first()) QVERIFY2(all, qPrintable(page.title));
                    QVERIFY2(!all || titles, qPrintable(page.title + ": " + hit->title));
                    titles = titles && all;
                }
            }
            QVERIFY(book->Search(QStringLiteral("qwzxv")).isEmpty());
            QVERIFY(book->Search(QStringLiteral("   ")).isEmpty());
        }
    }

    // Search order and the search pane: title hits first, all words needed, Enter and a double
    // click open the result.
    void searchPaneListsAndOpens() {
        QTemporaryDir tmp;
        MakeBook(tmp.path());
        HelpWindow w(QStringLiteral("demo"), QStringLiteral("Demo Help"), {tmp.path()});
        const HelpBook& book = w.Book();
        QList<const HelpPage*> found = book.Search(QStringLiteral("BETA"));
        QCOMPARE(found.size(), 3); // title of beta; text of contents and alpha
        QCOMPARE(found[0]->title, QStringLiteral("Beta Dialog"));
        QCOMPARE(found[1]->title, QStringLiteral("Demo Contents"));
        QCOMPARE(found[2]->title, QStringLiteral("Alpha Window"));
        QCOMPARE(book.Search(QStringLiteral("frobnicate run")).size(), 1);
        QVERIFY(book.Search(QStringLiteral("frobnicate zebra")).isEmpty());

        ShowActive(w);
        w.ShowHelpTopicSearch();
        QCOMPARE(QApplication::focusWidget(), w.SearchEdit());
        QTest::keyClicks(w.SearchEdit(), QStringLiteral("frobNICATE"));
        QCOMPARE(w.SearchResults()->count(), 1);
        QTest::keyClick(w.SearchEdit(), Qt::Key_Return);
        QCOMPARE(w.CurrentTitle(), QStringLiteral("Alpha Window"));
        QCOMPARE(w.Browser()->textCursor().selectedText().toLower(), QStringLiteral("frobnicate"));

        w.SearchEdit()->setText(QStringLiteral("values"));
        QCOMPARE(w.SearchResults()->count(), 1);
        QListWidgetItem* item = w.SearchResults()->item(0);
        const QRect r = w.SearchResults()->visualItemRect(item);
        QTest::mouseClick(w.SearchResults()->viewport(), Qt::LeftButton, {}, r.center());
        QCOMPARE(w.CurrentTitle(), QStringLiteral("Alpha Window")); // one click only chooses
        QTest::mouseDClick(w.SearchResults()->viewport(), Qt::LeftButton, {}, r.center());
        QCOMPARE(w.CurrentTitle(), QStringLiteral("Beta Dialog"));

        w.SearchEdit()->setText(QStringLiteral("qwzxv"));
        QCOMPARE(w.SearchResults()->count(), 0);
        uitest::Recorder rec;
        QTest::keyClick(w.SearchEdit(), Qt::Key_Return);
        QCOMPARE(rec.beeps, 1);
        QCOMPARE(w.CurrentTitle(), QStringLiteral("Beta Dialog"));
    }

    // Contents, Back and Forward by button and by Alt+Left/Right; the contents list follows the
    // page and opens one on Enter; Escape closes the window.
    void contentsBackForwardAndKeys() {
        QTemporaryDir tmp;
        MakeBook(tmp.path());
        HelpWindow w(QStringLiteral("demo"), QStringLiteral("Demo Help"), {tmp.path()});
        ShowActive(w);
        QPushButton *contentsButton = nullptr, *backButton = nullptr, *forwardButton = nullptr;
        for (QPushButton* b : w.findChildren<QPushButton*>()) {
            if (b->text() == QStringLiteral("&Contents")) contentsButton = b;
            if (b->text().contains(QStringLiteral("&Back"))) backButton = b;
            if (b->text().contains(QStringLiteral("&Forward"))) forwardButton = b;
        }
        QVERIFY(contentsButton && backButton && forwardButton);

        QCOMPARE(w.CurrentTitle(), QStringLiteral("Demo Contents"));
        QVERIFY(!backButton->isEnabled());
        w.ShowHelpContext(1002);
        w.ShowHelpContext(1011);
        QCOMPARE(w.CurrentTitle(), QStringLiteral("Beta Dialog"));
        QCOMPARE(w.ContentsList()->currentItem()->text(), QStringLiteral("Beta Dialog"));
        QVERIFY(backButton->isEnabled());
        QVERIFY(!forwardButton->isEnabled());

        QTest::mouseClick(backButton, Qt::LeftButton);
        QCOMPARE(w.CurrentTitle(), QStringLiteral("Alpha Window"));
        QVERIFY(forwardButton->isEnabled());
        QTest::keyClick(&w, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(w.CurrentTitle(), QStringLiteral("Demo Contents"));
        QTest::keyClick(w.Browser(), Qt::Key_Right, Qt::AltModifier);
        QCOMPARE(w.CurrentTitle(), QStringLiteral("Alpha Window"));
        QTest::mouseClick(forwardButton, Qt::LeftButton);
        QCOMPARE(w.CurrentTitle(), QStringLiteral("Beta Dialog"));

        QTest::mouseClick(contentsButton, Qt::LeftButton);
        QCOMPARE(w.CurrentTitle(), QStringLiteral("Demo Contents"));
        QCOMPARE(QApplication::focusWidget(), w.ContentsList());
        QTest::keyClick(w.ContentsList(), Qt::Key_End);
        QTest::keyClick(w.ContentsList(), Qt::Key_Return);
        QCOMPARE(w.CurrentTitle(), QStringLiteral("Using Help"));
        QTest::keyClick(&w, Qt::Key_F1);
        QCOMPARE(w.CurrentPage(), w.Book().UsingHelpPage());

        // An unknown context says so and offers the contents.
        w.ShowHelpContext(4711);
        QVERIFY(w.CurrentPage().isEmpty());
        QVERIFY(w.Browser()->toPlainText().contains(QStringLiteral("help context 4711")));

        QTest::keyClick(w.Browser(), Qt::Key_Escape);
        QVERIFY(!w.isVisible());
        // Reused: the next request shows the same window again.
        w.ShowHelpContext(1001);
        QVERIFY(w.isVisible());
        QCOMPARE(w.CurrentTitle(), QStringLiteral("Beta Dialog"));
    }

    // Tab walks the window's controls in a fixed order.
    void tabOrderReachesEveryPart() {
        QTemporaryDir tmp;
        MakeBook(tmp.path());
        HelpWindow w(QStringLiteral("demo"), QStringLiteral("Demo Help"), {tmp.path()});
        ShowActive(w);
        w.ShowHelpContents();
        QSet<QWidget*> reached;
        for (int i = 0; i < 20; ++i) {
            reached.insert(QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QVERIFY(reached.contains(w.ContentsList()));
        QVERIFY(reached.contains(w.Browser()));
        QVERIFY(reached.contains(w.findChild<QTabBar*>()));
        QCOMPARE(reached.size(), 7); // list, page, tab bar, four enabled buttons
        // The search pane is on its own tab; switching to it brings its edit into the walk.
        w.ShowHelpTopicSearch();
        QCOMPARE(QApplication::focusWidget(), w.SearchEdit());
    }

    // No pages anywhere: the window says so, names each folder it looked in, and every command
    // still works.
    void missingPagesAreReportedPlainly() {
        QTemporaryDir tmp;
        const QStringList roots{tmp.path() + "/one", tmp.path() + "/two"};
        HelpWindow w(QStringLiteral("zoltw"), QStringLiteral("ZOLT Help"), roots);
        QVERIFY(!w.Book().Found());
        QCOMPARE(w.Book().Searched().size(), 2);
        for (int step = 0; step < 4; ++step) {
            if (step == 0) w.ShowHelpContents();
            if (step == 1) w.ShowHelpContext(1002);
            if (step == 2) w.ShowHelpTopicSearch();
            if (step == 3) w.ShowHelpOnHelp();
            QVERIFY(w.isVisible());
            const QString text = w.Browser()->toPlainText();
            QVERIFY2(text.contains(QStringLiteral("were not found")), qPrintable(text));
            QVERIFY(text.contains(QDir::toNativeSeparators(tmp.path() + "/one/zoltw")));
            QVERIFY(text.contains(QDir::toNativeSeparators(tmp.path() + "/two/zoltw")));
            QCOMPARE(w.CurrentTitle(), QStringLiteral("Help pages not found"));
            QVERIFY(w.CurrentPage().isEmpty());
        }
        QCOMPARE(w.ContentsList()->count(), 0);
        QTest::keyClicks(w.SearchEdit(), QStringLiteral("filter"));
        QCOMPARE(w.SearchResults()->count(), 0);

        // A table naming a page that is not there: the others still work, the gap is reported.
        Write(tmp.path() + "/two/zoltw/index.txt", "gone.html 1002\nthere.html 1001 x\n");
        Write(tmp.path() + "/two/zoltw/there.html", Page("There", "<p>Here.</p>"));
        HelpWindow partial(QStringLiteral("zoltw"), QStringLiteral("ZOLT Help"), roots);
        QVERIFY(partial.Book().Found());
        QCOMPARE(partial.Book().Directory(), QDir::cleanPath(tmp.path() + "/two/zoltw"));
        QCOMPARE(partial.Book().Problems().size(), 2);
        partial.ShowHelpContext(1002);
        QVERIFY(partial.Browser()->toPlainText().contains(QStringLiteral("help context 1002")));
        partial.ShowHelpContext(1001);
        QCOMPARE(partial.CurrentTitle(), QStringLiteral("There"));
        partial.ShowHelpOnHelp();
        QVERIFY(partial.Browser()->toPlainText().contains(QStringLiteral("no page on using Help")));
        // A page removed after the window read the table.
        QFile::remove(tmp.path() + "/two/zoltw/there.html");
        partial.ShowHelpContext(1001);
        QVERIFY(partial.Browser()->toPlainText().contains(QStringLiteral("was not found")));
    }

    // The first root holding the program's table wins; the defaults reach the source pages from
    // a build tree; the installed window answers the shared ShowHelp until it is gone.
    void rootsAndTheSharedHelpHook() {
        QTemporaryDir tmp;
        MakeBook(tmp.path() + "/b");
        Write(tmp.path() + "/c/demo/index.txt", "x.html\n");
        HelpBook book(QStringLiteral("demo"),
                      {tmp.path() + "/a", tmp.path() + "/b", tmp.path() + "/c"});
        QCOMPARE(book.Directory(), QDir::cleanPath(tmp.path() + "/b/demo"));
        QCOMPARE(book.Searched().size(), 2);

        const QStringList roots = DefaultHelpRoots();
        QCOMPARE(roots.first(), QDir(QCoreApplication::applicationDirPath()).filePath("help"));
        QVERIFY(roots.contains(QDir::cleanPath(kHelpDir)) || roots.contains(kHelpDir));

        auto* owner = new QWidget;
        HelpWindow* w =
            InstallHelpWindow(QStringLiteral("zimra"), QStringLiteral("ZimRA Help"), owner);
        QVERIFY(w->Book().Found());
        ShowHelp(nullptr, 1015);
        QVERIFY(w->isVisible());
        QCOMPARE(w->CurrentPage(), w->Book().PageForContext(1015));

        // F1 in a modal dialog opens its context, in a help window the dialog does not block:
        // its transient window, which the dialog's modality leaves alone.
        owner->show();
        bool overTheDialog = false;
        {
            QDialog dialog(owner);
            dialog.setProperty("helpContext", 1014);
            uitest::WhenModal<QDialog>([&](QDialog* d) {
                QTest::keyClick(d, Qt::Key_F1);
                overTheDialog =
                    w->isVisible() && w->windowHandle()->transientParent() == d->windowHandle();
                d->reject();
            });
            dialog.exec();
        }
        QVERIFY(overTheDialog);
        QCOMPARE(w->CurrentPage(), w->Book().PageForContext(1014));
        delete owner;
        HelpHook left = SetHelpHook({});
        QVERIFY(!left);
    }
};

ZOLT_UI_TEST_MAIN(HelpWindowTest)
#include "HelpWindowTest.moc"
