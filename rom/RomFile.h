#pragma once

#include <cstdint>
#include <cstdio>
#include <expected>
#include <filesystem>
#include <memory>
#include <system_error>

// One open handle on a ROM file, positioned anew for every byte. Opening never
// creates or truncates a file, and a write never makes the file longer.
class RomFile {
public:
    enum class Access { read, readWrite };

    static std::expected<RomFile, std::error_code> Open(const std::filesystem::path& path,
                                                         Access access);

    std::expected<std::uint8_t, std::error_code> ReadByte(std::int32_t offset);
    std::error_code WriteByte(std::int32_t offset, std::uint8_t value);
    std::expected<std::int64_t, std::error_code> Size();
    std::error_code SyncToDisk();
    // Closing flushes buffered writes, so its failure is a write failure.
    std::error_code Close();

private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    explicit RomFile(std::FILE* file) : file_(file) {}
    std::error_code SeekTo(std::int32_t offset);

    std::unique_ptr<std::FILE, Closer> file_;
};

// Lets the owner write the file in place later; the error is the caller's to weigh.
std::error_code MakeWritable(const std::filesystem::path& path);
