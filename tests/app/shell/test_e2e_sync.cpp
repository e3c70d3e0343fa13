// "Synchronize ZRN clock to PC" through the real link library against a
// simulated device in this process, an hour behind: the program keeps setting
// the device clock until a reply shows it equal to the PC's.
#include "PanelTestAccess.h"
#include "Device.h"
#include "EnvGuard.h"
#include "Options.h"
#include "Simulator.h"
#include "platform/Win.h"
#include "protocol/LinkApi.h"
#include "resources/Resource.h"
#include "shell/ZRNcomDlg.h"

#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <pthread.h>
#include <thread>
#include <unistd.h>

namespace {

// zrnsim's loop on its own thread; it stops on a signal sent to that thread.
class InProcessSimulator {
public:
    InProcessSimulator(zrnsim::Device& device, const std::string& link) {
        options.link = link;
        out = std::tmpfile();
        thread = std::thread([this, &device] {
            zrnsim::Simulator simulator(options, device, out); // blocks its signals here
            self = ::pthread_self();
            started = true;
            simulator.Run();
        });
    }
    ~InProcessSimulator() {
        while (!started) // the thread is a few instructions from setting it
            std::this_thread::yield();
        ::pthread_kill(self, SIGTERM);
        thread.join();
        std::fclose(out);
    }

private:
    zrnsim::Options options;
    std::FILE* out = nullptr;
    std::atomic<bool> started{false};
    pthread_t self{};
    std::thread thread;
};

} // namespace

// The PC clock read before and after a step: whatever the step saw of the PC
// clock lies between the two, however long the machine took.
struct PcSpan {
    std::time_t from = std::time(nullptr);
    std::time_t to = 0;
    std::time_t Close() { return to = std::time(nullptr); }
    bool Holds(std::time_t t) const { return from <= t && t <= to; }
};

TEST(SynchroniseEndToEnd, DeviceClockIsBroughtToThePcClock) {
    namespace fs = std::filesystem;
    const std::string link =
        (fs::temp_directory_path() / ("zrncom-sync-" + std::to_string(::getpid()))).string();
    zrnsim::DeviceState state = zrnsim::DefaultState(std::time(nullptr));
    state.clockOffset = -3600;
    zrnsim::Device device(state, [] { return std::time(nullptr); });
    PcSpan synchronised;
    {
        InProcessSimulator simulator(device, link);
        ASSERT_TRUE(QTest::qWaitFor([&] { return fs::exists(link); }, 5000));
        EnvGuard ports("ZRNCOM_PORTS", link.c_str());

        CZRNcomDlg dialog("ZRNcom");
        dialog.options.strIniFile = "/nonexistent/ZRNcom.ini";
        PcSpan found;
        dialog.Create();
        // The one-second timer finds the device and polls its clock.
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return PanelTestAccess::tZrnClock(dialog.panels.clock) != 0; }, 10000));
        found.Close();
        EXPECT_TRUE(found.Holds(PanelTestAccess::tZrnClock(dialog.panels.clock) + 3600))
            << "an hour behind, read between " << found.from << " and " << found.to << ": "
            << PanelTestAccess::tZrnClock(dialog.panels.clock);

        synchronised = PcSpan();
        dialog.SendMessage(IDC_SYNC_ZRN_CLOCK, win::BN_CLICKED);
        EXPECT_EQ(PanelTestAccess::bSyncToPc(dialog.panels.clock), 1);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return PanelTestAccess::bSyncToPc(dialog.panels.clock) == 0; }, 10000));
        synchronised.Close();
        // It stopped because a reply showed the PC's clock of that moment.
        EXPECT_TRUE(synchronised.Holds(PanelTestAccess::tZrnClock(dialog.panels.clock)))
            << "read between " << synchronised.from << " and " << synchronised.to << ": "
            << PanelTestAccess::tZrnClock(dialog.panels.clock);
        Link().close();
    }
    // The simulator has stopped: its clock can be read without a race. It is
    // off the PC's by the whole seconds between its last reply and the
    // program handling it, or between the program's set and its arrival: at
    // most as long as synchronising took.
    EXPECT_LE(std::abs(static_cast<long>(device.DeviceTime() - std::time(nullptr))),
              std::max<long>(1, synchronised.to - synchronised.from));
}
