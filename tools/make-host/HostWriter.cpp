#include "tools/make-host/HostWriter.h"

#include "hostdb/TickerFile.h"
#include "platform/Profile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <stdexcept>

namespace fs = std::filesystem;

namespace hostgen {

namespace {

void PutU16(std::vector<std::uint8_t>& b, size_t at, unsigned v) {
    b[at] = static_cast<std::uint8_t>(v & 0xFF);
    b[at + 1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
}

void PutU32(std::vector<std::uint8_t>& b, size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

int FieldSize(char format) { return format == '4' || format == 'I' ? 4 : 3; }

// splitmix64: small, fast and the same everywhere.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : s_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double Uniform() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
    int Range(int lo, int hi) {
        return lo + static_cast<int>(Next() % static_cast<std::uint64_t>(hi - lo + 1));
    }
    bool Chance(double p) { return Uniform() < p; }
    double Normal() {
        double u1 = Uniform(), u2 = Uniform();
        if (u1 < 1e-300) u1 = 1e-300;
        return std::sqrt(-2.0 * std::log(u1)) * std::cos(6.283185307179586 * u2);
    }

private:
    std::uint64_t s_;
};

int Day(int y, int m, int d) {
    return hostdb::MarketCalendar::DateToDay(hostdb::EncodeDate(y, m, d));
}

int NextWeekday(int day) {
    while (hostdb::WeekdayOf(day) > 4) ++day;
    return day;
}

int PreviousWeekday(int day) {
    while (hostdb::WeekdayOf(day) > 4) --day;
    return day;
}

// Exchange closures beyond the built-in rules, as a host's holiday file lists them.
hostdb::HolidayList HostHolidays(int year) {
    hostdb::HolidayList h = hostdb::BuiltInHolidays(year);
    std::vector<int> extra;
    if (year >= 2022) {
        int juneteenth = Day(year, 6, 19);
        int w = hostdb::WeekdayOf(juneteenth);
        extra.push_back(juneteenth + (w == 5 ? -1 : w == 6 ? 1 : 0));
    }
    const hostdb::CivilDate closures[] = {{2004, 6, 11},  {2007, 1, 2},  {2012, 10, 29},
                                          {2012, 10, 30}, {2018, 12, 5}, {2025, 1, 9}};
    for (hostdb::CivilDate c : closures)
        if (c.year == year) extra.push_back(Day(c.year, c.month, c.day));
    for (size_t i = 0; i < extra.size() && i < 2; ++i)
        h[8 + i] = static_cast<hostdb::DayNumber>(extra[i]);
    return h;
}

std::string MakeSymbol(Rng& rng) {
    std::string s;
    int len = rng.Range(1, 4);
    for (int i = 0; i < len; ++i) s += static_cast<char>('A' + rng.Range(0, 25));
    return s;
}

std::string MakeName(Rng& rng) {
    static const char* const first[] = {
        "Amber",  "Blue",    "Cedar",    "Delta", "Eagle", "Falcon", "Granite", "Harbor",
        "Iron",   "Juniper", "Keystone", "Lake",  "Maple", "North",  "Orion",   "Pioneer",
        "Quartz", "River",   "Summit",   "Titan", "Union", "Valley", "Western", "Zenith"};
    static const char* const second[] = {"Energy",   "Foods",  "Systems",  "Bancorp",  "Mining",
                                         "Pharma",   "Motors", "Networks", "Realty",   "Steel",
                                         "Airlines", "Retail", "Software", "Chemical", "Media"};
    static const char* const suffix[] = {"Inc", "Corp", "Co", "Ltd", "Group", "Hldgs"};
    std::string n = std::string(first[rng.Range(0, 23)]) + " " + second[rng.Range(0, 14)] + " " +
                    suffix[rng.Range(0, 5)];
    return n.substr(0, 35);
}

struct Walk {
    double price;
    double sigma;
    double drift;
    double baseVolume;
};

// Daily records of a random walk with gaps, volume spikes, days without data and holidays.
std::vector<DayRecord> WalkPrices(Rng& rng, hostdb::MarketCalendar& calendar, char format,
                                  int first, int last, Walk w, int trend) {
    std::vector<DayRecord> records;
    const double tpu = TicksPerUnit(format);
    const double maxPrice = format == 'I' ? 1e6 : 5000.0;
    const double minPrice = format == 'I' ? 1.0 : 0.05;
    int lastWeekday = PreviousWeekday(last);
    int remaining = 0;
    for (int d = first; d <= last; ++d)
        if (hostdb::WeekdayOf(d) < 5) ++remaining;
    double close = w.price;
    for (int d = first; d <= last; ++d) {
        if (hostdb::WeekdayOf(d) > 4) continue;
        --remaining;
        DayRecord r;
        if (calendar.DayKind(d) > 4 || (d != lastWeekday && rng.Chance(0.004))) {
            records.push_back(r); // holiday or a day the host has no data for
            continue;
        }
        double open = close;
        if (rng.Chance(0.03))
            open *= 1.0 + (rng.Chance(0.5) ? 1 : -1) * (0.02 + 0.06 * rng.Uniform());
        else
            open *= 1.0 + 0.3 * w.sigma * rng.Normal();
        double push = remaining < 15 ? 0.02 * trend : 0.0;
        close = open * std::exp(w.drift + push + w.sigma * rng.Normal());
        double high = std::max(open, close) * (1.0 + 0.5 * w.sigma * std::fabs(rng.Normal()));
        double low = std::min(open, close) * (1.0 - 0.5 * w.sigma * std::fabs(rng.Normal()));
        auto q = [&](double p) {
            p = std::clamp(p, minPrice, maxPrice);
            return std::max<std::int64_t>(1, std::llround(p * tpu));
        };
        std::int64_t o = q(open), c = q(close), h = q(high), l = q(low);
        h = std::max({h, o, c});
        l = std::min({l, o, c});
        r.ticks = {o, h, l, c};
        close = static_cast<double>(c) / tpu; // keep walking from what was stored
        double vol = w.baseVolume * std::exp(0.4 * rng.Normal());
        if (rng.Chance(0.03)) vol *= 5 + 15 * rng.Uniform();
        r.volume = static_cast<std::int32_t>(std::clamp(vol, 1.0, 2.0e9));
        records.push_back(r);
    }
    return records;
}

void WriteBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::string_view data(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (!platform::WriteFileAtomically(path, data))
        throw std::runtime_error("cannot write " + path.string());
}

void WriteText(const fs::path& path, const std::string& text) {
    if (!platform::WriteFileAtomically(path, text))
        throw std::runtime_error("cannot write " + path.string());
}

// Tickers a host may hold that no reader can use.
void WriteBrokenFiles(const fs::path& dir, Rng& rng, int first, int last) {
    TickerSpec good;
    good.name = "Broken Example Corp";
    good.firstDay = first;
    good.lastDay = last;
    for (int d = first; d <= last; ++d)
        if (hostdb::WeekdayOf(d) < 5) good.records.push_back({{1250, 1300, 1200, 1275}, 100});
    std::vector<std::uint8_t> bytes = EncodeTicker(good);

    std::vector<std::uint8_t> truncated(bytes.begin(), bytes.begin() + 500);
    WriteBytes(dir / "ZZTRUNC.DTA", truncated);
    std::vector<std::uint8_t> badSignature = bytes;
    badSignature[67] = 'X';
    WriteBytes(dir / "ZZBADSIG.DTA", badSignature);
    std::vector<std::uint8_t> garbage(3000);
    for (auto& b : garbage) b = static_cast<std::uint8_t>(rng.Next());
    WriteBytes(dir / "ZZGARBAG.DTA", garbage);
    WriteBytes(dir / "ZZEMPTY.DTA", {});
    std::vector<std::uint8_t> pastEnd(bytes.begin(), bytes.begin() + 1024 + 160);
    WriteBytes(dir / "ZZRANGE.DTA", pastEnd); // header promises years, file holds ten days
    std::vector<std::uint8_t> backwards = bytes;
    PutU16(backwards, 74, static_cast<unsigned>(first - 10) & 0xFFFF);
    WriteBytes(dir / "ZZBACKW.DTA", backwards);
    std::vector<std::uint8_t> oddFormat = bytes;
    oddFormat[44] = 'X';
    WriteBytes(dir / "ZZODDFMT.DTA", oddFormat);
}

// The stand-in as the host's chart program and library, with ratings on about a third of the
// last 20 weekdays of every stock, upside and downside adding up to 100.
void InstallStandin(const fs::path& from, const fs::path& host,
                    const std::vector<std::string>& stocks, std::uint64_t seed, int endDay) {
    for (const char* name : {"qelch32.exe", "qelio32.dll"})
        fs::copy_file(from / name, host / name, fs::copy_options::overwrite_existing);
    Rng rng(seed * 31u + 5u);
    std::string text =
        "# SYMBOL YYYY-MM-DD UP DN: the expert ratings the stand-in's chart shows\r\n";
    for (const std::string& symbol : stocks) {
        int day = endDay;
        for (int n = 0; n < 20; ++n, day = PreviousWeekday(day - 1)) {
            if (!rng.Chance(0.3)) continue;
            hostdb::CivilDate d = hostdb::DecodeDate(hostdb::MarketCalendar::DayToDate(day));
            int up = rng.Range(0, 100);
            char line[64];
            std::snprintf(line, sizeof line, "%s %04d-%02d-%02d %d %d\r\n", symbol.c_str(), d.year,
                          d.month, d.day, up, 100 - up);
            text += line;
        }
    }
    WriteText(host / "ratings.txt", text);
}

} // namespace

int TicksPerUnit(char format) {
    switch (format) {
    case 'D': return 100;
    case 'F': return 32;
    case '4': return 10000;
    default: return 1;
    }
}

std::vector<std::uint8_t> EncodeTicker(const TickerSpec& spec) {
    const int F = FieldSize(spec.format), rs = 4 * F + 4, R = 1024 / rs;
    size_t n = spec.records.size();
    size_t size = n == 0 ? 1024 : ((n - 1) / R + 1) * 1024 + ((n - 1) % R) * rs + rs;
    std::vector<std::uint8_t> b(size, 0);
    for (size_t i = 0; i < spec.name.size() && i < 35; ++i)
        b[8 + i] = static_cast<std::uint8_t>(spec.name[i]);
    b[43] = static_cast<std::uint8_t>(spec.kind);
    b[44] = static_cast<std::uint8_t>(spec.format);
    b[55] = static_cast<std::uint8_t>(spec.status);
    std::copy_n("ZQELZ", 5, b.begin() + 67);
    int storedFirst = spec.firstDay < 0 ? spec.firstDay + 256 : spec.firstDay;
    if (spec.firstDay < 0 && storedFirst >= 0)
        throw std::invalid_argument("first day between -256 and -1 cannot be stored");
    PutU16(b, 72, static_cast<unsigned>(storedFirst) & 0xFFFF);
    PutU16(b, 74, static_cast<unsigned>(spec.lastDay) & 0xFFFF);
    const int tpu = TicksPerUnit(spec.format);
    for (size_t i = 0; i < n; ++i) {
        size_t at = (i / R + 1) * 1024 + (i % R) * rs;
        const DayRecord& r = spec.records[i];
        for (int f = 0; f < 4; ++f) {
            size_t p = at + static_cast<size_t>(f * F);
            std::int64_t t = r.ticks[static_cast<size_t>(f)];
            if (spec.format == 'I') {
                PutU32(b, p, static_cast<std::uint32_t>(t));
            } else if (F == 4) {
                PutU16(b, p, static_cast<unsigned>(t / tpu));
                PutU16(b, p + 2, static_cast<unsigned>(t % tpu));
            } else {
                PutU16(b, p, static_cast<unsigned>(t / tpu));
                b[p + 2] = static_cast<std::uint8_t>(t % tpu);
            }
        }
        PutU32(b, at + static_cast<size_t>(4 * F), static_cast<std::uint32_t>(r.volume));
    }
    return b;
}

std::vector<std::uint8_t> EncodeHolidays(const std::map<int, hostdb::HolidayList>& years) {
    if (years.empty()) return {};
    std::vector<std::uint8_t> b(static_cast<size_t>(years.rbegin()->first - 1970 + 1) * 222, 0);
    for (const auto& [year, days] : years) {
        size_t at = static_cast<size_t>(year - 1970) * 222;
        PutU16(b, at, static_cast<unsigned>(year));
        for (size_t i = 0; i < days.size(); ++i)
            PutU16(b, at + 202 + 2 * i, static_cast<unsigned>(days[i]) & 0xFFFF);
    }
    return b;
}

Summary MakeHost(const Options& o) {
    if (o.tickers < 0 || o.years < 1 || o.end.year - o.years < 1980)
        throw std::invalid_argument("the host's data starts in 1980");
    const fs::path driveC = o.root / "drive_c";
    const fs::path host = driveC / "QEL";
    Summary summary;
    summary.windowsDirectory = driveC / "windows";
    fs::create_directories(summary.windowsDirectory);
    fs::create_directories(o.root / "dosdevices");
    fs::path link = o.root / "dosdevices" / "c:";
    std::error_code ec;
    if (!fs::is_symlink(link, ec)) fs::create_directory_symlink("../drive_c", link);
    const fs::path data[2] = {host / "DATA1", host / "DATA2"};
    for (const fs::path& d : data) {
        fs::remove_all(d); // a smaller run must not leave the tickers of a larger one
        fs::create_directories(d);
    }

    WriteText(summary.windowsDirectory / "Qel32.Ini",
              "[PATHS]\r\nEquityPath=C:\\QEL\\DATA1; C:\\QEL\\DATA2\r\n"
              "[PROCHART]\r\nPATHNAME=C:\\QEL\\qelch32.exe\r\n");
    WriteText(host / "QelCom.Ini", "[config]\r\nmktopen=930\r\nmktclose=1600\r\nintraday=no\r\n");

    Rng rng(o.seed);
    const int endDay = PreviousWeekday(Day(o.end.year, o.end.month, o.end.day));
    const int startDay =
        NextWeekday(Day(o.end.year - o.years, o.end.month, std::min(o.end.day, 28)));
    // Holiday records for the span, a few deliberately missing.
    std::map<int, hostdb::HolidayList> years;
    int missing = 0;
    for (int y = o.end.year - o.years; y <= o.end.year; ++y) {
        bool skip = y != o.end.year && (rng.Chance(0.2) || (missing == 0 && y == o.end.year - 1));
        if (skip)
            ++missing;
        else
            years[y] = HostHolidays(y);
    }
    WriteBytes(host / "holiday.idx", EncodeHolidays(years));
    hostdb::MarketCalendar calendar;
    calendar.HolidayFileName = host / "holiday.idx";

    std::set<std::string> used{"SPX", "RUT"};
    std::vector<std::string> stocks;
    const char formats[4] = {'D', 'F', '4', 'I'};
    for (int i = 0; i < o.tickers + 2; ++i) {
        Rng t(o.seed * 1000003u + static_cast<std::uint64_t>(i) * 7919u + 17u);
        TickerSpec spec;
        std::string symbol;
        Walk w{};
        int trend = 0;
        if (i < 2) { // the index tickers the screener compares with
            symbol = i == 0 ? "SPX" : "RUT";
            spec.name = i == 0 ? "S&P 500 Index" : "Russell 2000 Index";
            spec.kind = 'I';
            spec.format = 'D';
            w = {i == 0 ? 2500.0 : 1200.0, 0.009, 0.0003, 4.0e6};
            spec.firstDay = startDay;
            spec.lastDay = endDay;
        } else {
            do symbol = MakeSymbol(t);
            while (!used.insert(symbol).second);
            stocks.push_back(symbol);
            spec.name = MakeName(t);
            spec.format = formats[i % 4];
            if (t.Chance(0.05)) spec.kind = t.Chance(0.5) ? 'F' : 'I';
            if (t.Chance(0.05)) spec.status = 'D';
            double lo = spec.format == 'I' ? std::log(10.0) : std::log(2.0);
            w = {std::exp(lo + (std::log(300.0) - lo) * t.Uniform()), 0.01 + 0.025 * t.Uniform(),
                 0.0005 * t.Normal(), std::exp(std::log(50.0) + 7.0 * t.Uniform())};
            int span = endDay - startDay;
            spec.firstDay = startDay;
            spec.lastDay = endDay;
            if (t.Chance(0.2) && span > 200)
                spec.firstDay = NextWeekday(startDay + t.Range(1, span - 100));
            if (t.Chance(0.1) && endDay - spec.firstDay > 200)
                spec.lastDay = PreviousWeekday(endDay - t.Range(5, 100));
            if (t.Chance(0.1)) trend = t.Chance(0.5) ? 1 : -1; // record highs or lows at the end
        }
        spec.records = WalkPrices(t, calendar, spec.format, spec.firstDay, spec.lastDay, w, trend);
        std::string file = symbol + ".DTA";
        if (i % 17 == 5) // hosts copied from other systems have lower-case names too
            std::transform(file.begin(), file.end(), file.begin(),
                           [](char c) { return static_cast<char>(std::tolower(c)); });
        fs::path path = data[i % 2] / file;
        WriteBytes(path, EncodeTicker(spec));
        summary.tickerFiles.push_back(path);
    }
    if (o.broken) WriteBrokenFiles(data[1], rng, startDay, endDay);
    if (!o.standin.empty()) InstallStandin(o.standin, host, stocks, o.seed, endDay);
    return summary;
}

} // namespace hostgen
