#include "model/PlanFile.h"

#include "model/PlanCheck.h"

#include <fstream>
#include <system_error>
#include <utility>

#ifndef _WIN32
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zrn {

namespace fs = std::filesystem;

namespace {

const char* const kNotRegular = "is not a regular file (a device, FIFO or socket)";
const char* const kTooLarge = "is larger than 1 MiB";

Refusal CannotRead(std::string reason) {
    return Refusal{{}, std::move(reason)};
}

#ifndef _WIN32

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int Get() const { return fd_; }
    // Closes now, so that its error (a late write-back failure) is seen.
    bool Close() {
        const int fd = std::exchange(fd_, -1);
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int fd_;
};

std::string ErrnoText(int error) {
    return std::error_code(error, std::generic_category()).message();
}

std::variant<std::string, Refusal> ReadRegular(const fs::path& file) {
    // Non-blocking: opening a FIFO without a writer, or a serial line without
    // carrier, must not wait before the type can be checked.
    const Descriptor in(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (in.Get() < 0)
        return CannotRead(errno == ENXIO ? kNotRegular : "cannot be read");
    struct stat info {};
    if (::fstat(in.Get(), &info) != 0)
        return CannotRead("cannot be read");
    if (S_ISDIR(info.st_mode))
        return CannotRead("is a folder");
    if (!S_ISREG(info.st_mode))
        return CannotRead(kNotRegular);
    if (static_cast<std::uintmax_t>(info.st_size) > kMostPlanBytes)
        return CannotRead(kTooLarge);
    // One byte past the limit tells a file that grew since the fstat.
    std::string text(kMostPlanBytes + 1, '\0');
    std::size_t got = 0;
    while (got < text.size()) {
        const ssize_t n = ::read(in.Get(), text.data() + got, text.size() - got);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return CannotRead("cannot be read");
        }
        got += static_cast<std::size_t>(n);
    }
    if (got > kMostPlanBytes)
        return CannotRead(kTooLarge);
    text.resize(got);
    return text;
}

// The file a chain of symlinks ends at (which may not exist yet), so the new
// text replaces that file and the links stay links.
std::optional<fs::path> FinalTarget(fs::path file) {
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(file, error)))
            return file;
        const fs::path next = fs::read_symlink(file, error);
        if (error)
            return std::nullopt;
        file = next.is_absolute() ? next : file.parent_path() / next;
    }
    return std::nullopt;
}

// A new file beside the target, opened exclusively so no other file (or a
// link planted under its name) is ever written.
std::optional<std::pair<fs::path, Descriptor>> CreateBeside(const fs::path& target, mode_t mode) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path partial = target;
        partial += "." + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".partial";
        const int fd =
            ::open(partial.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0)
            return std::make_pair(std::move(partial), Descriptor(fd));
        if (errno != EEXIST)
            return std::nullopt;
    }
    return std::nullopt;
}

std::optional<std::string> WriteRegular(const fs::path& file, const std::string& text) {
    const std::optional<fs::path> target = FinalTarget(file);
    if (!target)
        return "its symlinks do not lead to a file";
    struct stat old {};
    const bool replacing = ::lstat(target->c_str(), &old) == 0;
    if (!replacing && errno != ENOENT)
        return ErrnoText(errno);
    if (replacing && S_ISDIR(old.st_mode))
        return "it is a folder";
    if (replacing && !S_ISREG(old.st_mode))
        return "it is not a regular file (a device, FIFO or socket)";

    // A new file gets 0644 less the umask; a replaced one is made private until
    // it takes the old one's owner and mode.
    auto created = CreateBeside(*target, replacing ? 0600 : 0644);
    if (!created)
        return "its folder cannot be written";
    auto& [partial, out] = *created;
    std::string why;
    if (replacing) {
        // Best effort: only root may give a file away.
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            [[maybe_unused]] const int ignored = ::fchown(out.Get(), old.st_uid, old.st_gid);
        }
        if (::fchmod(out.Get(), old.st_mode & 07777) != 0)
            why = ErrnoText(errno);
    }
    for (std::size_t put = 0; why.empty() && put < text.size();) {
        const ssize_t n = ::write(out.Get(), text.data() + put, text.size() - put);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            why = n < 0 ? ErrnoText(errno) : "the disk did not take the whole file";
        else
            put += static_cast<std::size_t>(n);
    }
    if (why.empty() && ::fsync(out.Get()) != 0)
        why = ErrnoText(errno);
    if (!out.Close() && why.empty())
        why = ErrnoText(errno);
    if (why.empty() && ::rename(partial.c_str(), target->c_str()) != 0)
        why = ErrnoText(errno);
    if (!why.empty()) {
        ::unlink(partial.c_str());
        return why;
    }
    // The rename is done; a folder whose file system cannot sync it is no error.
    fs::path folder = target->parent_path();
    if (folder.empty())
        folder = ".";
    const Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0)
        ::fsync(dir.Get());
    return std::nullopt;
}

#else

std::variant<std::string, Refusal> ReadRegular(const fs::path& file) {
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (fs::is_directory(status))
        return CannotRead("is a folder");
    if (fs::exists(status) && !fs::is_regular_file(status))
        return CannotRead(kNotRegular);
    const std::uintmax_t size = fs::file_size(file, error);
    if (!error && size > kMostPlanBytes)
        return CannotRead(kTooLarge);
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return CannotRead("cannot be read");
    std::string text(kMostPlanBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.bad())
        return CannotRead("cannot be read");
    const auto got = static_cast<std::size_t>(in.gcount());
    if (got > kMostPlanBytes)
        return CannotRead(kTooLarge);
    text.resize(got);
    return text;
}

std::optional<std::string> WriteRegular(const fs::path& file, const std::string& text) {
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (fs::is_directory(status))
        return "it is a folder";
    if (fs::exists(status) && !fs::is_regular_file(status))
        return "it is not a regular file (a device, FIFO or socket)";
    fs::path partial = file;
    partial += ".partial";
    std::string why;
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        if (!out)
            return "its folder cannot be written";
        out << text;
        out.close();
        if (out.fail())
            why = "the disk did not take the whole file";
    }
    if (why.empty()) {
        fs::rename(partial, file, error);
        if (!error)
            return std::nullopt;
        why = error.message();
    }
    fs::remove(partial, error);
    return why;
}

#endif

} // namespace

std::variant<std::string, Refusal> ReadWhole(const fs::path& file) {
    return ReadRegular(file);
}

std::optional<std::string> WriteWhole(const fs::path& file, const std::string& text) {
    return WriteRegular(file, text);
}

std::variant<Plan, Refusal> ReadPlanFile(const fs::path& file) {
    const auto text = ReadWhole(file);
    if (const Refusal* refusal = std::get_if<Refusal>(&text))
        return *refusal;
    auto plan = ReadPlan(std::get<std::string>(text));
    if (const Plan* read = std::get_if<Plan>(&plan))
        if (std::optional<Refusal> refusal = CheckPlanFits(*read, ScheduleTable{}, std::nullopt))
            return *refusal;
    return plan;
}

std::variant<std::string, Refusal> ExportText(const ScheduleTable& table, const SdiChange& sdi) {
    std::string text = WritePlan(table, sdi);
    const auto reread = ReadPlan(text);
    if (const Refusal* refusal = std::get_if<Refusal>(&reread))
        return *refusal;
    return text;
}

} // namespace zrn
