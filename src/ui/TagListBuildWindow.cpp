#include "ui/TagListBuildWindow.h"

#include "hostdb/NamedFiles.h"
#include "ui/NamedFileDialogs.h"
#include "ui/WindowCentering.h"
#include "ui/DialogParts.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <exception>

namespace ui {

namespace {

QPointer<TagListBuildWindow>& InstanceSlot() {
    static QPointer<TagListBuildWindow> instance;
    return instance;
}

QString Joined(const std::vector<std::string>& items) {
    QString out;
    for (const std::string& item : items) {
        if (!out.isEmpty()) out += QStringLiteral(", ");
        out += QString::fromStdString(item);
    }
    return out;
}

} // namespace

QString AnotherListQuestion(const std::string& lastListName) {
    return QStringLiteral("We've already built a list (named ") +
           QString::fromStdString(lastListName) + QStringLiteral(") from these tickers. ") +
           QStringLiteral("Do you want to build another list?");
}

TagListOutcome OutcomeOfBuild(const std::string& listName, const hostdb::TagListBuild& build,
                              const std::string& writeError) {
    const QString name = QString::fromStdString(listName);
    TagListOutcome out;
    if (!writeError.empty()) {
        // Left to the fatal error handler, a full disk or a read-only folder would end the
        // program; the user only needs to know this list was not written.
        out.kind = BoxKind::Error;
        out.buttons = QMessageBox::Abort;
        out.message = QStringLiteral("The TagList ") + name + QStringLiteral(" was not written: ") +
                      QString::fromStdString(writeError);
        return out;
    }
    const QString unprintable =
        build.unprintable == 0
            ? QString()
            : QString::number(build.unprintable) +
                  (build.unprintable == 1 ? QStringLiteral(" ticker was") : QStringLiteral(" tickers were")) +
                  QStringLiteral(" left out: a ticker holds no control characters.");
    if (build.added == 0) {
        // No file exists under that name, so reporting success would send the chart window to
        // a list that is not there.
        if (!build.stopped && build.unprintable > 0) {
            out.message = QStringLiteral("The TagList ") + name +
                          QStringLiteral(" was not written: ") + unprintable;
            return out;
        }
        out.message = build.stopped
                          ? QStringLiteral("The TagList ") + name +
                                QStringLiteral(" was not written: it was stopped before any "
                                               "ticker was added.")
                          : QStringLiteral("The TagList ") + name +
                                QStringLiteral(" was not written: these rows hold no ticker.");
        return out;
    }
    out.written = true;
    if (!build.refused.empty()) {
        out.kind = BoxKind::Warning;
        out.message = QStringLiteral("The TagList ") + name +
                      QStringLiteral(" was written without these tickers, which it cannot hold: ") +
                      Joined(build.refused);
    }
    if (build.unprintable > 0) {
        out.kind = BoxKind::Warning;
        out.message += (out.message.isEmpty() ? QStringLiteral("The TagList ") + name +
                                                    QStringLiteral(" was written. ")
                                              : QStringLiteral(". ")) +
                       unprintable;
    }
    return out;
}

CaptionPanel::CaptionPanel(QWidget* parent, Bevel outer, Bevel inner, int bevelWidth,
                           QString caption)
    : BevelPanel(parent, outer, inner, bevelWidth), caption_(std::move(caption)) {}

void CaptionPanel::paintEvent(QPaintEvent* event) {
    BevelPanel::paintEvent(event);
    QPainter p(this);
    p.drawText(rect(), Qt::AlignCenter, caption_);
}

TagListBuildWindow* TagListBuildWindow::Instance() {
    QPointer<TagListBuildWindow>& slot = InstanceSlot();
    if (!slot) {
        slot = new TagListBuildWindow;
        // Top-level and parentless, so nothing else would free it before the application goes.
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp,
                         [] { delete InstanceSlot().data(); });
    }
    return slot;
}

TagListBuildWindow* TagListBuildWindow::Existing() { return InstanceSlot(); }

TagListBuildWindow::TagListBuildWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    SetUpFixedDialog(this, QStringLiteral("frmBuildList"), 237, 119);
    // Not a nested loop, but no other window takes input while the rows are read: a sort or a
    // new run would change the grid under the build.
    setWindowModality(Qt::ApplicationModal);

    Panel1 = new BevelPanel(this, BevelPanel::Bevel::None, BevelPanel::Bevel::Lowered, 2);
    Panel1->setGeometry(rect());
    Label1 = new QLabel(QStringLiteral("Building TagList..."), Panel1);
    Label1->move(60, 8);
    Label1->adjustSize();
    Panel2 = new CaptionPanel(Panel1, BevelPanel::Bevel::Lowered, BevelPanel::Bevel::None, 2,
                              QStringLiteral("Building TagList"));
    Panel2->setGeometry(16, 32, 204, 33);
    ggeBuild = new QProgressBar(Panel2);
    const int bw = Panel2->BorderWidth();
    ggeBuild->setGeometry(Panel2->rect().adjusted(bw, bw, -bw, -bw));
    ggeBuild->setRange(0, 100);
    ggeBuild->setValue(0);
    ggeBuild->setAlignment(Qt::AlignCenter);
    ggeBuild->setStyleSheet(
        QStringLiteral("QProgressBar { border: none; background: white; color: black; }"
                       "QProgressBar::chunk { background: red; }"));
    btnStop = MakeGlyphButton(Panel1, QStringLiteral("Stop"), QStyle::SP_BrowserStop,
                              QRect(74, 81, 89, 29));
    btnStop->setDefault(true);
    btnStop->setFocusPolicy(Qt::NoFocus);
    connect(btnStop, &QPushButton::clicked, this, &TagListBuildWindow::btnStopClick);
}

void TagListBuildWindow::Start(QWidget* over) {
    ggeBuild->setValue(0);
    CenterOver(this, over ? over->window() : nullptr);
    stop_ = false;
    sinceEvents_.invalidate(); // the first row shows the window at once
    show();
    raise();
    activateWindow();
}

bool TagListBuildWindow::RowDone(int percent) {
    if (ggeBuild->value() != percent) ggeBuild->setValue(percent);
    if (!sinceEvents_.isValid() || sinceEvents_.elapsed() >= ProcessInterval.count()) {
        QCoreApplication::processEvents();
        sinceEvents_.start();
    }
    return !stop_;
}

void TagListBuildWindow::Finish() { hide(); }

void TagListBuildWindow::btnStopClick() { stop_ = true; }

void TagListBuildWindow::reject() { btnStop->click(); }

void TagListBuildWindow::closeEvent(QCloseEvent* event) {
    if (!isVisible()) {
        QDialog::closeEvent(event);
        return;
    }
    // Closing the window mid-build means the same as Stop; the build hides it when done.
    event->ignore();
    btnStop->click();
}

bool BuildTagList(const grid::CellGrid& grid, QWidget* gridWindow, int firstRow, int lastRow,
                  int tickerColumn, const QString& defaultName, const QString& caption,
                  const std::filesystem::path& directory, int helpContext,
                  std::string& lastListName, std::string& firstTicker) {
    // The build lets events through; a second build started by one of them would share the
    // one progress window and its stop flag.
    static bool busy = false;
    if (busy) {
        Beep();
        return false;
    }
    struct Busy {
        Busy() { busy = true; }
        ~Busy() { busy = false; }
    } guard;

    QWidget* owner = gridWindow ? gridWindow->window() : nullptr;
    if (!lastListName.empty() &&
        ShowMessage(owner, BoxKind::Confirmation, AnotherListQuestion(lastListName),
                    QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return false;

    const QString extension = QStringLiteral(".LIS");
    QString chosen = QString::fromStdString(lastListName);
    if (!ExecuteSave(caption, QStringLiteral("TagList"), directory, defaultName, extension,
                     helpContext, true, gridWindow, chosen))
        return false;
    const std::string name = chosen.toStdString();

    // The dialog asked before an existing list of that name (in any case) is replaced; a name
    // that was free then must not replace a file that appeared since.
    const auto existing = hostdb::FindNamedFile(directory, name, extension.toStdString());
    const std::filesystem::path file = existing ? *existing : directory / (name + ".LIS");
    const auto mode = existing ? platform::WriteMode::Replace : platform::WriteMode::NoReplace;

    TagListBuildWindow* form = TagListBuildWindow::Instance();
    form->Start(gridWindow);
    hostdb::TagListBuild build;
    std::string error;
    try {
        build = hostdb::BuildTagListFile(
            file.string(), firstRow, lastRow,
            [&](int row) {
                // Rows outside the grid read as empty cells rather than past its end.
                if (row < 0 || row >= grid.RowCount() || tickerColumn < 0 ||
                    tickerColumn >= grid.ColCount())
                    return std::string();
                return grid.Text(tickerColumn, row);
            },
            [&](std::int64_t done, std::int64_t total) {
                return form->RowDone(hostdb::PercentDone(done, total));
            },
            mode);
    } catch (const std::exception& e) {
        error = e.what();
        if (error.empty()) error = "write failed";
    }
    form->Finish();

    TagListOutcome outcome = OutcomeOfBuild(name, build, error);
    if (outcome.written) {
        lastListName = name;
        firstTicker = build.firstTicker;
    }
    if (!outcome.message.isEmpty())
        ShowMessage(owner, outcome.kind, outcome.message, outcome.buttons);
    return outcome.written;
}

} // namespace ui
