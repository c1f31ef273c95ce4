#include <algorithm>
#include <string>

#include <gtest/gtest.h>
#include <sqlext.h>

#include "DataSourceFixture.h"
#include "odbc/DriverManagerLists.h"

namespace {

TEST(DriverManagerListsTest, ListsInstalledDriversWithAttributes) {
    const std::vector<DriverEntry> drivers = ListDrivers();
    for (const char *name : {"SQLite3", "PostgreSQL ANSI"}) {
        const auto found = std::find_if(drivers.begin(), drivers.end(),
                                        [&](const DriverEntry &d) { return d.name == name; });
        ASSERT_NE(found, drivers.end()) << name;
        const auto &attributes = found->attributes;
        EXPECT_TRUE(std::any_of(attributes.begin(), attributes.end(), [](const std::string &a) {
            return a.rfind("Description=", 0) == 0;
        })) << name;
        for (const std::string &attribute : attributes)
            EXPECT_NE(attribute.find('='), std::string::npos) << attribute;
    }
}

TEST(DriverManagerListsTest, ListsUserDataSourcesApartFromSystemOnes) {
    UserDataSourceFile file;
    const std::vector<DataSourceEntry> user = ListDataSources(SQL_FETCH_FIRST_USER);
    ASSERT_EQ(user.size(), 1u);
    EXPECT_EQ(user[0].name, UserDataSourceFile::DsnName);
    EXPECT_EQ(user[0].description, UserDataSourceFile::Driver);
    for (const DataSourceEntry &entry : ListDataSources(SQL_FETCH_FIRST_SYSTEM))
        EXPECT_NE(entry.name, UserDataSourceFile::DsnName);
}

} // namespace
