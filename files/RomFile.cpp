#include "RomFile.h"

#include "RomErrors.h"

#include <algorithm>
#include <array>
#include <utility>

namespace fs = std::filesystem;

std::expected<RomFile, std::error_code> RomFile::From(std::expected<platform::Handle, std::error_code> handle)
{
    if (!handle)
        return std::unexpected(handle.error());
    return RomFile(*handle);
}

std::expected<RomFile, std::error_code> RomFile::Open(const fs::path& path, Access access)
{
    return From(platform::OpenRegular(path, access));
}

std::expected<RomFile, std::error_code> RomFile::Reopen(Access access)
{
    return From(platform::Reopen(handle_, access));
}

std::expected<RomFile, std::error_code> RomFile::CreateNew(const fs::path& path, fs::perms permissions)
{
    return From(platform::CreateNew(path, permissions));
}

RomFile::RomFile(RomFile&& other) noexcept : handle_(std::exchange(other.handle_, platform::noHandle)) {}

RomFile& RomFile::operator=(RomFile&& other) noexcept
{
    if (this != &other) {
        Close();
        handle_ = std::exchange(other.handle_, platform::noHandle);
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
    const auto read = platform::ReadAt(handle_, {&byte, 1}, offset);
    if (!read)
        return std::unexpected(read.error());
    if (*read == 0)
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
    return platform::WriteAt(handle_, {&value, 1}, offset);
}

std::error_code RomFile::WriteAll(std::span<const std::uint8_t> bytes)
{
    return platform::WriteAt(handle_, bytes, 0);
}

std::expected<std::vector<std::uint8_t>, std::error_code> RomFile::ReadAll()
{
    const auto size = Size();
    if (!size)
        return std::unexpected(size.error());
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(*size));
    const auto read = platform::ReadAt(handle_, bytes, 0);
    if (!read)
        return std::unexpected(read.error());
    // A file cut short while we read is shown as it now is.
    bytes.resize(*read);
    return bytes;
}

// Compared a piece at a time, so that no second copy of the ROM is made.
std::expected<bool, std::error_code> RomFile::Holds(std::span<const std::uint8_t> bytes)
{
    const auto size = Size();
    if (!size)
        return std::unexpected(size.error());
    if (*size != std::ssize(bytes))
        return false;
    std::array<std::uint8_t, 64 * 1024> piece;
    for (std::size_t compared = 0; compared < bytes.size();) {
        const auto wanted = std::span(piece).first(std::min(piece.size(), bytes.size() - compared));
        const auto read = platform::ReadAt(handle_, wanted, static_cast<std::int64_t>(compared));
        if (!read)
            return std::unexpected(read.error());
        if (*read == 0 || !std::ranges::equal(wanted.first(*read), bytes.subspan(compared, *read)))
            return false;
        compared += *read;
    }
    return true;
}

std::expected<std::int64_t, std::error_code> RomFile::Size()
{
    const auto status = Status();
    if (!status)
        return std::unexpected(status.error());
    return status->size;
}

std::expected<FileStatus, std::error_code> RomFile::Status()
{
    return platform::StatusOf(handle_);
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
    const auto status = Status();
    if (!status)
        return status.error();
    return SetPermissions(status->permissions | fs::perms::owner_write);
}

std::error_code RomFile::SetPermissions(fs::perms permissions)
{
    return platform::SetPermissions(handle_, permissions);
}

std::error_code RomFile::SetGroup(std::uint32_t group)
{
    return platform::SetGroup(handle_, group);
}

std::error_code RomFile::SyncToDisk()
{
    return platform::Sync(handle_);
}

std::error_code RomFile::Close()
{
    if (handle_ == platform::noHandle)
        return {};
    return platform::Close(std::exchange(handle_, platform::noHandle));
}
