#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "ConnectStringOracle.h"
#include "DsnFileOracle.h"
#include "ScriptReaderOracle.h"
#include "StatementKindOracle.h"

// The fuzz oracles over a fixed series of inputs: the same few thousand every
// run, built from each target's telling pieces and random bytes.
namespace {

using Oracle = std::string (*)(std::string_view);

const std::vector<std::string> ScriptPieces = {";",
                                               "'",
                                               "''",
                                               "\"",
                                               "--",
                                               "/*",
                                               "*/",
                                               "\r\n",
                                               "\n",
                                               "\r",
                                               "REM",
                                               "@",
                                               " ",
                                               "SELECT",
                                               "\xEF\xBB\xBF",
                                               "x",
                                               std::string(1, '\0')};
const std::vector<std::string> ConnectPieces = {";",    "=",        "{",   "}",       "}}",
                                                "PWD",  "Password", "DSN", "FILEDSN", "DRIVER",
                                                "ODBC", "\r\n",     " ",   "x",       "\x01"};

std::string RandomInput(std::mt19937 &random, const std::vector<std::string> &pieces) {
    std::string input;
    const size_t parts = random() % 48;
    for (size_t i = 0; i < parts; ++i) {
        if (random() % 2)
            input += pieces[random() % pieces.size()];
        else
            input += static_cast<char>(random() % 256);
    }
    return input;
}

std::string Escaped(std::string_view input) {
    static const char digits[] = "0123456789abcdef";
    std::string escaped;
    for (unsigned char c : input) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            escaped += static_cast<char>(c);
        } else {
            escaped += "\\x";
            escaped += digits[c >> 4];
            escaped += digits[c & 15];
        }
    }
    return escaped;
}

void RunOracle(Oracle oracle, const std::vector<std::string> &pieces,
               const std::vector<std::string> &seeds) {
    std::mt19937 random(20240901);
    std::vector<std::string> inputs = seeds;
    for (int i = 0; i < 4000; ++i)
        inputs.push_back(RandomInput(random, pieces));
    for (const std::string &input : inputs) {
        const std::string failure = oracle(input);
        ASSERT_EQ(failure, "") << "input: \"" << Escaped(input) << "\"";
    }
}

TEST(FuzzLoopTest, ScriptReader) {
    RunOracle(ScriptReaderOracle::Check, ScriptPieces,
              {"INSERT INTO notes VALUES ('cleanup; DELETE FROM orders; done');",
               "SELECT 1 -- it's\r\n;'", "\xEF\xBB\xBFSELECT 1"});
}

TEST(FuzzLoopTest, StatementKind) {
    RunOracle(StatementKindOracle::Check, ScriptPieces, {" \t{?=call x}", "\r\nrem", "@"});
}

TEST(FuzzLoopTest, ConnectString) {
    RunOracle(ConnectStringOracle::Check, ConnectPieces,
              {"UID=bob{;PWD=se}cret", "X={a}};PWD=s;}", std::string(200, '{')});
}

TEST(FuzzLoopTest, DsnFile) {
    RunOracle(DsnFileOracle::Check, ConnectPieces,
              {"ODBC;FILEDSN=/a.dsn;DSN=;Database=/x.db;", "OPT={a;PWD=b}", "X={1\r\nDSN=y}"});
}

} // namespace
