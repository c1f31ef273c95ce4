#pragma once

#include <ctime>
#include <string>

// The texts the console writes when a connection opens, and the clock texts
// of the console and the spool file. Day and month names are English whatever
// the locale, so a log reads the same on every machine.
class ConsoleBanner {
public:
    // "<version> on Mon Jan 05 09:03:07 2026\r\n\r\nConnected to:\r\n" followed by
    // the connect-string listing; `versionText` ends with a blank of its own.
    static std::string Text(const std::string &versionText, const std::tm &time,
                            const std::string &connect);

    // One element a line, each after a tab; a password shows as "PWD=*****". A
    // braced value keeps its ";" and braces on its line. The element after the
    // last ";" is listed too, as the .dsn writer writes it.
    static std::string ConnectListing(const std::string &connect);

    // "Mon Jan 05 09:03:07 2026"
    static std::string DateTimeText(const std::tm &time);
    // "09:03:07"
    static std::string ClockText(const std::tm &time);

    static std::tm LocalTime(std::time_t when);
    static std::tm Now();
};
