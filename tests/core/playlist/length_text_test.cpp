#include "core/playlist/length_text.h"

#include <climits>
#include <gtest/gtest.h>

namespace listora {
namespace {

TEST(LengthText, FormatsMinutesAndTwoDigitSeconds) {
    const std::pair<long long, std::string_view> cases[] = {
        {0, "0:00"},   {9, "0:09"},    {61, "1:01"},
        {599, "9:59"}, {600, "10:00"}, {3725, "62:05"},
        {-1, "-1"},    {-125, "-125"}, {INT_MAX, "35791394:07"},
    };
    for (const auto& [seconds, text] : cases) EXPECT_EQ(FormatLengthText(seconds), text) << seconds;
}

TEST(LengthText, RoundTripsEverySecondsValue) {
    for (long long n :
         {0LL, 1LL, 59LL, 60LL, 65LL, 3725LL, 100000LL, -1LL, -60LL, (long long)INT_MAX, (long long)INT_MIN})
        EXPECT_EQ(LengthTextToSeconds(FormatLengthText(n)), std::to_string(n));
    EXPECT_EQ(LengthTextToSeconds("1:05"), "65");
}

TEST(LengthText, LongMinuteRunsGiveTheExactSeconds) {
    EXPECT_EQ(LengthTextToSeconds("153722867280912931:00"), "9223372036854775860");
    EXPECT_EQ(LengthTextToSeconds("9223372036854775807:59"), "553402322211286548479");
    EXPECT_EQ(LengthTextToSeconds("-9223372036854775808:00"), "-553402322211286548480");
}

TEST(LengthText, ParsesOnlySigned32BitDecimals) {
    EXPECT_EQ(parseInteger("125"), 125);
    EXPECT_EQ(parseInteger("  -1"), -1);
    EXPECT_EQ(parseInteger("+7"), 7);
    EXPECT_EQ(parseInteger("2147483647"), INT_MAX);
    EXPECT_EQ(parseInteger("-2147483648"), INT_MIN);
    for (std::string_view bad :
         {"", " ", "-", "2147483648", "-2147483649", "99999999999999999999", "1 ", "1a", "0x10", "1.5"})
        EXPECT_EQ(parseInteger(bad), std::nullopt) << bad;
}

}  // namespace
}  // namespace listora
