#pragma once

#include <cstdint>
#include <expected>
#include <filesystem>
#include <span>
#include <system_error>
#include <vector>

// Which file a handle is on, whatever path led there.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// One open handle on a regular file. Opening never creates or truncates a
// file and never waits: a FIFO, socket, device or folder is refused
// (RomErrc::notRegularFile). A write never makes the file longer.
class RomFile {
public:
    enum class Access { read, readWrite };

    static std::expected<RomFile, std::error_code> Open(const std::filesystem::path& path,
                                                         Access access);
    RomFile(RomFile&& other) noexcept;
    RomFile& operator=(RomFile&& other) noexcept;
    ~RomFile();

    std::expected<std::uint8_t, std::error_code> ReadByte(std::int32_t offset);
    std::error_code WriteByte(std::int32_t offset, std::uint8_t value);
    // The whole file, as it is now.
    std::expected<std::vector<std::uint8_t>, std::error_code> ReadAll();
    std::expected<std::int64_t, std::error_code> Size();
    std::expected<FileIdentity, std::error_code> Identity();
    std::expected<std::filesystem::perms, std::error_code> Permissions();
    std::error_code SyncToDisk();
    std::error_code Close();

private:
    friend std::expected<FileIdentity, std::error_code>
    WriteFileAtomically(const std::filesystem::path&, std::span<const std::uint8_t>,
                        std::filesystem::perms);
    explicit RomFile(int descriptor) : descriptor_(descriptor) {}

    int descriptor_ = -1;
};

// Lets the owner write the file in place later; the error is the caller's to weigh.
std::error_code MakeWritable(const std::filesystem::path& path);

// Writes a whole new file under `target`: first into a temporary file beside
// it, synced, then renamed into place, so that `target` either keeps what it
// had or holds all of `bytes`. Nothing is left behind on failure. The result
// names the new file.
std::expected<FileIdentity, std::error_code>
WriteFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes,
                    std::filesystem::perms permissions);
