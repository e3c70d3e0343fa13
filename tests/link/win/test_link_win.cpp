// The exports of ZRNComDll.dll under wine, with a pseudo-terminal behind COM1
// and the test's thread acting as the program's window: what only Windows
// shows. The cases POSIX runs as well are in ../test_exports_shared.cpp and
// ../test_log_shared.cpp.

#include "WinHarness.h"
#include "ZRNComDll.h"

#include <gtest/gtest.h>

#include <set>

using namespace zrntest;

namespace {

TEST_F(LinkExports, OpenFailsOnWhatIsNoFreeComPortAndThenSucceeds) {
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
    EXPECT_EQ(fnZrnOpen(window.Handle(), line.Definition().c_str()), 1);
    fnZrnSend("C");
    EXPECT_EQ(line.ReadUntilCrs(1), Frame("C"));
}

TEST_F(LinkExports, DeviceNamespaceNameAndBadSettingsStillOpen) {
    for (const char* definition : {"\\\\.\\COM1:9600,N,8,1", "com1:9600,X,8,1", "COM1"}) {
        ASSERT_EQ(fnZrnOpen(window.Handle(), definition), 1) << definition;
        fnZrnSend("C");
        EXPECT_EQ(line.ReadUntilCrs(1), Frame("C")) << definition;
        fnZrnClose();
    }
}

TEST_F(LinkExports, LineSettingsAreAppliedOrTheOldOnesKept) {
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

TEST_F(LinkExports, ClosedPortReopensAtOnceAndOnlyTheNewWorkerWrites) {
    for (int i = 0; i < 100; ++i) {
        fnZrnClose();
        ASSERT_EQ(fnZrnOpen(window.Handle(), line.Definition().c_str()), 1) << "cycle " << i;
    }
    fnZrnSend("C");
    EXPECT_EQ(line.ReadUntilCrs(1), Frame("C"));
    EXPECT_EQ(line.ReadUntilCrs(1, 100ms), "");
}

TEST_F(LinkExports, OnlyTheHeadersFunctionsAreExported) {
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
    EXPECT_EQ(found,
              (std::set<std::string>{"fnZrnClose", "fnZrnCloseLink", "fnZrnErrorName", "fnZrnLog",
                                     "fnZrnLogLink", "fnZrnOpen", "fnZrnOpenError", "fnZrnOpenLink",
                                     "fnZrnSend", "fnZrnSendLink"}));
}

} // namespace
