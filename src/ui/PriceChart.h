// The programs' own chart of one result: daily bars, volume, the lines and marks a program adds,
// zoom, pan and crosshair, in a tool window that follows the highlighted row.
#pragma once

#include "hostdb/PriceHistory.h"
#include "platform/Directories.h"
#include "platform/Locale.h"
#include "platform/Profile.h"

#include <QColor>
#include <QLabel>
#include <QString>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace ui {

// A line drawn over the prices: a value per bar of the history, NaN where there is none.
struct ChartLine {
    QString name;
    QColor colour;
    std::vector<float> values;
};

// A marked day with its label.
struct ChartMark {
    int bar = -1;
    QString text;
    QColor colour;
    bool below = false; // under the bar's low rather than over its high
};

struct ChartContent {
    hostdb::PriceHistory history;
    int marketDay = 0;
    std::vector<ChartLine> lines;
    std::vector<ChartMark> marks;
};

// Trading days shown by default: about six months.
constexpr int DefaultChartBars = 126;

// Round steps for an axis: 1, 2, 2.5 or 5 times a power of ten, about `wanted` of them over the
// range; the ticks are the multiples of the step within it.
double RoundStep(double range, int wanted);
std::vector<double> RoundTicks(double low, double high, int wanted);

class ChartView : public QWidget {
    Q_OBJECT
public:
    explicit ChartView(QWidget* parent = nullptr);

    void SetContent(ChartContent content);
    const ChartContent& Content() const { return content_; }
    // The default view: six months of bars up to the market date, and on to the last mark.
    void ResetView();
    int FirstShown() const { return first_; }
    int LastShown() const { return last_; }
    int MarketBar() const { return marketBar_; }
    // The sentence shown instead of a chart; empty while a chart is drawn.
    QString Message() const;
    // The middle of a bar's slot, in the widget's coordinates.
    double XOfBar(int bar) const;
    int BarAtX(double x) const;
    // Zooms by `steps` wheel notches (positive: in) around the bar under x; pans by `bars`.
    void Zoom(int steps, double x);
    void Pan(int bars);

signals:
    // The crosshair's day in words for a status line; empty when the pointer leaves.
    void Pointed(const QString& text);

protected:
    void paintEvent(QPaintEvent*) override;
    void wheelEvent(QWheelEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void leaveEvent(QEvent*) override;
    void keyPressEvent(QKeyEvent*) override;

private:
    QRect PricePane() const;
    QRect VolumePane() const;
    bool HasBarsShown() const;
    void ShowRange(int first, int last);

    ChartContent content_;
    int marketBar_ = -1;
    int first_ = 0, last_ = -1;
    QPoint pointer_{-1, -1};
    int dragFrom_ = -1, dragFirst_ = 0;
};

// Where a chart window reads its tickers: the host's data directories and calendar, up to the
// last market date.
struct ChartHost {
    std::string equityPathList;
    platform::Directories dirs;
    platform::Locale locale;
    std::filesystem::path holidayFile; // empty: the built-in holidays
    int lastMarketDay = 0;
};

// What a program draws of a ticker's bars.
using ChartDrawing = std::function<ChartContent(hostdb::PriceHistory)>;

// The chart's tool window, "Chart - SYMBOL Name", owned by a main window; its place is kept in
// the program's section of the settings file (ChartLeft, ChartTop, ChartWidth, ChartHeight).
class PriceChartWindow : public QWidget {
    Q_OBJECT
public:
    PriceChartWindow(QWidget* owner, std::filesystem::path settingsFile, std::string section,
                     const ChartHost& host);

    void Show(ChartContent content);
    // Reads a symbol's bars from the host (its directories listed once for the window's life)
    // and shows what `draw` makes of them.
    void ShowSymbol(const std::string& symbol, const ChartDrawing& draw);
    ChartView* View() const { return view_; }
    QString StatusText() const { return status_->text(); }
    // The window as a picture; written as PNG, false with nothing written when it cannot be.
    bool SavePicture(const QString& path);
    void CopyPicture();
    // Asks for the file (a QFileDialog, SYMBOL-YYYY-MM-DD.png) and saves.
    void SavePictureAs();
    QString DefaultPictureName() const;

signals:
    void Closed();

protected:
    void keyPressEvent(QKeyEvent*) override;
    void closeEvent(QCloseEvent*) override;
    void contextMenuEvent(QContextMenuEvent*) override;

private:
    void SavePlace();

    ChartView* view_;
    QLabel* status_;
    std::filesystem::path settingsFile_;
    std::string section_;
    hostdb::SearchPath search_;
    hostdb::MarketCalendar calendar_;
    int lastMarketDay_;
    bool placed_ = false;
};

} // namespace ui
