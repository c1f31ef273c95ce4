#include "console/ConsoleBanner.h"

#include <cstdio>

#include "odbc/ConnectString.h"

namespace {

const char *const DayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char *const MonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// strftime would follow the process locale, which the GUI sets from the user's.
const char *NameAt(const char *const *names, int count, int index) {
    return index >= 0 && index < count ? names[index] : "???";
}

} // namespace

std::string ConsoleBanner::DateTimeText(const std::tm &time) {
    char text[64];
    std::snprintf(text, sizeof text, "%s %s %02d %02d:%02d:%02d %d",
                  NameAt(DayNames, 7, time.tm_wday), NameAt(MonthNames, 12, time.tm_mon),
                  time.tm_mday, time.tm_hour, time.tm_min, time.tm_sec, time.tm_year + 1900);
    return text;
}

std::string ConsoleBanner::ClockText(const std::tm &time) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", time.tm_hour, time.tm_min, time.tm_sec);
    return text;
}

std::tm ConsoleBanner::LocalTime(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    return local;
}

std::tm ConsoleBanner::Now() { return LocalTime(std::time(nullptr)); }

std::string ConsoleBanner::ConnectListing(const std::string &connect) {
    std::string listing;
    for (const std::string &element : ConnectString::Elements(connect)) {
        if (ConnectString::IsPasswordElement(element)) {
            listing += "\tPWD=";
            listing += ConnectString::PasswordMask;
        } else {
            listing += '\t';
            listing += element;
        }
        listing += "\r\n";
    }
    return listing;
}

std::string ConsoleBanner::Text(const std::string &versionText, const std::tm &time,
                                const std::string &connect) {
    std::string text = versionText;
    text += " on ";
    text += DateTimeText(time);
    text += "\r\n\r\nConnected to:\r\n";
    text += ConnectListing(connect);
    return text;
}
