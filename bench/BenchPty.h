#pragma once
// A raw pseudo-terminal for the link benchmarks: the library opens the
// terminal side by name, the benchmark plays the device on the master.

#include <pty.h>
#include <string>
#include <termios.h>
#include <unistd.h>

class BenchPty {
public:
    BenchPty() {
        char path[256] = {};
        if (::openpty(&master, &slave, path, nullptr, nullptr) != 0)
            return;
        termios tio{};
        ::tcgetattr(slave, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(slave, TCSANOW, &tio);
        name = path;
    }
    ~BenchPty() {
        if (slave >= 0)
            ::close(slave);
        if (master >= 0)
            ::close(master);
    }
    BenchPty(const BenchPty&) = delete;
    BenchPty& operator=(const BenchPty&) = delete;

    bool ok() const { return master >= 0; }
    int far() const { return master; }
    std::string definition() const { return name + ":9600,N,8,1"; }

private:
    int master = -1;
    int slave = -1;
    std::string name;
};
