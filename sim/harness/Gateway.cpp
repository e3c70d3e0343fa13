#include "Gateway.h"

#include "SimProcess.h"

#include <arpa/inet.h>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <spawn.h>
#include <sstream>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace zrnsim {
namespace {

constexpr const char* kProgram = "/usr/sbin/ser2net";

// A loopback port nobody listens on now; ser2net takes it a moment later.
int FreePort() {
    const zrn::UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(fd.get(), reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::getsockname(fd.get(), reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return 0;
    return ntohs(address.sin_port);
}

std::string Connection(const std::string& name, const std::string& accepter,
                       const std::string& device) {
    return "connection: &" + name + "\n  accepter: " + accepter + "\n  connector: serialdev," +
           device + ",9600n81,local\n  options:\n    kickolduser: true\n    chardelay: false\n";
}

} // namespace

Gateway::Gateway(std::string device, std::string folder)
    : device_(std::move(device)), config_(std::move(folder) + "/ser2net.yaml"),
      rawPort_(FreePort()), telnetPort_(FreePort()) {
    std::ofstream(config_)
        << "%YAML 1.1\n---\n"
        << Connection("raw", "tcp,127.0.0.1," + std::to_string(rawPort_), device_)
        << Connection("rfc2217", "telnet(rfc2217),tcp,127.0.0.1," + std::to_string(telnetPort_),
                      device_);
}

Gateway::~Gateway() {
    Kill();
}

bool Gateway::Available() {
    return ::access(kProgram, X_OK) == 0;
}

bool Gateway::Listening(int port) const {
    // Read from the kernel's table rather than by connecting, which would
    // make ser2net open the device.
    std::ifstream table("/proc/net/tcp");
    std::string line;
    std::getline(table, line);
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string slot, local, remote, state;
        fields >> slot >> local >> remote >> state;
        const auto colon = local.find(':');
        if (state == "0A" && colon != std::string::npos &&
            std::stoi(local.substr(colon + 1), nullptr, 16) == port)
            return true;
    }
    return false;
}

bool Gateway::Start(std::chrono::milliseconds timeout) {
    Kill();
    std::vector<std::string> text{kProgram, "-n", "-c", config_, "-P", config_ + ".pid"};
    std::vector<char*> argv;
    for (std::string& arg : text)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    if (::posix_spawn(&pid_, kProgram, &actions, nullptr, argv.data(), environ) != 0)
        pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid_ > 0 &&
           WaitFor([&] { return Listening(rawPort_) && Listening(telnetPort_); }, timeout);
}

void Gateway::Kill() {
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
    // Its listening sockets go with it; wait until the kernel agrees, so a
    // restart finds the ports free.
    WaitFor([&] { return !Listening(rawPort_) && !Listening(telnetPort_); },
            std::chrono::seconds(5));
}

std::string Gateway::RawUrl() const {
    return "tcp://127.0.0.1:" + std::to_string(rawPort_);
}

std::string Gateway::Rfc2217Url() const {
    return "rfc2217://127.0.0.1:" + std::to_string(telnetPort_);
}

} // namespace zrnsim
