// Where a report is drawn: a canvas that keeps a job's pages until the job is complete, then
// hands them to a printer's spooler or writes them to PDF files, whole or not at all.
#pragma once

#include <QFont>
#include <QPageLayout>
#include <QString>
#include <memory>
#include <vector>

class QPaintDevice;
class QPagedPaintDevice;
class QPrinter;

namespace grid {

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
    // style: the CellFormat style bits.
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

} // namespace grid
