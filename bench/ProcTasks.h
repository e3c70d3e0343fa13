#pragma once
// Wakeups and CPU time of a process's threads, from /proc: a thread's
// voluntary context switches count the times it went to sleep and was woken.

#include <dirent.h>
#include <fstream>
#include <map>
#include <string>
#include <sys/types.h>

struct TaskCounts {
    std::string name;
    long long wakeups = 0; // voluntary context switches
    double cpuSeconds = 0; // on the CPU
};

// Every thread of `pid` now, by thread id.
inline std::map<pid_t, TaskCounts> SampleTasks(pid_t pid) {
    std::map<pid_t, TaskCounts> tasks;
    const std::string dir = "/proc/" + std::to_string(pid) + "/task";
    DIR* listing = ::opendir(dir.c_str());
    if (listing == nullptr)
        return tasks;
    while (const dirent* entry = ::readdir(listing)) {
        if (entry->d_name[0] == '.')
            continue;
        const std::string task = dir + "/" + entry->d_name;
        TaskCounts counts;
        std::ifstream comm(task + "/comm");
        std::getline(comm, counts.name);
        std::ifstream status(task + "/status");
        for (std::string line; std::getline(status, line);)
            if (line.starts_with("voluntary_ctxt_switches:"))
                counts.wakeups = std::stoll(line.substr(line.find(':') + 1));
        long long ns = 0;
        std::ifstream(task + "/schedstat") >> ns;
        counts.cpuSeconds = static_cast<double>(ns) / 1e9;
        tasks[static_cast<pid_t>(std::stol(entry->d_name))] = counts;
    }
    ::closedir(listing);
    return tasks;
}

// What the threads did between two samples, summed by thread name; threads
// born in between count from zero, threads gone in between are lost.
inline std::map<std::string, TaskCounts> ByName(const std::map<pid_t, TaskCounts>& before,
                                                const std::map<pid_t, TaskCounts>& after) {
    std::map<std::string, TaskCounts> named;
    for (const auto& [tid, now] : after) {
        const auto then = before.find(tid);
        TaskCounts& sum = named[now.name];
        sum.name = now.name;
        sum.wakeups += now.wakeups - (then == before.end() ? 0 : then->second.wakeups);
        sum.cpuSeconds += now.cpuSeconds - (then == before.end() ? 0 : then->second.cpuSeconds);
    }
    return named;
}
