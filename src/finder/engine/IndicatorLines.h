// The twelve chart lines the finder tests closes against: their names, the host's indicator
// codes, and their computation in one forward pass over a ticker's closes into value rings.
#pragma once

#include "hostdb/TickerFile.h"

#include <array>
#include <span>
#include <vector>

namespace finder {

constexpr int LineCount = 12;
extern const char* const LineNames[LineCount];
extern const int HostIndicatorCodes[LineCount];

// The rings of one ticker's pass. Positions 0..199 are used modulo 200; position 200 is only
// written by first-day fills. Positions never written hold NaN, so any comparison with them
// fails: a day without a value never meets a condition.
struct LineRings {
    enum Ring : int {
        Closes,
        BollMean,
        BollUpper,
        BollLower,
        EsaBandAvg,
        EsaUpper,
        EsaLower,
        MaBandAvg,
        MaUpper,
        MaLower,
        Esa18,
        Esa0725,
        Esa04,
        Ma21,
        Ma50,
        Ma100,
        RingCount
    };
    std::array<std::array<float, 201>, RingCount> ring;
    int p = 1;         // the next position to write
    int processed = 0; // days with a close
    std::vector<float> closes; // the pass's input, kept to spare an allocation per ticker

    // The Bollinger mean and close of each processed day (by its number modulo 256), from
    // which a band is worked out where it is read; set when bandsWhereRead.
    std::array<float, 256> bollMean, bollClose;
    bool bandsWhereRead = false;

    // The position of p modulo 200, for p in -200..399: every position the pass and the find
    // reach lies there, so one comparison stands for two divisions.
    static size_t Wrap(int p) {
        return static_cast<size_t>(p < 0 ? p + 200 : p >= 200 ? p - 200 : p);
    }
    // Value of a ring j days before the last processed day (j = 0 is that day), j below 200.
    float Back(int r, int j) const { return ring[static_cast<size_t>(r)][Wrap(p - 1 - j)]; }
    float Close(int j) const { return Back(Closes, j); }
    float Line(int line, int j) const;

private:
    float Band(int ring, int j) const;
};

// The ring that holds a line.
int RingOfLine(int line);

// Runs the pass from the ticker's first day to the market day, computing the market line and,
// when secondLine >= 0, the second line (a line of the same computation is not done twice).
void ComputeLines(hostdb::TickerFile& ticker, int marketDay, int marketLine, int secondLine,
                  LineRings& rings);

// The pass over a ticker's weekday closes (0 where a day has none). The Bollinger bands are
// worked out where they are read, in the arithmetic of every day's, unless `everyDay` is set or
// a close turns the pass back to its first day, which puts every day's computation in its place.
void ComputeLines(std::span<const float> closes, int marketLine, int secondLine, LineRings& rings,
                  bool everyDay = false);

// A line (and, when secondLine >= 0, a second one, in the same pass as the find's) on every
// weekday from the ticker's first day to `marketDay` (in `days`): the value the find tests a close
// against with that day as the market date, NaN on a day without a close. values[1] stays empty
// without a second line.
void LineByDay(hostdb::TickerFile& ticker, int marketDay, int line, int secondLine,
               std::vector<int>& days, std::array<std::vector<float>, 2>& values);

} // namespace finder
