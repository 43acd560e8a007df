// The paged report of a result grid, shared by both programs: header lines on every page, extra
// lines on page 1, the title rows, the rows and a page-number footer, printed or saved as PDF.
#pragma once

#include "grid/model/CellGrid.h"
#include "grid/view/PrintCanvas.h"

#include <QString>
#include <functional>
#include <span>
#include <string>
#include <vector>

class QPrinter;
class QWidget;

namespace grid {

struct PrintLine {
    std::string text;
    const CellFormat* format = nullptr; // none: plain, left-aligned
};
using PrintLines = std::vector<PrintLine>;

// Everything one print run needs; the grid and the formats must outlive the run.
struct PrintInputs {
    PrintLines headerLines;
    PrintLines firstPageLines;
    QString documentTitle;
    QString printedFor; // empty: no "Printed for" on page 1
    int copies = 1;
    int firstRow = 0;
    int lastRow = -1;
    QString fontName = QStringLiteral("Arial");
    int printFontSize = 11;
    int screenPixelsPerInch = 96;
    int screenFontSize = 10;
    const CellGrid* grid = nullptr;
    std::vector<int> columnWidths; // screen pixels per grid column; a missing one counts as 0
    // Rows from here to lastRow (a summary) start a new page rather than be split, where they
    // fit on one; -1: none.
    int keepTogetherFrom = -1;
};

// x[0] = 0 and x[c + 1] = x[c] + width[c] * printerPpi * printSize div (screenPpi * screenSize),
// multiplied out before the one division.
std::vector<int> ColumnEdges(std::span<const int> widths, int columnCount, int printerPpi,
                             int printFontSize, int screenPpi, int screenFontSize);

// Where a text of textWidth starts in the box from left, width wide: left, right, centred, or
// its first "-" at the middle (dashOffset = the width of the text before it); other alignment
// values start at the left.
int TextX(int alignment, int left, int width, int textWidth, int dashOffset);

// What a run tells its window.
struct PrintRunHooks {
    std::function<void(int page)> pageStarted;
    std::function<void(int maximum)> gaugeStarted;
    std::function<void()> rowPrinted;
    std::function<void()> textDrawn; // where pending events are processed, so Cancel is seen
};

enum class PrintOutcome { Done, Cancelled, Failed };

// One print run over all copies, drawing through a canvas; free of windows.
class ReportRun {
public:
    ReportRun(const PrintInputs& inputs, PrintCanvas& canvas);

    void SetHooks(PrintRunHooks hooks) { hooks_ = std::move(hooks); }
    // Prints every copy unless cancelled; does nothing while a run is busy.
    PrintOutcome Run();
    // Seen after the next text drawn: the open job is aborted, nothing further starts.
    void Cancel() { cancelled_ = true; }
    bool Busy() const { return busy_; }
    bool Cancelled() const { return cancelled_; }

private:
    bool PrintCopy();
    void PageHeader(int page);
    void PageBody(int page);
    void PageFooter(int page);
    void PrintLineAcross(const PrintLine& line);
    void PrintGridRow(int row);
    void BlankLine();
    void PrintText(const std::string& text, const CellFormat* format, int left, int width);
    bool Stopping();

    const PrintInputs& in_;
    PrintCanvas& canvas_;
    PrintRunHooks hooks_;
    bool busy_ = false, cancelled_ = false, jobOpen_ = false;
    int lastRow_ = -1, columns_ = 0;
    int margin_ = 0, lineHeight_ = 0, linesPerPage_ = 0;
    std::vector<int> x_;
    int currentRow_ = 0, lineCount_ = 0, y_ = 0;
};

// Prints in the "Printing page n" window, shown modally until the run ends or is cancelled.
PrintOutcome PrintStringGrid(const PrintLines& headerLines, const PrintLines& firstPageLines,
                             const QString& documentTitle, const QString& printedFor, int copies,
                             int firstRow, int lastRow, const QString& fontName, int printFontSize,
                             int screenPixelsPerInch, int screenFontSize, const CellGrid& grid,
                             std::span<const int> columnWidths, PrintCanvas& canvas,
                             QWidget* parent = nullptr);
PrintOutcome PrintStringGrid(const PrintInputs& inputs, PrintCanvas& canvas,
                             QWidget* parent = nullptr);

// The Print command: the print dialog (nothing happens when it is cancelled), then the report
// on the chosen printer, or in PDF files when the user chose a file, with the copies chosen
// there (inputs.copies is ignored). A failure is shown in a message box. `printer`, when given,
// keeps the user's choices from one print to the next. True when every copy was delivered.
bool PrintReport(QWidget* parent, PrintInputs inputs, QPrinter* printer = nullptr);

// The account's full name: the comment field of the password entry up to its first comma.
std::string FullNameFromGecos(const char* gecos);
// The current user's full name, empty when the account has none.
QString PrintedForText();

} // namespace grid
