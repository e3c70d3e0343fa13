// CPU time the worker spends on an idle open link, scaled to one minute.

#include "BenchPty.h"
#include "ZRNComDll.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

// Nanoseconds on the CPU of the thread named ZRNComDllThread.
long long WorkerCpuNanoseconds() {
    DIR* dir = ::opendir("/proc/self/task");
    if (dir == nullptr)
        return -1;
    long long ns = -1;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string task = std::string("/proc/self/task/") + entry->d_name;
        std::ifstream comm(task + "/comm");
        std::string name;
        std::getline(comm, name);
        if (name == "ZRNComDllThread") {
            std::ifstream schedstat(task + "/schedstat");
            schedstat >> ns;
        }
    }
    ::closedir(dir);
    return ns;
}

} // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    const BenchPty pty;
    if (!pty.ok())
        return 1;
    if (fnZrnOpen(nullptr, pty.definition().c_str()) != 1)
        return 1;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const long long before = WorkerCpuNanoseconds();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const long long after = WorkerCpuNanoseconds();
    fnZrnClose();
    const double perMinute = (after - before) / 1e9 * 60.0 / seconds;
    std::printf("idle worker CPU: %.4f s over %d s = %.3f s per minute (target < 0.3)\n",
                (after - before) / 1e9, seconds, perMinute);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return 0;
}
