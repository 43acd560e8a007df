// The local clock's moments as the host's date-time values.
#include "hostdb/DateTime.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <string>

using namespace hostdb;

namespace {

// Sets the process's time zone for one test and puts the old one back.
class TimeZone {
public:
    explicit TimeZone(const char* tz) {
        if (const char* old = std::getenv("TZ")) old_ = old;
        ::setenv("TZ", tz, 1);
        ::tzset();
    }
    ~TimeZone() {
        if (old_)
            ::setenv("TZ", old_->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }

private:
    std::optional<std::string> old_;
};

} // namespace

TEST(LocalClock, MomentsAsLocalDateTimeValues) {
    {
        TimeZone utc("UTC0");
        EXPECT_DOUBLE_EQ(LocalDateTime(0), EncodeDate(1970, 1, 1));
        // 29 February 2000, 23:59:59: the leap day and the seconds survive.
        EXPECT_DOUBLE_EQ(LocalDateTime(951868799), EncodeDateTime(2000, 2, 29, 23, 59, 59));
        EXPECT_DOUBLE_EQ(LocalDateTime(951868800), EncodeDate(2000, 3, 1));
    }
    {
        TimeZone east("EST5"); // five hours behind, no summer time
        EXPECT_DOUBLE_EQ(LocalDateTime(0), EncodeDateTime(1969, 12, 31, 19, 0, 0));
        EXPECT_DOUBLE_EQ(LocalDateTime(951868800), EncodeDateTime(2000, 2, 29, 19, 0, 0));
    }
    EXPECT_GT(LocalNow(), EncodeDate(2020, 1, 1));
}
