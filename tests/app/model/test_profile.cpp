#include "model/Settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <unistd.h>
#include <utility>

using namespace zrn;

namespace {

class Profile : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = (std::filesystem::temp_directory_path() /
                 ("zrn_profile_" + std::to_string(::getpid()) + ".ini"))
                    .string();
    }
    void TearDown() override { std::filesystem::remove(path_); }
    void Write(const std::string& text) { std::ofstream(path_) << text; }
    int Read(const char* section, const char* key, int nDefault) {
        return GetPrivateProfileInt(section, key, nDefault, path_);
    }
    struct Lookup {
        const char* section;
        const char* key;
        int nDefault;
        int expected;
    };
    void ExpectReads(std::initializer_list<Lookup> lookups) {
        for (const Lookup& l : lookups)
            EXPECT_EQ(Read(l.section, l.key, l.nDefault), l.expected)
                << "[" << l.section << "] " << l.key;
    }
    std::string path_;
};

} // namespace

TEST_F(Profile, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(Read("SYSTEM", "PollingTime", 5000), 5000);
    Write("[SYSTEM]\nPollingTime=1000\n");
    EXPECT_EQ(Read("Interval15Min", "PumpOnMin", 1), 1);
    EXPECT_EQ(Read("SYSTEM", "Other", 7), 7);
    EXPECT_EQ(Read("SYSTEM", "PollingTime", 5000), 1000);
}

TEST_F(Profile, OnlyTheNamedKeyOfTheNamedSectionChanges) {
    Write("[Interval30Min]\nPumpOnMin=3\n");
    ExpectReads({{"Interval30Min", "PumpOnMin", 1, 3},
                 {"Interval30Min", "PumpOnSec", 0, 0},
                 {"Interval30Min", "OpenValveMin", 2, 2},
                 {"Interval15Min", "PumpOnMin", 1, 1},
                 {"Interval1Hr", "PumpOnMin", 1, 1}});
}

TEST_F(Profile, NamesIgnoreCaseAndBlanks) {
    Write("; presets\n[ interval30min ]\n  PUMPONMIN = 4 \n");
    EXPECT_EQ(Read("Interval30Min", "PumpOnMin", 1), 4);
}

TEST_F(Profile, ValuesReadLikeWindows) {
    Write("\xEF\xBB\xBF[S]\na=12abc\nb=-5\nc=abc\nd=\ne=0x1F\nf=  7 ; note\ng=99999999999\n"
          ";h=9\n[T]\na=1\n[S]\na=2\n");
    const std::pair<const char*, int> inS[] = {{"a", 12}, {"b", -5}, {"c", 0},          {"d", 9},
                                               {"e", 31}, {"f", 7},  {"g", 2147483647}, {"h", 9}};
    for (const auto& [key, expected] : inS)
        EXPECT_EQ(Read("S", key, 9), expected) << key;
    EXPECT_EQ(Read("T", "a", 9), 1);
}

TEST_F(Profile, FileIsReadAfreshOnEveryCall) {
    Write("[SYSTEM]\nPollingTime=1000\n");
    EXPECT_EQ(Read("SYSTEM", "PollingTime", 5000), 1000);
    Write("[SYSTEM]\nPollingTime=2000\n");
    EXPECT_EQ(Read("SYSTEM", "PollingTime", 5000), 2000);
}
