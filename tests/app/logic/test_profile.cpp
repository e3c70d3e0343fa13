#include "model/Settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

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
    EXPECT_EQ(Read("Interval30Min", "PumpOnMin", 1), 3);
    EXPECT_EQ(Read("Interval30Min", "PumpOnSec", 0), 0);
    EXPECT_EQ(Read("Interval30Min", "OpenValveMin", 2), 2);
    EXPECT_EQ(Read("Interval15Min", "PumpOnMin", 1), 1);
    EXPECT_EQ(Read("Interval1Hr", "PumpOnMin", 1), 1);
}

TEST_F(Profile, NamesIgnoreCaseAndBlanks) {
    Write("; presets\n[ interval30min ]\n  PUMPONMIN = 4 \n");
    EXPECT_EQ(Read("Interval30Min", "PumpOnMin", 1), 4);
}

TEST_F(Profile, ValuesReadLikeWindows) {
    Write("\xEF\xBB\xBF[S]\na=12abc\nb=-5\nc=abc\nd=\ne=0x1F\nf=  7 ; note\ng=99999999999\n"
          ";h=9\n[T]\na=1\n[S]\na=2\n");
    EXPECT_EQ(Read("S", "a", 9), 12);
    EXPECT_EQ(Read("S", "b", 9), -5);
    EXPECT_EQ(Read("S", "c", 9), 0);
    EXPECT_EQ(Read("S", "d", 9), 9);
    EXPECT_EQ(Read("S", "e", 9), 31);
    EXPECT_EQ(Read("S", "f", 9), 7);
    EXPECT_EQ(Read("S", "g", 9), 2147483647);
    EXPECT_EQ(Read("S", "h", 9), 9);
    EXPECT_EQ(Read("T", "a", 9), 1);
}

TEST_F(Profile, FileIsReadAfreshOnEveryCall) {
    Write("[SYSTEM]\nPollingTime=1000\n");
    EXPECT_EQ(Read("SYSTEM", "PollingTime", 5000), 1000);
    Write("[SYSTEM]\nPollingTime=2000\n");
    EXPECT_EQ(Read("SYSTEM", "PollingTime", 5000), 2000);
}
