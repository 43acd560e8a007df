#include "ui/HelpWindow.h"

#include "ui/Hooks.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QWindow>

namespace ui {

namespace {

QString ReadText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    // A page is a few kilobytes; anything far larger is not a help page.
    return QString::fromUtf8(file.read(4 * 1024 * 1024));
}

bool HoldsAll(const QString& text, const QStringList& words) {
    for (const QString& w : words)
        if (!text.contains(w, Qt::CaseInsensitive)) return false;
    return true;
}

QString Escaped(const QString& s) { return s.toHtmlEscaped(); }

} // namespace

HelpBook::HelpBook(const QString& program, const QStringList& roots) {
    for (const QString& root : roots) {
        const QString dir = QDir::cleanPath(QDir(root).absoluteFilePath(program));
        searched_ << dir;
        const QString index = dir + QStringLiteral("/index.txt");
        if (!QFileInfo(index).isFile()) continue;
        directory_ = dir;
        const QStringList lines = ReadText(index).split(QLatin1Char('\n'));
        for (int n = 0; n < lines.size(); ++n) {
            const QString line = lines[n].trimmed();
            if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
            const QStringList words = line.split(QRegularExpression(QStringLiteral("\\s+")));
            const QString file = QDir::cleanPath(QDir(dir).absoluteFilePath(words[0]));
            if (!QFileInfo(file).isFile()) {
                problems_ << QStringLiteral("index.txt line %1: no page %2").arg(n + 1).arg(file);
                continue;
            }
            HelpPage page;
            page.file = file;
            QTextDocument doc;
            doc.setHtml(ReadText(file));
            page.title = doc.metaInformation(QTextDocument::DocumentTitle).trimmed();
            if (page.title.isEmpty()) page.title = QFileInfo(file).fileName();
            page.text = doc.toPlainText();
            for (int w = 1; w < words.size(); ++w) {
                bool ok = false;
                const int context = words[w].toInt(&ok);
                if (ok && !contexts_.contains(context)) {
                    contexts_.insert(context, file);
                    page.contexts << context;
                } else if (words[w] == QLatin1String("contents")) {
                    contentsPage_ = file;
                } else if (words[w] == QLatin1String("using-help")) {
                    usingHelpPage_ = file;
                } else {
                    problems_ << QStringLiteral("index.txt line %1: %2 is not a new help context")
                                     .arg(n + 1)
                                     .arg(words[w]);
                }
            }
            pages_ << page;
        }
        if (contentsPage_.isEmpty() && !pages_.isEmpty()) contentsPage_ = pages_.first().file;
        return;
    }
}

QString HelpBook::PageForContext(int context) const { return contexts_.value(context); }
QString HelpBook::ContentsPage() const { return contentsPage_; }
QString HelpBook::UsingHelpPage() const { return usingHelpPage_; }

QList<const HelpPage*> HelpBook::Search(const QString& words) const {
    const QStringList list = words.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QList<const HelpPage*> byTitle, byText;
    if (list.isEmpty()) return byTitle;
    for (const HelpPage& page : pages_) {
        if (HoldsAll(page.title, list))
            byTitle << &page;
        else if (HoldsAll(page.title + QLatin1Char('\n') + page.text, list))
            byText << &page;
    }
    return byTitle + byText;
}

const HelpPage* HelpBook::PageOf(const QString& file) const {
    for (const HelpPage& page : pages_)
        if (page.file == file) return &page;
    return nullptr;
}

QStringList DefaultHelpRoots() {
    QStringList roots;
    const QDir exeDir(QCoreApplication::applicationDirPath());
    roots << exeDir.filePath(QStringLiteral("help"));
    const QString shared = QDir::cleanPath(exeDir.filePath(QStringLiteral("../share/zolt")));
    const bool installed = exeDir.dirName() == QLatin1String("bin") && QFileInfo(shared).isDir();
    roots << shared + QStringLiteral("/help");
#ifdef ZOLT_SOURCE_HELP_DIR
    // A program run from its build tree reads the pages being written, not a stale copy.
    if (!installed) roots << QStringLiteral(ZOLT_SOURCE_HELP_DIR);
#else
    (void)installed;
#endif
    return roots;
}

HelpWindow::HelpWindow(const QString& program, const QString& caption, const QStringList& roots,
                       QWidget* parent)
    : QWidget(parent, Qt::Window), book_(program, roots), caption_(caption) {
    setWindowTitle(caption);
    setObjectName(QStringLiteral("HelpWindow"));

    QHBoxLayout* buttons = CreateButtons();
    CreateContentsList();
    QWidget* searchPane = CreateSearchPane();
    LayOut(buttons, searchPane);
    SetTabOrder();
    Connect();
    CreateShortcuts();

    if (book_.Found())
        OpenPage(book_.ContentsPage());
    else
        ShowNotice(QString(), QString());
    UpdateButtons();
}

QHBoxLayout* HelpWindow::CreateButtons() {
    contentsButton_ = new QPushButton(QStringLiteral("&Contents"), this);
    searchButton_ = new QPushButton(QStringLiteral("&Search"), this);
    backButton_ = new QPushButton(QStringLiteral("<< &Back"), this);
    forwardButton_ = new QPushButton(QStringLiteral("&Forward >>"), this);
    helpOnHelpButton_ = new QPushButton(QStringLiteral("&How to use Help"), this);
    closeButton_ = new QPushButton(QStringLiteral("Close"), this);
    backButton_->setToolTip(QStringLiteral("Back (Alt+Left)"));
    forwardButton_->setToolTip(QStringLiteral("Forward (Alt+Right)"));
    closeButton_->setToolTip(QStringLiteral("Close (Esc)"));

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b :
         {contentsButton_, searchButton_, backButton_, forwardButton_, helpOnHelpButton_})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(closeButton_);
    return buttons;
}

void HelpWindow::CreateContentsList() {
    contents_ = new QListWidget(this);
    contents_->setObjectName(QStringLiteral("contents"));
    for (const HelpPage& page : book_.Pages()) {
        auto* item = new QListWidgetItem(page.title, contents_);
        item->setData(Qt::UserRole, page.file);
    }
}

QWidget* HelpWindow::CreateSearchPane() {
    auto* searchPane = new QWidget(this);
    auto* searchLabel = new QLabel(QStringLiteral("Type the &words to find:"), searchPane);
    searchEdit_ = new QLineEdit(searchPane);
    searchEdit_->setObjectName(QStringLiteral("searchEdit"));
    searchEdit_->setClearButtonEnabled(true);
    searchLabel->setBuddy(searchEdit_);
    resultCount_ = new QLabel(QStringLiteral(" "), searchPane);
    results_ = new QListWidget(searchPane);
    results_->setObjectName(QStringLiteral("searchResults"));
    auto* searchLayout = new QVBoxLayout(searchPane);
    searchLayout->setContentsMargins(4, 4, 4, 4);
    searchLayout->addWidget(searchLabel);
    searchLayout->addWidget(searchEdit_);
    searchLayout->addWidget(resultCount_);
    searchLayout->addWidget(results_, 1);
    return searchPane;
}

void HelpWindow::LayOut(QHBoxLayout* buttons, QWidget* searchPane) {
    tabs_ = new QTabWidget(this);
    tabs_->addTab(contents_, QStringLiteral("Contents"));
    tabs_->addTab(searchPane, QStringLiteral("Search"));

    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("page"));
    browser_->setOpenExternalLinks(true);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(tabs_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 560});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);
    resize(800, 560);
}

void HelpWindow::SetTabOrder() {
    setTabOrder(contentsButton_, searchButton_);
    setTabOrder(searchButton_, backButton_);
    setTabOrder(backButton_, forwardButton_);
    setTabOrder(forwardButton_, helpOnHelpButton_);
    setTabOrder(helpOnHelpButton_, closeButton_);
    setTabOrder(closeButton_, contents_);
    setTabOrder(contents_, searchEdit_);
    setTabOrder(searchEdit_, results_);
    setTabOrder(results_, browser_);
}

void HelpWindow::Connect() {
    connect(contentsButton_, &QPushButton::clicked, this, &HelpWindow::ShowHelpContents);
    connect(searchButton_, &QPushButton::clicked, this, &HelpWindow::ShowHelpTopicSearch);
    connect(helpOnHelpButton_, &QPushButton::clicked, this, &HelpWindow::ShowHelpOnHelp);
    connect(backButton_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forwardButton_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);
    // source() still names the old page while this signal is sent.
    connect(browser_, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
        notice_ = false;
        SyncContents(url.toLocalFile());
        UpdateButtons();
    });
    connect(browser_, &QTextBrowser::historyChanged, this, &HelpWindow::UpdateButtons);
    // Enter and a double click open a page; so does a single click, as in a list of contents.
    connect(contents_, &QListWidget::itemActivated, this, &HelpWindow::OpenResult);
    connect(contents_, &QListWidget::itemClicked, this, &HelpWindow::OpenResult);
    connect(results_, &QListWidget::itemActivated, this, &HelpWindow::OpenResult);
    connect(results_, &QListWidget::itemDoubleClicked, this, &HelpWindow::OpenResult);
    connect(searchEdit_, &QLineEdit::textChanged, this, &HelpWindow::RunSearch);
    connect(searchEdit_, &QLineEdit::returnPressed, this, [this] {
        if (results_->currentItem())
            OpenResult(results_->currentItem());
        else
            Beep();
    });
}

void HelpWindow::CreateShortcuts() {
    auto shortcut = [this](const QKeySequence& keys, auto slot) {
        auto* s = new QShortcut(keys, this);
        connect(s, &QShortcut::activated, this, slot);
    };
    shortcut(QKeySequence(Qt::Key_Escape), [this] { close(); });
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Left), [this] { browser_->backward(); });
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Right), [this] { browser_->forward(); });
    shortcut(QKeySequence(Qt::Key_F1), [this] { ShowHelpOnHelp(); });
}

void HelpWindow::ShowHelpContents() {
    tabs_->setCurrentIndex(0);
    if (book_.Found()) OpenPage(book_.ContentsPage());
    Present();
    contents_->setFocus();
}

void HelpWindow::ShowHelpTopicSearch() {
    tabs_->setCurrentIndex(1);
    Present();
    searchEdit_->setFocus();
    searchEdit_->selectAll();
}

void HelpWindow::ShowHelpOnHelp() {
    if (book_.Found()) {
        if (!book_.UsingHelpPage().isEmpty())
            OpenPage(book_.UsingHelpPage());
        else
            ShowNotice(QStringLiteral("No page on using Help"),
                       QStringLiteral("<p>The help pages of %1 have no page on using Help.</p>")
                           .arg(Escaped(caption_)));
    }
    Present();
    browser_->setFocus();
}

void HelpWindow::ShowHelpContext(int context) {
    if (book_.Found()) {
        const QString page = book_.PageForContext(context);
        if (!page.isEmpty())
            OpenPage(page);
        else
            ShowNotice(QStringLiteral("No help for this window"),
                       QStringLiteral("<p>There is no help page for help context %1.</p>"
                                      "<p><a href=\"%2\">Contents</a></p>")
                           .arg(context)
                           .arg(QUrl::fromLocalFile(book_.ContentsPage()).toString()));
    }
    Present();
    browser_->setFocus();
}

QString HelpWindow::CurrentPage() const {
    return notice_ ? QString() : browser_->source().toLocalFile();
}

QString HelpWindow::CurrentTitle() const { return browser_->documentTitle(); }

void HelpWindow::OpenPage(const QString& file) {
    const qsizetype hash = file.indexOf(QLatin1Char('#'));
    const QString path = hash < 0 ? file : file.left(hash);
    if (!QFileInfo(path).isFile()) {
        ShowNotice(QStringLiteral("Page not found"),
                   QStringLiteral("<p>The help page %1 was not found.</p>").arg(Escaped(path)));
        return;
    }
    QUrl url = QUrl::fromLocalFile(path);
    if (hash >= 0) url.setFragment(file.mid(hash + 1));
    // The same page again stays where it is, so a search hit shown on it is not lost.
    if (url != browser_->source() || notice_) browser_->setSource(url);
    notice_ = false;
    SyncContents(path);
    UpdateButtons();
}

void HelpWindow::Present() {
    if (isMinimized()) showNormal();
    // Asked for from a modal dialog, it is that dialog's transient window, which its modality
    // does not block; else its owner's again.
    winId();
    const QWidget* modal = QApplication::activeModalWidget();
    const QWidget* over = modal ? modal : parentWidget() ? parentWidget()->window() : nullptr;
    if (over && over != this && over->windowHandle())
        windowHandle()->setTransientParent(over->windowHandle());
    show();
    raise();
    activateWindow();
}

void HelpWindow::ShowNotice(const QString& title, const QString& html) {
    QString heading = title, body = html;
    if (!book_.Found()) {
        // The window must say what is wrong and where it looked, never stay blank.
        heading = QStringLiteral("Help pages not found");
        body = QStringLiteral("<p>The help pages of %1 were not found. The help window looked "
                              "for the file index.txt in these folders:</p><ul>")
                   .arg(Escaped(caption_));
        for (const QString& dir : book_.Searched())
            body += QStringLiteral("<li>%1</li>").arg(Escaped(QDir::toNativeSeparators(dir)));
        body += QStringLiteral("</ul><p>Install the program again, or copy its help folder "
                               "beside the program file.</p>");
    }
    notice_ = true;
    browser_->setHtml(QStringLiteral("<html><head><title>%1</title></head><body><h1>%1</h1>%2"
                                     "</body></html>")
                          .arg(Escaped(heading), body));
    SyncContents(QString());
    UpdateButtons();
}

void HelpWindow::RunSearch() {
    results_->clear();
    const QString words = searchEdit_->text();
    if (words.trimmed().isEmpty()) {
        resultCount_->setText(QStringLiteral(" "));
        return;
    }
    const QList<const HelpPage*> found = book_.Search(words);
    for (const HelpPage* page : found) {
        auto* item = new QListWidgetItem(page->title, results_);
        item->setData(Qt::UserRole, page->file);
    }
    if (found.isEmpty())
        resultCount_->setText(QStringLiteral("No page holds these words."));
    else
        resultCount_->setText(found.size() == 1
                                  ? QStringLiteral("1 page found")
                                  : QStringLiteral("%1 pages found").arg(found.size()));
    if (!found.isEmpty()) results_->setCurrentRow(0);
}

void HelpWindow::OpenResult(QListWidgetItem* item) {
    if (!item) return;
    OpenPage(item->data(Qt::UserRole).toString());
    if (item->listWidget() == results_) {
        // Show where the first word stands on the page.
        const QStringList words =
            searchEdit_->text().simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        browser_->moveCursor(QTextCursor::Start);
        if (!words.isEmpty()) browser_->find(words.first());
    }
}

void HelpWindow::SyncContents(const QString& page) {
    for (int i = 0; i < contents_->count(); ++i) {
        if (contents_->item(i)->data(Qt::UserRole).toString() == page) {
            contents_->setCurrentRow(i);
            return;
        }
    }
    contents_->clearSelection();
}

void HelpWindow::UpdateButtons() {
    backButton_->setEnabled(browser_->isBackwardAvailable());
    forwardButton_->setEnabled(browser_->isForwardAvailable());
    contentsButton_->setEnabled(book_.Found());
    searchButton_->setEnabled(book_.Found());
}

HelpWindow* InstallHelpWindow(const QString& program, const QString& caption, QWidget* owner) {
    auto* window = new HelpWindow(program, caption, DefaultHelpRoots(), owner);
    QPointer<HelpWindow> guard(window);
    SetHelpHook([guard](int context) {
        if (guard) guard->ShowHelpContext(context);
    });
    QObject::connect(window, &QObject::destroyed, [] { SetHelpHook({}); });
    return window;
}

} // namespace ui
