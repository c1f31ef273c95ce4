#include <clocale>
#include <ctime>
#include <string>

#include <gtest/gtest.h>

#include "console/ConsoleBanner.h"

namespace {

std::tm At(int year, int month, int day, int weekDay, int hour, int minute, int second) {
    std::tm time{};
    time.tm_year = year - 1900;
    time.tm_mon = month - 1;
    time.tm_mday = day;
    time.tm_wday = weekDay;
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = second;
    return time;
}

// Switches the process to a non-English locale for one test when one is installed.
class ForeignLocale {
public:
    ForeignLocale() : m_saved(std::setlocale(LC_ALL, nullptr)) {
        for (const char *name : {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE", "C.UTF-8"})
            if (std::setlocale(LC_ALL, name))
                break;
    }
    ~ForeignLocale() { std::setlocale(LC_ALL, m_saved.c_str()); }

private:
    std::string m_saved;
};

TEST(ConsoleBannerTest, TimesUseEnglishNamesAndTwoDigitFieldsWhateverTheLocale) {
    ForeignLocale locale;
    EXPECT_EQ(ConsoleBanner::DateTimeText(At(2026, 1, 5, 1, 9, 3, 7)), "Mon Jan 05 09:03:07 2026");
    EXPECT_EQ(ConsoleBanner::DateTimeText(At(1999, 12, 31, 5, 23, 59, 59)),
              "Fri Dec 31 23:59:59 1999");
    EXPECT_EQ(ConsoleBanner::DateTimeText(At(2024, 5, 12, 0, 0, 0, 0)), "Sun May 12 00:00:00 2024");
    EXPECT_EQ(ConsoleBanner::ClockText(At(2026, 1, 5, 1, 9, 3, 7)), "09:03:07");
}

TEST(ConsoleBannerTest, ConnectStringListingMasksPasswordsAndKeepsBracedValuesWhole) {
    struct Case {
        const char *connect;
        const char *listing;
    };
    const Case cases[] = {
        {"ODBC;DSN=Sales;UID=sa;PWD=secret;DATABASE=pubs;",
         "\tODBC\r\n\tDSN=Sales\r\n\tUID=sa\r\n\tPWD=*****\r\n\tDATABASE=pubs\r\n"},
        // A braced value with ";" inside stays on its line, braces and all.
        {"ODBC;DRIVER={PostgreSQL Unicode};Opt={a;b;c};SERVER=db;",
         "\tODBC\r\n\tDRIVER={PostgreSQL Unicode}\r\n\tOpt={a;b;c}\r\n\tSERVER=db\r\n"},
        // A braced password with ";" and "}}" in it is masked whole: no piece leaks.
        {"ODBC;UID=me;PWD={se;cr}}et};PORT=5432;",
         "\tODBC\r\n\tUID=me\r\n\tPWD=*****\r\n\tPORT=5432\r\n"},
        // The element after the last ";" is listed, unless it is a password.
        {"ODBC;DSN=a;UID=b", "\tODBC\r\n\tDSN=a\r\n\tUID=b\r\n"},
        {"ODBC;DSN=a;pwd=tail", "\tODBC\r\n\tDSN=a\r\n\tPWD=*****\r\n"},
        {"ODBC;Password=x;DSN=a;", "\tODBC\r\n\tPWD=*****\r\n\tDSN=a\r\n"},
        {"ODBC;", "\tODBC\r\n"},
        {"", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ConsoleBanner::ConnectListing(c.connect), c.listing) << c.connect;
}

TEST(ConsoleBannerTest, BannerHasVersionTimeAndConnection) {
    const std::string banner = ConsoleBanner::Text(
        "Brindle Version 2.1 ", At(2026, 1, 5, 1, 9, 3, 7), "ODBC;DSN=Sales;PWD=x%sy;UID=sa;");
    // The version text brings its own trailing blank: two blanks before "on".
    EXPECT_EQ(banner, "Brindle Version 2.1  on Mon Jan 05 09:03:07 2026\r\n"
                      "\r\nConnected to:\r\n"
                      "\tODBC\r\n\tDSN=Sales\r\n\tPWD=*****\r\n\tUID=sa\r\n");
}

} // namespace
