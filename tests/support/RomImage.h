#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::size_t RomSize = 2 * 1024 * 1024;

// ROM-shaped contents: a varied byte pattern, so that a stray write shows,
// with the given game code in the header.
Bytes MakeRom(std::string_view code, std::size_t size = RomSize);

Bytes ReadAll(const std::filesystem::path& path);
void WriteAll(const std::filesystem::path& path, const Bytes& bytes);

// A fresh temporary folder, removed with everything in it at the end.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::filesystem::path File(std::string_view name) const { return root_ / name; }
    std::filesystem::path Write(std::string_view name, const Bytes& bytes) const;

private:
    std::filesystem::path root_;
};

// While alive, the process acts as an ordinary user when it runs as root, so
// that file permissions mean for it what they mean for a user. Files created
// before stay owned by their creator.
class AsOrdinaryUser {
public:
    AsOrdinaryUser();
    ~AsOrdinaryUser();
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;

    static bool RunningAsRoot();

private:
    bool switched_ = false;
};
