#include "ui/PriceChart.h"

#include "hostdb/DateTime.h"
#include "hostdb/MarketCalendar.h"
#include "ui/Hooks.h"
#include "ui/WindowPlacement.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <cmath>
#include <iostream>

namespace ui {

namespace {

constexpr int AxisWidth = 64, DateAxisHeight = 34, Margin = 8, PaneGap = 6;
const char* const MonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

hostdb::CivilDate DateOf(int day) {
    return hostdb::DecodeDate(hostdb::MarketCalendar::DayToDate(day));
}

bool Drawn(float v) { return std::isfinite(v) && v != 0; }

// Decimals that tell ticks of this step apart.
int DecimalsFor(double step) {
    int d = 0;
    while (d < 4 && std::abs(step * std::pow(10, d) - std::round(step * std::pow(10, d))) > 1e-6)
        ++d;
    return d;
}

} // namespace

double RoundStep(double range, int wanted) {
    if (!(range > 0) || wanted < 1) return 1;
    const double raw = range / wanted;
    const double power = std::pow(10, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 2.5, 5.0})
        if (raw <= m * power) return m * power;
    return 10 * power;
}

std::vector<double> RoundTicks(double low, double high, int wanted) {
    std::vector<double> ticks;
    const double step = RoundStep(high - low, wanted);
    for (double t = std::ceil(low / step) * step; t <= high + step * 1e-9 && ticks.size() < 100;
         t += step)
        ticks.push_back(std::abs(t) < step * 1e-9 ? 0 : t);
    return ticks;
}

ChartView::ChartView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(320, 200);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void ChartView::SetContent(ChartContent content) {
    content_ = std::move(content);
    marketBar_ = content_.history.BarAtOrBefore(content_.marketDay);
    ResetView();
}

void ChartView::ResetView() {
    const int count = static_cast<int>(content_.history.bars.size());
    int last = marketBar_ < 0 ? count - 1 : marketBar_;
    for (const ChartMark& m : content_.marks) last = std::max(last, m.bar);
    last = std::min(last, count - 1);
    ShowRange(std::max(0, (marketBar_ < 0 ? last : marketBar_) - DefaultChartBars + 1), last);
}

void ChartView::ShowRange(int first, int last) {
    const int count = static_cast<int>(content_.history.bars.size());
    first_ = std::clamp(first, 0, std::max(0, count - 1));
    last_ = count == 0 ? -1 : std::clamp(last, first_, count - 1);
    update();
}

bool ChartView::HasBarsShown() const {
    for (int i = first_; i <= last_; ++i)
        if (Drawn(content_.history.bars[static_cast<size_t>(i)].close)) return true;
    return false;
}

QString ChartView::Message() const {
    const hostdb::PriceHistory& h = content_.history;
    if (!h.problem.empty()) return QString::fromStdString(h.problem);
    if (h.bars.empty() || last_ < first_ || !HasBarsShown())
        return QStringLiteral("%1 has no prices in the days shown.")
            .arg(QString::fromStdString(h.symbol));
    return {};
}

QRect ChartView::PricePane() const {
    const int plotHeight = height() - DateAxisHeight - 2 * Margin - PaneGap;
    return {Margin, Margin, width() - AxisWidth - Margin, plotHeight * 3 / 4};
}

QRect ChartView::VolumePane() const {
    const QRect price = PricePane();
    const int top = price.bottom() + 1 + PaneGap;
    return {price.left(), top, price.width(), height() - DateAxisHeight - Margin - top};
}

double ChartView::XOfBar(int bar) const {
    const QRect pane = PricePane();
    const double slot = static_cast<double>(pane.width()) / std::max(1, last_ - first_ + 1);
    return pane.left() + (bar - first_ + 0.5) * slot;
}

int ChartView::BarAtX(double x) const {
    const QRect pane = PricePane();
    const double slot = static_cast<double>(pane.width()) / std::max(1, last_ - first_ + 1);
    return std::clamp(first_ + static_cast<int>(std::floor((x - pane.left()) / slot)), first_,
                      std::max(first_, last_));
}

void ChartView::Zoom(int steps, double x) {
    const int count = static_cast<int>(content_.history.bars.size());
    if (count == 0 || steps == 0) return;
    const int shown = last_ - first_ + 1;
    int wanted = static_cast<int>(std::lround(shown * std::pow(0.8, steps)));
    wanted = std::clamp(wanted == shown ? shown - (steps > 0 ? 1 : -1) : wanted,
                        std::min(10, count), count);
    // The bar under the pointer keeps its place.
    const QRect pane = PricePane();
    const double at = std::clamp((x - pane.left()) / std::max(1, pane.width()), 0.0, 1.0);
    const int anchor = BarAtX(x);
    int first = anchor - static_cast<int>(std::lround(at * wanted));
    first = std::clamp(first, 0, count - wanted);
    ShowRange(first, first + wanted - 1);
}

void ChartView::Pan(int bars) {
    const int count = static_cast<int>(content_.history.bars.size());
    const int shown = last_ - first_ + 1;
    const int first = std::clamp(first_ + bars, 0, std::max(0, count - shown));
    ShowRange(first, first + shown - 1);
}

void ChartView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QString message = Message();
    if (!message.isEmpty()) {
        p.setPen(Qt::black);
        p.drawText(rect().adjusted(20, 20, -20, -20), Qt::AlignCenter | Qt::TextWordWrap, message);
        return;
    }
    const auto& bars = content_.history.bars;
    const QRect price = PricePane(), volume = VolumePane();
    // The price range of the bars and lines shown.
    double low = INFINITY, high = -INFINITY;
    std::int64_t most = 1;
    for (int i = first_; i <= last_; ++i) {
        const hostdb::PriceBar& b = bars[static_cast<size_t>(i)];
        for (float v : {b.low, b.high, b.close})
            if (Drawn(v))
                low = std::min(low, static_cast<double>(v)),
                high = std::max(high, static_cast<double>(v));
        for (const ChartLine& l : content_.lines)
            if (static_cast<size_t>(i) < l.values.size() &&
                Drawn(l.values[static_cast<size_t>(i)])) {
                low = std::min(low, static_cast<double>(l.values[static_cast<size_t>(i)]));
                high = std::max(high, static_cast<double>(l.values[static_cast<size_t>(i)]));
            }
        most = std::max<std::int64_t>(most, b.volume);
    }
    const double pad = std::max((high - low) * 0.05, std::abs(high) * 0.005 + 1e-6);
    low -= pad, high += pad;
    auto y = [&](double v) { return price.bottom() - (v - low) / (high - low) * price.height(); };
    const double slot = static_cast<double>(price.width()) / (last_ - first_ + 1);
    const double tick = std::clamp(slot * 0.35, 1.0, 6.0);

    // Frames and the price axis with round ticks.
    p.setPen(QColor(0xC0, 0xC0, 0xC0));
    p.drawRect(price.adjusted(0, 0, -1, -1));
    p.drawRect(volume.adjusted(0, 0, -1, -1));
    const QFontMetrics fm(font());
    const std::vector<double> ticks = RoundTicks(low, high, std::max(2, price.height() / 40));
    const int decimals = ticks.size() > 1 ? DecimalsFor(ticks[1] - ticks[0]) : 2;
    for (double t : ticks) {
        const int ty = static_cast<int>(std::lround(y(t)));
        p.setPen(QColor(0xE8, 0xE8, 0xE8));
        p.drawLine(price.left() + 1, ty, price.right() - 1, ty);
        p.setPen(Qt::black);
        p.drawLine(price.right(), ty, price.right() + 4, ty);
        p.drawText(price.right() + 7, ty + fm.ascent() / 2 - 1, QString::number(t, 'f', decimals));
    }

    // The date axis: a tick at each month's first bar, labels as room allows, the year under
    // each January and under the first label.
    const int axisTop = volume.bottom() + 1;
    int lastLabelEnd = -1000, lastYear = -1;
    const int labelGap = fm.horizontalAdvance(QStringLiteral("Mmm")) + 8;
    int monthsPerLabel = 1;
    {
        const int months = std::max(1, (last_ - first_ + 1) / 21);
        while (months / monthsPerLabel * labelGap > price.width() && monthsPerLabel < 12)
            monthsPerLabel = monthsPerLabel < 3 ? monthsPerLabel + 1 : monthsPerLabel == 3 ? 6 : 12;
    }
    for (int i = first_; i <= last_; ++i) {
        const hostdb::CivilDate d = DateOf(bars[static_cast<size_t>(i)].day);
        const bool monthStart =
            i == 0 || DateOf(bars[static_cast<size_t>(i - 1)].day).month != d.month;
        if (!monthStart) continue;
        const int tx = static_cast<int>(std::lround(XOfBar(i)));
        p.setPen(QColor(0xF0, 0xF0, 0xF0));
        p.drawLine(tx, price.top() + 1, tx, price.bottom() - 1);
        p.setPen(Qt::black);
        p.drawLine(tx, axisTop, tx, axisTop + 4);
        if ((d.month - 1) % monthsPerLabel != 0 || tx < lastLabelEnd) continue;
        const QString month = QString::fromLatin1(MonthNames[d.month - 1]);
        p.drawText(tx + 2, axisTop + 4 + fm.ascent(), month);
        if (d.year != lastYear && (d.month == 1 || lastYear < 0))
            p.drawText(tx + 2, axisTop + 4 + fm.ascent() + fm.height(), QString::number(d.year));
        lastYear = d.year;
        lastLabelEnd = tx + labelGap;
    }

    // Volume as a histogram.
    for (int i = first_; i <= last_; ++i) {
        const hostdb::PriceBar& b = bars[static_cast<size_t>(i)];
        if (b.volume <= 0) continue;
        const double h =
            static_cast<double>(b.volume) / static_cast<double>(most) * (volume.height() - 2);
        const double x = XOfBar(i);
        p.fillRect(QRectF(x - std::max(0.5, slot * 0.35), volume.bottom() - h,
                          std::max(1.0, slot * 0.7), h),
                   QColor(0x90, 0xA0, 0xB8));
    }

    // The market date.
    if (marketBar_ >= first_ && marketBar_ <= last_) {
        QPen dashed(QColor(0x30, 0x60, 0xD0));
        dashed.setStyle(Qt::DashLine);
        p.setPen(dashed);
        const int mx = static_cast<int>(std::lround(XOfBar(marketBar_)));
        p.drawLine(mx, price.top() + 1, mx, volume.bottom() - 1);
    }

    // The bars: OHLC where the file has them, else a close line broken at days without a close.
    p.setClipRect(price.adjusted(1, 1, -1, -1));
    QPainterPath closes;
    bool inLine = false;
    for (int i = first_; i <= last_; ++i) {
        const hostdb::PriceBar& b = bars[static_cast<size_t>(i)];
        const double x = XOfBar(i);
        if (!Drawn(b.close)) {
            inLine = false;
            continue;
        }
        if (Drawn(b.high) && Drawn(b.low)) {
            p.setPen(b.close >= b.open || !Drawn(b.open) ? QColor(0x10, 0x60, 0x10)
                                                         : QColor(0xB0, 0x10, 0x10));
            p.drawLine(QPointF(x, y(b.high)), QPointF(x, y(b.low)));
            if (Drawn(b.open)) p.drawLine(QPointF(x - tick, y(b.open)), QPointF(x, y(b.open)));
            p.drawLine(QPointF(x, y(b.close)), QPointF(x + tick, y(b.close)));
            inLine = false;
        } else {
            inLine ? closes.lineTo(x, y(b.close)) : closes.moveTo(x, y(b.close));
            inLine = true;
        }
    }
    p.setPen(QPen(Qt::black, 1.5));
    p.setRenderHint(QPainter::Antialiasing, true);
    p.drawPath(closes);

    // The program's lines, each with its name in its colour.
    int legend = 0;
    for (const ChartLine& l : content_.lines) {
        QPainterPath path;
        bool on = false;
        for (int i = first_; i <= last_ && static_cast<size_t>(i) < l.values.size(); ++i) {
            const float v = l.values[static_cast<size_t>(i)];
            if (!Drawn(v)) {
                on = false;
                continue;
            }
            on ? path.lineTo(XOfBar(i), y(v)) : path.moveTo(XOfBar(i), y(v));
            on = true;
        }
        p.setPen(QPen(l.colour, 1.5));
        p.drawPath(path);
        p.drawText(price.left() + 6, price.top() + 4 + fm.ascent() + legend * fm.height(), l.name);
        ++legend;
    }
    p.setRenderHint(QPainter::Antialiasing, false);

    // Marks, with their text beside them.
    for (const ChartMark& m : content_.marks) {
        if (m.bar < first_ || m.bar > last_) continue;
        const hostdb::PriceBar& b = bars[static_cast<size_t>(m.bar)];
        const float at =
            m.below ? (Drawn(b.low) ? b.low : b.close) : (Drawn(b.high) ? b.high : b.close);
        if (!Drawn(at)) continue;
        const double x = XOfBar(m.bar), my = y(at) + (m.below ? 6 : -6);
        QPolygonF arrow;
        const double s = m.below ? -1 : 1;
        arrow << QPointF(x, my + s * 2) << QPointF(x - 5, my - s * 7) << QPointF(x + 5, my - s * 7);
        p.setPen(m.colour);
        p.setBrush(m.colour);
        p.drawPolygon(arrow);
        p.setBrush(Qt::NoBrush);
        const int w = fm.horizontalAdvance(m.text);
        const double tx = std::min<double>(x + 7, price.right() - w - 4);
        p.drawText(QPointF(tx, m.below ? my + fm.ascent() : my - 3), m.text);
    }
    p.setClipping(false);

    // The crosshair.
    if (pointer_.x() >= price.left() && pointer_.x() <= price.right() &&
        pointer_.y() >= price.top() && pointer_.y() <= volume.bottom()) {
        p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1, Qt::DotLine));
        const int cx = static_cast<int>(std::lround(XOfBar(BarAtX(pointer_.x()))));
        p.drawLine(cx, price.top(), cx, volume.bottom());
        p.drawLine(price.left(), pointer_.y(), price.right(), pointer_.y());
    }
}

void ChartView::wheelEvent(QWheelEvent* e) {
    const int steps = e->angleDelta().y() / 120;
    if (steps != 0) Zoom(steps, e->position().x());
    e->accept();
}

void ChartView::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        dragFrom_ = static_cast<int>(e->position().x());
        dragFirst_ = first_;
    }
    QWidget::mousePressEvent(e);
}

void ChartView::mouseMoveEvent(QMouseEvent* e) {
    pointer_ = e->position().toPoint();
    if (dragFrom_ >= 0 && (e->buttons() & Qt::LeftButton)) {
        const double slot =
            static_cast<double>(PricePane().width()) / std::max(1, last_ - first_ + 1);
        const int shift = static_cast<int>(std::lround((dragFrom_ - e->position().x()) / slot));
        Pan(dragFirst_ + shift - first_);
    }
    update();
    if (!Message().isEmpty()) return;
    const hostdb::PriceBar& b = content_.history.bars[static_cast<size_t>(BarAtX(pointer_.x()))];
    const hostdb::CivilDate d = DateOf(b.day);
    auto price = [](float v) { return QString::number(static_cast<double>(v), 'f', 2); };
    emit Pointed(QStringLiteral("%1 %2 %3, %4   Open %5   High %6   Low %7   Close %8   Volume %9")
                     .arg(QString::fromLatin1(
                         std::array{"Mon", "Tue", "Wed", "Thu", "Fri", "Sat",
                                    "Sun"}[static_cast<size_t>(hostdb::WeekdayOf(b.day))]))
                     .arg(QString::fromLatin1(MonthNames[d.month - 1]))
                     .arg(d.day)
                     .arg(d.year)
                     .arg(price(b.open), price(b.high), price(b.low), price(b.close))
                     .arg(QLocale::c().toString(b.volume)));
}

void ChartView::mouseReleaseEvent(QMouseEvent* e) {
    dragFrom_ = -1;
    QWidget::mouseReleaseEvent(e);
}

void ChartView::leaveEvent(QEvent*) {
    pointer_ = {-1, -1};
    update();
    emit Pointed({});
}

void ChartView::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Home: ResetView(); return;
    case Qt::Key_Left: Pan(-std::max(1, (last_ - first_ + 1) / 10)); return;
    case Qt::Key_Right: Pan(std::max(1, (last_ - first_ + 1) / 10)); return;
    case Qt::Key_Plus: Zoom(1, width() / 2.0); return;
    case Qt::Key_Minus: Zoom(-1, width() / 2.0); return;
    default: QWidget::keyPressEvent(e);
    }
}

PriceChartWindow::PriceChartWindow(QWidget* owner, std::filesystem::path settingsFile,
                                   std::string section, const ChartHost& host)
    : QWidget(owner, Qt::Tool), settingsFile_(std::move(settingsFile)),
      section_(std::move(section)), search_(host.equityPathList, host.dirs), calendar_(host.locale),
      lastMarketDay_(host.lastMarketDay) {
    calendar_.HolidayFileName = host.holidayFile;
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    view_ = new ChartView(this);
    status_ = new QLabel(QStringLiteral(" "), this);
    status_->setContentsMargins(6, 3, 6, 3);
    status_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    layout->addWidget(view_, 1);
    layout->addWidget(status_);
    connect(view_, &ChartView::Pointed, this, [this](const QString& text) {
        status_->setText(text.isEmpty() ? QStringLiteral(" ") : text);
    });
    resize(720, 460);
}

void PriceChartWindow::Show(ChartContent content) {
    const hostdb::PriceHistory& h = content.history;
    setWindowTitle(QStringLiteral("Chart - %1 %2")
                       .arg(QString::fromStdString(h.symbol), QString::fromStdString(h.name))
                       .trimmed());
    view_->SetContent(std::move(content));
    status_->setText(view_->Message().isEmpty() ? QStringLiteral(" ") : view_->Message());
    if (!placed_) {
        placed_ = true;
        // Beside the owner by default; the stored place when there is one, kept on a screen.
        const platform::Profile own(settingsFile_);
        QRect bounds(own.ReadInteger(section_, "ChartLeft", -1),
                     own.ReadInteger(section_, "ChartTop", -1),
                     own.ReadInteger(section_, "ChartWidth", width()),
                     own.ReadInteger(section_, "ChartHeight", height()));
        if (bounds.left() < 0 || bounds.top() < 0) {
            const QWidget* owner = parentWidget();
            bounds.moveTopLeft(owner ? owner->frameGeometry().topRight() + QPoint(8, 0)
                                     : QPoint(40, 40));
        }
        std::vector<QRect> screens;
        for (const QScreen* s : QGuiApplication::screens())
            screens.push_back(s->availableGeometry());
        const QScreen* primary = QGuiApplication::primaryScreen();
        bounds = KeptOnScreens(bounds, minimumSizeHint(), size(), screens,
                               primary ? primary->availableGeometry() : QRect(0, 0, 1024, 768));
        resize(bounds.size());
        move(bounds.topLeft());
    }
    if (isHidden()) show();
}

void PriceChartWindow::ShowSymbol(const std::string& symbol, const ChartDrawing& draw) {
    Show(draw(hostdb::ReadPriceHistory(search_, symbol, calendar_, lastMarketDay_)));
}

QString PriceChartWindow::DefaultPictureName() const {
    const hostdb::CivilDate d = DateOf(view_->Content().marketDay);
    return QString::fromStdString(view_->Content().history.symbol) +
           QString::asprintf("-%04d-%02d-%02d.png", d.year, d.month, d.day);
}

bool PriceChartWindow::SavePicture(const QString& path) {
    const QImage picture = grab().toImage();
    // Saved beside the target first, so a failed write leaves no half picture under its name.
    const QString part = path + QStringLiteral(".part");
    if (!picture.save(part, "PNG")) {
        QFile::remove(part);
        return false;
    }
    QFile::remove(path);
    return QFile::rename(part, path);
}

void PriceChartWindow::CopyPicture() { QApplication::clipboard()->setImage(grab().toImage()); }

void PriceChartWindow::SavePictureAs() {
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Save picture"), DefaultPictureName(),
                                     QStringLiteral("PNG pictures (*.png)"));
    if (path.isEmpty()) return;
    if (!SavePicture(path))
        ShowMessage(this, BoxKind::Error,
                    QStringLiteral("The picture could not be written to %1.").arg(path));
}

void PriceChartWindow::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(e);
}

void PriceChartWindow::contextMenuEvent(QContextMenuEvent* e) {
    QMenu menu(this);
    menu.addAction(QStringLiteral("Save picture..."), this, &PriceChartWindow::SavePictureAs);
    menu.addAction(QStringLiteral("Copy picture"), this, &PriceChartWindow::CopyPicture);
    menu.exec(e->globalPos());
}

void PriceChartWindow::SavePlace() {
    std::error_code ec; // an account without a settings directory yet
    std::filesystem::create_directories(settingsFile_.parent_path(), ec);
    platform::Profile own(settingsFile_);
    const QRect g = geometry();
    if (!own.WriteStrings(section_, {{"ChartLeft", std::to_string(g.left())},
                                     {"ChartTop", std::to_string(g.top())},
                                     {"ChartWidth", std::to_string(g.width())},
                                     {"ChartHeight", std::to_string(g.height())}}))
        std::cerr << QCoreApplication::applicationName().toStdString()
                  << ": the chart's place could not be kept: " << own.WriteProblem() << "\n";
}

void PriceChartWindow::closeEvent(QCloseEvent* e) {
    SavePlace();
    QWidget::closeEvent(e);
    emit Closed();
}

} // namespace ui
