#include "grid/view/PrintCanvas.h"

#include "grid/model/CellFormat.h"
#include "platform/Profile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <string_view>
namespace grid {

bool PagedCanvas::BeginJob(const QString& title) {
    title_ = title;
    pages_.assign(1, Page{});
    open_ = true;
    ++jobs_;
    error_.clear();
    return metrics_ != nullptr;
}

void PagedCanvas::NewPage() {
    if (open_) pages_.emplace_back();
}

bool PagedCanvas::EndJob() {
    if (!open_) return false;
    open_ = false;
    std::vector<Page> pages = std::move(pages_);
    pages_.clear();
    return Deliver(title_, jobs_, pages);
}

void PagedCanvas::AbortJob() {
    open_ = false;
    pages_.clear();
}

int PagedCanvas::PixelsPerInch() const { return metrics_ ? metrics_->logicalDpiY() : 96; }

int PagedCanvas::PageHeight() const { return metrics_ ? metrics_->height() : 0; }

void PagedCanvas::SetFont(const QString& family, int pointSize, unsigned style) {
    font_ = QFont(family);
    font_.setPointSize(pointSize);
    font_.setBold(style & StyleBold);
    font_.setItalic(style & StyleItalic);
    font_.setUnderline(style & StyleUnderline);
    font_.setStrikeOut(style & StyleStrikeOut);
}

int PagedCanvas::TextWidth(const QString& text) const {
    return QFontMetrics(font_, metrics_).horizontalAdvance(text);
}

int PagedCanvas::TextHeight(const QString&) const { return QFontMetrics(font_, metrics_).height(); }

void PagedCanvas::DrawText(int x, int y, const QString& text) {
    if (open_) pages_.back().push_back({font_, x, y, text});
}

bool PagedCanvas::PaintPages(QPagedPaintDevice& device, const std::vector<Page>& pages) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    painter.setPen(Qt::black);
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0) device.newPage();
        for (const PlacedText& t : pages[i]) {
            painter.setFont(QFont(t.font, &device));
            painter.drawText(t.x, t.y + painter.fontMetrics().ascent(), t.text);
        }
    }
    return painter.end();
}

PrinterCanvas::PrinterCanvas(QPrinter& printer) : printer_(printer) { SetMetricsDevice(&printer); }

bool PrinterCanvas::Deliver(const QString& title, int, const std::vector<Page>& pages) {
    printer_.setDocName(title);
    if (!PaintPages(printer_, pages) || printer_.printerState() == QPrinter::Error) {
        error_ = QStringLiteral("The report could not be sent to the printer.");
        return false;
    }
    return true;
}

struct PdfFileCanvas::Metrics {
    QBuffer sink;
    QPdfWriter writer{&sink};
};

PdfFileCanvas::PdfFileCanvas(const QString& path, const QPageLayout& layout, int resolution)
    : metricsDevice_(std::make_unique<Metrics>()), path_(path), layout_(layout),
      resolution_(resolution) {
    metricsDevice_->writer.setResolution(resolution);
    metricsDevice_->writer.setPageLayout(layout);
    SetMetricsDevice(&metricsDevice_->writer);
}

PdfFileCanvas::~PdfFileCanvas() = default;

bool PdfFileCanvas::Deliver(const QString& title, int jobNumber, const std::vector<Page>& pages) {
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(resolution_);
        writer.setPageLayout(layout_);
        writer.setTitle(title);
        if (!PaintPages(writer, pages)) {
            error_ = QStringLiteral("The report could not be laid out as PDF.");
            return false;
        }
    }
    QString name = JobFileName(path_, jobNumber);
    std::string problem;
    if (!platform::WriteFileAtomically(QFile::encodeName(name).toStdString(),
                                       std::string_view(bytes.constData(), bytes.size()),
                                       platform::WriteMode::Replace, &problem)) {
        error_ = QStringLiteral("%1 could not be written: %2.")
                     .arg(name, QString::fromLocal8Bit(problem.c_str()));
        return false;
    }
    return true;
}

QString JobFileName(const QString& path, int jobNumber) {
    if (jobNumber <= 1) return path;
    QFileInfo info(path);
    QString name = info.fileName();
    qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0) dot = name.size(); // ".pdf" alone is a name, not an extension
    name.insert(dot, QStringLiteral(" (%1)").arg(jobNumber));
    qsizetype slash = path.size() - info.fileName().size();
    return path.left(slash) + name;
}

} // namespace grid
