#include "shell/Usage.h"

namespace zrn {
namespace {

// What differs between the systems; the rest of the text is shared.
#ifdef _WIN32
constexpr std::string_view kLogPlace =
    "  -LOG_COMM            write the traffic log beside ZRNComDll.dll\n";
constexpr std::string_view kMenu = "system";
constexpr std::string_view kPorts =
    "  ZRNCOM_PORTS         ports tried in this order instead of the system's ports,\n"
    "                       separated by ';' (or ':' between serial ports), as in\n"
    "                       COM1:\\\\.\\COM10;rfc2217://host:7000\n";
constexpr std::string_view kDebugPlace =
    "                       (they always go to the debugger)\n";
constexpr std::string_view kIniFile = "  .\\ZRNcom.ini";
constexpr std::string_view kRecentPorts =
    "  %APPDATA%\\ZRNcom\\recent-ports.txt\n"
    "                       the network ports last chosen in \"ZRN Connect\"\n";
constexpr std::string_view kPermission = "";
#else
constexpr std::string_view kLogPlace =
    "  -LOG_COMM            write the traffic log (beside the program, or in\n"
    "                       $XDG_STATE_HOME/ZRNcom/, default ~/.local/state/ZRNcom/)\n";
constexpr std::string_view kMenu = "window";
constexpr std::string_view kPorts =
    "  ZRNCOM_PORTS         ports tried in this order instead of the system's ports,\n"
    "                       separated by ';' (or ':' between serial ports), as in\n"
    "                       /dev/ttyUSB0:/dev/ttyS0;rfc2217://host:7000\n";
constexpr std::string_view kDebugPlace = "";
constexpr std::string_view kIniFile = "  ./ZRNcom.ini";
constexpr std::string_view kRecentPorts =
    "  $XDG_CONFIG_HOME/ZRNcom/recent-ports (default ~/.config/ZRNcom/)\n"
    "                       the network ports last chosen in \"ZRN Connect\"\n";
constexpr std::string_view kPermission =
    "\n"
    "A port that cannot be opened for lack of permission usually belongs to the\n"
    "group dialout: sudo usermod -aG dialout $USER, then log in again.\n";
#endif

std::string Usage() {
    std::string text =
        "Usage: ZRNcom [-LOG_COMM] [-NO_SCAN_COMM_PORTS] [-EDIT_SDI_INFO]\n"
        "       ZRNcom --help | --version\n"
        "\n"
        "Configures a ZRN field sampling controller over a serial port (9600,N,8,1).\n"
        "The serial ports are tried in turn until the device answers.\n"
        "\n";
    text += kLogPlace;
    text += "  -NO_SCAN_COMM_PORTS  do not scan; connect with \"ZRN Connect\" in the ";
    text += kMenu;
    text += "\n"
            "                       menu (Alt+Space)\n"
            "  -EDIT_SDI_INFO       open the SDI identification fields writable\n"
            "  --help               print this text and exit\n"
            "  --version            print the version and exit\n"
            "\n"
            "Environment:\n";
    text += kPorts;
    text += "                       A network port is tcp://HOST:PORT or rfc2217://HOST:PORT\n"
            "                       (HOST a name, an IPv4 address or [IPv6]), optionally\n"
            "                       followed by ?timeout=SECONDS.\n";
    text += "  ZRNCOM_DEBUG         when set and not empty, trace lines go to standard error\n";
    text += kDebugPlace;
    text += "\n"
            "Files:\n";
    text += kIniFile;
    text += "         polling time and interval presets, read from the\n"
            "                       working directory\n";
    text += kRecentPorts;
    text += kPermission;
    return text;
}

} // namespace

std::optional<std::string> InformationText(int argc, const char* const* argv,
                                           std::string_view version) {
    for (int i = 1; i < argc && argv[i] != nullptr; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help")
            return Usage();
        if (argument == "--version")
            return "ZRNcom " + std::string(version) + "\n";
    }
    return std::nullopt;
}

} // namespace zrn
