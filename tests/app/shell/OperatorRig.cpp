#include "OperatorRig.h"
#include "PanelTestAccess.h"

#include "DeviceState.h"
#include "HeldSchedule.h"
#include "StateFile.h"
#include "TestSupport.h"
#include "model/CalendarTime.h"
#include "platform/PanelSupport.h"
#include "platform/PcClock.h"
#include "platform/Win.h"
#include "resources/Resource.h"
#include "schedule/ScheduleLogic.h"

#include <QAbstractButton>
#include <QTest>

#include <array>
#include <atomic>
#include <chrono>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// The link's calls and notifications, counted on their way: the line is quiet
// once the device has received every command handed over and the dialog has
// handled every acknowledgement the device sent.
LinkApi gReal{};
long gHandedOver = 0;
long gReceived = 0;
long gCloses = 0;
long gAcksSent = 0; // by the device, from its trace
std::atomic<long> gAcksHandled{0};
HWND gDialogWindow = nullptr;

intptr_t CountedMessage(ZrnWindow*, unsigned msg, uintptr_t wParam, intptr_t lParam) {
    const intptr_t result = gDialogWindow->sendMessage(gDialogWindow, msg, wParam, lParam);
    if (wParam == LINK_ACK || wParam == LINK_NAK)
        ++gAcksHandled;
    return result;
}
ZrnWindow gCountingWindow{&CountedMessage};

int CountedOpen(HWND window, const char* definition) {
    gDialogWindow = window;
    return gReal.open(&gCountingWindow, definition);
}
int CountedSend(const char* text) {
    ++gHandedOver;
    return gReal.send(text);
}
std::chrono::steady_clock::time_point gLastClose{};
int CountedClose() {
    gLastClose = std::chrono::steady_clock::now();
    // What the link still held is dropped, never written, and answers still on
    // their way reach no window: a settle across a close waits for silence instead.
    gHandedOver = gReceived;
    ++gCloses;
    return gReal.close();
}

std::string Join(const std::vector<std::string>& texts) {
    std::string all;
    for (const std::string& t : texts)
        all += (all.empty() ? "" : " | ") + t;
    return all;
}

std::array<std::string, 6> RowTexts(ListView& list, int row) {
    std::array<std::string, 6> texts;
    for (int c = 0; c < 6; ++c)
        texts[static_cast<std::size_t>(c)] = list.GetItemText(row, c).toStdString();
    return texts;
}

std::string Show(const std::array<std::string, 6>& texts) {
    return Join(std::vector<std::string>(texts.begin(), texts.end()));
}

// Every field, the durations the list leaves out included.
std::string Show(const zrn::ScheduleEntry& e) {
    const auto two = [](unsigned v) { return (v < 10 ? "0" : "") + std::to_string(v); };
    return "status " + std::to_string(e.chStatus) + ", start " + two(e.nStartYear) + "-" +
           two(e.nStartMonth) + "-" + two(e.nStartDay) + " " + two(e.nStartHour) + ":" +
           two(e.nStartMinute) + ":" + two(e.nStartSecond) + ", stop " + two(e.nStopYear) + "-" +
           two(e.nStopMonth) + "-" + two(e.nStopDay) + " " + two(e.nStopHour) + ":" +
           two(e.nStopMinute) + ":" + two(e.nStopSecond) + ", interval " + two(e.nIntervalHours) +
           ":" + two(e.nIntervalMinutes) + ":" + two(e.nIntervalSeconds) + ", valve " +
           two(e.nValveMinutes) + ":" + two(e.nValveSeconds) + ", hold " + two(e.nHoldMinutes) +
           ":" + two(e.nHoldSeconds) + ", pump " + two(e.nPumpMinutes) + ":" + two(e.nPumpSeconds);
}

} // namespace

RigCounts& OperatorRig::Total() {
    static RigCounts total;
    return total;
}

OperatorRig::OperatorRig(const LineFaults& faults) {
    static int serial = 0;
    dir = fs::temp_directory_path() /
          ("zrncom-operator-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
    fs::create_directories(dir);
    const auto rate = [](double r) { return std::to_string(r); };
    sim = std::make_unique<zrnsim::SimProcess>(
        ZRNSIM_PROGRAM,
        std::vector<std::string>{"--trace", "--state-out", (dir / "state.txt").string(), "--seed",
                                 std::to_string(faults.seed), "--nak-rate", rate(faults.nakRate),
                                 "--drop-rate", rate(faults.dropRate), "--bad-crc-rate",
                                 rate(faults.badCrcRate)},
        (dir / "trace.txt").string());
    std::string port = sim->TerminalPath();
    if (faults.viaGateway) {
        gateway = std::make_unique<zrnsim::Gateway>(port, dir.string());
        if (!gateway->Start())
            throw std::runtime_error("ser2net did not start");
        port = gateway->Rfc2217Url();
    }
    ports = std::make_unique<EnvGuard>("ZRNCOM_PORTS", port.c_str());

    gReal = linkSwap.Saved();
    gHandedOver = gReceived = gCloses = gAcksSent = 0;
    gAcksHandled = 0;
    Link().open = &CountedOpen;
    Link().send = &CountedSend;
    Link().close = &CountedClose;
    savedHook = SetMessageBoxHook([this](const MessageBoxRequest& request) {
        boxesThisStep.push_back(request.text);
        ++counts.boxes;
        return NthButton(request.flags, answerChoice);
    });

    // The PC clock moves a second per tick, as the real timer would move it:
    // the scan's "two seconds without an answer" counts ticks.
    pcNow = std::time(nullptr);
    savedClock = SetPcClock([this] { return pcNow; });
    dialog = std::make_unique<CZRNcomDlg>("ZRNcom");
    dialog->options.strIniFile = (dir / "none.ini").string();
    dialog->Create();
    // Only the rig ticks: a step stands for the second the real timer would take.
    dialog->KillTimer(TIMER_ONE_SEC);
    dialog->KillTimer(TIMER_POLLING);
    dialog->show();
    (void)QTest::qWaitForWindowExposed(dialog.get());
    // The scan opens the port and probes it; the first step's tick reads everything.
    Tick();
    std::string why;
    Quiet(why);
}

OperatorRig::~OperatorRig() {
    gReal.close();
    dialog.reset();
    SetPcClock(std::move(savedClock));
    SetMessageBoxHook(std::move(savedHook));
    gateway.reset();
    sim.reset();
    std::error_code ignored;
    fs::remove_all(dir, ignored);
    RigCounts& total = Total();
    total.steps += counts.steps;
    total.frames += counts.frames;
    total.naks += counts.naks;
    total.boxes += counts.boxes;
    total.reports += counts.reports;
    total.notRead += counts.notRead;
    total.rescans += counts.rescans;
    total.outages += counts.outages;
    total.timerSeconds += counts.timerSeconds;
}

void OperatorRig::Tick() {
    ++pcNow;
    const long closes = gCloses;
    dialog->SendMessage(kWindow, win::WM_TIMER, TIMER_ONE_SEC);
    counts.rescans += gCloses - closes;
}

void OperatorRig::ReadTrace() {
    std::ifstream in(dir / "trace.txt", std::ios::binary);
    in.seekg(static_cast<std::streamoff>(traceOffset));
    std::string chunk((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    traceOffset += chunk.size();
    tracePartial += chunk;
    std::size_t end;
    while ((end = tracePartial.find('\n')) != std::string::npos) {
        const std::string line = tracePartial.substr(0, end);
        tracePartial.erase(0, end + 1);
        if (line.starts_with("> ")) {
            ++counts.frames;
            ++gReceived;
            framesThisStep.push_back(line.substr(2));
        } else if (line == "< NAK" || line == "< ACK") {
            ++gAcksSent;
            counts.naks += line == "< NAK";
        }
    }
}

bool OperatorRig::Quiet(std::string& why) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + 20s;
    auto lastHeard = Clock::now();
    auto lastTick = Clock::now();
    for (;;) {
        QTest::qWait(2);
        // The timer runs as the seconds pass when the line stalls: an ACK or NAK
        // read behind another element waits in the link for the next read that
        // brings data (the poll's reply), and behind a gateway a command can be
        // lost on its way with no close the program could see.
        const bool stalled = gReceived >= gHandedOver && Clock::now() - lastHeard >= 1s;
        if ((gateway || stalled) && Clock::now() - lastTick >= 1s) {
            lastTick = Clock::now();
            Tick();
            ++counts.timerSeconds;
        }
        const long before = gReceived;
        ReadTrace();
        if (gReceived != before)
            lastHeard = Clock::now();
        // Every command has reached the device, the dialog has taken every answer
        // (the reply behind an acknowledgement follows it at once), and no report
        // waits for its box.
        // The device's trace can tell an answer to the link before a close
        // only after it: on a loaded machine such a late line must not wait forever.
        const bool lateAfterClose = gAcksHandled < gAcksSent && gReceived >= gHandedOver &&
                                    Clock::now() - gLastClose < 10s &&
                                    Clock::now() - lastHeard >= 1s;
        const bool answered = gCloses == closesSettled ? gAcksHandled >= gAcksSent || lateAfterClose
                                                       : Clock::now() - lastHeard >= 100ms;
        if (gReceived >= gHandedOver && answered && Clock::now() - lastHeard >= 10ms &&
            dialog->link.strReports.empty()) {
            closesSettled = gCloses;
            gAcksSent = gAcksHandled; // the baseline after a close
            return true;
        }
        if (Clock::now() > deadline) {
            why = "the line never went quiet: " + std::to_string(gReceived) + " of " +
                  std::to_string(gHandedOver) + " commands received, " +
                  std::to_string(gAcksHandled) + " of " + std::to_string(gAcksSent) +
                  " answers handled, " + std::to_string(gCloses - closesSettled) +
                  " closes, reports waiting: " + std::to_string(dialog->link.strReports.size());
            return false;
        }
    }
}

bool OperatorRig::ReadsInFlight() const {
    for (int i = 0; i < zrn::SCHEDULE_ENTRY_COUNT; ++i)
        if (dialog->panels.schedule.OnDevice().State(i) == zrn::ReadState::Reading)
            return true;
    return false;
}

void OperatorRig::ClickRow(int row) {
    ListView& list = *dialog->Item<ListView>(IDC_LIST_CTRL);
    if (row >= list.GetItemCount())
        return;
    QPoint at;
    if (row < 0) {
        // The empty area below the rows, where there is one.
        const int rows = list.GetItemCount();
        const QRect last = rows > 0 ? list.visualRect(list.model()->index(rows - 1, 1)) : QRect();
        at = QPoint(list.viewport()->width() / 2, rows > 0 ? last.bottom() + 3 : 3);
        if (at.y() >= list.viewport()->height())
            return;
    } else {
        at = list.visualRect(list.model()->index(row, 1)).center();
    }
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
}

void OperatorRig::DoubleClickRow(int row) {
    ListView& list = *dialog->Item<ListView>(IDC_LIST_CTRL);
    if (row < 0 || row >= list.GetItemCount())
        return;
    const QPoint at = list.visualRect(list.model()->index(row, 1)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
}

void OperatorRig::Arrow(bool down) {
    ListView& list = *dialog->Item<ListView>(IDC_LIST_CTRL);
    list.setFocus();
    QTest::keyClick(&list, down ? Qt::Key_Down : Qt::Key_Up);
}

void OperatorRig::StepPicker(int id, int section, bool up, int times) {
    DateTimePicker* picker = dialog->Item<DateTimePicker>(id);
    if (picker == nullptr || !picker->isEnabled())
        return;
    const auto which = static_cast<QDateTimeEdit::Section>(section);
    if (!(picker->displayedSections() & which))
        return;
    picker->setFocus();
    picker->setCurrentSection(which);
    for (int i = 0; i < times; ++i)
        QTest::keyClick(picker, up ? Qt::Key_Up : Qt::Key_Down);
}

void OperatorRig::Press(int id) {
    auto* button = qobject_cast<QAbstractButton*>(dialog->GetDlgItem(id));
    if (button != nullptr && button->isEnabled())
        button->click();
}

void OperatorRig::GatewayAway(int seconds) {
    if (!gateway)
        return;
    gateway->Kill();
    ++counts.outages;
    for (int i = 0; i < seconds; ++i) {
        Tick();
        QTest::qWait(20);
    }
    if (!gateway->Start())
        throw std::runtime_error("ser2net did not come back");
}

std::vector<std::string> OperatorRig::SettleAndCheck() {
    ++counts.steps;
    // Every few steps a second of the real timer: the poll that keeps the device
    // clock fresh. Below, ticks go on while a read waits: the poll's reply shows
    // a reply lost at the end of a read.
    if (counts.steps % 4 == 0)
        Tick();
    std::string why;
    if (!Quiet(why))
        return {why};
    // Until the device has been found and read, and no read waits for a reply.
    for (int tick = 0;
         ReadsInFlight() || dialog->link.bPortScanning || dialog->link.bPrevTickScanning; ++tick) {
        if (tick == 40)
            return {"the device was not found and read, or a schedule read never ended"};
        Tick();
        if (!Quiet(why))
            return {why};
    }
    std::vector<std::string> failures = CheckRows();
    for (std::string& f : CheckPanel())
        failures.push_back(std::move(f));
    for (std::string& f : CheckCommandsAndChanges())
        failures.push_back(std::move(f));
    if (!failures.empty()) {
        // What the operator read in the log box last, to tell how it came about.
        std::istringstream log(dialog->GetDlgItemText(IDC_LOG));
        std::vector<std::string> lines;
        for (std::string line; std::getline(log, line);)
            lines.push_back(line);
        for (std::size_t i = lines.size() > 8 ? lines.size() - 8 : 0; i < lines.size(); ++i)
            failures.push_back("log: " + lines[i]);
    }
    boxesThisStep.clear();
    framesThisStep.clear();
    return failures;
}

std::vector<std::string> OperatorRig::CheckRows() {
    std::vector<std::string> failures;
    zrnsim::DeviceState held = zrnsim::DefaultState(0);
    std::ifstream in(dir / "state.txt");
    std::string error;
    if (!zrnsim::ApplyState(in, held, std::time(nullptr), error))
        return {"the device's state cannot be read: " + error};
    zrn::ScheduleTable device{};
    for (int i = 0; i < zrn::SCHEDULE_ENTRY_COUNT; ++i)
        device[static_cast<std::size_t>(i)] =
            FromDevice(held.schedules[static_cast<std::size_t>(i)], i + 1);
    // The rows the device's table makes, by entry.
    std::map<int, std::array<std::string, 6>> expected;
    for (const zrn::ListRow& row :
         zrn::BuildListRows(device, PanelTestAccess::sched(dialog->panels.schedule).nDaylightFlag,
                            {}, {})
             .rows)
        expected[row.nEntry] = row.texts;

    ListView& list = *dialog->Item<ListView>(IDC_LIST_CTRL);
    const int edited = dialog->panels.schedule.EditedEntry();
    std::array<bool, zrn::SCHEDULE_ENTRY_COUNT> listed{};
    for (int r = 0; r < list.GetItemCount(); ++r) {
        const int e = static_cast<int>(list.GetItemData(r));
        const auto texts = RowTexts(list, r);
        const std::string where = "row " + std::to_string(r) + " (schedule " +
                                  std::to_string(e + 1) + ", " + Show(texts) + ")";
        if (e < 0 || e >= zrn::SCHEDULE_ENTRY_COUNT) {
            failures.push_back(where + " maps to no schedule");
            continue;
        }
        listed[static_cast<std::size_t>(e)] = true;
        if (e == edited)
            continue;
        const zrn::ReadState state = dialog->panels.schedule.OnDevice().State(e);
        if (state == zrn::ReadState::NotRead) {
            ++counts.notRead;
            if (texts[0] != zrn::NOT_READ_TEXT)
                failures.push_back(where + ": not read, yet shown with values");
            continue;
        }
        const auto found = expected.find(e);
        if (found == expected.end())
            failures.push_back(where + ": the device holds no such schedule");
        else if (found->second != texts)
            failures.push_back(where + ": the device holds " + Show(found->second));
        // The columns leave the durations out: a read entry is compared whole.
        const zrn::ScheduleEntry& truth = device[static_cast<std::size_t>(e)];
        const zrn::ScheduleEntry& read = dialog->panels.schedule.OnDevice().Entry(e);
        const zrn::ScheduleEntry& shown =
            PanelTestAccess::sched(dialog->panels.schedule).table[static_cast<std::size_t>(e)];
        if (state == zrn::ReadState::Read && read != truth)
            failures.push_back(where + ": read as {" + Show(read) + "}, the device holds {" +
                               Show(truth) + "}");
        if (state == zrn::ReadState::Read && shown != truth)
            failures.push_back(where + ": the panel holds {" + Show(shown) +
                               "}, the device holds {" + Show(truth) + "}");
    }
    for (const auto& [e, texts] : expected)
        if (e != edited && !listed[static_cast<std::size_t>(e)])
            failures.push_back("schedule " + std::to_string(e + 1) + " (" + Show(texts) +
                               ") is held by the device but not listed");
    return failures;
}

std::vector<std::string> OperatorRig::CheckPanel() {
    std::vector<std::string> failures;
    ListView& list = *dialog->Item<ListView>(IDC_LIST_CTRL);
    const zrn::ScheduleState& s = PanelTestAccess::sched(dialog->panels.schedule);
    const std::vector<int> highlighted = list.SelectedRows();
    const std::vector<int> chosen = s.nSelectedRow == zrn::NO_SELECTABLE_ACTIVE_ENTRY
                                        ? std::vector<int>{}
                                        : std::vector<int>{s.nSelectedRow};
    if (highlighted != chosen) {
        std::string rows;
        for (int r : highlighted)
            rows += " " + std::to_string(r);
        failures.push_back("highlighted rows:" + rows + ", but the panel holds row " +
                           std::to_string(s.nSelectedRow));
    }
    const int e = zrn::SelectedEntryIndex(s);
    if (e < 0 || e == dialog->panels.schedule.EditedEntry() || !zrn::SelectedEntryRead(s))
        return failures;
    const zrn::ScheduleEntry& entry = s.table[static_cast<std::size_t>(e)];
    const auto shows = [&](int dateId, int timeId, const zrn::LocalDateTime& f, const char* what) {
        const auto date = GetPickerFields(*dialog, dateId);
        const auto time = GetPickerFields(*dialog, timeId);
        if (!date || !time || date->year != f.year || date->month != f.month ||
            date->day != f.day || time->hour != f.hour || time->minute != f.minute ||
            time->second != f.second)
            failures.push_back(std::string("the panel's ") + what + " is not schedule " +
                               std::to_string(e + 1) + "'s");
    };
    shows(IDC_START_DATE, IDC_START_TIME, zrn::EntryStartFields(entry), "start");
    shows(IDC_STOP_DATE, IDC_STOP_TIME, zrn::EntryStopFields(entry), "stop");
    return failures;
}

std::vector<std::string> OperatorRig::CheckCommandsAndChanges() {
    std::vector<std::string> failures;
    struct Change {
        int n;
        zrn::ScheduleEntry meant;
        bool upload;
    };
    std::vector<Change> changes;
    const auto entryCommand = [](const std::string& f, const char* code) {
        return f.size() >= 3 && f[0] == 'S' && f[1] >= '1' && f[1] <= '4' &&
               f.compare(2, std::string::npos, code) == 0;
    };
    for (std::size_t i = 0; i < framesThisStep.size(); ++i) {
        const std::string& f = framesThisStep[i];
        if (f.size() < 3 || f[0] != 'S' || f[1] < '1' || f[1] > '4')
            continue;
        const int n = f[1] - '0';
        const zrn::ScheduleReply value = zrn::ParseScheduleReply(f);
        if ((value.kind == zrn::ScheduleReplyKind::StartDate ||
             value.kind == zrn::ScheduleReplyKind::StopDate) &&
            f.size() > 4 && f[4] == '|' && value.nValues[2] > 37)
            failures.push_back("sent " + f + ": a year the device cannot hold");
        const bool uploadStart = entryCommand(f, "D") && i + 9 < framesThisStep.size() &&
                                 framesThisStep[i + 1].starts_with(f + "BD|");
        if (uploadStart) {
            zrn::ScheduleEntry meant{};
            meant.nNumber = static_cast<std::uint8_t>(n);
            for (std::size_t k = i + 1; k < i + 9; ++k)
                zrn::StoreScheduleReply(meant, zrn::ParseScheduleReply(framesThisStep[k]));
            meant.chStatus = static_cast<std::uint8_t>(framesThisStep[i + 9][2]);
            const auto start = zrn::MakeLocalTime(zrn::EntryStartFields(meant));
            const auto stop = zrn::MakeLocalTime(zrn::EntryStopFields(meant));
            if (!start || !stop || *stop <= *start)
                failures.push_back("uploaded schedule " + std::to_string(n) +
                                   " with its stop not after its start");
            changes.push_back({n, meant, true});
            i += 9;
        } else if (f.size() == 3 && (f[2] == 'A' || f[2] == 'D' || f[2] == '0')) {
            zrn::ScheduleEntry meant{};
            meant.nNumber = static_cast<std::uint8_t>(n);
            meant.chStatus = static_cast<std::uint8_t>(f[2]);
            changes.push_back({n, meant, false});
        }
    }
    if (changes.empty())
        return failures;
    zrnsim::DeviceState held = zrnsim::DefaultState(0);
    std::ifstream in(dir / "state.txt");
    std::string error;
    zrnsim::ApplyState(in, held, std::time(nullptr), error);
    std::map<int, Change> last;
    for (const Change& c : changes)
        last[c.n] = c;
    for (const auto& [n, c] : last) {
        const zrn::ScheduleEntry truth =
            FromDevice(held.schedules[static_cast<std::size_t>(n - 1)], n);
        const bool taken = c.upload ? truth == c.meant : truth.chStatus == c.meant.chStatus;
        if (taken)
            continue;
        ++counts.reports;
        const std::string named = "Schedule " + std::to_string(n) + " ";
        const bool told =
            std::any_of(boxesThisStep.begin(), boxesThisStep.end(), [&](const std::string& text) {
                return text.find(named) != std::string::npos;
            });
        if (!told)
            failures.push_back("schedule " + std::to_string(n) +
                               ": the device did not take the change and no box said so (boxes: " +
                               Join(boxesThisStep) + ")");
    }
    return failures;
}
