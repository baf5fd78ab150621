#include "services/clock_text.h"

#include <gtest/gtest.h>

namespace quantora {
namespace {

ClockTime At(int day, int hour, int minute) { return {5, day, 12, 2026, hour, minute}; }

TEST(DateTimeText, TheExampleOfAFridayAfternoon) {
    EXPECT_EQ(DateTimeText({5, 4, 12, 2026, 17, 5}), "Friday  4th Dec 26   5:05");
    EXPECT_EQ(MainCaption(DateTimeText({5, 4, 12, 2026, 17, 5})),
              " Quantora           Friday  4th Dec 26   5:05");
}

TEST(DateTimeText, DaySuffixes) {
    const std::pair<int, const char*> days[] = {{1, "st"},  {2, "nd"},  {3, "rd"},  {4, "th"},
                                                {11, "th"}, {12, "th"}, {13, "th"}, {21, "st"},
                                                {22, "nd"}, {23, "rd"}, {31, "st"}};
    for (auto [day, suffix] : days) {
        std::string text = DateTimeText(At(day, 9, 30));
        EXPECT_NE(text.find(" " + std::to_string(day) + suffix + " Dec"), std::string::npos)
            << text;
    }
}

TEST(DateTimeText, TwelveHourTimeWithoutLeadingZero) {
    auto time = [](int h, int m) {
        std::string t = DateTimeText(At(4, h, m));
        return t.substr(t.rfind(' ') + 1);
    };
    EXPECT_EQ(time(0, 7), "00:07");
    EXPECT_EQ(time(9, 30), "9:30");
    EXPECT_EQ(time(12, 0), "12:00");
    EXPECT_EQ(time(13, 0), "1:00");
    EXPECT_EQ(time(23, 59), "11:59");
    EXPECT_EQ(DateTimeText({0, 1, 1, 2030, 0, 0}), "Sunday  1st Jan 30   00:00");
}

TEST(CaptionOneMinuteEarlier, EditsOnlyTheTime) {
    auto earlier = [](int h, int m) {
        return CaptionOneMinuteEarlier(MainCaption(DateTimeText(At(4, h, m))));
    };
    EXPECT_EQ(earlier(17, 5), MainCaption(DateTimeText(At(4, 17, 4))));
    EXPECT_EQ(earlier(17, 10), MainCaption(DateTimeText(At(4, 17, 9))));
    EXPECT_EQ(earlier(17, 0), MainCaption(DateTimeText(At(4, 16, 59))));  // 5:00 -> 4:59
    // The hour is rewritten in its two characters before the colon, whatever its width.
    std::string one = MainCaption(DateTimeText(At(4, 13, 0)));
    EXPECT_EQ(earlier(13, 0), one.substr(0, one.size() - 5) + "12:59");
    std::string ten = MainCaption(DateTimeText(At(4, 10, 0)));
    EXPECT_EQ(earlier(10, 0), ten.substr(0, ten.size() - 5) + " 9:59");
    // Midnight shows 00:00 and the caption a minute earlier is taken as 11:59, same date.
    std::string midnight = MainCaption(DateTimeText(At(4, 0, 0)));
    std::string expected = midnight.substr(0, midnight.size() - 5) + "11:59";
    EXPECT_EQ(CaptionOneMinuteEarlier(midnight), expected);
}

}  // namespace
}  // namespace quantora
