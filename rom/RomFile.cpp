#include "RomFile.h"

#include "RomErrors.h"

#include <cerrno>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

std::error_code LastError()
{
    return errno != 0 ? std::error_code(errno, std::generic_category())
                      : std::make_error_code(std::errc::io_error);
}

std::FILE* OpenStream(const std::filesystem::path& path, RomFile::Access access)
{
    const bool write = access == RomFile::Access::readWrite;
#ifdef _WIN32
    return _wfopen(path.c_str(), write ? L"r+b" : L"rb");
#else
    return std::fopen(path.c_str(), write ? "r+b" : "rb");
#endif
}

int SyncDescriptor(std::FILE* file)
{
#ifdef _WIN32
    return _commit(_fileno(file));
#else
    return fsync(fileno(file));
#endif
}

} // namespace

std::expected<RomFile, std::error_code> RomFile::Open(const std::filesystem::path& path,
                                                      Access access)
{
    errno = 0;
    std::FILE* file = OpenStream(path, access);
    if (file == nullptr)
        return std::unexpected(LastError());
    return RomFile(file);
}

std::error_code RomFile::SeekTo(std::int32_t offset)
{
    errno = 0;
    if (std::fseek(file_.get(), offset, SEEK_SET) != 0)
        return LastError();
    return {};
}

std::expected<std::uint8_t, std::error_code> RomFile::ReadByte(std::int32_t offset)
{
    if (auto ec = SeekTo(offset))
        return std::unexpected(ec);
    const int byte = std::fgetc(file_.get());
    if (byte == EOF)
        return std::unexpected(std::ferror(file_.get()) ? LastError()
                                                        : make_error_code(RomErrc::readPastEnd));
    return static_cast<std::uint8_t>(byte);
}

std::error_code RomFile::WriteByte(std::int32_t offset, std::uint8_t value)
{
    const auto size = Size();
    if (!size)
        return size.error();
    if (offset >= *size)
        return make_error_code(RomErrc::writePastEnd);
    if (auto ec = SeekTo(offset))
        return ec;
    if (std::fputc(value, file_.get()) == EOF)
        return LastError();
    return {};
}

std::expected<std::int64_t, std::error_code> RomFile::Size()
{
    errno = 0;
    if (std::fseek(file_.get(), 0, SEEK_END) != 0)
        return std::unexpected(LastError());
    const long end = std::ftell(file_.get());
    if (end < 0)
        return std::unexpected(LastError());
    return end;
}

std::error_code RomFile::SyncToDisk()
{
    errno = 0;
    if (std::fflush(file_.get()) != 0 || SyncDescriptor(file_.get()) != 0)
        return LastError();
    return {};
}

std::error_code RomFile::Close()
{
    errno = 0;
    const int result = std::fclose(file_.release());
    return result == 0 ? std::error_code{} : LastError();
}

std::error_code MakeWritable(const std::filesystem::path& path)
{
    std::error_code ec;
    std::filesystem::permissions(path, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add, ec);
    return ec;
}
