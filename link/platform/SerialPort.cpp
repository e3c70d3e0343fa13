#include "SerialPort.h"

#include <array>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace zrn {
namespace {

struct SpeedName {
    unsigned long baud;
    speed_t speed;
};

constexpr std::array<SpeedName, 25> kSpeeds{{
    {50, B50},           {75, B75},         {110, B110},         {134, B134},
    {150, B150},         {200, B200},       {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},     {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},   {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400}, {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600}, {1000000, B1000000}, {2000000, B2000000},
    {4000000, B4000000},
}};

// Unix98 pseudo-terminal slaves: majors 136 to 143.
bool IsPseudoTerminal(int fd) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 && major(st.st_rdev) >= 136 && major(st.st_rdev) <= 143;
}

// A second opener is refused, as with a COM port that is in use. The lock goes
// with the descriptor, however the process ends. The terminal's exclusive mode
// also keeps out programs that take no lock, but a pseudo-terminal keeps that
// mode after its last close while the other side stays open: a killed program
// would leave it closed to everyone but root, so there the lock alone serves.
bool HoldExclusively(int fd) {
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return false;
    return IsPseudoTerminal(fd) || ::ioctl(fd, TIOCEXCL) == 0;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> SplitFields(std::string_view text) {
    std::vector<std::string_view> fields;
    for (;;) {
        const auto comma = text.find(',');
        fields.push_back(Trim(text.substr(0, comma)));
        if (comma == std::string_view::npos)
            return fields;
        text.remove_prefix(comma + 1);
    }
}

std::optional<speed_t> ParseSpeed(std::string_view field) {
    unsigned long baud = 0;
    if (field.empty() || field.size() > 8)
        return std::nullopt;
    for (char c : field) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
        baud = baud * 10 + static_cast<unsigned long>(c - '0');
    }
    for (const SpeedName& s : kSpeeds) {
        if (s.baud == baud)
            return s.speed;
    }
    return std::nullopt;
}

std::optional<Parity> ParseParity(std::string_view field) {
    if (field.size() != 1)
        return std::nullopt;
    switch (std::toupper(static_cast<unsigned char>(field[0]))) {
    case 'N':
        return Parity::None;
    case 'E':
        return Parity::Even;
    case 'O':
        return Parity::Odd;
    case 'M':
        return Parity::Mark;
    case 'S':
        return Parity::Space;
    default:
        return std::nullopt;
    }
}

std::optional<StopBits> ParseStopBits(std::string_view field) {
    if (field == "1")
        return StopBits::One;
    if (field == "1.5")
        return StopBits::OneAndHalf;
    if (field == "2")
        return StopBits::Two;
    return std::nullopt;
}

tcflag_t SizeFlag(int dataBits) {
    switch (dataBits) {
    case 5:
        return CS5;
    case 6:
        return CS6;
    case 7:
        return CS7;
    default:
        return CS8;
    }
}

tcflag_t ParityFlags(Parity parity) {
    switch (parity) {
    case Parity::None:
        return 0;
    case Parity::Even:
        return PARENB;
    case Parity::Odd:
        return PARENB | PARODD;
    case Parity::Mark:
        return PARENB | CMSPAR | PARODD;
    case Parity::Space:
        return PARENB | CMSPAR;
    }
    return 0;
}

// Raw bytes both ways, no flow control, the receiver on, modem lines ignored.
void MakeRaw(int fd) {
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0)
        return;
    ::cfmakeraw(&tio);
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    tio.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::tcsetattr(fd, TCSANOW, &tio);
}

// The group that may open a device the user may not, for the hint.
std::string OwningGroup(const std::string& device) {
    struct stat info {};
    if (::stat(device.c_str(), &info) != 0)
        return {};
    std::array<char, 4096> buffer{};
    struct group entry {};
    struct group* found = nullptr;
    if (::getgrgid_r(info.st_gid, &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->gr_name != nullptr)
        return found->gr_name;
    return std::to_string(info.st_gid);
}

LinkError OpenFailure(const std::string& device, int err) {
    switch (err) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return MakeError(ZRN_ERROR_NO_SUCH_PORT, device);
    case EACCES:
    case EPERM: {
        const std::string group = OwningGroup(device);
        if (group.empty() || group == "root" || group == "0")
            return MakeError(ZRN_ERROR_PERMISSION, device,
                             "permission denied; ask the administrator for read and write access");
        return MakeError(ZRN_ERROR_PERMISSION, device,
                         "permission denied; it belongs to the group \"" + group +
                             "\": add yourself to it with  sudo usermod -aG " + group +
                             " $USER  and log in again");
    }
    case EBUSY:
        return MakeError(ZRN_ERROR_BUSY, device, "the port is in use by another program");
    case ENOMEM:
        return MakeError(ZRN_ERROR_NO_MEMORY, device);
    default:
        return MakeError(ZRN_ERROR_SYSTEM, device, std::strerror(err));
    }
}

} // namespace

std::string DeviceName(std::string_view definition) {
    return std::string(definition.substr(0, definition.find(':')));
}

std::optional<LineSettings> ParseLineSettings(std::string_view text) {
    const auto fields = SplitFields(text);
    if (fields.size() != 4)
        return std::nullopt;
    const auto speed = ParseSpeed(fields[0]);
    const auto parity = ParseParity(fields[1]);
    const auto stop = ParseStopBits(fields[3]);
    if (!speed || !parity || !stop || fields[2].size() != 1)
        return std::nullopt;
    const int dataBits = fields[2][0] - '0';
    if (dataBits < 5 || dataBits > 8)
        return std::nullopt;
    // As on the original platform, 1.5 stop bits exist only with 5 data bits.
    if (*stop == StopBits::OneAndHalf && dataBits != 5)
        return std::nullopt;
    return LineSettings{*speed, *parity, dataBits, *stop};
}

UniqueFd OpenSerialPort(const std::string& device, LinkError& error) {
    if (device.empty()) {
        error = MakeError(ZRN_ERROR_BAD_NAME, device, "no port named");
        return {};
    }
    UniqueFd port(::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!port.valid()) {
        error = OpenFailure(device, errno);
        return {};
    }
    if (!::isatty(port.get())) {
        error = MakeError(ZRN_ERROR_NOT_SERIAL, device);
        return {};
    }
    if (!HoldExclusively(port.get())) {
        error = MakeError(ZRN_ERROR_BUSY, device, "the port is in use by another program");
        return {};
    }
    MakeRaw(port.get());
    // Ports without modem lines (pseudo-terminals) refuse this; that is fine.
    const int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(port.get(), TIOCMBIC, &lines);
    return port;
}

bool SetLineFormat(termios& tio, const LineSettings& settings) {
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB);
    tio.c_cflag |= SizeFlag(settings.dataBits) | ParityFlags(settings.parity);
    // 1.5 stop bits is what a UART makes of CSTOPB with 5 data bits.
    if (settings.stopBits != StopBits::One)
        tio.c_cflag |= CSTOPB;
    tio.c_iflag &= ~static_cast<tcflag_t>(INPCK | ISTRIP);
    if (settings.parity != Parity::None)
        tio.c_iflag |= INPCK;
    return ::cfsetispeed(&tio, settings.speed) == 0 && ::cfsetospeed(&tio, settings.speed) == 0;
}

bool ApplyLineSettings(int fd, const LineSettings& settings) {
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0 || !SetLineFormat(tio, settings))
        return false;
    return ::tcsetattr(fd, TCSANOW, &tio) == 0;
}

void CloseSerialPort(UniqueFd& port) {
    if (port.valid()) {
        ::ioctl(port.get(), TIOCNXCL);
        // At once: a read still running in the worker keeps the file alive past close.
        ::flock(port.get(), LOCK_UN);
    }
    port.reset();
}

} // namespace zrn
