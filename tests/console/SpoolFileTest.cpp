#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "TestDataSources.h"
#include "console/SpoolFile.h"

namespace {

std::string ReadBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST(SpoolFileTest, WritesEveryByteUnchangedIntoATruncatedFile) {
    const std::string path = MakeTempDir() + "/out.lst";
    std::ofstream(path, std::ios::binary) << std::string(5000, 'o');
    SpoolFile spool;
    ASSERT_TRUE(spool.Open(path));
    EXPECT_TRUE(spool.IsOpen());
    const std::string pieces[] = {"SQL> ",     "select '100% %s %d' from t\r\n\r\n",
                                  "Zoë, 東京", std::string("nul\0byte", 8),
                                  "\n\r\r\n",  ""};
    std::string expected;
    for (const std::string &piece : pieces) {
        spool.Write(piece);
        expected += piece;
    }
    spool.Flush();
    // Flushed bytes are readable by others while the file stays open.
    EXPECT_EQ(ReadBytes(path), expected);
    spool.Write("tail");
    EXPECT_TRUE(spool.Close());
    EXPECT_FALSE(spool.IsOpen());
    EXPECT_EQ(ReadBytes(path), expected + "tail");
}

TEST(SpoolFileTest, UnopenableFileAndCloseWithoutFile) {
    SpoolFile spool;
    EXPECT_FALSE(spool.Open(MakeTempDir() + "/missing/dir/out.lst"));
    EXPECT_FALSE(spool.IsOpen());
    spool.Write("ignored");
    EXPECT_TRUE(spool.Close());
}

TEST(SpoolFileTest, FailedCloseIsReportedOnceAndTheStreamIsNeverUsedAgain) {
    // /dev/full takes the open and fails the writes the buffer holds back.
    SpoolFile spool;
    ASSERT_TRUE(spool.Open("/dev/full"));
    spool.Write("lost bytes\r\n");
    EXPECT_FALSE(spool.Close());
    EXPECT_FALSE(spool.IsOpen());
    spool.Write("after the failure");
    spool.Flush();
    EXPECT_TRUE(spool.Close());
    // A failed flush on the way is reported by the close as well.
    ASSERT_TRUE(spool.Open("/dev/full"));
    spool.Write("x");
    spool.Flush();
    EXPECT_FALSE(spool.Close());
}

TEST(SpoolFileTest, ReopeningClosesThePreviousFileFirst) {
    const std::string dir = MakeTempDir();
    SpoolFile spool;
    ASSERT_TRUE(spool.Open(dir + "/a.lst"));
    spool.Write("first");
    ASSERT_TRUE(spool.Open(dir + "/b.lst"));
    spool.Write("second");
    EXPECT_TRUE(spool.Close());
    EXPECT_EQ(ReadBytes(dir + "/a.lst"), "first");
    EXPECT_EQ(ReadBytes(dir + "/b.lst"), "second");
}

} // namespace
