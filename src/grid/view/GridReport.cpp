#include "grid/view/GridReport.h"

#include "grid/view/PrintProgressDialog.h"
#include "grid/view/ScreenerCell.h"
#include "ui/Hooks.h"

#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>
#include <pwd.h>
#include <unistd.h>

namespace grid {

// --- layout -------------------------------------------------------------------------------

std::vector<int> ColumnEdges(std::span<const int> widths, int columnCount, int printerPpi,
                             int printFontSize, int screenPpi, int screenFontSize) {
    std::vector<int> x(static_cast<size_t>(std::max(columnCount, 0)) + 1, 0);
    long long divisor = static_cast<long long>(screenPpi) * screenFontSize;
    if (divisor <= 0) divisor = 1;
    for (int c = 0; c < columnCount; ++c) {
        long long w = static_cast<size_t>(c) < widths.size() ? std::max(widths[c], 0) : 0;
        x[c + 1] = x[c] + static_cast<int>(w * printerPpi * printFontSize / divisor);
    }
    return x;
}

int TextX(int alignment, int left, int width, int textWidth, int dashOffset) {
    switch (alignment) {
    case AlignRight: return left + width - textWidth;
    case AlignCentre: return left + (width - textWidth) / 2;
    case AlignDash: return left + width / 2 - dashOffset;
    default: return left;
    }
}

// --- the run ------------------------------------------------------------------------------

ReportRun::ReportRun(const PrintInputs& inputs, PrintCanvas& canvas)
    : in_(inputs), canvas_(canvas) {}

PrintOutcome ReportRun::Run() {
    if (busy_) return PrintOutcome::Failed;
    cancelled_ = false;
    busy_ = true;
    PrintOutcome outcome = PrintOutcome::Done;
    for (int copy = 0; copy < in_.copies && !cancelled_; ++copy) {
        if (!PrintCopy()) {
            outcome = PrintOutcome::Failed;
            break;
        }
    }
    if (cancelled_ && outcome == PrintOutcome::Done) outcome = PrintOutcome::Cancelled;
    busy_ = false;
    return outcome;
}

bool ReportRun::PrintCopy() {
    if (!in_.grid) return false;
    if (!canvas_.BeginJob(in_.documentTitle)) return false;
    jobOpen_ = true;
    const CellGrid& g = *in_.grid;
    columns_ = g.ColCount();
    // Rows the grid does not have cannot be printed.
    lastRow_ = std::min(in_.lastRow, g.RowCount() - 1);
    currentRow_ = std::max(in_.firstRow, 0);
    if (hooks_.gaugeStarted) hooks_.gaugeStarted(std::max(lastRow_ - currentRow_ + 1, 0));

    int ppi = canvas_.PixelsPerInch();
    margin_ = ppi / 2;
    canvas_.SetFont(in_.fontName, in_.printFontSize, StyleBold);
    lineHeight_ = std::max(canvas_.TextHeight(QStringLiteral("Mpgy")), 1);
    canvas_.SetFont(in_.fontName, in_.printFontSize, 0);
    linesPerPage_ = canvas_.PageHeight() / lineHeight_ - 4;
    x_ = ColumnEdges(in_.columnWidths, columns_, ppi, in_.printFontSize, in_.screenPixelsPerInch,
                     in_.screenFontSize);

    int page = 1;
    while (currentRow_ <= lastRow_ && !Stopping()) {
        PageHeader(page);
        PageBody(page);
        PageFooter(page);
        if (currentRow_ <= lastRow_ && !Stopping()) {
            canvas_.NewPage();
            ++page;
        }
    }
    if (Stopping()) return true;
    jobOpen_ = false;
    return canvas_.EndJob();
}

// Aborts the open job once, as soon as a Cancel has been seen.
bool ReportRun::Stopping() {
    if (cancelled_ && jobOpen_) {
        jobOpen_ = false;
        canvas_.AbortJob();
    }
    return cancelled_;
}

void ReportRun::PageHeader(int page) {
    if (hooks_.pageStarted) hooks_.pageStarted(page);
    lineCount_ = 0;
    y_ = 0;
    for (const PrintLine& line : in_.headerLines) PrintLineAcross(line);
    if (page == 1)
        for (const PrintLine& line : in_.firstPageLines) PrintLineAcross(line);
    for (int row = 0; row < in_.grid->FixedRows() && row < in_.grid->RowCount(); ++row)
        PrintGridRow(row);
    BlankLine();
}

void ReportRun::PageBody(int page) {
    // A page that holds no row after its header would repeat for ever: page 1 may pass its
    // rows on when its own lines filled it, any other page prints at least one.
    bool mayStayEmpty = page == 1 && !in_.firstPageLines.empty();
    int rows = 0;
    const int block = lastRow_ - in_.keepTogetherFrom + 1;
    const int freshPageHeader =
        static_cast<int>(in_.headerLines.size()) + in_.grid->FixedRows() + 1;
    while (currentRow_ <= lastRow_ && !Stopping()) {
        if (lineCount_ >= linesPerPage_ && (rows > 0 || mayStayEmpty)) break;
        if (currentRow_ == in_.keepTogetherFrom && rows > 0 && lineCount_ + block > linesPerPage_ &&
            freshPageHeader + block <= linesPerPage_)
            break;
        PrintGridRow(currentRow_);
        if (hooks_.rowPrinted) hooks_.rowPrinted();
        ++currentRow_;
        ++rows;
    }
}

void ReportRun::PageFooter(int page) {
    while (lineCount_ <= linesPerPage_ && !cancelled_) BlankLine();
    int width = x_[columns_] - x_[0];
    if (page == 1 && !in_.printedFor.isEmpty())
        PrintText(("Printed for " + in_.printedFor).toStdString(), nullptr, x_[0], width);
    static const CellFormat centred{AlignCentre, false, false, 1, 0};
    PrintText("Page " + std::to_string(page), &centred, x_[0], width);
}

void ReportRun::PrintLineAcross(const PrintLine& line) {
    PrintText(line.text, line.format, x_[0], x_[columns_] - x_[0]);
    ++lineCount_;
    y_ += lineHeight_;
}

void ReportRun::BlankLine() {
    // Nothing to draw, but a chance for Cancel as after any line.
    if (hooks_.textDrawn) hooks_.textDrawn();
    Stopping();
    ++lineCount_;
    y_ += lineHeight_;
}

void ReportRun::PrintGridRow(int row) {
    for (int c = 0; c < columns_; ++c) {
        const std::string& text = in_.grid->Text(c, row);
        if (text.empty() || text == " ") continue;
        // A spanned title is placed over all its columns, as the screen draws it.
        const CellFormat* f = in_.grid->Format(c, row);
        const int span = !f ? 1 : f->Span < 0 ? columns_ - c : std::max(1, f->Span);
        PrintText(text, f, x_[c], x_[std::min(c + span, columns_)] - x_[c]);
    }
    ++lineCount_;
    y_ += lineHeight_;
}

void ReportRun::PrintText(const std::string& text, const CellFormat* format, int left, int width) {
    if (!jobOpen_) return;
    int alignment = format ? format->Alignment : AlignLeft;
    canvas_.SetFont(in_.fontName, in_.printFontSize, format ? format->Style : 0);
    const QString t = gridview::CellText(text); // as the screen shows it
    int dashOffset = 0;
    if (alignment == AlignDash) {
        qsizetype dash = t.indexOf(QLatin1Char('-'));
        dashOffset = canvas_.TextWidth(dash < 0 ? t : t.left(dash));
    }
    int x = margin_ + TextX(alignment, left, width, canvas_.TextWidth(t), dashOffset);
    canvas_.DrawText(x, y_, t);
    if (hooks_.textDrawn) hooks_.textDrawn();
    Stopping();
}

// --- the window's entry points ------------------------------------------------------------

PrintOutcome PrintStringGrid(const PrintInputs& inputs, PrintCanvas& canvas, QWidget* parent) {
    ReportRun run(inputs, canvas);
    PrintProgressDialog window(run, parent);
    window.exec();
    return window.Outcome();
}

PrintOutcome PrintStringGrid(const PrintLines& headerLines, const PrintLines& firstPageLines,
                             const QString& documentTitle, const QString& printedFor, int copies,
                             int firstRow, int lastRow, const QString& fontName, int printFontSize,
                             int screenPixelsPerInch, int screenFontSize, const CellGrid& grid,
                             std::span<const int> columnWidths, PrintCanvas& canvas,
                             QWidget* parent) {
    PrintInputs in;
    in.headerLines = headerLines;
    in.firstPageLines = firstPageLines;
    in.documentTitle = documentTitle;
    in.printedFor = printedFor;
    in.copies = copies;
    in.firstRow = firstRow;
    in.lastRow = lastRow;
    in.fontName = fontName;
    in.printFontSize = printFontSize;
    in.screenPixelsPerInch = screenPixelsPerInch;
    in.screenFontSize = screenFontSize;
    in.grid = &grid;
    in.columnWidths.assign(columnWidths.begin(), columnWidths.end());
    return PrintStringGrid(in, canvas, parent);
}

bool PrintReport(QWidget* parent, PrintInputs inputs, QPrinter* printer) {
    QPrinter own(QPrinter::HighResolution);
    QPrinter& p = printer ? *printer : own;
    QPrintDialog dialog(&p, parent);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() != QDialog::Accepted) return false;

    // The copies are printed as jobs of their own, never multiplied by the spooler.
    inputs.copies = p.copyCount();
    p.setCopyCount(1);
    std::unique_ptr<PrintCanvas> canvas;
    if (p.outputFormat() == QPrinter::PdfFormat && !p.outputFileName().isEmpty())
        canvas =
            std::make_unique<PdfFileCanvas>(p.outputFileName(), p.pageLayout(), p.resolution());
    else
        canvas = std::make_unique<PrinterCanvas>(p);
    PrintOutcome outcome = PrintStringGrid(inputs, *canvas, parent);
    if (outcome == PrintOutcome::Failed) {
        QString reason = canvas->Error();
        ui::ShowMessage(parent, ui::BoxKind::Error,
                        reason.isEmpty() ? QStringLiteral("The report could not be printed.")
                                         : reason);
    }
    return outcome == PrintOutcome::Done;
}

// --- the printed-for text -----------------------------------------------------------------

std::string FullNameFromGecos(const char* gecos) {
    if (!gecos) return {};
    std::string name(gecos);
    return name.substr(0, name.find(','));
}

QString PrintedForText() {
    const passwd* pw = ::getpwuid(::getuid());
    return QString::fromLocal8Bit(FullNameFromGecos(pw ? pw->pw_gecos : nullptr)).trimmed();
}

} // namespace grid
