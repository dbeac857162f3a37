// Times Open and Save on a 2 MiB Crystal-shaped ROM against a bare read and a
// bare write of the same 2 MiB, and decoding all 251 front pictures.

#include "FrontPicture.h"
#include "GameIdentification.h"
#include "GameImage.h"
#include "RomImage.h"
#include "RomContents.h"
#include "RomDocument.h"
#include "SavePlan.h"
#include "StarterSettings.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <exception>
#include <fcntl.h>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using enum StarterValue;

constexpr int warmUps = 5;
constexpr int runs = 51;
constexpr double saveBudgetMs = 20.0;

template <typename Action>
double MedianMs(Action action)
{
    for (int i = 0; i < warmUps; ++i)
        action();
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        action();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    const auto middle = times.begin() + runs / 2;
    std::ranges::nth_element(times, middle);
    return *middle;
}

[[noreturn]] void Fail(const std::string& what, const fs::path& path)
{
    throw std::runtime_error(what + " " + path.string());
}

void ReadWhole(const fs::path& path, Bytes& into)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        Fail("cannot open", path);
    for (std::size_t filled = 0; filled < into.size();) {
        const ssize_t got = read(fd, into.data() + filled, into.size() - filled);
        if (got <= 0)
            Fail("cannot read", path);
        filled += static_cast<std::size_t>(got);
    }
    close(fd);
}

void WriteWholeAndSync(const fs::path& path, const Bytes& bytes)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        Fail("cannot open", path);
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
        if (written <= 0)
            Fail("cannot write", path);
        done += static_cast<std::size_t>(written);
    }
    if (fsync(fd) != 0)
        Fail("cannot sync", path);
    close(fd);
}

// Bulbasaur, Charmander and Squirtle at level 10 holding a Master Ball, so that
// every species, its question and the check data differ from the defaults.
constexpr std::array<ValueByte, StarterValueCount> KantoSelection{{
    {poke1, 1}, {poke2, 4}, {poke3, 7},
    {lvl1, 10}, {lvl2, 10}, {lvl3, 10},
    {item1, 1}, {item2, 1}, {item3, 1},
    {rlvl1, 10}, {rlvl2, 10}, {rlvl3, 10},
    {rival1, 4}, {rival2, 7}, {rival3, 1},
}};

StarterSettings SettingsOf(std::span<const ValueByte> selection)
{
    StarterSettings values;
    for (const auto& [value, byte] : selection)
        values[value] = byte;
    return values;
}

RomDocument Opened(const fs::path& rom)
{
    auto opened = RomDocument::Open(rom);
    if (!opened)
        Fail("cannot open the ROM", rom);
    return *std::move(opened);
}

void Save(RomDocument& rom, const StarterSettings& values)
{
    const auto saved = rom.Save(values, SaveOptions{});
    if (!saved)
        Fail("cannot save", rom.Path());
    if (saved->edits.empty())
        Fail("Save changed nothing in", rom.Path());
}

void PrintRow(const char* name, double ms, const char* bareName, double bareMs)
{
    std::printf("%-6s %9.3f   %-12s %9.3f   %7.2f\n", name, ms, bareName, bareMs, ms / bareMs);
}

void Run()
{
    ScratchFolder scratch;
    const Bytes image = MakeGameRom("BYTE");
    const fs::path rom = scratch.Write("rom.gbc", image);
    const fs::path bare = scratch.Write("bare.gbc", image);

    Bytes buffer(image.size());
    const double openMs = MedianMs([&] { Opened(rom); });
    const double readMs = MedianMs([&] { ReadWhole(bare, buffer); });

    RomDocument opened = Opened(rom);
    const StarterSettings sets[] = {SettingsOf(KantoSelection), SettingsOf(DefaultSelection)};
    int saves = 0;
    const double saveMs = MedianMs([&] { Save(opened, sets[saves++ % 2]); });
    const double writeMs = MedianMs([&] { WriteWholeAndSync(bare, image); });

    std::printf("2 MiB Crystal ROM in %s, median of %d runs after %d warm-ups\n\n",
                rom.parent_path().string().c_str(), runs, warmUps);
    std::printf("%-6s %9s   %-12s %9s   %7s\n", "", "ms", "bare", "ms", "ratio");
    PrintRow("Open", openMs, "read 2 MiB", readMs);
    PrintRow("Save", saveMs, "write+fsync", writeMs);
    const double picturesMs = MedianMs([&] {
        for (int species = 1; species <= 251; ++species)
            if (!FrontPictureOf(image, *IdentifyGame("BYTE")->layout, static_cast<std::uint8_t>(species)))
                Fail("no picture in", rom);
    });
    // What the web page does with a ROM it holds in memory, for a fair comparison.
    const double inMemoryMs = MedianMs([&] {
        if (!ReadRomContents(image) || !PlanSave(image, sets[saves++ % 2], SaveOptions{}))
            Fail("cannot check and plan in memory", rom);
    });
    std::printf("\nOpen+Save in memory (check, plan, new image) %.3f ms\n", inMemoryMs);
    std::printf("\n251 front pictures %.3f ms, %.2f us a picture\n", picturesMs, picturesMs * 1000 / 251);
    std::printf("\nSave %s under %.0f ms (%.3f ms)\n", saveMs < saveBudgetMs ? "stays" : "does NOT stay",
                saveBudgetMs, saveMs);
}

} // namespace

int main()
{
    try {
        Run();
        return 0;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "tidewell_benchmark: %s\n", failure.what());
        return 1;
    }
}
