#include "RomFile.h"

#include "RomErrors.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <utility>

namespace fs = std::filesystem;

namespace {

std::error_code LastError()
{
    return errno != 0 ? std::error_code(errno, std::generic_category())
                      : std::make_error_code(std::errc::io_error);
}

int OpenFlags(RomFile::Access access)
{
    return (access == RomFile::Access::readWrite ? O_RDWR : O_RDONLY) | O_CLOEXEC | O_NOCTTY;
}

std::error_code WriteAllAt(int fd, std::span<const std::uint8_t> bytes, std::int64_t offset)
{
    while (!bytes.empty()) {
        errno = 0;
        const ssize_t written = pwrite(fd, bytes.data(), bytes.size(), offset);
        if (written <= 0)
            return LastError();
        bytes = bytes.subspan(static_cast<std::size_t>(written));
        offset += written;
    }
    return {};
}

FileIdentity IdentityFrom(const struct stat& status)
{
    return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
            status.st_ctim.tv_sec, static_cast<std::uint32_t>(status.st_ctim.tv_nsec)};
}

#ifdef STATX_BTIME
// The birth time replaces the change time where the file system keeps one.
void PreferBirthTime(int fd, FileIdentity& identity)
{
    struct statx extended {};
    if (statx(fd, "", AT_EMPTY_PATH, STATX_BTIME, &extended) == 0 && (extended.stx_mask & STATX_BTIME)) {
        identity.stampSeconds = extended.stx_btime.tv_sec;
        identity.stampNanoseconds = extended.stx_btime.tv_nsec;
    }
}
#else
void PreferBirthTime(int, FileIdentity&) {}
#endif

std::expected<FileStatus, std::error_code> StatusOf(int fd)
{
    struct stat status {};
    errno = 0;
    if (fstat(fd, &status) != 0)
        return std::unexpected(LastError());
    FileStatus facts{IdentityFrom(status), static_cast<fs::perms>(status.st_mode & 07777),
                     static_cast<std::uint64_t>(status.st_nlink), status.st_uid, status.st_gid};
    PreferBirthTime(fd, facts.identity);
    return facts;
}

bool IsRegular(int fd)
{
    struct stat status {};
    return fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
}

} // namespace

std::expected<RomFile, std::error_code> RomFile::Open(const fs::path& path, Access access)
{
#ifdef O_PATH
    // A handle that only locates the file: opening it has no effect on a device or FIFO.
    errno = 0;
    RomFile located(open(path.c_str(), O_PATH | O_CLOEXEC));
    if (located.descriptor_ < 0)
        return std::unexpected(LastError());
    if (!IsRegular(located.descriptor_))
        return std::unexpected(make_error_code(RomErrc::notRegularFile));
    return located.Reopen(access);
#else
    errno = 0;
    RomFile file(open(path.c_str(), OpenFlags(access) | O_NONBLOCK));
    if (file.descriptor_ < 0)
        return std::unexpected(LastError());
    if (!IsRegular(file.descriptor_))
        return std::unexpected(make_error_code(RomErrc::notRegularFile));
    fcntl(file.descriptor_, F_SETFL, fcntl(file.descriptor_, F_GETFL) & ~O_NONBLOCK);
    return file;
#endif
}

std::expected<RomFile, std::error_code> RomFile::Reopen(Access access)
{
    const auto before = Identity();
    if (!before)
        return std::unexpected(before.error());
    errno = 0;
    RomFile again(open(("/proc/self/fd/" + std::to_string(descriptor_)).c_str(), OpenFlags(access)));
    if (again.descriptor_ < 0)
        return std::unexpected(LastError());
    const auto after = again.Identity();
    if (!after)
        return std::unexpected(after.error());
    if (!after->SameInode(*before) || !IsRegular(again.descriptor_))
        return std::unexpected(make_error_code(RomErrc::romChanged));
    return again;
}

RomFile::RomFile(RomFile&& other) noexcept : descriptor_(std::exchange(other.descriptor_, -1)) {}

RomFile& RomFile::operator=(RomFile&& other) noexcept
{
    if (this != &other) {
        Close();
        descriptor_ = std::exchange(other.descriptor_, -1);
    }
    return *this;
}

RomFile::~RomFile()
{
    Close();
}

std::expected<std::uint8_t, std::error_code> RomFile::ReadByte(std::int32_t offset)
{
    if (offset < 0)
        return std::unexpected(std::make_error_code(std::errc::invalid_argument));
    std::uint8_t byte = 0;
    errno = 0;
    const ssize_t read = pread(descriptor_, &byte, 1, offset);
    if (read < 0)
        return std::unexpected(LastError());
    if (read == 0)
        return std::unexpected(make_error_code(RomErrc::readPastEnd));
    return byte;
}

std::error_code RomFile::WriteByte(std::int32_t offset, std::uint8_t value)
{
    if (offset < 0)
        return std::make_error_code(std::errc::invalid_argument);
    const auto size = Size();
    if (!size)
        return size.error();
    if (offset >= *size)
        return make_error_code(RomErrc::writePastEnd);
    return WriteAllAt(descriptor_, {&value, 1}, offset);
}

std::error_code RomFile::WriteAll(std::span<const std::uint8_t> bytes)
{
    return WriteAllAt(descriptor_, bytes, 0);
}

std::expected<std::vector<std::uint8_t>, std::error_code> RomFile::ReadAll()
{
    const auto size = Size();
    if (!size)
        return std::unexpected(size.error());
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(*size));
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        errno = 0;
        const ssize_t read = pread(descriptor_, bytes.data() + filled, bytes.size() - filled,
                                   static_cast<off_t>(filled));
        if (read < 0)
            return std::unexpected(LastError());
        if (read == 0)
            break;
        filled += static_cast<std::size_t>(read);
    }
    // A file cut short while we read is shown as it now is.
    bytes.resize(filled);
    return bytes;
}

std::expected<bool, std::error_code> RomFile::Holds(std::span<const std::uint8_t> bytes)
{
    const auto size = Size();
    if (!size)
        return std::unexpected(size.error());
    if (*size != std::ssize(bytes))
        return false;
    std::array<std::uint8_t, 64 * 1024> piece;
    for (std::size_t compared = 0; compared < bytes.size();) {
        errno = 0;
        const ssize_t read = pread(descriptor_, piece.data(), std::min(piece.size(), bytes.size() - compared),
                                   static_cast<off_t>(compared));
        if (read < 0)
            return std::unexpected(LastError());
        if (read == 0 || !std::ranges::equal(std::span(piece).first(static_cast<std::size_t>(read)),
                                             bytes.subspan(compared, static_cast<std::size_t>(read))))
            return false;
        compared += static_cast<std::size_t>(read);
    }
    return true;
}

std::expected<std::int64_t, std::error_code> RomFile::Size()
{
    struct stat status {};
    errno = 0;
    if (fstat(descriptor_, &status) != 0)
        return std::unexpected(LastError());
    return static_cast<std::int64_t>(status.st_size);
}

std::expected<FileStatus, std::error_code> RomFile::Status()
{
    return StatusOf(descriptor_);
}

std::expected<FileIdentity, std::error_code> RomFile::Identity()
{
    const auto status = Status();
    if (!status)
        return std::unexpected(status.error());
    return status->identity;
}

std::error_code RomFile::MakeWritable()
{
    struct stat status {};
    errno = 0;
    if (fstat(descriptor_, &status) != 0 || fchmod(descriptor_, (status.st_mode & 07777) | S_IWUSR) != 0)
        return LastError();
    return {};
}

std::error_code RomFile::SetPermissions(fs::perms permissions)
{
    errno = 0;
    return fchmod(descriptor_, static_cast<mode_t>(permissions)) == 0 ? std::error_code{} : LastError();
}

std::error_code RomFile::SetGroup(std::uint32_t group)
{
    errno = 0;
    return fchown(descriptor_, static_cast<uid_t>(-1), group) == 0 ? std::error_code{} : LastError();
}

std::error_code RomFile::SyncToDisk()
{
    errno = 0;
    return fsync(descriptor_) == 0 ? std::error_code{} : LastError();
}

std::error_code RomFile::Close()
{
    if (descriptor_ < 0)
        return {};
    errno = 0;
    const bool closed = close(std::exchange(descriptor_, -1)) == 0;
    return closed ? std::error_code{} : LastError();
}

std::expected<RomFile, std::error_code> RomFile::CreateNew(const fs::path& path, fs::perms permissions)
{
    errno = 0;
    RomFile file(open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY,
                      static_cast<mode_t>(permissions)));
    if (file.descriptor_ < 0)
        return std::unexpected(LastError());
    return file;
}
