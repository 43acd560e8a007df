// The programs' own help window: HTML pages of one program with a contents list, a search over
// page titles and text, back and forward, and the page of each dialog's help context.
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QWidget>

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTabWidget;
class QTextBrowser;

namespace ui {

// One page of a program's help, as listed in its "index.txt".
struct HelpPage {
    QString file;        // absolute path
    QString title;       // the page's <title>, or its file name when it has none
    QString text;        // the page as plain text, for the search
    QList<int> contexts; // help contexts that open it
};

// A program's help pages: the directory they were found in and the table of "index.txt".
// "index.txt" lists one page a line (relative to the program's directory), in the order the
// contents list shows them, each followed by the help context numbers that open it and the
// words "contents" (the contents page; else the first) and "using-help" (the page on using
// this window). '#' starts a comment line.
class HelpBook {
public:
    // Looks for program/index.txt under each root in turn and reads the first found.
    HelpBook(const QString& program, const QStringList& roots);

    bool Found() const { return !directory_.isEmpty(); }
    QString Directory() const { return directory_; }   // the program's page directory
    QStringList Searched() const { return searched_; } // where it looked, in order
    const QList<HelpPage>& Pages() const { return pages_; }
    // Lines of "index.txt" that could not be used (a missing page, a bad context number).
    QStringList Problems() const { return problems_; }

    // The page a help context opens; empty when the table has none.
    QString PageForContext(int context) const;
    QString ContentsPage() const;  // empty when not found
    QString UsingHelpPage() const; // empty when the table names none
    // The pages whose title or text holds every word of words, ignoring case; pages whose
    // title holds them come first, then in contents order.
    QList<const HelpPage*> Search(const QString& words) const;
    const HelpPage* PageOf(const QString& file) const;

private:
    QString directory_;
    QStringList searched_;
    QStringList problems_;
    QList<HelpPage> pages_;
    QHash<int, QString> contexts_;
    QString contentsPage_;
    QString usingHelpPage_;
};

// Where help pages are looked for, in order: help/ beside the executable, PREFIX/share/zolt/help
// when the executable is PREFIX/bin/NAME, and the source tree's help/ of a build-tree program.
QStringList DefaultHelpRoots();

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // program names the directory of its pages ("zoltw", "zimra"); caption is the window title.
    HelpWindow(const QString& program, const QString& caption,
               const QStringList& roots = DefaultHelpRoots(), QWidget* parent = nullptr);

    // The commands of the programs' Help menus and the dialogs' Help buttons and F1.
    void ShowHelpContents();
    void ShowHelpTopicSearch();
    void ShowHelpOnHelp();
    void ShowHelpContext(int context);

    const HelpBook& Book() const { return book_; }
    QString CurrentPage() const; // absolute path of the page shown; empty for a notice
    QString CurrentTitle() const;
    QTextBrowser* Browser() const { return browser_; }
    QListWidget* ContentsList() const { return contents_; }
    QLineEdit* SearchEdit() const { return searchEdit_; }
    QListWidget* SearchResults() const { return results_; }

    // Opens the chosen page (absolute path, with an optional "#anchor").
    void OpenPage(const QString& file);

private:
    QHBoxLayout* CreateButtons();
    void CreateContentsList();
    QWidget* CreateSearchPane();
    void LayOut(QHBoxLayout* buttons, QWidget* searchPane);
    void SetTabOrder();
    void Connect();
    void CreateShortcuts();
    void Present();
    void ShowNotice(const QString& title, const QString& html);
    void RunSearch();
    void OpenResult(QListWidgetItem* item);
    void SyncContents(const QString& page);
    void UpdateButtons();

    HelpBook book_;
    QString caption_;
    bool notice_ = false;
    QTabWidget* tabs_ = nullptr;
    QListWidget* contents_ = nullptr;
    QLineEdit* searchEdit_ = nullptr;
    QListWidget* results_ = nullptr;
    QLabel* resultCount_ = nullptr;
    QTextBrowser* browser_ = nullptr;
    QPushButton* contentsButton_ = nullptr;
    QPushButton* searchButton_ = nullptr;
    QPushButton* backButton_ = nullptr;
    QPushButton* forwardButton_ = nullptr;
    QPushButton* helpOnHelpButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
};

// Makes the help window of a program, owned by owner (its main window), and sends the shared
// dialogs' help requests (ShowHelp) to it until it is destroyed.
HelpWindow* InstallHelpWindow(const QString& program, const QString& caption, QWidget* owner);

} // namespace ui
