#include "finder/engine/FindRun.h"

#include "hostdb/Evaluation.h"
#include "hostdb/Format.h"
#include "hostdb/SearchPath.h"
#include "hostdb/TickerFile.h"
#include "hostdb/TickerRules.h"
#include "hostdb/TradingDays.h"
#include "platform/Text.h"
#include "platform/Workers.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace finder {

const grid::CellFormat* FinderFormats::Variant(const grid::CellFormat* f, bool bold) const {
    const std::pair<const grid::CellFormat*, const grid::CellFormat*> pairs[] = {
        {&PlainLeft, &BoldLeft},
        {&Centred, &BoldCentred},
        {&Dash, &BoldDash},
        {&Right, &BoldRight}};
    for (auto [normal, strong] : pairs)
        if (f == normal || f == strong) return bold ? strong : normal;
    return f;
}

bool ErMatches(const FinderSettings& s, int up, int dn) {
    if (up == 0 && dn == 0) return false;
    if (s.PrevUp && s.PrevUpMin <= up && up <= s.PrevUpMax) return true;
    if (s.PrevDn && s.PrevDnMin <= dn && dn <= s.PrevDnMax) return true;
    if (s.PrevExact)
        return s.PrevExactText.find(std::to_string(up) + "-" + std::to_string(dn)) !=
               std::string::npos;
    return false;
}

bool LineTest(const FinderSettings& s, const LineRings& r) {
    const int L = s.MarketLine;
    switch (s.MarketAction) {
    case ClosedAbove: return r.Close(0) > r.Line(L, 0);
    case CrossedAbove: return r.Close(1) < r.Line(L, 1) && r.Close(0) > r.Line(L, 0);
    case CrossedBelow: return r.Close(1) > r.Line(L, 1) && r.Close(0) < r.Line(L, 0);
    case ClosedBelow: return r.Close(0) < r.Line(L, 0);
    default: return false;
    }
}

int PreviousActionCount(const FinderSettings& s, const LineRings& r) {
    int k = 0;
    for (int j = 1;; ++j) {
        float c = r.Close(j), line = r.Line(s.PrevActLine, j);
        if (s.PrevActAction == 0 ? c > line : c < line) ++k;
        // Past the K days the run goes on while it is unbroken.
        if (!((j < s.PrevActOutOfDays || k == j) && j < 199)) break;
    }
    return k >= s.PrevActSpentDays ? k : -1;
}

namespace {

class FindRun {
public:
    FindRun(const FindInput& in, grid::CellGrid& g, FinderState& st, const FinderFormats& f)
        : in_(in), s_(in.settings), g_(g), st_(st), f_(f), calendar_(in.locale) {}

    std::string Fmt(std::string_view p, std::initializer_list<hostdb::FormatArg> a) {
        return hostdb::FormatText(p, a, in_.locale);
    }

    void Blank(int row) {
        for (int c = 0; c < FinderColumns; ++c) g_.Set(c, row, " ", &f_.PlainLeft);
    }

    void AddRow() { g_.SetRowCount(g_.RowCount() + 1); }

    // A new last row becomes the run's current row, cleared.
    void NextRow() {
        AddRow();
        st_.CurrentRow = g_.RowCount() - 1;
        Blank(st_.CurrentRow);
    }

    void Header() {
        // A column's three titles, centred, or blanks when the column is not in use.
        auto titles = [&](int col, const std::string& r0, const std::string& r1,
                          const std::string& r2, bool on) {
            const std::string texts[3] = {r0, r1, r2};
            for (int row = 0; row < 3; ++row)
                if (on)
                    g_.Set(col, row, texts[row], &f_.Centred);
                else
                    g_.Set(col, row, " ", &f_.PlainLeft);
        };
        titles(ColFoundDay, "Found", "on prev", "day #", erWanted_);
        titles(ColRating, "Prev.", "date's", "ER", erWanted_);
        titles(ColPrevActionDays, "# days", s_.PrevActAction == 0 ? "above" : "below", "the line", s_.DoPrevAction);
        titles(ColResult, calendar_.FormatDay("mm/dd/yy", s_.EntryDay),
               s_.TradeChoice == 0 ? "long, to" : "short, to",
               calendar_.FormatDay("mm/dd/yy", s_.ExitDay), evaluate_);
        for (int row = 0; row < 3; ++row) {
            g_.Set(ColTicker, row, row == 2 ? " Ticker" : " ", row == 2 ? &f_.BoldLeft : &f_.PlainLeft);
            g_.Set(ColName, row, row == 2 ? " Name" : " ", &f_.PlainLeft);
        }
    }

    // The rating search of one listed candidate; false when the ticker is dropped.
    bool ErSearch(const std::string& symbol, int& offset, int& up, int& dn, bool& matched,
                  const hostdb::Progress& progress) {
        auto stopRequested = [&] {
            return stop_ || (progress && !progress(done_, total_) && (stop_ = true));
        };
        ChartWindow::Shown shown = in_.chart->ShowTicker(symbol, stopRequested);
        if (shown == ChartWindow::Shown::Stopped || stop_) return false;
        if (shown == ChartWindow::Shown::Yes) {
            int target = s_.MarketDate;
            for (int i = 0; i <= s_.PrevDays; ++i) {
                if (stopRequested()) return false;
                if (!in_.chart->MoveToDay(target)) break;
                int u = 0, d = 0;
                if (!in_.chart->ReadEr(u, d)) break; // no readable rating: no match
                if (ErMatches(s_, u, d)) {
                    matched = true, offset = i, up = u, dn = d;
                    break;
                }
                target = hostdb::PreviousTradingDay(calendar_, target);
            }
        }
        return matched || s_.PrevChoice != Require;
    }

    // What a worker finds for one ticker, without the chart.
    struct Candidate {
        bool listed = false; // passed the line test and the previous action
        std::string symbol, name;
        int count = 0;
        hostdb::TradePrices prices;
    };
    struct Worker {
        hostdb::TickerFile ticker;
        LineRings rings;
    };

    Candidate Test(const std::filesystem::path& path, Worker& w) const {
        Candidate c;
        hostdb::TickerFile& t = w.ticker;
        t.SetFileName(path.string());
        const int M = s_.MarketDate;
        if (!hostdb::IsEligible(t, M)) return c;
        ComputeLines(t, M, s_.MarketLine, s_.DoPrevAction ? s_.PrevActLine : -1, w.rings);
        if (!LineTest(s_, w.rings)) return c;
        if (s_.DoPrevAction && (c.count = PreviousActionCount(s_, w.rings)) < 0) return c;
        if (s_.DoEval) c.prices = hostdb::ReadTradePrices(t, s_.EntryDay, s_.ExitDay);
        c.symbol = hostdb::SymbolOfFileName(path.filename().string());
        c.name = t.SecurityName();
        c.listed = true;
        return c;
    }

    // The chart's rating search and the candidate's row, in the order of the ticker list.
    void List(const Candidate& c, const hostdb::Progress& progress) {
        if (!c.listed) return;
        int offset = 0, up = 0, dn = 0;
        bool matched = false;
        if (erWanted_ && !ErSearch(c.symbol, offset, up, dn, matched, progress)) return;

        const int row = st_.CurrentRow;
        if (matched) {
            g_.Set(ColFoundDay, row, Fmt("%d", {offset}), &f_.Centred);
            g_.Set(ColRating, row, Fmt("%d-%d", {up, dn}), &f_.Dash);
        }
        if (s_.DoPrevAction) g_.Set(ColPrevActionDays, row, Fmt("%4d", {c.count}), &f_.Right);
        if (evaluate_ && c.prices.Complete()) {
            float result = hostdb::TradePerformance(c.prices.open, c.prices.close, s_.TradeChoice);
            g_.Set(ColResult, row, Fmt("%.1f%%   ", {result}), &f_.Right);
            evalSum_ = static_cast<float>(static_cast<long double>(evalSum_) + result);
            ++evalCount_;
        }
        g_.Set(ColTicker, row, c.symbol, &f_.PlainLeft);
        g_.Set(ColName, row, c.name, &f_.PlainLeft);
        ++st_.listed;
        NextRow();
        st_.SelectedRow = row;
    }

    void CompareRows() {
        hostdb::SearchPath search(in_.equityPathList, in_.dirs);
        for (const std::string& token : hostdb::CompareSymbols(s_.Compare)) {
            hostdb::EvaluatedTicker found;
            if (!hostdb::LookUpTradePrices(search, token, s_.EntryDay, s_.ExitDay, found) ||
                !found.prices.Complete())
                continue;
            const int row = st_.CurrentRow;
            const hostdb::TradePrices& p = found.prices;
            g_.Set(ColResult, row,
                   Fmt("%.1f%%   ", {hostdb::TradePerformance(p.open, p.close, s_.TradeChoice)}),
                   &f_.Right);
            g_.Set(ColTicker, row, token, &f_.PlainLeft);
            g_.Set(ColName, row, found.name, &f_.PlainLeft);
            NextRow();
        }
    }

    void Run(const hostdb::Progress& progress) {
        erWanted_ = ErCheckWanted(s_);
        evaluate_ = s_.DoEval && s_.MarketDate < in_.lastMarketDay;
        if (erWanted_ && !in_.chart)
            throw std::invalid_argument("The expert-rating check needs the chart window");
        if (erWanted_) in_.chart->Prepare();
        g_.SetRowCount(FinderTitleRows + 1);
        Header();
        st_ = FinderState{};
        st_.CurrentRow = st_.FirstResultRow = FinderTitleRows;
        Blank(st_.CurrentRow);
        total_ = static_cast<int>(in_.tickerFiles.size());
        const int threads = std::clamp(in_.threads, 1, platform::MaxWorkerThreads);
        // The rings are large for the stack.
        std::vector<std::unique_ptr<Worker>> workers;
        for (int w = 0; w < threads; ++w) workers.push_back(std::make_unique<Worker>());
        auto proceed = [&] {
            if (stop_ || (progress && !progress(done_, total_))) stop_ = true;
            return !stop_;
        };
        platform::RunInOrder<Candidate>(
            total_, threads,
            [&](int i, int w) {
                return Test(in_.tickerFiles[static_cast<size_t>(i)],
                            *workers[static_cast<size_t>(w)]);
            },
            [&](int, const Candidate& c) {
                List(c, progress);
                ++done_;
                return proceed();
            },
            proceed);
        st_.LastResultRow = st_.CurrentRow - 1;
        if (st_.listed == 0 && !stop_) {
            g_.Set(ColRating, st_.CurrentRow, "None ", &f_.BoldRight);
            g_.Set(ColPrevActionDays, st_.CurrentRow, "Found", &f_.BoldLeft);
            AddRow();
        }
        NextRow(); // the rows before it separate the summary
        if (evalCount_ > 0) {
            float average = static_cast<float>(static_cast<long double>(evalSum_) / evalCount_);
            g_.Set(ColResult, st_.CurrentRow, Fmt("%.1f%%   ", {average}), &f_.Right);
            g_.Set(ColTicker, st_.CurrentRow, "average", &f_.Centred);
            g_.Set(ColName, st_.CurrentRow, Fmt("change over %d tickers", {evalCount_}), &f_.PlainLeft);
            NextRow();
            CompareRows();
        }
        if (stop_) g_.Set(ColPrevActionDays, st_.CurrentRow, "Stopped", &f_.BoldLeft);
        st_.SelectedRow = st_.CurrentRow;
        NextRow();
        st_.EndRow = st_.CurrentRow;
        st_.stopped = stop_;
        g_.Selection = {ColFoundDay, st_.SelectedRow, FinderColumns - 1, st_.SelectedRow};
        if (erWanted_) in_.chart->Restore();
    }

private:
    const FindInput& in_;
    const FinderSettings& s_;
    grid::CellGrid& g_;
    FinderState& st_;
    const FinderFormats& f_;
    hostdb::MarketCalendar calendar_; // the run's locale; built-in holidays, as the finder's own
    bool erWanted_ = false;
    bool evaluate_ = false;
    bool stop_ = false;
    int done_ = 0, total_ = 0;
    float evalSum_ = 0;
    int evalCount_ = 0;
};

} // namespace

void RunFind(const FindInput& in, grid::CellGrid& g, FinderState& state, const FinderFormats& f,
             const hostdb::Progress& progress) {
    FindRun(in, g, state, f).Run(progress);
}

float NumberKey(const std::string& text, char decimalSeparator) {
    double v = 0;
    return hostdb::ParseDecimal(platform::Trim(text), decimalSeparator, v) ? static_cast<float>(v)
                                                                           : -1;
}

float ErKey(const std::string& text, char decimalSeparator) {
    size_t dash = text.find('-');
    if (dash == std::string::npos) return -1;
    float a = NumberKey(text.substr(0, dash), decimalSeparator),
          b = NumberKey(text.substr(dash + 1), decimalSeparator);
    long double key = a >= b ? 34 + a + (99 - static_cast<long double>(b)) * 0.01L
                             : (100 - static_cast<long double>(b)) + a * 0.01L;
    return static_cast<float>(key);
}

float ResultKey(const std::string& text, char decimalSeparator) {
    std::string cell = text;
    for (char& c : cell)
        if (c == '%') c = ' ';
    double v = 0;
    return hostdb::ParseDecimal(platform::Trim(cell), decimalSeparator, v) ? static_cast<float>(v)
                                                                           : -9999999.0f;
}

SortOutcome SortFinderResults(grid::CellGrid& g, const FinderFormats& f, const FinderState& s,
                              int column, bool descending, const platform::Locale& locale) {
    const char sep = locale.decimalSeparator;
    const int first = s.FirstResultRow, last = s.LastResultRow;
    if (column < 0 || column >= FinderColumns || last - first + 1 < 2)
        return SortOutcome::NotSortable;
    const int n = last - first + 1;
    const bool text = column >= ColTicker;
    if (!text && n > 2500) return SortOutcome::TooManyItems;
    std::vector<float> key(static_cast<size_t>(n));
    if (!text) {
        for (int i = 0; i < n; ++i) {
            int row = first + i;
            long double k = 0;
            const auto cell = [&](FinderColumn c) { return g.Text(c, row); };
            switch (column) {
            case ColFoundDay:
                k = NumberKey(cell(ColFoundDay), sep) + 0.0075L * ErKey(cell(ColRating), sep);
                break;
            case ColRating:
                k = ErKey(cell(ColRating), sep) + 0.000075L * NumberKey(cell(ColFoundDay), sep);
                break;
            case ColPrevActionDays:
                k = NumberKey(cell(ColPrevActionDays), sep) + 0.0075L * ErKey(cell(ColRating), sep);
                break;
            default: k = ResultKey(cell(ColResult), sep);
            }
            key[static_cast<size_t>(i)] = static_cast<float>(k);
        }
    }
    // Rows move through the spare row after the last result, as the host's sort does.
    auto moveRow = [&](int to, int from) {
        g.CopyRow(first + to, g, first + from);
        if (!text) key[static_cast<size_t>(to)] = key[static_cast<size_t>(from)];
    };
    const int spare = last + 1;
    if (spare >= g.RowCount()) g.SetRowCount(spare + 1);
    for (int gap = n; gap > 1;) {
        gap = gap > 4 ? (gap - 1) / 3 : 1;
        for (int i = gap; i < n; ++i) {
            // Take row i out into the spare row and shift larger rows up by the gap.
            g.CopyRow(spare, g, first + i);
            float savedKey = text ? 0 : key[static_cast<size_t>(i)];
            int j = i;
            auto spareGreater = [&](int other) {
                int c;
                if (text) {
                    c = platform::CompareNoCase(g.Text(column, first + other),
                                                g.Text(column, spare));
                } else {
                    float ko = key[static_cast<size_t>(other)];
                    c = ko < savedKey ? -1 : ko > savedKey ? 1 : 0;
                }
                return descending ? c < 0 : c > 0;
            };
            while (j >= gap && spareGreater(j - gap)) {
                moveRow(j, j - gap);
                j -= gap;
            }
            g.CopyRow(first + j, g, spare);
            if (!text) key[static_cast<size_t>(j)] = savedKey;
        }
    }
    for (int c = 0; c < FinderColumns; ++c) g.Set(c, spare, " ", &f.PlainLeft);
    for (int row = 0; row < FinderTitleRows; ++row)
        for (int c = 0; c < FinderColumns; ++c)
            g.Set(c, row, g.Text(c, row), f.Variant(g.Format(c, row), c == column));
    return SortOutcome::Sorted;
}

} // namespace finder
