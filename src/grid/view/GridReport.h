// The paged report of a result grid, shared by both programs: header lines on every page, extra
// lines on page 1, the title rows, the rows and a page-number footer, printed or saved as PDF.
#pragma once

#include "grid/model/CellGrid.h"

#include <QFont>
#include <QPageLayout>
#include <QString>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

class QPaintDevice;
class QPagedPaintDevice;
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
};

// Where a run draws. Coordinates are device pixels from the top-left of the printable area;
// a text is placed by the top of its line.
class PrintCanvas {
public:
    virtual ~PrintCanvas() = default;
    virtual bool BeginJob(const QString& title) = 0; // a new job on its page 1
    virtual void NewPage() = 0;
    virtual bool EndJob() = 0;   // false: the job could not be delivered (see Error())
    virtual void AbortJob() = 0; // the job is dropped: nothing of it is delivered
    virtual int PixelsPerInch() const = 0;
    virtual int PageHeight() const = 0;
    virtual void SetFont(const QString& family, int pointSize, unsigned style) = 0;
    virtual int TextWidth(const QString& text) const = 0;
    virtual int TextHeight(const QString& text) const = 0;
    virtual void DrawText(int x, int y, const QString& text) = 0;
    virtual QString Error() const { return {}; }
};

// A canvas measuring on a paint device that keeps the open job's texts page by page and hands
// them to the output only when the job is complete, so a cancelled job sends nothing to the
// spooler (whose own abort cannot take back what it has been given) and leaves no file.
class PagedCanvas : public PrintCanvas {
public:
    struct PlacedText {
        QFont font;
        int x, y;
        QString text;
    };
    using Page = std::vector<PlacedText>;

    bool BeginJob(const QString& title) override;
    void NewPage() override;
    bool EndJob() override;
    void AbortJob() override;
    int PixelsPerInch() const override;
    int PageHeight() const override;
    void SetFont(const QString& family, int pointSize, unsigned style) override;
    int TextWidth(const QString& text) const override;
    int TextHeight(const QString& text) const override;
    void DrawText(int x, int y, const QString& text) override;
    QString Error() const override { return error_; }

protected:
    PagedCanvas() = default;
    // The device fonts are measured on; set by the output before the first job.
    void SetMetricsDevice(QPaintDevice* device) { metrics_ = device; }
    // Sends a complete job to its output; false with error_ set when that fails.
    virtual bool Deliver(const QString& title, int jobNumber, const std::vector<Page>& pages) = 0;
    // Paints the pages on an open device (a printer or a PDF writer).
    static bool PaintPages(QPagedPaintDevice& device, const std::vector<Page>& pages);

    QString error_;

private:
    QPaintDevice* metrics_ = nullptr;
    QFont font_;
    QString title_;
    std::vector<Page> pages_;
    int jobs_ = 0;
    bool open_ = false;
};

// Jobs sent to a printer through the platform's spooler.
class PrinterCanvas : public PagedCanvas {
public:
    explicit PrinterCanvas(QPrinter& printer);

protected:
    bool Deliver(const QString& title, int jobNumber, const std::vector<Page>& pages) override;

private:
    QPrinter& printer_;
};

// Jobs saved as PDF files, one file per job: the chosen name for the first, then the name with
// " (n)" before its extension ("report.pdf", "report (2).pdf", ...). Each file is written whole
// or not at all and replaces a file of that name.
class PdfFileCanvas : public PagedCanvas {
public:
    PdfFileCanvas(const QString& path, const QPageLayout& layout, int resolution);
    ~PdfFileCanvas() override;

protected:
    bool Deliver(const QString& title, int jobNumber, const std::vector<Page>& pages) override;

private:
    struct Metrics;
    std::unique_ptr<Metrics> metricsDevice_;
    QString path_;
    QPageLayout layout_;
    int resolution_;
};

// The file of job n (from 1): the path itself, then " (n)" before the extension.
QString JobFileName(const QString& path, int jobNumber);

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
