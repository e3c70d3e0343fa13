// The scan's walk through the port list.
#include "device/PortList.h"

#include <gtest/gtest.h>

using namespace zrn;

TEST(PortScan, ThreePortsAreTriedInListOrderAndTheIndexWraps) {
    const std::vector<std::string> ports{"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyACM0"};
    std::vector<std::string> tried;
    int index = 0;
    for (int step = 0; step < 5; ++step) {
        const ScanChoice choice = ChoosePortToScan(ports, index);
        ASSERT_TRUE(choice.port);
        tried.push_back(*choice.port);
        index = choice.nNextIndex;
    }
    EXPECT_EQ(tried, (std::vector<std::string>{"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyACM0",
                                               "/dev/ttyUSB0", "/dev/ttyUSB1"}));
}

TEST(PortScan, OnePortIsTriedAgainAtEveryStep) {
    const ScanChoice choice = ChoosePortToScan({"/tmp/zrn"}, 0);
    EXPECT_EQ(choice.port, "/tmp/zrn");
    EXPECT_EQ(choice.nNextIndex, 0);
}

TEST(PortScan, AnEmptyListOpensNothingAndKeepsTheIndex) {
    const ScanChoice choice = ChoosePortToScan({}, 2);
    EXPECT_FALSE(choice.port);
    EXPECT_EQ(choice.nNextIndex, 2);
}

TEST(PortScan, AListThatShrankBelowTheIndexSkipsOneStepThenStartsOver) {
    const ScanChoice choice = ChoosePortToScan({"/dev/ttyUSB0", "/dev/ttyUSB1"}, 3);
    EXPECT_FALSE(choice.port);
    EXPECT_EQ(choice.nNextIndex, 0);
}

TEST(PortScan, DefinitionsKeepTheLineSettingsForm) {
    EXPECT_EQ(PortDefinition("/dev/ttyUSB0"), "/dev/ttyUSB0:9600,N,8,1");
    EXPECT_EQ(std::string(FALLBACK_PORT_DEFINITION), PortDefinition("/dev/ttyS0"));
}
