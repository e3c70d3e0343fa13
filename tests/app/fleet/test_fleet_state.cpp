// The fleet state's names and lines, from what a device may send.
#include "fleet/Backup.h"
#include "fleet/Journal.h"

#include <gtest/gtest.h>

namespace {

constexpr std::time_t kNoon = 1812456000; // 2027-06-08T12:00:00Z

TEST(FleetState, ABackupNameIsMadeOfPlainCharactersWhateverTheDeviceSends) {
    const std::pair<std::string, std::string> names[] = {
        {"ZRNSIM   ZRN100 207 SIM0001", "ZRNSIM-ZRN100-207-SIM0001_20270608T120000Z.json"},
        {"../../etc/passwd", "etc-passwd_20270608T120000Z.json"},
        {"C:\\x\r\n\xff", "C-x_20270608T120000Z.json"},
        {"", "device_20270608T120000Z.json"},
        {"  ..  ", "device_20270608T120000Z.json"},
        {std::string(200, 'A'), std::string(64, 'A') + "_20270608T120000Z.json"},
    };
    for (const auto& [identification, name] : names)
        EXPECT_EQ(zrn::BackupName(identification, kNoon), name) << identification;
}

TEST(FleetState, AJournalLineIsOneLineOfJsonWhateverItCarries) {
    zrn::ChangeRecord change{"zrnctl",
                             "2.1.0.0",
                             "/dev/ttyUSB0",
                             "13ZRN\n\xff\"x",
                             "sdi",
                             zrn::Json{{"delay", 42}},
                             zrn::Json{{"delay", 5}},
                             zrn::ChangeResult::Refused};
    const std::string line = zrn::JournalLine(change, kNoon, "ann", "site14");
    ASSERT_TRUE(line.ends_with("\n"));
    EXPECT_EQ(line.find('\n'), line.size() - 1);
    const zrn::Json entry = zrn::Json::parse(line);
    EXPECT_EQ(entry["time"], "2027-06-08T12:00:00Z");
    EXPECT_EQ(entry["device"], "13ZRN\n\xEF\xBF\xBD\"x");
    EXPECT_EQ(entry["result"], "refused");
    EXPECT_EQ(entry["before"]["delay"], 42);
}

} // namespace
