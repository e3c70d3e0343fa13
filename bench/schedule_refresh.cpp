// "Schedule &Refresh" and "&Save" through the real dialog (offscreen) and
// the real link library against zrnsim --baud 9600. Refresh is timed from the
// press to the handling of the last of its 36 replies (the list's last row)
// and compared with the design bound: every byte on the wire at 960 bytes/s
// plus one 20 ms idle read per command. Save is timed from the press to the
// device's acknowledgement of the upload's last command.
#include "../tests/app/shell/PanelTestAccess.h"
#include "SimProcess.h"
#include "ZRNComDll.h"
#include "model/Catalogue.h"
#include "platform/DebugOutput.h"
#include "platform/MessageBox.h"
#include "platform/Win.h"
#include "protocol/LinkApi.h"
#include "resources/Resource.h"
#include "shell/ZRNcomDlg.h"

#include <QApplication>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kFrameOverhead = 7; // STX, ETX, four check digits, CR
constexpr std::size_t kRefreshCommands = 36;
constexpr std::size_t kUploadCommands = 10;

struct Stamped {
    std::string text;
    Clock::time_point at;
};

// The dialog's debug output, each line stamped as it is written.
class Recorder {
public:
    Recorder() {
        SetDebugSink([this](std::string_view text) {
            std::lock_guard lock(mutex);
            lines.push_back({std::string(text), Clock::now()});
        });
    }
    ~Recorder() { SetDebugSink({}); }
    std::vector<Stamped> Take() {
        std::lock_guard lock(mutex);
        return std::exchange(lines, {});
    }

private:
    std::mutex mutex;
    std::vector<Stamped> lines;
};

void Press(CZRNcomDlg& dialog, int id) {
    Notify n;
    n.id = id;
    n.code = win::BN_CLICKED;
    dialog.Deliver(n);
}

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);

    zrnsim::SimProcess device(ZRNSIM_PROGRAM, {"--baud", "9600"});
    if (device.TerminalPath().empty())
        return 1;
    setenv("ZRNCOM_PORTS", device.TerminalPath().c_str(), 1);

    Recorder recorder;
    CZRNcomDlg dialog("ZRNcom");
    dialog.options.strIniFile = "/nonexistent/ZRNcom.ini";
    dialog.Create();
    // Found and read in full; then the timers stop so that nothing else shares the line.
    if (!QTest::qWaitFor(
            [&] {
                return PanelTestAccess::bFollowZrnClock(dialog.panels.clock) == 1 &&
                       dialog.Item<ListView>(IDC_LIST_CTRL)->GetItemCount() == 2;
            },
            30000)) {
        std::fprintf(stderr, "the device was not found and read\n");
        return 1;
    }
    QTest::qWait(2000); // the rest of the first rotation
    dialog.KillTimer(TIMER_ONE_SEC);
    dialog.KillTimer(TIMER_POLLING);
    QTest::qWait(500);

    std::printf("Schedule &Refresh through ZRNcom against zrnsim --baud 9600, %d runs\n", runs);
    // The commands and their ACKs; the replies are counted as they come.
    std::size_t commandBytes = 0;
    for (int n = 1; n <= 4; ++n)
        for (const std::string& c : zrn::ScheduleReadSequence(n))
            commandBytes += c.size() + kFrameOverhead + 1;
    // One rebuild of the list, as the last reply's handler does it.
    const Clock::time_point before = Clock::now();
    constexpr int kRebuilds = 200;
    for (int i = 0; i < kRebuilds; ++i)
        dialog.panels.schedule.RefreshScheduleList();
    const Clock::duration rebuild = (Clock::now() - before) / kRebuilds;
    std::printf("  one list rebuild: %.3f ms\n", Seconds(rebuild) * 1000);
    std::vector<double> refresh, ratios;
    for (int i = 0; i < runs; ++i) {
        recorder.Take();
        const Clock::time_point start = Clock::now();
        Press(dialog, IDC_SCHEDULE_REFRESH);
        std::vector<Stamped> lines;
        const auto lastReply = [&] {
            return std::find_if(lines.begin(), lines.end(),
                                [](const Stamped& l) { return l.text.starts_with("RES S4P"); });
        };
        const auto done = [&] {
            auto more = recorder.Take();
            lines.insert(lines.end(), more.begin(), more.end());
            const auto it = lastReply();
            return it != lines.end() && it + 1 < lines.end();
        };
        if (!QTest::qWaitFor(done, 20000)) {
            std::fprintf(stderr, "run %d: no last reply\n", i + 1);
            continue;
        }
        std::size_t bytes = commandBytes, replies = 0;
        for (const Stamped& l : lines) {
            if (!l.text.starts_with("RES "))
                continue;
            std::string reply = l.text.substr(4);
            while (!reply.empty() && (reply.back() == '\n' || reply.back() == '\r'))
                reply.pop_back();
            bytes += reply.size() + kFrameOverhead;
            ++replies;
        }
        // Dispatched to the schedule handler, which then rebuilds the list (timed below).
        const Clock::time_point shown = (lastReply() + 1)->at + rebuild;
        const double seconds = Seconds(shown - start);
        const double bound = static_cast<double>(bytes) / 960.0 + 0.020 * double(kRefreshCommands);
        std::printf("  %zu commands, %zu replies, %zu bytes on the wire: %.3f s, bound %.3f s, "
                    "ratio %.2f, %d rows\n",
                    kRefreshCommands, replies, bytes, seconds, bound, seconds / bound,
                    dialog.Item<ListView>(IDC_LIST_CTRL)->GetItemCount());
        refresh.push_back(seconds);
        ratios.push_back(seconds / bound);
        QTest::qWait(200);
    }
    std::printf("refresh median %.3f s, ratio to the bound median %.2f\n", Median(refresh),
                Median(ratios));

    // Save: Add proposes an entry in the free slot, Save uploads it; Delete empties it again.
    std::printf("&Save (%zu commands) to the device's ACK of the last, %d runs\n", kUploadCommands,
                runs);
    SetMessageBoxHook([](const MessageBoxRequest&) { return win::IDYES; });
    std::vector<double> saves, saveRatios;
    for (int i = 0; i < runs; ++i) {
        Press(dialog, IDC_BUTTON_ADD);
        const int nEntry = zrn::SelectedEntryIndex(PanelTestAccess::sched(dialog.panels.schedule));
        if (nEntry < 0) {
            std::fprintf(stderr, "run %d: Add proposed nothing\n", i + 1);
            break;
        }
        std::size_t bytes = 0;
        for (const std::string& c : zrn::ScheduleUploadSequence(
                 PanelTestAccess::sched(dialog.panels.schedule).table[static_cast<size_t>(nEntry)]))
            bytes += c.size() + kFrameOverhead + 1;
        recorder.Take();
        const Clock::time_point start = Clock::now();
        Press(dialog, IDC_BUTTON_SAVE);
        // At 9600 baud the link reports some ACKs of long frames late or not at all (the
        // next command goes out on an idle read before the ACK is in): the upload counts as
        // confirmed at the ACK of its last command, "S%dD" like its first, which is told from
        // the first by coming after another ACK of the upload.
        const std::string last =
            "ACK " +
            zrn::ScheduleUploadSequence(
                PanelTestAccess::sched(dialog.panels.schedule).table[static_cast<size_t>(nEntry)])
                .back();
        std::size_t acks = 0;
        bool done = false;
        Clock::time_point confirmed{};
        const auto confirmedNow = [&] {
            for (const Stamped& l : recorder.Take()) {
                if (!l.text.starts_with("ACK ") || done)
                    continue;
                if (l.text.starts_with(last) && acks > 0) {
                    confirmed = l.at;
                    done = true;
                }
                ++acks;
            }
            return done;
        };
        if (!QTest::qWaitFor(confirmedNow, 20000)) {
            std::fprintf(stderr, "run %d: the upload was not confirmed (%zu ACKs)\n", i + 1, acks);
            continue;
        }
        const double seconds = Seconds(confirmed - start);
        const double bound = static_cast<double>(bytes) / 960.0 + 0.020 * double(kUploadCommands);
        std::printf("  %zu bytes on the wire: %.3f s, bound %.3f s, ratio %.2f (%zu of %zu ACKs "
                    "seen)\n",
                    bytes, seconds, bound, seconds / bound, acks + 1, kUploadCommands);
        saves.push_back(seconds);
        saveRatios.push_back(seconds / bound);
        Press(dialog, IDC_BUTTON_DELETE);
        QTest::qWait(300);
    }
    SetMessageBoxHook({});
    std::printf("save median %.3f s, ratio to the bound median %.2f\n", Median(saves),
                Median(saveRatios));
    Link().close();
    return 0;
}
