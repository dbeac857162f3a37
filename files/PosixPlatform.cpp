#include "Platform.h"

#include "RomErrors.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <linux/fs.h>
#include <pthread.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace platform {

namespace {

std::error_code LastError()
{
    return errno != 0 ? std::error_code(errno, std::generic_category())
                      : std::make_error_code(std::errc::io_error);
}

int Fd(Handle handle)
{
    return static_cast<int>(handle);
}

int OpenFlags(Access access)
{
    return (access == Access::readWrite ? O_RDWR : O_RDONLY) | O_CLOEXEC | O_NOCTTY;
}

std::expected<Handle, std::error_code> Opened(int fd)
{
    if (fd < 0)
        return std::unexpected(LastError());
    return fd;
}

FileStatus::Kind KindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return FileStatus::Kind::regular;
    return S_ISLNK(mode) ? FileStatus::Kind::symbolicLink : FileStatus::Kind::other;
}

FileStatus StatusFrom(const struct stat& status)
{
    return {{static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
             status.st_ctim.tv_sec, static_cast<std::uint32_t>(status.st_ctim.tv_nsec)},
            KindOf(status.st_mode),
            static_cast<fs::perms>(status.st_mode & 07777),
            static_cast<std::uint64_t>(status.st_nlink),
            status.st_uid,
            status.st_gid,
            static_cast<std::int64_t>(status.st_size),
            status.st_mtim.tv_sec};
}

#ifdef STATX_BTIME
// The birth time replaces the change time where the file system keeps one.
void PreferBirthTime(int fd, FileIdentity& identity)
{
    struct statx extended {};
    if (statx(fd, "", AT_EMPTY_PATH, STATX_BTIME, &extended) == 0 && (extended.stx_mask & STATX_BTIME)) {
        identity.stampSeconds = extended.stx_btime.tv_sec;
        identity.stampNanoseconds = extended.stx_btime.tv_nsec;
        identity.stampIsBirth = true;
    }
}
#else
void PreferBirthTime(int, FileIdentity&) {}
#endif

bool IsRegular(int fd)
{
    struct stat status {};
    return fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
}

std::error_code Checked(int result)
{
    return result == 0 ? std::error_code{} : LastError();
}

sigset_t TerminationSignals()
{
    sigset_t signals;
    sigemptyset(&signals);
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
        sigaddset(&signals, signal);
    return signals;
}

} // namespace

std::expected<Handle, std::error_code> OpenRegular(const fs::path& path, Access access)
{
    // A handle that only locates the file: opening it has no effect on a device or FIFO.
    errno = 0;
    const auto located = Opened(open(path.c_str(), O_PATH | O_CLOEXEC));
    if (!located)
        return located;
    if (!IsRegular(Fd(*located))) {
        Close(*located);
        return std::unexpected(make_error_code(RomErrc::notRegularFile));
    }
    const auto opened = Reopen(*located, access);
    Close(*located);
    return opened;
}

std::expected<Handle, std::error_code> Reopen(Handle handle, Access access)
{
    const auto before = StatusOf(handle);
    if (!before)
        return std::unexpected(before.error());
    errno = 0;
    const auto again = Opened(open(("/proc/self/fd/" + std::to_string(handle)).c_str(), OpenFlags(access)));
    if (!again)
        return again;
    const auto after = StatusOf(*again);
    if (!after || !after->identity.SameInode(before->identity) || after->kind != FileStatus::Kind::regular) {
        Close(*again);
        return std::unexpected(after ? make_error_code(RomErrc::romChanged) : after.error());
    }
    return again;
}

std::expected<Handle, std::error_code> CreateNew(const fs::path& path, fs::perms permissions)
{
    errno = 0;
    const int flags = O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY;
    return Opened(open(path.c_str(), flags, static_cast<mode_t>(permissions)));
}

std::error_code Close(Handle handle)
{
    errno = 0;
    return Checked(close(Fd(handle)));
}

std::expected<std::size_t, std::error_code> ReadAt(Handle handle, std::span<std::uint8_t> bytes, std::int64_t offset)
{
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        errno = 0;
        const ssize_t read = pread(Fd(handle), bytes.data() + filled, bytes.size() - filled,
                                   static_cast<off_t>(offset + static_cast<std::int64_t>(filled)));
        if (read < 0)
            return std::unexpected(LastError());
        if (read == 0)
            break;
        filled += static_cast<std::size_t>(read);
    }
    return filled;
}

std::error_code WriteAt(Handle handle, std::span<const std::uint8_t> bytes, std::int64_t offset)
{
    while (!bytes.empty()) {
        errno = 0;
        const ssize_t written = pwrite(Fd(handle), bytes.data(), bytes.size(), offset);
        if (written <= 0)
            return LastError();
        bytes = bytes.subspan(static_cast<std::size_t>(written));
        offset += written;
    }
    return {};
}

std::expected<FileStatus, std::error_code> StatusOf(Handle handle)
{
    struct stat status {};
    errno = 0;
    if (fstat(Fd(handle), &status) != 0)
        return std::unexpected(LastError());
    FileStatus facts = StatusFrom(status);
    PreferBirthTime(Fd(handle), facts.identity);
    return facts;
}

std::error_code SetPermissions(Handle handle, fs::perms permissions)
{
    errno = 0;
    return Checked(fchmod(Fd(handle), static_cast<mode_t>(permissions)));
}

std::error_code SetGroup(Handle handle, std::uint32_t group)
{
    errno = 0;
    return Checked(fchown(Fd(handle), static_cast<uid_t>(-1), group));
}

std::error_code Sync(Handle handle)
{
    errno = 0;
    return Checked(fsync(Fd(handle)));
}

std::optional<FileStatus> NameStatus(const fs::path& path)
{
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0)
        return std::nullopt;
    return StatusFrom(status);
}

std::optional<FileStatus> PathStatus(const fs::path& path)
{
    struct stat status {};
    if (stat(path.c_str(), &status) != 0)
        return std::nullopt;
    return StatusFrom(status);
}

std::error_code RenameName(const fs::path& from, const fs::path& to, Rename how)
{
    errno = 0;
    if (how == Rename::replace)
        return Checked(std::rename(from.c_str(), to.c_str()));
    const unsigned flags = how == Rename::exchange ? RENAME_EXCHANGE : RENAME_NOREPLACE;
    return Checked(renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), flags));
}

bool CannotRenameThisWay(std::error_code error)
{
    // EBUSY: the name is a mount point, as a ROM bound over another file is.
    return error == std::errc::invalid_argument || error == std::errc::function_not_supported
        || error == std::errc::not_supported || error == std::errc::cross_device_link
        || error == std::errc::device_or_resource_busy;
}

std::error_code RemoveName(const fs::path& path)
{
    errno = 0;
    return Checked(unlink(path.c_str()));
}

std::error_code SyncFolder(const fs::path& folder)
{
    errno = 0;
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return LastError();
    const std::error_code synced = Checked(fsync(fd));
    close(fd);
    return synced;
}

bool KeepsEveryName(const fs::path& folder)
{
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    int flags = 0;
    const bool known = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    close(fd);
    return known && (flags & (FS_APPEND_FL | FS_IMMUTABLE_FL)) != 0;
}

std::uint32_t CurrentUser()
{
    return geteuid();
}

std::int64_t Now()
{
    return static_cast<std::int64_t>(std::time(nullptr));
}

fs::path UserStateFolder()
{
    // The XDG rule: an absolute $XDG_STATE_HOME, else ~/.local/state.
    if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && fs::path(state).is_absolute())
        return state;
    const char* home = std::getenv("HOME");
    return fs::path(home != nullptr ? home : "/") / ".local/state";
}

struct SignalsHeld::Before {
    sigset_t mask{};
    struct sigaction fileSize {};
};

SignalsHeld::SignalsHeld() : before_(std::make_unique<Before>())
{
    const sigset_t held = TerminationSignals();
    pthread_sigmask(SIG_BLOCK, &held, &before_->mask);
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &before_->fileSize);
}

SignalsHeld::~SignalsHeld()
{
    sigaction(SIGXFSZ, &before_->fileSize, nullptr);
    pthread_sigmask(SIG_SETMASK, &before_->mask, nullptr);
}

void HoldTerminationSignals()
{
    const sigset_t held = TerminationSignals();
    pthread_sigmask(SIG_BLOCK, &held, nullptr);
    for (int unused : {SIGUSR1, SIGUSR2, SIGALRM})
        std::signal(unused, SIG_IGN);
}

Handle TerminationSignalsHandle()
{
    const sigset_t held = TerminationSignals();
    return signalfd(-1, &held, SFD_CLOEXEC | SFD_NONBLOCK);
}

std::optional<int> TakeTerminationSignal()
{
    const sigset_t held = TerminationSignals();
    const timespec now{};
    const int signal = sigtimedwait(&held, nullptr, &now);
    if (signal <= 0)
        return std::nullopt;
    return signal;
}

} // namespace platform
