// Turning the tickers of a results grid into a host tag list, shared by both programs: the
// question before a second list, the name dialog, and the small progress window with its Stop.
#pragma once

#include "grid/model/CellGrid.h"
#include "hostdb/TagListBuild.h"
#include "ui/BevelPanel.h"
#include "ui/Hooks.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QString>
#include <chrono>
#include <filesystem>
#include <string>

class QLabel;
class QProgressBar;
class QPushButton;

namespace ui {

// One program's fixed arguments of the procedure.
struct TagListProgram {
    int tickerColumn;
    const char* defaultName;
    const char* caption; // of the name dialog
    int helpContext;     // of the name dialog
};

// The confirmation asked when a list was already built from the results shown.
QString AnotherListQuestion(const std::string& lastListName);

// How a build ends: whether a list now exists for the caller to remember, and the box (if
// any) the user must see. writeError is the writer's reason, empty when the file was written.
struct TagListOutcome {
    bool written = false;
    BoxKind kind = BoxKind::Information;
    QString message; // empty: no box
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
};
TagListOutcome OutcomeOfBuild(const std::string& listName, const hostdb::TagListBuild& build,
                              const std::string& writeError);

// A panel with a caption drawn centred inside its bevels.
class CaptionPanel : public BevelPanel {
    Q_OBJECT
public:
    CaptionPanel(QWidget* parent, Bevel outer, Bevel inner, int bevelWidth, QString caption);
    const QString& Caption() const { return caption_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
};

// The progress window of a build: one per program, hidden between uses. It is shown without
// a nested event loop; the build itself lets pending events through so Stop is seen.
class TagListBuildWindow : public QDialog {
    Q_OBJECT
public:
    // The program's one window, created on first use.
    static TagListBuildWindow* Instance();
    // The window if it was created, else null.
    static TagListBuildWindow* Existing();

    BevelPanel* Panel1;
    QLabel* Label1;
    CaptionPanel* Panel2;
    QProgressBar* ggeBuild;
    QPushButton* btnStop;

    // Pending events are let through at most this often, so painting never slows the build.
    std::chrono::milliseconds ProcessInterval{50};

    // Gauge at 0, stop flag cleared, shown centred over the window `over` belongs to.
    void Start(QWidget* over);
    // One row done: the gauge takes percent when it changed, pending events are let through
    // when the interval has passed. False once Stop was pressed.
    bool RowDone(int percent);
    void Finish();
    bool StopPressed() const { return stop_; }

    void btnStopClick();

protected:
    void reject() override; // Escape
    void closeEvent(QCloseEvent* event) override;

private:
    explicit TagListBuildWindow(QWidget* parent = nullptr);

    bool stop_ = false;
    QElapsedTimer sinceEvents_;
};

// Writes the tickers of rows firstRow..lastRow, column tickerColumn, of grid into a tag list
// in directory, after asking for its name. True when a list was written; then lastListName
// and firstTicker hold its name and first ticker. A question or dialog cancelled, a list with
// no ticker, or a file that could not be written changes neither and returns false.
bool BuildTagList(const grid::CellGrid& grid, QWidget* gridWindow, int firstRow, int lastRow,
                  int tickerColumn, const QString& defaultName, const QString& caption,
                  const std::filesystem::path& directory, int helpContext,
                  std::string& lastListName, std::string& firstTicker);

inline bool BuildTagList(const grid::CellGrid& grid, QWidget* gridWindow, int firstRow, int lastRow,
                         const TagListProgram& program, const std::filesystem::path& directory,
                         std::string& lastListName, std::string& firstTicker) {
    return BuildTagList(grid, gridWindow, firstRow, lastRow, program.tickerColumn,
                        QString::fromLatin1(program.defaultName),
                        QString::fromLatin1(program.caption), directory, program.helpContext,
                        lastListName, firstTicker);
}

} // namespace ui
