// The clock text of the window captions, and the caption a running copy showed a minute
// ago, by which a second copy recognises it.
#pragma once

#include <cstdint>
#include <string>

namespace quantora {

struct ClockTime {
    int weekday;  // 0 Sunday to 6 Saturday
    int day;      // 1 to 31
    int month;    // 1 to 12
    int year;     // full year, 2026
    int hour;     // 0 to 23
    int minute;   // 0 to 59
};

// "Friday  4th Dec 26   5:05": day name, day with its suffix, month, two-digit year, three
// spaces, then the time on a twelve-hour clock without AM or PM (hour 0 shows as "00").
std::string DateTimeText(const ClockTime& time);

// The local time now, and at a time in seconds since 1970.
ClockTime ClockNow();
ClockTime ClockAt(std::int64_t seconds);

// The date in words, as a quote or a history carries it: "7 December 2026".
std::string LongDateText(const ClockTime& date);

// The management window's caption: the program title, ten spaces, the clock text.
std::string MainCaption(const std::string& clockText);

// The same caption one minute earlier, made by editing its last five characters only (the
// date part is left as it is).
std::string CaptionOneMinuteEarlier(const std::string& caption);

inline constexpr const char* kProgramTitle = " Quantora ";

}  // namespace quantora
