#pragma once

#include "Platform.h"

#include <cstdint>
#include <expected>
#include <filesystem>
#include <span>
#include <system_error>
#include <vector>

// One open handle on a regular file. Opening never creates or truncates a
// file, and finds out what the path names before it opens it for reading or
// writing: a FIFO, socket, device or folder is refused (RomErrc::notRegularFile)
// without being opened. A write never makes the file longer.
class RomFile {
public:
    using Access = platform::Access;

    static std::expected<RomFile, std::error_code> Open(const std::filesystem::path& path,
                                                         Access access);
    RomFile(RomFile&& other) noexcept;
    RomFile& operator=(RomFile&& other) noexcept;
    ~RomFile();

    std::expected<std::uint8_t, std::error_code> ReadByte(std::int32_t offset);
    std::error_code WriteByte(std::int32_t offset, std::uint8_t value);
    // From the start, growing the file as needed: for new files only.
    std::error_code WriteAll(std::span<const std::uint8_t> bytes);
    // The whole file, as it is now.
    std::expected<std::vector<std::uint8_t>, std::error_code> ReadAll();
    // Whether the file holds exactly `bytes`, read a piece at a time, without
    // a second copy of the whole file.
    std::expected<bool, std::error_code> Holds(std::span<const std::uint8_t> bytes);
    std::expected<std::int64_t, std::error_code> Size();
    std::expected<FileStatus, std::error_code> Status();
    std::expected<FileIdentity, std::error_code> Identity();
    // Lets the owner write the file later; the error is the caller's to weigh.
    std::error_code MakeWritable();
    std::error_code SetPermissions(std::filesystem::perms permissions);
    std::error_code SetGroup(std::uint32_t group);
    // The very same file again, with other access.
    std::expected<RomFile, std::error_code> Reopen(Access access);
    std::error_code SyncToDisk();
    std::error_code Close();

    // A file that did not exist before, never one that did (std::errc::file_exists).
    static std::expected<RomFile, std::error_code> CreateNew(const std::filesystem::path& path,
                                                              std::filesystem::perms permissions);

private:
    explicit RomFile(platform::Handle handle) : handle_(handle) {}
    static std::expected<RomFile, std::error_code> From(std::expected<platform::Handle, std::error_code> handle);

    platform::Handle handle_ = platform::noHandle;
};
