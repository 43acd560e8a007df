#include "hostdb/MarketCalendar.h"

#include "hostdb/Format.h"

#include <cmath>
#include <cstdlib>

namespace hostdb {

namespace {

constexpr int CacheSlots = 10;
constexpr int RecordSize = 222;
constexpr int HolidaysOffset = 202;
constexpr int FirstFileYear = 1970;

// Shared by every calendar of the process; the programs are single-threaded.
HolidaySlot g_cache[CacheSlots];

DayNumber DN(int year, int month, int day) {
    return MarketCalendar::DateToDay(EncodeDate(year, month, day));
}

DayNumber EasterSunday(int Y) {
    int a = Y % 19, b = Y / 100, c = Y % 100, d = b / 4, e = b % 4;
    int f = (b + 8) / 25, g = (b - f + 1) / 3;
    int h = (19 * a + b - d - g + 15) % 30;
    int i = c / 4, k = c % 4;
    int l = (32 + 2 * e + 2 * i - h - k) % 7;
    int m = (a + 11 * h + 22 * l) / 451;
    int month = (h + l - 7 * m + 114) / 31;
    int day = ((h + l - 7 * m + 114) % 31) + 1;
    return DN(Y, month, day);
}

} // namespace

int WeekdayOf(int day) {
    int w = day % 7;
    return w < 0 ? w + 7 : w;
}

int YearOfDay(int day) { return ((day + 10226) * 4) / 1461 + 1952; }

HolidayList BuiltInHolidays(int Y) {
    int C = Y / 100, y = Y % 100, L = Y % 4 == 0 ? 1 : 0;
    int K = ((C % 4) * 100) % 28 - y - (y / 4) + 133;
    HolidayList h{};
    int jan1 = (L + K % 7) % 7;
    h[0] = static_cast<DayNumber>(DN(Y, 1, 1) + (jan1 == 0 ? 1 : jan1 == 1 ? -1 : 0));
    h[1] = DN(Y, 2, (K + L + 5) % 7 + 15);
    h[2] = static_cast<DayNumber>(EasterSunday(Y) - 2);
    h[3] = DN(Y, 5, (K + 4) % 7 + 25);
    h[4] = static_cast<DayNumber>(DN(Y, 7, 4) + (K % 7 == 2 ? 1 : K % 7 == 3 ? -1 : 0));
    h[5] = DN(Y, 9, (K + 3) % 7 + 1);
    h[6] = DN(Y, 11, (K + 1) % 7 + 22);
    h[7] = static_cast<DayNumber>(DN(Y, 12, 25) + (K % 7 == 1 ? 1 : K % 7 == 2 ? -1 : 0));
    return h;
}

bool ReadHolidayRecord(const ByteSource& file, int year, HolidayList& days) {
    if (year < FirstFileYear || !file.IsOpen()) return false;
    std::uint64_t offset = static_cast<std::uint64_t>(year - FirstFileYear) * RecordSize;
    std::uint8_t yearBytes[2];
    if (!file.ReadAt(offset, yearBytes, 2) || ReadInt16LE(yearBytes) != year) return false;
    std::uint8_t raw[20];
    if (!file.ReadAt(offset + HolidaysOffset, raw, sizeof raw)) return false;
    for (int i = 0; i < 10; ++i) days[static_cast<size_t>(i)] = ReadInt16LE(raw + 2 * i);
    return true;
}

MarketCalendar::MarketCalendar(platform::Locale locale) : locale_(std::move(locale)) {
    for (HolidaySlot& slot : g_cache) slot = HolidaySlot{};
}

const HolidaySlot& MarketCalendar::CacheSlot(int index) { return g_cache[index]; }

void MarketCalendar::LoadYear(HolidaySlot& slot, int year) const {
    slot.year = static_cast<DayNumber>(year);
    slot.source = HolidayFileName.native();
    if (year > 1969 && !HolidayFileName.empty()) {
        FileByteSource file(HolidayFileName);
        if (ReadHolidayRecord(file, year, slot.days)) return;
    }
    slot.days = BuiltInHolidays(year);
}

int MarketCalendar::DayKind(int day) {
    int w = WeekdayOf(day);
    if (w > 4) return w;
    int year = YearOfDay(day);
    HolidaySlot* found = nullptr;
    int farthest = 0;
    int farthestDistance = -1;
    for (int i = 0; i < CacheSlots; ++i) {
        HolidaySlot& slot = g_cache[i];
        if (slot.year == 0) {
            LoadYear(slot, year);
            found = &slot;
            break;
        }
        if (slot.year == year && slot.source == HolidayFileName.native()) {
            found = &slot;
            break;
        }
        int distance = std::abs(slot.year - year);
        if (distance > farthestDistance) {
            farthestDistance = distance;
            farthest = i;
        }
    }
    if (!found) {
        found = &g_cache[farthest];
        LoadYear(*found, year);
    }
    for (DayNumber h : found->days)
        if (h == static_cast<DayNumber>(day)) return KindHoliday;
    return w;
}

DayNumber MarketCalendar::DateToDay(DateTimeValue value) {
    return static_cast<DayNumber>(static_cast<long>(std::trunc(value - DayNumberOffset)));
}

std::string MarketCalendar::FormatDay(std::string_view format, int day) const {
    return FormatDateTime(format, DayToDate(day), locale_);
}

DayNumber MarketCalendar::TextToDay(std::string_view text, DateTimeValue now) const {
    return DateToDay(StrToDate2k(text, DateTextRules::From(locale_), now));
}

} // namespace hostdb
