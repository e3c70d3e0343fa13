// The exports of ZRNComDll.dll under wine, with a pseudo-terminal behind COM1
// and the test's thread acting as the program's window.

#include "WinHarness.h"
#include "ZRNComDll.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <set>

using namespace zrntest;

namespace {

const std::string kAck = "\x06";
const std::string kNak = "\x15";
const char* const kCom1 = "COM1:9600,N,8,1";

class LinkWin : public ::testing::Test {
protected:
    void TearDown() override {
        fnZrnClose();
        // A notification begun before the close is handled, not left waiting.
        PumpUntil([] { return false; }, 50ms);
    }

    DebugCapture debug;
    Line line;
    RecordingWindow window;
};

TEST_F(LinkWin, CommandGoesOutAsTheDocumentedFrame) {
    ASSERT_EQ(fnZrnOpen(window.Handle(), kCom1), 1);
    ASSERT_EQ(fnZrnSend("C"), 1);
    EXPECT_EQ(line.ReadUntilCrs(1), std::string("\x02"
                                                "C\x03"
                                                "CA00\r"));
    ASSERT_EQ(fnZrnSend(""), 1);
    EXPECT_EQ(line.ReadUntilCrs(1), Frame(""));
}

// One per idle read: test_link_win_pacing.cpp.
TEST_F(LinkWin, QueuedCommandsLeaveInOrderAndTheLastIsAcknowledged) {
    ASSERT_EQ(fnZrnSend("S0D"), 1);
    ASSERT_EQ(fnZrnSend("C|12/06/26|14:05:09|"), 1);
    ASSERT_EQ(fnZrnSend("S0A"), 1);
    ASSERT_EQ(fnZrnOpen(window.Handle(), kCom1), 1);
    EXPECT_EQ(line.ReadUntilCrs(3), Frame("S0D") + Frame("C|12/06/26|14:05:09|") + Frame("S0A"));
    ASSERT_TRUE(debug.WaitForLine("ZRNComDllThread pop'd S0A, depth = 0\n"));

    line.Write(kAck);
    window.WaitFor(1);
    line.Write(kAck);
    EXPECT_EQ(window.WaitFor(2),
              (std::vector<Notice>{{LINK_ACK, "S0A"}, {LINK_ACK, std::nullopt}}));
    const std::string traces = debug.Text();
    EXPECT_NE(traces.find("ZrnSend pushed S0D, depth = 1\n"
                          "ZrnSend pushed C|12/06/26|14:05:09|, depth = 2\n"
                          "ZrnSend pushed S0A, depth = 3\n"),
              std::string::npos);
    EXPECT_NE(traces.find("ZrnOpen COM1:9600,N,8,1 Passed\n"), std::string::npos);
    EXPECT_NE(traces.find("ZRNComDllThread pop'd S0D, depth = 2\n"), std::string::npos);
}

TEST_F(LinkWin, AckReplyNakAndDataAreSentToTheWindow) {
    ASSERT_EQ(fnZrnOpen(window.Handle(), kCom1), 1);
    fnZrnSend("B");
    line.ReadUntilCrs(1);
    line.Write(kAck + Frame("B|12.3|3.1"));
    window.WaitFor(2);
    fnZrnSend("F");
    line.ReadUntilCrs(1);
    // Refused: reported, and the reply behind it is not forwarded.
    line.Write(kNak + Frame("F|2.0") + Frame("D|1"));
    EXPECT_EQ(
        window.WaitFor(4),
        (std::vector<Notice>{
            {LINK_ACK, "B"}, {LINK_REPLY, "B|12.3|3.1"}, {LINK_NAK, "F"}, {LINK_DATA, "D|1"}}));
}

TEST_F(LinkWin, QueuedCommandsAreDiscardedByCloseInOrder) {
    fnZrnSend("A");
    fnZrnSend("B");
    fnZrnSend("C");
    EXPECT_EQ(fnZrnClose(), 1);
    EXPECT_EQ(debug.Text(), "ZrnSend pushed A, depth = 1\n"
                            "ZrnSend pushed B, depth = 2\n"
                            "ZrnSend pushed C, depth = 3\n"
                            "ZrnClose pop'd A, depth = 2\n"
                            "ZrnClose pop'd B, depth = 1\n"
                            "ZrnClose pop'd C, depth = 0\n");
}

TEST_F(LinkWin, OpenFailsOnWhatIsNoFreeComPortAndThenSucceeds) {
    const std::string failing[] = {
        "COM9:9600,N,8,1", // not mapped
        "",
        ":",
        ":9600,N,8,1",
        "NUL:9600,N,8,1", // a device, but no communications device
    };
    for (const auto& definition : failing) {
        EXPECT_EQ(fnZrnOpen(window.Handle(), definition.c_str()), 0) << definition;
        EXPECT_NE(debug.Text().find("ZrnOpen " + definition + " Failed\n"), std::string::npos);
    }
    // (A port in use by another opener is refused by Windows' serial driver;
    // wine shares its ports, so that case cannot be shown here.)
    EXPECT_EQ(fnZrnOpen(window.Handle(), kCom1), 1);
    fnZrnSend("C");
    EXPECT_EQ(line.ReadUntilCrs(1), Frame("C"));
}

TEST_F(LinkWin, DeviceNamespaceNameAndBadSettingsStillOpen) {
    for (const char* definition : {"\\\\.\\COM1:9600,N,8,1", "com1:9600,X,8,1", "COM1"}) {
        ASSERT_EQ(fnZrnOpen(window.Handle(), definition), 1) << definition;
        fnZrnSend("C");
        EXPECT_EQ(line.ReadUntilCrs(1), Frame("C")) << definition;
        fnZrnClose();
    }
}

TEST_F(LinkWin, LineSettingsAreAppliedOrTheOldOnesKept) {
    const struct {
        const char* definition;
        const char* line; // as the device side sees it afterwards
    } cases[] = {
        {"COM1:2400,E,7,2", "2400 2"},
        {"COM1:9600,X,8,1", "2400 2"}, // bad parity: the port keeps what it had
        {"COM1:19200,N,8,1", "19200 1"},
        {"COM1:nonsense", "19200 1"},
        {"COM1:9600,N,8,1", "9600 1"},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(fnZrnOpen(window.Handle(), c.definition), 1) << c.definition;
        EXPECT_EQ(Line::Settings(), c.line) << c.definition;
        fnZrnSend("C");
        EXPECT_EQ(line.ReadUntilCrs(1), Frame("C")) << c.definition;
        fnZrnClose();
    }
}

TEST_F(LinkWin, OpenTwiceKeepsThePortAndTellsTheNewWindow) {
    ASSERT_EQ(fnZrnOpen(window.Handle(), kCom1), 1);
    RecordingWindow second;
    ASSERT_EQ(fnZrnOpen(second.Handle(), kCom1), 1);
    line.Write(kAck);
    EXPECT_EQ(second.WaitFor(1), (std::vector<Notice>{{LINK_ACK, std::nullopt}}));
    EXPECT_TRUE(window.Notices().empty());
    // One worker only: a command leaves once.
    fnZrnSend("C");
    EXPECT_EQ(line.ReadUntilCrs(1), Frame("C"));
    EXPECT_EQ(line.ReadUntilCrs(1, 100ms), "");
}

TEST_F(LinkWin, NoWindowMeansNoNotificationButTheLinkRuns) {
    ASSERT_EQ(fnZrnOpen(nullptr, kCom1), 1);
    line.Write(kAck + Frame("D|1"));
    fnZrnSend("C");
    EXPECT_EQ(line.ReadUntilCrs(1), Frame("C"));
}

TEST_F(LinkWin, ClosedPortReopensAtOnceAndOnlyTheNewWorkerWrites) {
    for (int i = 0; i < 100; ++i) {
        fnZrnClose();
        ASSERT_EQ(fnZrnOpen(window.Handle(), kCom1), 1) << "cycle " << i;
    }
    fnZrnSend("C");
    EXPECT_EQ(line.ReadUntilCrs(1), Frame("C"));
    EXPECT_EQ(line.ReadUntilCrs(1, 100ms), "");
}

// The notification handler closes the link: close must not wait for the
// worker, which is inside SendMessage to this very thread.
struct ClosingWindow : RecordingWindow {
    void OnNotice(const Notice& notice) override {
        fnZrnClose();
        RecordingWindow::OnNotice(notice);
    }
};

TEST_F(LinkWin, CloseFromInsideANotification) {
    ClosingWindow closing;
    ASSERT_EQ(fnZrnOpen(closing.Handle(), kCom1), 1);
    line.Write(kAck + kAck + Frame("D|1"));
    EXPECT_EQ(closing.WaitFor(1).size(), 1u);
    // Closed after the first: the rest of that read is told to nobody.
    PumpUntil([] { return false; }, 200ms);
    EXPECT_EQ(closing.Notices().size(), 1u);
    ASSERT_EQ(fnZrnOpen(window.Handle(), kCom1), 1);
    line.Write(kAck);
    EXPECT_EQ(window.WaitFor(1), (std::vector<Notice>{{LINK_ACK, std::nullopt}}));
}

TEST_F(LinkWin, OnlyTheFourFunctionsAreExported) {
    const auto* base = reinterpret_cast<const unsigned char*>(::GetModuleHandleA("ZRNComDll.dll"));
    ASSERT_NE(base, nullptr);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const auto& entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    const auto* exports =
        reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
    const auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    std::set<std::string> found;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        found.insert(reinterpret_cast<const char*>(base + names[i]));
    EXPECT_EQ(found, (std::set<std::string>{"fnZrnClose", "fnZrnLog", "fnZrnOpen", "fnZrnSend"}));
}

std::set<std::string> LogFiles() {
    std::set<std::string> names;
    WIN32_FIND_DATAA data;
    const HANDLE find = ::FindFirstFileA((LibraryDirectory() + "*.LOG").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do
        names.insert(LibraryDirectory() + data.cFileName);
    while (::FindNextFileA(find, &data));
    ::FindClose(find);
    return names;
}

std::string Content(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class TrafficLogWin : public LinkWin {
protected:
    void SetUp() override { before = LogFiles(); }
    void TearDown() override {
        LinkWin::TearDown();
        fnZrnLog(false);
        for (const auto& path : NewLogs())
            ::DeleteFileA(path.c_str());
    }
    std::set<std::string> NewLogs() const {
        std::set<std::string> added;
        for (const auto& path : LogFiles())
            if (!before.contains(path))
                added.insert(path);
        return added;
    }

    std::set<std::string> before;
};

TEST_F(TrafficLogWin, SwitchedOffCreatesNothing) {
    EXPECT_EQ(fnZrnLog(false), 0);
    EXPECT_TRUE(NewLogs().empty());
}

TEST_F(TrafficLogWin, BesideTheLibraryNamedByDateAndTimeInWorkerOrder) {
    ASSERT_EQ(fnZrnLog(true), 1);
    const auto logs = NewLogs();
    ASSERT_EQ(logs.size(), 1u);
    const std::string path = *logs.begin();
    EXPECT_TRUE(std::regex_search(
        path, std::regex("\\\\[A-Z][a-z]{2}_\\d\\d_\\d{4}_\\d\\d_\\d\\d_\\d\\d\\.LOG$")))
        << path;

    ASSERT_EQ(fnZrnOpen(window.Handle(), kCom1), 1);
    fnZrnSend("B");
    ASSERT_EQ(line.ReadUntilCrs(1), Frame("B"));
    // The second reply is not forwarded, but logged; the bad one is neither.
    line.Write(kAck + Frame("B|12.3") + Frame("B|9") +
               "\x02"
               "B|0\x03"
               "0000\r" +
               Frame("D|1"));
    window.WaitFor(3);
    const std::string expected = "B\r\nACK\r\nB|12.3\r\nB|9\r\nD|1\r\n";
    EXPECT_TRUE(PumpUntil([&] { return Content(path) == expected; })) << Content(path);

    EXPECT_EQ(fnZrnLog(false), 0);
    line.Write(kNak);
    window.WaitFor(4);
    EXPECT_EQ(Content(path), expected);
}

} // namespace
