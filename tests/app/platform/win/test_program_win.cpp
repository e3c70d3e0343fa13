// ZRNcom.exe's Windows pieces under wine: the resources Explorer reads, the
// version the program reads back, the registry's ports, the start-up and the
// recent ports' file.
#include "platform/Application.h"
#include "platform/DebugOutput.h"
#include "platform/Shell.h"
#include "platform/VersionInfo.h"
#include "platform/win32/LogPlace.h"
#include "device/PortList.h"
#include "ports/RecentPortsFile.h"

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string BesideThisProgram(const std::string& name) {
    std::array<char, MAX_PATH> path{};
    const DWORD length = ::GetModuleFileNameA(nullptr, path.data(), MAX_PATH);
    std::string full(path.data(), length);
    return full.substr(0, full.find_last_of("\\/") + 1) + name;
}

struct HandleCloser {
    void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

// Runs the command line with its standard output in a pipe; the output and
// the exit code, or nullopt when it did not end within the time.
struct Run {
    std::string output;
    DWORD exitCode = 0;
};
std::optional<Run> RunCapturing(std::string commandLine) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return std::nullopt;
    UniqueHandle reader(readEnd), writer(writeEnd);
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                          &startup, &process))
        return std::nullopt;
    UniqueHandle processHandle(process.hProcess), thread(process.hThread);
    writer.reset(); // the child holds the only write end now
    Run run;
    std::array<char, 4096> buffer{};
    DWORD got = 0;
    while (::ReadFile(readEnd, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) &&
           got > 0)
        run.output.append(buffer.data(), got);
    if (::WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0)
        return std::nullopt;
    ::GetExitCodeProcess(process.hProcess, &run.exitCode);
    return run;
}

// A file's version block as Explorer reads it.
struct FileVersion {
    std::vector<char> block;
    std::optional<std::string> String(const char* path) {
        void* value = nullptr;
        UINT size = 0;
        if (!::VerQueryValueA(block.data(), path, &value, &size) || value == nullptr)
            return std::nullopt;
        return std::string(static_cast<const char*>(value));
    }
    VS_FIXEDFILEINFO Fixed() {
        void* value = nullptr;
        UINT size = 0;
        VS_FIXEDFILEINFO fixed{};
        if (::VerQueryValueA(block.data(), "\\", &value, &size) && size >= sizeof fixed)
            std::memcpy(&fixed, value, sizeof fixed);
        return fixed;
    }
};
FileVersion ReadVersion(const std::string& file) {
    DWORD unused = 0;
    FileVersion version;
    version.block.resize(::GetFileVersionInfoSizeA(file.c_str(), &unused));
    if (version.block.empty() ||
        !::GetFileVersionInfoA(file.c_str(), 0, static_cast<DWORD>(version.block.size()),
                               version.block.data()))
        version.block.clear();
    return version;
}

} // namespace

TEST(ProgramWin, VersionPrintsTheResourcesFileVersion) {
    const auto run = RunCapturing("\"" + BesideThisProgram("ZRNcom.exe") + "\" --version");
    ASSERT_TRUE(run);
    EXPECT_EQ(run->exitCode, 0u);
    EXPECT_EQ(run->output, "ZRNcom 2.1\r\n");
}

TEST(ProgramWin, HelpPrintsTheUsage) {
    const auto run = RunCapturing("\"" + BesideThisProgram("ZRNcom.exe") + "\" -LOG_COMM --help");
    ASSERT_TRUE(run);
    EXPECT_EQ(run->exitCode, 0u);
    EXPECT_EQ(run->output.rfind("Usage: ZRNcom [-LOG_COMM]", 0), 0u) << run->output;
    EXPECT_NE(run->output.find("ZRNComDll.dll\r\n"), std::string::npos) << run->output;
}

// What Explorer's Details page shows, for every file of the package; the installer
// refuses files whose version is not its own.
TEST(ProgramWin, EveryFileCarriesTheProjectVersion) {
    const struct {
        const char* file;
        const char* originalName;
        DWORD type;
        const char* fileVersion;
    } files[] = {{"ZRNcom.exe", "ZRNcom.EXE", VFT_APP, "2.1"},
                 {"ZRNComDll.dll", "ZRNComDll.dll", VFT_DLL, "2.1"},
                 {"zrnctl.exe", "zrnctl.exe", VFT_APP, "2.1.0.0"}}; // as its --version
    for (const auto& f : files) {
        SCOPED_TRACE(f.file);
        FileVersion version = ReadVersion(BesideThisProgram(f.file));
        ASSERT_FALSE(version.block.empty());
        const VS_FIXEDFILEINFO fixed = version.Fixed();
        EXPECT_EQ(fixed.dwSignature, 0xFEEF04BDu);
        EXPECT_EQ(fixed.dwFileVersionMS, MAKELONG(1, 2)); // 2.1
        EXPECT_EQ(fixed.dwFileVersionLS, 0u);             // .0.0
        EXPECT_EQ(fixed.dwProductVersionMS, fixed.dwFileVersionMS);
        EXPECT_EQ(fixed.dwFileType, f.type);
        EXPECT_EQ(version.String("\\StringFileInfo\\040904B0\\FileVersion"), f.fileVersion);
        EXPECT_EQ(version.String("\\StringFileInfo\\040904B0\\OriginalFilename"), f.originalName);
    }
}

// The resource and the block the Linux program compiles in say the same.
TEST(ProgramWin, ResourceBlockMatchesTheBuiltInOne) {
    const zrn::VersionBlock& resource = zrn::ProgramVersionBlock();
    const zrn::VersionBlock& builtIn = zrn::BuiltInVersionBlock();
    EXPECT_EQ(resource.nFileVersion, builtIn.nFileVersion);
    EXPECT_EQ(resource.nProductVersion, builtIn.nProductVersion);
    EXPECT_EQ(resource.translations, builtIn.translations);
    ASSERT_EQ(resource.stringTables.size(), builtIn.stringTables.size());
    for (std::size_t t = 0; t < builtIn.stringTables.size(); ++t) {
        EXPECT_EQ(resource.stringTables[t].key, builtIn.stringTables[t].key);
        ASSERT_EQ(resource.stringTables[t].strings.size(), builtIn.stringTables[t].strings.size());
        for (const zrn::VersionString& s : builtIn.stringTables[t].strings) {
            const std::string path = zrn::StringFileInfoPath(resource.translations.at(t), s.name);
            EXPECT_EQ(zrn::QueryVersionString(resource, path), std::string(s.value)) << path;
        }
    }
    // A German user still finds the English block.
    EXPECT_EQ(zrn::ReadFileVersion(resource, 0x0407), "2.1");
}

TEST(ProgramWin, ResourcesHoldTheIconBitmapsAndManifest) {
    HMODULE exe = ::LoadLibraryExA(BesideThisProgram("ZRNcom.exe").c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(exe, nullptr);
    HANDLE icon = ::LoadImageA(exe, MAKEINTRESOURCEA(128), IMAGE_ICON, 32, 32, 0);
    EXPECT_NE(icon, nullptr);
    if (icon)
        ::DestroyIcon(static_cast<HICON>(icon));
    const struct {
        int id;
        int width, height;
    } bitmaps[] = {{133, 16, 16}, {134, 16, 16}, {158, 369, 50}};
    for (const auto& b : bitmaps) {
        SCOPED_TRACE(b.id);
        HANDLE bitmap = ::LoadImageA(exe, MAKEINTRESOURCEA(b.id), IMAGE_BITMAP, 0, 0, 0);
        ASSERT_NE(bitmap, nullptr);
        BITMAP info{};
        ASSERT_NE(::GetObjectA(bitmap, sizeof info, &info), 0);
        EXPECT_EQ(info.bmWidth, b.width);
        EXPECT_EQ(info.bmHeight, b.height);
        ::DeleteObject(bitmap);
    }
    HRSRC manifest = ::FindResourceA(exe, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(manifest, nullptr);
    const std::string text(static_cast<const char*>(::LockResource(::LoadResource(exe, manifest))),
                           ::SizeofResource(exe, manifest));
    EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(text.find("level=\"asInvoker\""), std::string::npos);
    ::FreeLibrary(exe);
}

TEST(ProgramWin, StartRegistersTheCommonControlClasses) {
    int argc = 1;
    char name[] = "ZRNcom";
    char* argv[] = {name, nullptr};
    PlatformApplication application(argc, argv);
    ASSERT_TRUE(application.Started());
    for (const char* windowClass : {DATETIMEPICK_CLASSA, WC_LISTVIEWA, WC_TABCONTROLA}) {
        WNDCLASSEXA info{};
        info.cbSize = sizeof info;
        EXPECT_TRUE(::GetClassInfoExA(nullptr, windowClass, &info)) << windowClass;
    }
    // Quoted as Windows hands it over.
    EXPECT_NE(ProgramCommandLine(argc, argv).find("test_program_win"), std::string::npos);
}

// The ports are the SERIALCOMM values' data, in the registry's order.
TEST(ProgramWin, SerialPortsComeFromTheRegistry) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, nullptr,
                                REG_OPTION_VOLATILE, KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr, &key,
                                nullptr),
              ERROR_SUCCESS);
    const std::vector<std::string> before = zrn::RegistrySerialPorts();
    const auto set = [&](const char* name, const std::string& data) {
        return ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                static_cast<DWORD>(data.size() + 1));
    };
    ASSERT_EQ(set("\\Device\\ZrnTest0", "COM87"), ERROR_SUCCESS);
    ASSERT_EQ(set("\\Device\\ZrnTest1", "COM86"), ERROR_SUCCESS);
    const std::vector<std::string> after = zrn::RegistrySerialPorts();
    ::RegDeleteValueA(key, "\\Device\\ZrnTest0");
    ::RegDeleteValueA(key, "\\Device\\ZrnTest1");
    ::RegCloseKey(key);
    std::vector<std::string> expected = before;
    expected.push_back("COM87");
    expected.push_back("COM86");
    EXPECT_EQ(after, expected);
}

// Ours, not <windows.h>'s: a literal alone would pick theirs.
TEST(ProgramWin, WinExecAnswersAsWindowsDoes) {
    using namespace std::string_view_literals;
    EXPECT_GT(WinExec("cmd.exe /c exit 0"sv, SW_HIDE), 31);
    EXPECT_EQ(WinExec("Z:\\no\\such\\program.exe"sv, SW_HIDE), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(WinExec(""sv, SW_HIDE), ERROR_FILE_NOT_FOUND);
}

// The traces' formats are C99's (%zu, %lld), also with Microsoft's runtime
// below, and every trace reaches the sink.
TEST(ProgramWin, TracesFormatWithTheC99Conversions) {
    std::string traced;
    const DebugSink previous = SetDebugSink([&](std::string_view text) { traced += text; });
    DebugTrace("ZRNcom/Test; %zu %lld %s %5.2f\n", std::size_t{7}, -8LL, "x", 12.6);
    // Ours, though <windows.h> came after it: not renamed to OutputDebugStringA.
    OutputDebugString("ZRNcom/Test; plain\n");
    SetDebugSink(previous);
    EXPECT_EQ(traced, "ZRNcom/Test; 7 -8 x 12.60\nZRNcom/Test; plain\n");
}

// The registry's command for web pages, as the About box's fallback uses it.
TEST(ProgramWin, BrowserCommandComesFromTheHtmClass) {
    // HKEY_CLASSES_ROOT is the machine's classes here (wine merges no user's).
    const auto set = [](const char* key, const char* value) {
        return ::RegSetValueA(HKEY_LOCAL_MACHINE, key, REG_SZ, value,
                              static_cast<DWORD>(std::strlen(value)));
    };
    char previous[MAX_PATH] = "";
    LONG previousSize = sizeof previous;
    const bool hadHtm = ::RegQueryValueA(HKEY_LOCAL_MACHINE, "Software\\Classes\\.htm", previous,
                                         &previousSize) == ERROR_SUCCESS;
    ASSERT_EQ(set("Software\\Classes\\.htm", "ZrnTestPage"), ERROR_SUCCESS);
    ASSERT_EQ(set("Software\\Classes\\ZrnTestPage\\shell\\open\\command",
                  "\"C:\\Browser\\browse.exe\" -page \"%1\""),
              ERROR_SUCCESS);
    const std::string command = WebBrowserCommand();
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Classes\\ZrnTestPage");
    if (hadHtm)
        set("Software\\Classes\\.htm", previous);
    else
        ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Classes\\.htm");
    EXPECT_EQ(command, "\"C:\\Browser\\browse.exe\" -page \"%1\"");
    EXPECT_EQ(zrn::BrowserCommand(command, "https://example.org/zrn"),
              "\"C:\\Browser\\browse.exe\" -page  https://example.org/zrn");
}

// The log note names the folder the library writes its log into.
TEST(ProgramWin, TrafficLogFolderIsTheLibrarys) {
    HMODULE library = ::LoadLibraryA(BesideThisProgram("ZRNComDll.dll").c_str());
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(zrn::TrafficLogDirectory(), BesideThisProgram(""));
    ::FreeLibrary(library);
}

// The recent ports live under %APPDATA%, and a second write replaces the
// first: renaming onto an existing file is what Windows may refuse.
TEST(ProgramWin, RecentPortsAreKeptUnderAppDataAndReplaced) {
    namespace fs = std::filesystem;
    const fs::path appData =
        fs::temp_directory_path() / ("zrn-appdata-" + std::to_string(::GetCurrentProcessId()));
    const std::wstring saved = _wgetenv(L"APPDATA") ? _wgetenv(L"APPDATA") : L"";
    ASSERT_EQ(_wputenv((L"APPDATA=" + appData.wstring()).c_str()), 0);
    const auto file = zrn::RecentPortsFile();
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(*file, appData / "ZRNcom" / "recent-ports.txt");
    EXPECT_EQ(zrn::WriteRecentPorts(*file, {"tcp://a:1", "tcp://b:2"}), "");
    EXPECT_EQ(zrn::WriteRecentPorts(*file, {"rfc2217://[::1]:7000"}), "");
    EXPECT_EQ(zrn::ReadRecentPorts(*file), std::vector<std::string>{"rfc2217://[::1]:7000"});
    _wputenv((L"APPDATA=" + saved).c_str());
    std::error_code ignored;
    fs::remove_all(appData, ignored);
}
