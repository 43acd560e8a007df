#include "finder/engine/IndicatorLines.h"

#include "hostdb/MarketCalendar.h"

#include <cmath>
#include <limits>
#include <memory>

namespace finder {

const char* const LineNames[LineCount] = {"Upper Boll. Band", "Lower Boll. Band", "Upper ESA Band",
                                          "Lower ESA Band",   "Upper MA Band",    "Lower MA Band",
                                          "10d ST ESA",       "28d IT ESA",       "49d LT ESA",
                                          "21d ST MA",        "50d IT MA",        "100d LT MA"};

const int HostIndicatorCodes[LineCount] = {12, 13, 16, 17, 14, 15, 46, 47, 48, 41, 42, 43};

namespace {

using LD = long double; // intermediate arithmetic as the host does it
using R = LineRings;

const float EsaBandAlpha = 0.06896552f;
const float EsaAlpha[3] = {0.18f, 0.0725f, 0.04f};
const int MaPeriod[3] = {21, 50, 100};

// One computation per line pair 0/1, 2/3, 4/5, and one per line 6..11.
int ComputationOf(int line) { return line < 6 ? line / 2 : line - 3; }

// The standard deviation of the 20 (mean, close) pairs up to a day, newest first.
template <class Mean, class Close> float Deviation(Mean mean, Close close) {
    LD sum = 0;
    for (int k = 0; k < 20; ++k) {
        LD d = static_cast<LD>(mean(k)) - close(k);
        sum += d * d;
    }
    return static_cast<float>(std::sqrt(sum / 20));
}

float UpperBand(float mean, float dev) { return static_cast<float>(mean + 2.0L * dev); }
float LowerBand(float mean, float dev) { return static_cast<float>(mean - 2.0L * dev); }

class Pass {
public:
    explicit Pass(R& r) : r_(r) {}

    // Positions reach back at most 100 days from 0..199.
    float& V(int ring, int pos) { return r_.ring[static_cast<size_t>(ring)][R::Wrap(pos)]; }
    void Fill(int ring, float v) {
        r_.ring[static_cast<size_t>(ring)].fill(v);
        if (ring == R::Closes && r_.processed > 0) refilled = true;
    }
    bool refilled = false; // the shared closes were filled again after the first day
    bool FirstDay(int markerRing, int p) { return V(markerRing, p - 1) < 0; }

    static float Ema(float prev, float alpha, float c) {
        return static_cast<float>((1 - static_cast<LD>(alpha)) * prev + static_cast<LD>(alpha) * c);
    }

    void Update(int computation, int p, float c) {
        switch (computation) {
        case 0: Bollinger(p, c); break;
        case 1: {
            float avg =
                FirstDay(R::EsaBandAvg, p) ? c : Ema(V(R::EsaBandAvg, p - 1), EsaBandAlpha, c);
            V(R::EsaBandAvg, p) = avg;
            V(R::EsaUpper, p) = static_cast<float>(1.1L * avg);
            V(R::EsaLower, p) = static_cast<float>(0.9L * avg);
            break;
        }
        case 2:
            if (FirstDay(R::MaBandAvg, p)) {
                Fill(R::MaLower, static_cast<float>(0.9L * c));
                Fill(R::MaBandAvg, c);
                Fill(R::MaUpper, static_cast<float>(1.1L * c));
                Fill(R::Closes, c);
            } else {
                float avg = RunningMean(R::MaBandAvg, p, c, 20);
                V(R::MaBandAvg, p) = avg;
                V(R::MaLower, p) = static_cast<float>(0.9L * avg);
                V(R::MaUpper, p) = static_cast<float>(1.1L * avg);
            }
            break;
        case 3:
        case 4:
        case 5: {
            int ring = R::Esa18 + computation - 3;
            V(ring, p) = FirstDay(ring, p) ? c : Ema(V(ring, p - 1), EsaAlpha[computation - 3], c);
            break;
        }
        default: {
            int k = computation - 6, ring = R::Ma21 + k;
            if (FirstDay(ring, p)) {
                Fill(ring, c);
                Fill(R::Closes, c);
            } else {
                V(ring, p) = RunningMean(ring, p, c, MaPeriod[k]);
            }
        }
        }
    }

private:
    // The running mean: the previous one plus the newest close's share less the oldest one's.
    float RunningMean(int ring, int p, float c, int n) {
        return static_cast<float>(V(ring, p - 1) + (static_cast<LD>(c) - V(R::Closes, p - n)) / n);
    }

    void Bollinger(int p, float c) {
        if (FirstDay(R::BollMean, p)) {
            Fill(R::Closes, c);
            Fill(R::BollMean, c);
            if (r_.bandsWhereRead) r_.bollMean.fill(c), r_.bollClose.fill(c);
            return; // no band on the first day
        }
        float mean = RunningMean(R::BollMean, p, c, 20);
        V(R::BollMean, p) = mean;
        if (r_.bandsWhereRead) {
            const size_t day = static_cast<size_t>(r_.processed) & 255;
            r_.bollMean[day] = mean;
            r_.bollClose[day] = c;
            return;
        }
        float dev = Deviation([&](int k) { return V(R::BollMean, p - k); },
                              [&](int k) { return V(R::Closes, p - k); });
        V(R::BollUpper, p) = UpperBand(mean, dev);
        V(R::BollLower, p) = LowerBand(mean, dev);
    }

    R& r_;
};

} // namespace

int RingOfLine(int line) {
    static const int rings[LineCount] = {R::BollUpper, R::BollLower, R::EsaUpper, R::EsaLower,
                                         R::MaUpper,   R::MaLower,   R::Esa18,    R::Esa0725,
                                         R::Esa04,     R::Ma21,      R::Ma50,     R::Ma100};
    return rings[line];
}

float LineRings::Line(int line, int j) const {
    const int ring = RingOfLine(line);
    return bandsWhereRead && (ring == BollUpper || ring == BollLower) ? Band(ring, j)
                                                                      : Back(ring, j);
}

// The band as the pass would have written it: the day's 20 pairs are still held, as reads reach
// at most 199 days back, and those before the first day hold its fill.
float LineRings::Band(int ring, int j) const {
    const int day = processed - 1 - j;
    if (day <= 0) return std::numeric_limits<float>::quiet_NaN(); // none on the first day
    auto at = [&](const std::array<float, 256>& a, int k) {
        return a[static_cast<size_t>(day - k) & 255];
    };
    const float mean = at(bollMean, 0);
    float dev =
        Deviation([&](int k) { return at(bollMean, k); }, [&](int k) { return at(bollClose, k); });
    return ring == BollUpper ? UpperBand(mean, dev) : LowerBand(mean, dev);
}

void ComputeLines(hostdb::TickerFile& ticker, int marketDay, int marketLine, int secondLine,
                  LineRings& rings) {
    ticker.ReadCloses(ticker.FirstDay(), marketDay, rings.closes);
    ComputeLines(rings.closes, marketLine, secondLine, rings);
}

namespace {

// The pass; afterDay(i) follows the day of closes[i] when it has a close.
template <class AfterDay>
bool RunPass(std::span<const float> closes, int marketLine, int secondLine, LineRings& rings,
             bool everyDay, AfterDay afterDay) {
    const float none = std::numeric_limits<float>::quiet_NaN();
    for (auto& r : rings.ring) r.fill(none);
    for (int r : {R::BollMean, R::EsaBandAvg, R::MaBandAvg, R::Esa18, R::Esa0725, R::Esa04, R::Ma21,
                  R::Ma50, R::Ma100})
        rings.ring[static_cast<size_t>(r)][0] = -1; // start markers
    rings.p = 1;
    rings.processed = 0;
    const int first = ComputationOf(marketLine);
    const int second =
        secondLine >= 0 && ComputationOf(secondLine) != first ? ComputationOf(secondLine) : -1;
    rings.bandsWhereRead = !everyDay && (first == 0 || second == 0);
    Pass pass(rings);
    for (size_t i = 0; i < closes.size(); ++i) {
        const float c = closes[i];
        if (c == 0) continue;
        pass.V(R::Closes, rings.p) = c;
        pass.Update(first, rings.p, c);
        if (second >= 0) pass.Update(second, rings.p, c);
        rings.p = (rings.p + 1) % 200;
        ++rings.processed;
        afterDay(i);
    }
    return pass.refilled;
}

} // namespace

void ComputeLines(std::span<const float> closes, int marketLine, int secondLine, LineRings& rings,
                  bool everyDay) {
    if (RunPass(closes, marketLine, secondLine, rings, everyDay, [](size_t) {}) &&
        rings.bandsWhereRead)
        ComputeLines(closes, marketLine, secondLine, rings, true);
}

void LineByDay(hostdb::TickerFile& ticker, int marketDay, int line, int secondLine,
               std::vector<int>& days, std::array<std::vector<float>, 2>& values) {
    std::vector<float> closes;
    ticker.ReadCloses(ticker.FirstDay(), marketDay, closes);
    days.clear();
    for (int d = ticker.FirstDay(); days.size() < closes.size(); ++d)
        if (hostdb::WeekdayOf(d) <= 4) days.push_back(d);
    const int lines[2] = {line, secondLine};
    for (int k = 0; k < 2; ++k)
        values[k].assign(lines[k] < 0 ? 0 : closes.size(), std::numeric_limits<float>::quiet_NaN());
    auto rings = std::make_unique<LineRings>();
    RunPass(closes, line, secondLine, *rings, true, [&](size_t i) {
        for (int k = 0; k < 2; ++k)
            if (lines[k] >= 0) values[k][i] = rings->Line(lines[k], 0);
    });
}

} // namespace finder
