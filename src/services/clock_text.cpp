#include "services/clock_text.h"

#include <array>
#include <ctime>

namespace quantora {

namespace {

constexpr const char* kDayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                     "Thursday", "Friday", "Saturday"};
constexpr const char* kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

const char* DaySuffix(int day) {
    switch (day) {
        case 1:
        case 21:
        case 31:
            return "st";
        case 2:
        case 22:
            return "nd";
        case 3:
        case 23:
            return "rd";
        default:
            return "th";
    }
}

std::string TwoDigits(int value) {
    return std::string(1, static_cast<char>('0' + value / 10)) +
           static_cast<char>('0' + value % 10);
}

}  // namespace

std::string DateTimeText(const ClockTime& t) {
    int hour = t.hour > 12 ? t.hour - 12 : t.hour;
    std::string hourText = hour == 0 ? "00" : std::to_string(hour);
    return std::string(kDayNames[t.weekday]) + "  " + std::to_string(t.day) + DaySuffix(t.day) +
           " " + kMonthNames[t.month - 1] + " " + TwoDigits(t.year % 100) + "   " + hourText + ":" +
           TwoDigits(t.minute);
}

ClockTime ClockNow() { return ClockAt(std::time(nullptr)); }

ClockTime ClockAt(std::int64_t seconds) {
    std::time_t at = static_cast<std::time_t>(seconds);
    std::tm local{};
    localtime_r(&at, &local);
    return {local.tm_wday,        local.tm_mday, local.tm_mon + 1,
            local.tm_year + 1900, local.tm_hour, local.tm_min};
}

std::string LongDateText(const ClockTime& date) {
    static constexpr std::array<const char*, 12> kMonths = {
        "January", "February", "March",     "April",   "May",      "June",
        "July",    "August",   "September", "October", "November", "December"};
    int month = date.month >= 1 && date.month <= 12 ? date.month - 1 : 0;
    return std::to_string(date.day) + " " + kMonths[static_cast<std::size_t>(month)] + " " +
           std::to_string(date.year);
}

std::string MainCaption(const std::string& clockText) {
    return std::string(kProgramTitle) + std::string(10, ' ') + clockText;
}

std::string CaptionOneMinuteEarlier(const std::string& caption) {
    if (caption.size() < 5 || caption[caption.size() - 3] != ':') return caption;
    std::string result = caption;
    std::size_t end = result.size();
    auto digit = [](char c) { return c >= '0' && c <= '9' ? c - '0' : 0; };
    int minutes = digit(result[end - 2]) * 10 + digit(result[end - 1]);
    int hour = digit(result[end - 5]) * 10 + digit(result[end - 4]);
    if (minutes != 0) {
        result.replace(end - 2, 2, TwoDigits(minutes - 1));
        return result;
    }
    result.replace(end - 2, 2, "59");
    std::string hourText = hour == 0 ? "11" : hour == 1 ? "12" : std::to_string(hour - 1);
    if (hourText.size() < 2) hourText.insert(0, " ");
    result.replace(end - 5, 2, hourText);
    return result;
}

}  // namespace quantora
