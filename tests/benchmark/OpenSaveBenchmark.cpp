// Times, against yardsticks in the same run: the window's start-up with and
// without a ROM against a bare Qt window, set in place against a bare atomic
// replace, as whole processes in pairs; Open and Save against a bare read and
// write of the same 2 MiB; and decoding all 251 front pictures. It needs an X
// display of its own (xvfb-run -a), where nothing else maps windows.

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
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

namespace fs = std::filesystem;

namespace {

using enum StarterValue;

using Clock = std::chrono::steady_clock;
using Command = std::vector<std::string>;

constexpr int warmUps = 5;
constexpr int runs = 51;
// Whole processes vary more from run to run.
constexpr int pairs = 101;
constexpr double saveBudgetMs = 20.0;

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> times)
{
    const auto middle = times.begin() + std::ssize(times) / 2;
    std::ranges::nth_element(times, middle);
    return *middle;
}

template <typename Action>
double MedianMs(Action action)
{
    for (int i = 0; i < warmUps; ++i)
        action();
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        action();
        times.push_back(MsSince(start));
    }
    return Median(times);
}

struct Paired {
    double ms;
    double yardstickMs;
    double ratio;
};

// The ratio is the median of each pair's, so that a busy moment weighs on
// both sides of it. Pairs alternate which runs first, so that neither always
// finds the caches as the other left them.
template <typename Timed, typename Yardstick>
Paired PairedMedians(Timed timed, Yardstick yardstick)
{
    for (int i = 0; i < warmUps; ++i) {
        timed();
        yardstick();
    }
    std::vector<double> times, yardstickTimes, ratios;
    for (int i = 0; i < pairs; ++i) {
        const double first = i % 2 == 0 ? timed() : yardstick();
        const double second = i % 2 == 0 ? yardstick() : timed();
        times.push_back(i % 2 == 0 ? first : second);
        yardstickTimes.push_back(i % 2 == 0 ? second : first);
        ratios.push_back(times.back() / yardstickTimes.back());
    }
    return {Median(times), Median(yardstickTimes), Median(ratios)};
}

[[noreturn]] void Fail(const std::string& what, const fs::path& path)
{
    throw std::runtime_error(what + " " + path.string());
}

extern "C" char** environ;

pid_t Start(const Command& command)
{
    std::vector<char*> arguments;
    for (const std::string& word : command)
        arguments.push_back(const_cast<char*>(word.c_str()));
    arguments.push_back(nullptr);
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&quiet, STDOUT_FILENO, STDERR_FILENO);
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, arguments.front(), &quiet, nullptr, arguments.data(), environ);
    posix_spawn_file_actions_destroy(&quiet);
    if (failed != 0)
        Fail("cannot start", command.front());
    return pid;
}

// From the start of the command to its end, which must be a success.
double MsToExit(const Command& command)
{
    const auto start = Clock::now();
    int status = 0;
    waitpid(Start(command), &status, 0);
    const double ms = MsSince(start);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        Fail("failed:", command.front());
    return ms;
}

// Sees every top-level window mapped on the display.
class Display {
public:
    Display() : connection_(xcb_connect(nullptr, nullptr))
    {
        if (xcb_connection_has_error(connection_) != 0)
            throw std::runtime_error("no X display: run it under xvfb-run -a");
        const std::uint32_t events = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        free(xcb_request_check(connection_, xcb_change_window_attributes_checked(connection_, root,
                                                                                  XCB_CW_EVENT_MASK, &events)));
    }
    ~Display() { xcb_disconnect(connection_); }
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    // From the start of the command to its first window on the screen.
    double MsToWindow(const Command& command)
    {
        const auto start = Clock::now();
        const pid_t pid = Start(command);
        const bool mapped = AwaitWindow();
        const double ms = MsSince(start);
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        if (!mapped)
            Fail("no window within 20 s from", command.front());
        return ms;
    }

private:
    // Menus and tooltips bypass the window manager; a program's window does not.
    bool AwaitWindow()
    {
        pollfd readable{xcb_get_file_descriptor(connection_), POLLIN, 0};
        for (;;) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
                const bool window = (event->response_type & 0x7F) == XCB_MAP_NOTIFY
                                 && !reinterpret_cast<xcb_map_notify_event_t*>(event)->override_redirect;
                free(event);
                if (window)
                    return true;
            }
            if (poll(&readable, 1, 20'000) <= 0)
                return false;
        }
    }

    xcb_connection_t* connection_;
};

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

void PrintProcessRow(const char* name, Paired paired, const char* yardstick, double goal)
{
    std::printf("%-21s %8.2f   %-15s %8.2f   %5.2f   %5.2f\n", name, paired.ms, yardstick, paired.yardstickMs,
                paired.ratio, goal);
}

// The window's settings and recent ROMs go to the scratch folder, not the user's.
void TimeProcesses(const ScratchFolder& scratch, const fs::path& rom, const fs::path& bare)
{
    setenv("XDG_CONFIG_HOME", scratch.File("config").c_str(), 1);
    unsetenv("QT_QPA_PLATFORM");
    Display display;
    const auto window = [&](const Command& command) { return [&display, command] { return display.MsToWindow(command); }; };
    const auto bareWindow = window({BARE_WINDOW});
    const Paired startUp = PairedMedians(window({TIDEWELL_WINDOW}), bareWindow);
    const Paired startUpWithRom = PairedMedians(window({TIDEWELL_WINDOW, rom}), bareWindow);
    int sets = 0;
    const Paired set = PairedMedians(
        [&] { return MsToExit({TIDEWELL_CLI, "set", rom, "--ball1", sets++ % 2 ? "1" : "4", "--quiet"}); },
        [&] { return MsToExit({BARE_REPLACE, bare}); });

    std::printf("Whole processes: medians of %d runs of each, in pairs, after %d warm-ups; the ratio is the\n"
                "median of the pairs' ratios\n\n", pairs, warmUps);
    std::printf("%-21s %8s   %-15s %8s   %5s   %5s\n", "", "ms", "yardstick", "ms", "ratio", "goal");
    PrintProcessRow("Start-up", startUp, "bare Qt window", 1.15);
    PrintProcessRow("Start-up with a ROM", startUpWithRom, "bare Qt window", 1.15);
    PrintProcessRow("Save (set in place)", set, "bare replace", 1.5);
    std::printf("\n");
}

void Run()
{
    ScratchFolder scratch;
    const Bytes image = MakeGameRom("BYTE");
    const fs::path rom = scratch.Write("rom.gbc", image);
    const fs::path bare = scratch.Write("bare.gbc", image);
    TimeProcesses(scratch, rom, bare);

    Bytes buffer(image.size());
    const double openMs = MedianMs([&] { Opened(rom); });
    const double readMs = MedianMs([&] { ReadWhole(bare, buffer); });

    RomDocument opened = Opened(rom);
    const StarterSettings sets[] = {SettingsOf(KantoSelection), SettingsOf(DefaultSelection)};
    int saves = 0;
    const double saveMs = MedianMs([&] { Save(opened, sets[saves++ % 2]); });
    const double writeMs = MedianMs([&] { WriteWholeAndSync(bare, image); });

    std::printf("In the process, 2 MiB Crystal ROM in %s, median of %d runs after %d warm-ups\n\n",
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
