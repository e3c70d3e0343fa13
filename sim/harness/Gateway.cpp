#include "Gateway.h"

#include "SimProcess.h"

#include <arpa/inet.h>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <set>
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
    : Gateway(std::vector<std::string>{std::move(device)}, std::move(folder)) {}

Gateway::Gateway(std::vector<std::string> devices, std::string folder)
    : config_(std::move(folder) + "/ser2net.yaml") {
    std::ofstream config(config_);
    config << "%YAML 1.1\n---\n";
    for (std::size_t i = 0; i < devices.size(); ++i) {
        rawPorts_.push_back(FreePort());
        telnetPorts_.push_back(FreePort());
        const std::string n = std::to_string(i);
        config << Connection("raw" + n, "tcp,127.0.0.1," + std::to_string(rawPorts_.back()),
                             devices[i])
               << Connection("rfc2217-" + n,
                             "telnet(rfc2217),tcp,127.0.0.1," + std::to_string(telnetPorts_.back()),
                             devices[i]);
    }
}

Gateway::~Gateway() {
    Kill();
}

bool Gateway::Available() {
    return ::access(kProgram, X_OK) == 0;
}

bool Gateway::AllListening(bool none) const {
    // Read from the kernel's table rather than by connecting, which would
    // make ser2net open the device.
    std::set<int> listening;
    std::ifstream table("/proc/net/tcp");
    std::string line;
    std::getline(table, line);
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string slot, local, remote, state;
        fields >> slot >> local >> remote >> state;
        const auto colon = local.find(':');
        if (state == "0A" && colon != std::string::npos)
            listening.insert(std::stoi(local.substr(colon + 1), nullptr, 16));
    }
    for (const auto* ports : {&rawPorts_, &telnetPorts_})
        for (const int port : *ports)
            if (listening.contains(port) == none)
                return false;
    return true;
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
    return pid_ > 0 && WaitFor([&] { return AllListening(); }, timeout);
}

void Gateway::Kill() {
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
    // Its listening sockets go with it; wait until the kernel agrees, so a
    // restart finds the ports free.
    WaitFor([&] { return AllListening(true); }, std::chrono::seconds(5));
}

std::string Gateway::RawUrl(std::size_t i) const {
    return "tcp://127.0.0.1:" + std::to_string(rawPorts_.at(i));
}

std::string Gateway::Rfc2217Url(std::size_t i) const {
    return "rfc2217://127.0.0.1:" + std::to_string(telnetPorts_.at(i));
}

} // namespace zrnsim
