#include "RomFile.h"

#include "RomErrors.h"

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <utility>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
using FileStatus = struct _stat64;
int StatusOf(int fd, FileStatus& status) { return _fstat64(fd, &status); }
int OpenDescriptor(const fs::path& path, int flags, int mode)
{
    return _wopen(path.c_str(), flags | _O_BINARY | _O_NOINHERIT, mode);
}
long long ReadAt(int fd, void* data, std::size_t size, std::int64_t offset)
{
    return _lseeki64(fd, offset, SEEK_SET) < 0 ? -1 : _read(fd, data, static_cast<unsigned>(size));
}
long long WriteAt(int fd, const void* data, std::size_t size, std::int64_t offset)
{
    return _lseeki64(fd, offset, SEEK_SET) < 0 ? -1 : _write(fd, data, static_cast<unsigned>(size));
}
int Sync(int fd) { return _commit(fd); }
int CloseDescriptor(int fd) { return _close(fd); }
int ChangeMode(int, int) { return 0; }
constexpr int nonBlocking = 0;
constexpr int writeOnly = _O_WRONLY;
constexpr int readWrite = _O_RDWR;
constexpr int readOnly = _O_RDONLY;
constexpr int createNew = _O_CREAT | _O_EXCL;
#else
using FileStatus = struct stat;
int StatusOf(int fd, FileStatus& status) { return fstat(fd, &status); }
int OpenDescriptor(const fs::path& path, int flags, int mode)
{
    return open(path.c_str(), flags | O_CLOEXEC | O_NOCTTY, mode);
}
long long ReadAt(int fd, void* data, std::size_t size, std::int64_t offset)
{
    return pread(fd, data, size, offset);
}
long long WriteAt(int fd, const void* data, std::size_t size, std::int64_t offset)
{
    return pwrite(fd, data, size, offset);
}
int Sync(int fd) { return fsync(fd); }
int CloseDescriptor(int fd) { return close(fd); }
int ChangeMode(int fd, int mode) { return fchmod(fd, static_cast<mode_t>(mode)); }
constexpr int nonBlocking = O_NONBLOCK;
constexpr int writeOnly = O_WRONLY;
constexpr int readWrite = O_RDWR;
constexpr int readOnly = O_RDONLY;
constexpr int createNew = O_CREAT | O_EXCL;
#endif

std::error_code LastError()
{
    return errno != 0 ? std::error_code(errno, std::generic_category())
                      : std::make_error_code(std::errc::io_error);
}

bool IsRegular(const FileStatus& status)
{
    return (status.st_mode & S_IFMT) == S_IFREG;
}

// A socket cannot even be opened; say what it is rather than what open said.
std::error_code OpenFailure(const fs::path& path)
{
    const std::error_code failure = LastError();
    std::error_code ignored;
    const fs::file_status status = fs::status(path, ignored);
    if (fs::exists(status) && !fs::is_regular_file(status))
        return make_error_code(RomErrc::notRegularFile);
    return failure;
}

std::error_code WriteAllAt(int fd, std::span<const std::uint8_t> bytes, std::int64_t offset)
{
    while (!bytes.empty()) {
        errno = 0;
        const long long written = WriteAt(fd, bytes.data(), bytes.size(), offset);
        if (written <= 0)
            return LastError();
        bytes = bytes.subspan(static_cast<std::size_t>(written));
        offset += written;
    }
    return {};
}

void SyncFolder([[maybe_unused]] const fs::path& folder)
{
#ifndef _WIN32
    const int fd = OpenDescriptor(folder, O_RDONLY | O_DIRECTORY, 0);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
#endif
}

fs::path TemporaryNameBeside(const fs::path& target)
{
    static std::mt19937_64 random{std::random_device{}()};
    return target.parent_path()
        / ("." + target.filename().string() + ".tidewell-" + std::to_string(random() % 1000000000));
}

// A new file of our own beside the target, never one that was there before.
std::expected<std::pair<RomFile, fs::path>, std::error_code> CreateTemporaryBeside(const fs::path& target)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path name = TemporaryNameBeside(target);
        errno = 0;
        const int fd = OpenDescriptor(name, readWrite | createNew, 0600);
        if (fd >= 0) {
            CloseDescriptor(fd);
            auto file = RomFile::Open(name, RomFile::Access::readWrite);
            if (!file) {
                std::error_code ignored;
                fs::remove(name, ignored);
                return std::unexpected(file.error());
            }
            return std::pair{std::move(*file), name};
        }
        if (errno != EEXIST)
            return std::unexpected(LastError());
    }
    return std::unexpected(std::make_error_code(std::errc::file_exists));
}

} // namespace

std::expected<RomFile, std::error_code> RomFile::Open(const fs::path& path, Access access)
{
    errno = 0;
    const int fd = OpenDescriptor(path, (access == Access::readWrite ? readWrite : readOnly) | nonBlocking, 0);
    if (fd < 0)
        return std::unexpected(OpenFailure(path));
    RomFile file(fd);
    FileStatus status{};
    if (StatusOf(fd, status) != 0)
        return std::unexpected(LastError());
    if (!IsRegular(status))
        return std::unexpected(make_error_code(RomErrc::notRegularFile));
#ifndef _WIN32
    // Only the open had to be kept from waiting; reads and writes of a regular file never do.
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
#endif
    return file;
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
    const long long read = ReadAt(descriptor_, &byte, 1, offset);
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

std::expected<std::vector<std::uint8_t>, std::error_code> RomFile::ReadAll()
{
    const auto size = Size();
    if (!size)
        return std::unexpected(size.error());
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(*size));
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        errno = 0;
        const long long read = ReadAt(descriptor_, bytes.data() + filled, bytes.size() - filled,
                                      static_cast<std::int64_t>(filled));
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

std::expected<std::int64_t, std::error_code> RomFile::Size()
{
    FileStatus status{};
    errno = 0;
    if (StatusOf(descriptor_, status) != 0)
        return std::unexpected(LastError());
    return static_cast<std::int64_t>(status.st_size);
}

std::expected<FileIdentity, std::error_code> RomFile::Identity()
{
#ifdef _WIN32
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(reinterpret_cast<HANDLE>(_get_osfhandle(descriptor_)), &info))
        return std::unexpected(std::error_code(static_cast<int>(GetLastError()), std::system_category()));
    return FileIdentity{info.dwVolumeSerialNumber,
                        (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
#else
    FileStatus status{};
    errno = 0;
    if (StatusOf(descriptor_, status) != 0)
        return std::unexpected(LastError());
    return FileIdentity{static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
#endif
}

std::expected<fs::perms, std::error_code> RomFile::Permissions()
{
    FileStatus status{};
    errno = 0;
    if (StatusOf(descriptor_, status) != 0)
        return std::unexpected(LastError());
    return static_cast<fs::perms>(status.st_mode & 07777);
}

std::error_code RomFile::SyncToDisk()
{
    errno = 0;
    return Sync(descriptor_) == 0 ? std::error_code{} : LastError();
}

std::error_code RomFile::Close()
{
    if (descriptor_ < 0)
        return {};
    errno = 0;
    const bool closed = CloseDescriptor(std::exchange(descriptor_, -1)) == 0;
    return closed ? std::error_code{} : LastError();
}

std::error_code MakeWritable(const fs::path& path)
{
    std::error_code ec;
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add, ec);
    return ec;
}

std::expected<FileIdentity, std::error_code>
WriteFileAtomically(const fs::path& target, std::span<const std::uint8_t> bytes, fs::perms permissions)
{
    auto temporary = CreateTemporaryBeside(target);
    if (!temporary)
        return std::unexpected(temporary.error());
    auto& [file, name] = *temporary;
    std::error_code failure = WriteAllAt(file.descriptor_, bytes, 0);
    if (!failure && ChangeMode(file.descriptor_, static_cast<int>(permissions)) != 0)
        failure = LastError();
    if (!failure)
        failure = file.SyncToDisk();
    const auto identity = file.Identity();
    if (!failure && !identity)
        failure = identity.error();
    if (const std::error_code closed = file.Close(); !failure)
        failure = closed;
    if (!failure)
        fs::rename(name, target, failure);
    if (failure) {
        std::error_code ignored;
        fs::remove(name, ignored);
        return std::unexpected(failure);
    }
    // The bytes are safe on disk already; the new name is made durable as far as the system allows.
    SyncFolder(target.has_parent_path() ? target.parent_path() : fs::path("."));
    return *identity;
}
