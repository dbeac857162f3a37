#include "ExpectedOffsets.h"
#include "ExpectedSave.h"
#include "FrontPicture.h"
#include "GameImage.h"
#include "PatchReader.h"
#include "RomImage.h"
#include "RomDocument.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <png.h>

#include <array>
#include <chrono>
#include <cstring>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <random>
#include <spawn.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using enum StarterValue;

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string TextOf(std::FILE* file)
{
    std::rewind(file);
    std::string text;
    for (int c; (c = std::fgetc(file)) != EOF;)
        text += static_cast<char>(c);
    std::fclose(file);
    return text;
}

// Runs the built tidewell-cli, or a copy of it; its output goes through
// unnamed temporary files, which any user can write.
CliRun RunCli(std::vector<std::string> arguments, const fs::path& program = TIDEWELL_CLI)
{
    arguments.insert(arguments.begin(), program);
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fileno(out), 1);
    posix_spawn_file_actions_adddup2(&actions, fileno(err), 2);
    pid_t child = 0;
    CliRun outcome;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        waitpid(child, &status, 0);
        outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    outcome.out = TextOf(out);
    outcome.err = TextOf(err);
    return outcome;
}

StarterSettings GameDefaults()
{
    StarterSettings values;
    for (const auto& [value, byte] : DefaultSelection)
        values[value] = byte;
    return values;
}

StarterSettings With(StarterSettings values, const std::vector<ValueByte>& changes)
{
    for (const auto& [value, byte] : changes)
        values[value] = byte;
    return values;
}

class CliTest : public ::testing::Test {
protected:
    // Journals of saves in place go to a folder of the test's own.
    CliTest() { setenv("XDG_STATE_HOME", state.File("").c_str(), 1); }

    fs::path Crystal() const { return scratch.Write("rom.gbc", MakeGameRom("BYTE")); }

    fs::path Rom(const char* code, const StarterSettings& values) const
    {
        return scratch.Write("rom.gbc", WithValuesAtReadOffsets(MakeGameRom(code), OffsetsFor(code), values));
    }

    ScratchFolder scratch;
    ScratchFolder state;
};

TEST_F(CliTest, ShowPrintsTheGameAndAnAlignedTable)
{
    const CliRun shown = RunCli({"show", Crystal()});
    EXPECT_EQ(shown.status, 0);
    EXPECT_EQ(shown.err, "");
    EXPECT_EQ(shown.out,
              "Pokémon Crystal (BYTE, English)\n"
              "\n"
              "                   Species                Level  Item\n"
              "Poké Ball 1        Cyndaquil (155, 0x9B)  5      Berry (173, 0xAD)\n"
              "Poké Ball 2        Totodile (158, 0x9E)   5      Berry (173, 0xAD)\n"
              "Poké Ball 3        Chikorita (152, 0x98)  5      Berry (173, 0xAD)\n"
              "Rival's starter 1  Totodile (158, 0x9E)   5\n"
              "Rival's starter 2  Chikorita (152, 0x98)  5\n"
              "Rival's starter 3  Cyndaquil (155, 0x9B)  5\n");
}

TEST_F(CliTest, ShowPrintsJsonWithNumbersAndNames)
{
    // 253 is past the species catalogue, 183 past the levels the editor takes.
    const fs::path rom =
        Rom("AAUE", With(GameDefaults(), {{poke1, 162}, {lvl1, 183}, {item3, 218}, {rival3, 253}}));
    const CliRun shown = RunCli({"show", "--json", rom});
    ASSERT_EQ(shown.status, 0) << shown.err;
    const auto json = nlohmann::json::parse(shown.out);
    EXPECT_EQ(json["game"],
              nlohmann::json::parse(R"({"code": "AAUE", "name": "Pokémon Gold", "language": "English"})"));
    EXPECT_EQ(json["ball1"]["species"], nlohmann::json::parse(R"({"number": 162, "name": "Furret"})"));
    EXPECT_EQ(json["ball1"]["level"], 183);
    EXPECT_EQ(json["ball3"]["item"], nlohmann::json::parse(R"({"number": 218, "name": "TM27"})"));
    EXPECT_EQ(json["rival3"]["species"], nlohmann::json::parse(R"({"number": 253, "name": null})"));
    EXPECT_EQ(json["rival3"]["level"], 5);
    EXPECT_FALSE(json["rival1"].contains("item"));
}

TEST_F(CliTest, SetTakesNamesInAnyCaseAndNumbers)
{
    const std::pair<std::vector<std::string>, std::vector<ValueByte>> cases[] = {
        {{"--ball1", "totodile"}, {{poke1, 158}}},
        {{"--ball2", "0x19,12,poke ball"}, {{poke2, 25}, {lvl2, 12}, {item2, 5}}},
        {{"--ball3", ",50"}, {{lvl3, 50}}},
        {{"--ball1", ",,POKÉ BALL"}, {{item1, 5}}},
        {{"--rival1", "cHIKORITA,7"}, {{rival1, 152}, {rlvl1, 7}}},
        {{"--rival3", "251"}, {{rival3, 251}}},
    };
    for (const auto& [options, changes] : cases) {
        const fs::path rom = Crystal();
        std::vector<std::string> arguments{"set", rom};
        arguments.insert(arguments.end(), options.begin(), options.end());
        const CliRun set = RunCli(arguments);
        EXPECT_EQ(set.status, 0) << options[1];
        EXPECT_EQ(set.err, "") << options[1];
        EXPECT_EQ(RomDocument::Open(rom)->Values(), With(GameDefaults(), changes)) << options[1];
    }
}

TEST_F(CliTest, ListsAndMatchesNamesAndSuggestsTheNearest)
{
    const std::tuple<std::vector<std::string>, int, std::string, std::uint8_t> cases[] = {
        {{"list", "species"}, 0, "  0  ?????\n  1  Bulbasaur\n", 155},
        {{"list", "items", "--json"}, 0, "\"number\": 173,\n    \"name\": \"Berry\"", 155},
        {{"set", "ROM", "--ball1", "nidoran f"}, 0, "", 29},
        {{"set", "ROM", "--ball1", "NIDORANF"}, 0, "", 29},
        {{"set", "ROM", "--ball1", "Nidoran (m)"}, 0, "", 32},
        {{"set", "ROM", "--ball1", "mr mime"}, 0, "", 122},
        {{"set", "ROM", "--ball1", "nidoran"}, 1, "(did you mean \"Nidoran (f)\" or \"Nidoran (m)\"?)", 155},
        {{"set", "ROM", "--ball1", "pikachoo"}, 1, "no species is named \"pikachoo\" (did you mean \"Pikachu\"?)", 155},
        {{"set", "ROM", "--ball1", ",,pokebal"}, 1, "no item is named \"pokebal\" (did you mean \"Poké Ball\"?)", 155},
        {{"--version"}, 0, "tidewell-cli " PROJECT_VERSION "\n", 155},
        {{"show", "--help"}, 0, "Print the game and its fifteen starter values\n", 155},
    };
    for (auto [arguments, status, text, species] : cases) {
        const fs::path rom = Crystal();
        std::ranges::replace(arguments, std::string("ROM"), rom.string());
        const CliRun run = RunCli(arguments);
        EXPECT_EQ(run.status, status) << arguments.back();
        EXPECT_NE((run.out + run.err).find(text), std::string::npos) << run.out << run.err;
        EXPECT_EQ(RomDocument::Open(rom)->Values()[poke1], species) << arguments.back();
    }
}

TEST(CliUsage, MistakesSayWhatWasWrongWhatWouldBeRightAndWhereHelpIs)
{
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, "give a command: show, set, list or picture. See tidewell-cli --help."},
        {{"shwo", "rom.gbc"}, "no command is named \"shwo\" (did you mean \"show\"?). See tidewell-cli --help."},
        {{"set", "rom.gbc", "--ball1"},
         "--ball1 needs a value, such as --ball1 pikachu,10,leftovers. See tidewell-cli set --help."},
        {{"set", "rom.gbc", "--ball4", "pikachu"},
         "set has no option --ball4 (did you mean \"--ball1\", \"--ball2\" or \"--ball3\"?). "
         "See tidewell-cli set --help."},
        {{"--jsno", "show", "rom.gbc"},
         "tidewell-cli has no option --jsno (did you mean \"--help\"?). See tidewell-cli --help."},
        {{"list", "pokemon"}, "list takes species or items, not \"pokemon\". See tidewell-cli list --help."},
    };
    for (const auto& [arguments, message] : cases) {
        const CliRun run = RunCli(arguments);
        EXPECT_EQ(run.status, 1) << message;
        EXPECT_EQ(run.err, "tidewell-cli: " + message + "\n");
    }
}

TEST_F(CliTest, DefaultsComeBeforeTheOptions)
{
    const fs::path rom = Rom("AAXE", Numbered(3));
    const CliRun set = RunCli({"set", rom, "--ball1", ",9", "--defaults"});
    ASSERT_EQ(set.status, 0);
    EXPECT_EQ(set.out, "Wrote the starters to " + rom.string() + ".\n");
    EXPECT_EQ(RomDocument::Open(rom)->Values(), With(GameDefaults(), {{lvl1, 9}}));
    const CliRun again = RunCli({"set", rom, "--ball1", ",9"});
    EXPECT_EQ(again.out, "The ROM already holds these starters; nothing was written.\n");
}

TEST_F(CliTest, RefusalsSayWhyOnOneLineWithTheirExitStatus)
{
    Bytes changedScript = MakeGameRom("BYTU");
    changedScript.at(OffsetsFor("BYTU").at(poke1).front() - 1) = 0x2E;
    const fs::path rom = Crystal();
    const fs::path unsupported = scratch.Write("unsupported.gbc", MakeRom("AAAA"));
    const fs::path unknown = scratch.Write("unknown.gbc", changedScript);
    const fs::path missing = scratch.File("missing.gbc");
    const std::tuple<std::vector<std::string>, int, std::string> cases[] = {
        {{"set", rom, "--ball4", "x"}, 1, "--ball4"},
        {{"set", rom}, 1, "tidewell-cli: set: give at least one value to change, or --defaults."},
        {{"set", rom, "--ball1", ",101"}, 1, "tidewell-cli: --ball1: \"101\" is not a level from 0 to 100."},
        {{"set", rom, "--ball1", ",,?????"}, 1,
         "tidewell-cli: --ball1: \"?????\" names more than one item: give its number instead."},
        {{"set", rom, "--rival1", "mew,5,berry"}, 1, "at most 2 values"},
        {{"set", rom, "--bps", "a.bps", "--ips", "a.ips"}, 1, "excludes"},
        {{"show", unsupported}, 2, "tidewell-cli: " + unsupported.string() + ": Unsupported ROM.\nTidewell supports "
         "the English Pokémon Gold (AAUE), Pokémon Silver (AAXE) and Pokémon Crystal 1.0 and 1.1 (BYTE), and the "
         "Australian Pokémon Crystal (BYTU).\n"},
        {{"set", unknown, "--ball1", "mew"}, 2,
         "tidewell-cli: " + unknown.string() + ": This ROM does not keep its starters where Pokémon Crystal"
         " does, so Tidewell cannot change them safely."},
        {{"set", missing, "--ball1", "mew"}, 3,
         "tidewell-cli: " + missing.string() + ": No such file or directory."},
    };
    const Bytes original = ReadAll(rom);
    for (const auto& [arguments, status, reason] : cases) {
        const CliRun refused = RunCli(arguments);
        EXPECT_EQ(refused.status, status) << reason;
        EXPECT_NE(refused.err.find(reason), std::string::npos) << refused.err;
        EXPECT_EQ(std::ranges::count(refused.err, '\n'), 1 + (arguments[1] == unsupported.string())) << refused.err;
    }
    EXPECT_EQ(ReadAll(rom), original);
    EXPECT_FALSE(fs::exists(missing));
}

TEST_F(CliTest, UnwritableFolderIsAnInputOutputFailure)
{
    const fs::path rom = Crystal();
    const fs::path locked = scratch.File("locked");
    fs::create_directory(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read
                                | fs::perms::others_exec);
    const fs::path copy = locked / "copy.gbc";
    // The build folder may sit where only its owner can reach it.
    const fs::path program = scratch.File("tidewell-cli");
    fs::copy_file(TIDEWELL_CLI, program);
    AsOrdinaryUser user;
    const CliRun refused = RunCli({"set", rom, "--ball1", "mew", "--output", copy}, program);
    EXPECT_EQ(refused.status, 3);
    EXPECT_EQ(refused.err, "tidewell-cli: " + copy.string() + ": Permission denied.\n");
}

TEST_F(CliTest, EveryWayToWriteGivesTheBytesTheEditorSaves)
{
    const Bytes original = MakeGameRom("BYTE");
    const fs::path editor = scratch.Write("editor.gbc", original);
    auto opened = RomDocument::Open(editor);
    ASSERT_TRUE(opened);
    const auto chosen = With(opened->Values(), {{poke1, 25}, {lvl1, 12}, {item1, 0x12}, {rival2, 25}});
    ASSERT_TRUE(opened->Save(chosen, {}));
    const Bytes saved = ReadAll(editor);
    ASSERT_EQ(saved, ExpectedAfterSave(original, "BYTE", chosen)) << "what the window's own tests expect of a Save";

    const std::vector<std::string> change{"--ball1", "pikachu,12,potion", "--rival2", "0x19"};
    const auto patched = [&](auto apply) {
        return [&, apply](const fs::path& file) { return apply(original, ReadAll(file)).value_or(Bytes{}); };
    };
    const std::tuple<const char*, const char*, std::function<Bytes(const fs::path&)>> ways[] = {
        {"", "in-place.gbc", [](const fs::path& file) { return ReadAll(file); }},
        {"--output", "copy.gbc", [](const fs::path& file) { return ReadAll(file); }},
        {"--bps", "rom.bps", patched(ApplyBps)},
        {"--ips", "rom.ips", patched(ApplyIps)},
    };
    for (const auto& [option, file, result] : ways) {
        const fs::path rom = scratch.Write("rom.gbc", original);
        std::vector<std::string> arguments{"set", rom};
        arguments.insert(arguments.end(), change.begin(), change.end());
        fs::path written = rom;
        if (*option) {
            written = scratch.File(file);
            arguments.insert(arguments.end(), {option, written});
        }
        const CliRun set = RunCli(arguments);
        ASSERT_EQ(set.status, 0) << option << set.err;
        EXPECT_EQ(result(written), saved) << option;
        if (*option) {
            EXPECT_EQ(ReadAll(rom), original) << option;
        }
    }
}

TEST_F(CliTest, NotesAQuestionItLeftAsItWas)
{
    Bytes game = MakeGameRom("BYTE");
    game.at(LabTextOffset("BYTE", 2)) = 0x01;
    const fs::path rom = scratch.Write("rom.gbc", game);
    const CliRun set = RunCli({"set", rom, "--ball2", "pikachu"});
    EXPECT_EQ(set.status, 0);
    EXPECT_EQ(set.err,
              "tidewell-cli: " + rom.string() + ": Elm's question for Poké Ball 2 was left as it was.\n");
    EXPECT_EQ(RomDocument::Open(rom)->Values()[poke2], 25);
}

TEST_F(CliTest, NoLabTextKeepsElmsQuestions)
{
    const fs::path rom = Crystal();
    const auto question = [&] {
        const Bytes bytes = ReadAll(rom);
        const auto start = bytes.begin() + static_cast<std::ptrdiff_t>(LabTextOffset("BYTE", 1));
        return Bytes(start, start + 43);
    };
    const Bytes before = question();
    ASSERT_EQ(RunCli({"set", rom, "--ball1", "pikachu", "--no-lab-text"}).status, 0);
    EXPECT_EQ(question(), before);
    EXPECT_EQ(RomDocument::Open(rom)->Values()[poke1], 25);
}

TEST_F(CliTest, PictureWritesTheDecodersPixelsInTheRomsColours)
{
    const fs::path rom = Crystal();
    const fs::path png = scratch.Write("pikachu.png", {1, 2, 3});
    const CliRun written = RunCli({"picture", rom, "Pikachu", "--output", png, "--shiny"});
    ASSERT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(written.out, "Wrote the picture of Pikachu to " + png.string() + ".\n");
    EXPECT_EQ(RunCli({"picture", rom, "0", "--output", png}).status, 1);

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, png.c_str()));
    image.format = PNG_FORMAT_RGB;
    Bytes rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    const Bytes bytes = ReadAll(rom);
    const auto picture = FrontPictureOf(bytes, *IdentifyGame("BYTE")->layout, 25);
    const Palette palette = PalettesOf(bytes, *IdentifyGame("BYTE")->layout, 25)->shiny;
    ASSERT_EQ(rgb.size(), picture->indices.size() * 3);
    for (std::size_t i = 0; i < picture->indices.size(); ++i)
        ASSERT_EQ((Rgb{rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]}), palette[picture->indices[i]]) << i;
}

} // namespace

namespace {

// Starts the tool, or another program, with the given arguments and a
// file-size limit, its output going to `out`.
pid_t StartCli(const std::vector<std::string>& arguments, rlim_t fileSizeLimit = RLIM_INFINITY,
               const char* program = TIDEWELL_CLI, const char* out = "/dev/null")
{
    const pid_t child = fork();
    if (child == 0) {
        const rlimit limit{fileSizeLimit, fileSizeLimit};
        setrlimit(RLIMIT_FSIZE, &limit);
        dup2(open(out, O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
        std::vector<char*> argv{const_cast<char*>(program)};
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return child;
}

// The status a process exited with; -1 when a signal ended it.
int CleanExitOf(pid_t child)
{
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Waits until the watched file has seen `events` events, or `milliseconds` have passed.
void AwaitEvents(int watch, int events, int milliseconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    std::array<char, 4096> buffer{};
    for (pollfd ready{watch, POLLIN, 0}; events > 0;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0)
            return;
        events -= static_cast<int>(read(watch, buffer.data(), buffer.size()) / sizeof(inotify_event));
    }
}

int ExitOf(pid_t child)
{
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::size_t FilesIn(const fs::path& folder)
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

} // namespace

// Each run is killed at a random moment, or as soon as the ROM file is first
// written to, if that comes first: the moment a write in place is half done.
// Through a second link the tool writes in place (some 570 single bytes, in
// a few milliseconds), and is killed at a random moment after the first;
// opening the ROM again puts back what a journal holds.
TEST_F(CliTest, KilledAtAnyMomentTheRomIsTheOldOrTheNew)
{
    const Bytes old = MakeGameRom("BYTE");
    const fs::path rom = scratch.Write("rom.gbc", old);
    const std::vector<std::string> arguments{"set", rom, "--ball1", "pikachu", "--rival2", "mew"};
    ASSERT_EQ(ExitOf(StartCli(arguments)), 0);
    const Bytes changed = ReadAll(rom);
    std::mt19937 random(12345);
    for (int run = 0; run < 120; ++run) {
        const bool linked = run >= 60;
        WriteAll(rom, old);
        if (linked && run == 60)
            fs::create_hard_link(rom, scratch.File("link.gbc"));
        const int watch = inotify_init1(IN_CLOEXEC);
        inotify_add_watch(watch, rom.c_str(), IN_MODIFY);
        const pid_t child = StartCli(arguments);
        AwaitEvents(watch, 1, linked ? 3000 : static_cast<int>(random() % 40));
        if (linked)
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 8000));
        kill(child, SIGKILL);
        ExitOf(child);
        close(watch);
        ASSERT_EQ(RunCli({"show", rom}).status, 0) << "run " << run;
        const Bytes now = ReadAll(rom);
        ASSERT_TRUE(now == old || now == changed) << "run " << run;
    }
}

// The window takes termination signals in its event loop. A process made the
// same way, with idle threads beside it, saves a hard-linked ROM until SIGTERM.
TEST_F(CliTest, ATerminationSignalWaitsForTheSaveUnderWayBesideOtherThreads)
{
    // Saved once each way, the ROM holds check data of Tidewell's making.
    const fs::path rom = Crystal();
    ASSERT_EQ(RunCli({"set", rom, "--ball1", "pikachu", "--no-rival-teams"}).status, 0);
    const Bytes changed = ReadAll(rom);
    ASSERT_EQ(RunCli({"set", rom, "--ball1", "cyndaquil", "--no-rival-teams"}).status, 0);
    const Bytes old = ReadAll(rom);
    fs::create_hard_link(rom, scratch.File("link.gbc"));
    std::mt19937 random(54321);
    for (int run = 0; run < 30; ++run) {
        WriteAll(rom, old);
        const int watch = inotify_init1(IN_CLOEXEC);
        inotify_add_watch(watch, rom.c_str(), IN_MODIFY);
        const pid_t child = StartCli({rom}, RLIM_INFINITY, SAVE_UNTIL_SIGNALLED);
        AwaitEvents(watch, 1 + static_cast<int>(random() % 60), 3000);
        kill(child, SIGTERM);
        EXPECT_EQ(CleanExitOf(child), 128 + SIGTERM) << "run " << run;
        close(watch);
        const Bytes now = ReadAll(rom);
        ASSERT_TRUE(now == old || now == changed) << "run " << run;
    }
}

// Each signal comes once the tool has opened the ROM: a termination signal
// waits until the outcome is printed, then ends the tool with 128 + its
// number; the signals Tidewell does not use are ignored.
TEST_F(CliTest, SignalsWaitUntilTheOutcomeIsPrinted)
{
    const fs::path out = scratch.File("out.txt");
    for (const auto& [signal, status] : {std::pair{SIGINT, 130}, {SIGTERM, 143}, {SIGHUP, 129}, {SIGQUIT, 131},
                                         {SIGUSR1, 0}, {SIGALRM, 0}}) {
        const fs::path rom = Crystal();
        fs::remove(scratch.File("link.gbc"));
        fs::create_hard_link(rom, scratch.File("link.gbc"));
        const int watch = inotify_init1(IN_CLOEXEC);
        inotify_add_watch(watch, rom.c_str(), IN_OPEN);
        const pid_t child = StartCli({"set", rom, "--ball1", "pikachu"}, RLIM_INFINITY, TIDEWELL_CLI, out.c_str());
        AwaitEvents(watch, 1, 3000);
        kill(child, signal);
        EXPECT_EQ(CleanExitOf(child), status) << strsignal(signal);
        close(watch);
        EXPECT_EQ(TextOf(std::fopen(out.c_str(), "r")), "Wrote the starters to " + rom.string() + ".\n");
        EXPECT_EQ(RomDocument::Open(rom)->Values()[poke1], 25);
    }
}

// A save finds leftovers of saves cut short beside the ROM: only Tidewell's
// own, settled ones go. The folder's sync then fails, or the tool ends there.
TEST_F(CliTest, ASaveRemovesItsOwnLeftoversAndSaysWhenTheFolderIsNotSynced)
{
    const Bytes old = MakeGameRom("BYTE");
    const struct {
        const char* name;
        Bytes bytes;
        bool settled;
    } leftovers[] = {{".tw00000001", old, true}, {".tw00000002", old, false}, {".tw00000003", {1, 2, 3}, true},
                     {".tw0000004", old, true}};
    const struct {
        const char* fault;
        int status;
        std::string error;
    } cases[] = {
        {"none", 0, ""},
        {"fail", 3, "Input/output error. The ROM holds the new starters, but the system could not confirm that "
                    "they reached the disk.\n"},
        {"crash", 99, ""},
    };
    for (const auto& [fault, status, error] : cases) {
        SCOPED_TRACE(fault);
        const fs::path rom = Crystal();
        for (const auto& [name, bytes, settled] : leftovers) {
            WriteAll(scratch.File(name), bytes);
            if (settled)
                fs::last_write_time(scratch.File(name), fs::file_time_type::clock::now() - std::chrono::minutes(2));
        }
        setenv("LD_PRELOAD", FOLDER_SYNC_FAULT, 1);
        setenv("TIDEWELL_TEST_FOLDER_SYNC", fault, 1);
        const CliRun set = RunCli({"set", rom, "--ball1", "pikachu"});
        unsetenv("LD_PRELOAD");
        EXPECT_EQ(set.status, status);
        EXPECT_TRUE(set.err.ends_with(error)) << set.err;
        EXPECT_EQ(RomDocument::Open(rom)->Values()[poke1], 25);
        EXPECT_FALSE(fs::exists(scratch.File(".tw00000001")));
        EXPECT_EQ(FilesIn(rom.parent_path()), 4u) << "the others stay, the old image is gone";
        fs::remove(scratch.File(".tw00000002"));
    }
}

// Root only: a ROM bound over another file's name, and a ROM in a folder that
// keeps every name, cannot be swapped, so they are written in place; a copy
// there is refused before a temporary file is made.
TEST_F(CliTest, AMountPointOrAnAppendOnlyFolderIsWrittenInPlace)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "bind mounts and append-only folders need root";
    fs::create_directory(scratch.File("kept"));
    const fs::path rom = scratch.Write("kept/rom.gbc", MakeGameRom("BYTE"));
    const fs::path bound = scratch.Write("bound.gbc", {});
    if (std::system(("mount --bind " + rom.string() + " " + bound.string()).c_str()) != 0)
        GTEST_SKIP() << "this machine cannot bind-mount a file";
    const bool appendOnly = std::system(("chattr +a " + rom.parent_path().string()).c_str()) == 0;
    for (const auto& [path, species] : {std::pair{bound, 25}, {rom, 151}}) {
        const CliRun set = RunCli({"set", path, "--ball1", std::to_string(species)});
        EXPECT_EQ(set.status, 0) << set.err;
        EXPECT_EQ(RomDocument::Open(path)->Values()[poke1], species);
    }
    const fs::path copy = rom.parent_path() / "copy.gbc";
    EXPECT_EQ(RunCli({"set", rom, "--ball1", "mew", "--output", copy}).err,
              "tidewell-cli: " + copy.string() + ": Operation not permitted.\n");
    std::system(("umount " + bound.string() + "; chattr -a " + rom.parent_path().string()).c_str());
    EXPECT_TRUE(appendOnly) << "chattr +a failed here";
    EXPECT_EQ(FilesIn(rom.parent_path()), 1u);
}

TEST_F(CliTest, OverTheFileSizeLimitTheRomStaysAsItWasAndTheToolSaysWhy)
{
    const fs::path rom = Crystal();
    const Bytes old = ReadAll(rom);
    for (const char* where : {"", "--output"}) {
        std::vector<std::string> arguments{"set", rom, "--ball1", "pikachu"};
        if (*where)
            arguments.insert(arguments.end(), {where, scratch.File("copy.gbc")});
        EXPECT_EQ(ExitOf(StartCli(arguments, 0x100000)), 3) << where << " (153 is death by SIGXFSZ)";
        EXPECT_EQ(ReadAll(rom), old) << where;
        EXPECT_EQ(FilesIn(rom.parent_path()), 1u) << "no temporary file is left behind";
    }
}

TEST_F(CliTest, TargetsAreCheckedBeforeAnythingIsWritten)
{
    const Bytes old = MakeGameRom("BYTE");
    const fs::path rom = scratch.File("rom.gbc");
    const fs::path other = scratch.File("other.gbc");
    const fs::path fifo = scratch.File("pipe.gbc");
    const std::string longName(240, 'n');
    const fs::path model = scratch.Write("model.gbc", old);
    ASSERT_EQ(RunCli({"set", model, "--ball1", "pikachu"}).status, 0);
    const Bytes saved = ReadAll(model);
    const std::string overRom = "A patch cannot be written over the ROM it is made from.";
    const std::string exists = " already exists; add --force to replace it.";
    const struct {
        std::vector<std::string> options;
        fs::path target;
        int status;
        std::string error;
    } cases[] = {
        {{"--bps"}, rom, 1, overRom},
        {{"--ips"}, scratch.File("sub/../rom.gbc"), 1, overRom},
        {{"--bps"}, scratch.File("hard.gbc"), 1, overRom},
        {{"--ips"}, scratch.File("soft.gbc"), 1, overRom},
        {{"--force", "--output"}, fifo, 3, "Not a regular file."},
        {{"--output"}, other, 1, "tidewell-cli: " + other.string() + exists},
        {{"--force", "--output"}, scratch.File("to-other.gbc"), 0, ""},
        {{"--output"}, scratch.File(longName), 0, ""},
        {{"--output"}, scratch.File("soft.gbc"), 0, ""},
        {{"--output"}, scratch.File("dangling.gbc"), 0, ""},
    };
    for (const auto& [options, target, status, error] : cases) {
        SCOPED_TRACE(options.back() + " " + target.filename().string());
        fs::remove_all(scratch.File(""));
        fs::create_directories(scratch.File("sub"));
        WriteAll(rom, old);
        WriteAll(other, {1, 2, 3});
        fs::create_hard_link(rom, scratch.File("hard.gbc"));
        fs::create_symlink("rom.gbc", scratch.File("soft.gbc"));
        fs::create_symlink("other.gbc", scratch.File("to-other.gbc"));
        fs::create_symlink("new.gbc", scratch.File("dangling.gbc"));
        ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);

        std::vector<std::string> arguments{"set", rom, "--ball1", "pikachu"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        arguments.push_back(target);
        const CliRun set = RunCli(arguments);
        EXPECT_EQ(set.status, status) << set.err;
        EXPECT_NE(set.err.find(error), std::string::npos) << set.err;
        EXPECT_TRUE(fs::is_fifo(fifo));
        EXPECT_TRUE(fs::is_symlink(scratch.File("soft.gbc")) && fs::is_symlink(scratch.File("to-other.gbc")));
        const bool changesRom = status == 0 && fs::equivalent(target, rom);
        EXPECT_EQ(ReadAll(rom) == old, !changesRom);
        EXPECT_EQ(ReadAll(other) == Bytes({1, 2, 3}), !(status == 0 && fs::equivalent(target, other)));
        if (status == 0) {
            EXPECT_EQ(ReadAll(target), saved) << "written through the link";
        }
        const bool madeOne = status == 0 && (target.filename() == longName || target.filename() == "dangling.gbc");
        EXPECT_EQ(FilesIn(scratch.File("")), 8u + madeOne);
    }
}

TEST_F(CliTest, CopiesKeepNoSpecialBitsAndStayWritablePatchesAreNewFiles)
{
    const fs::path rom = Crystal();
    fs::permissions(rom, static_cast<fs::perms>(06555));
    ASSERT_EQ(RunCli({"set", rom, "--ball1", "mew", "--output", scratch.File("copy.gbc")}).status, 0);
    EXPECT_EQ(fs::status(scratch.File("copy.gbc")).permissions(), static_cast<fs::perms>(0755));
    const mode_t mask = umask(022);
    ASSERT_EQ(RunCli({"set", rom, "--ball1", "mew", "--bps", scratch.File("rom.bps")}).status, 0);
    umask(mask);
    EXPECT_EQ(fs::status(scratch.File("rom.bps")).permissions(), static_cast<fs::perms>(0644));
}

TEST_F(CliTest, WarnsOfUnownOrNoPokemonInAPokeBallAndGoesOn)
{
    const fs::path rom = Rom("BYTE", With(GameDefaults(), {{poke2, 253}}));
    const CliRun set = RunCli({"set", rom, "--ball1", "?????", "--ball3", "unown", "--rival1", "unown"});
    EXPECT_EQ(set.status, 0);
    const std::string noPokemon = ", which is no Pokémon. Elm's lab will show nothing or garbage there, and the "
                                  "player will get a broken Pokémon.\n";
    for (const std::string& warning : {"1 holds species 0" + noPokemon, "2 holds species 253" + noPokemon,
                                       std::string("3 holds Unown. Elm's lab cannot show its picture")})
        EXPECT_NE(set.err.find(rom.string() + ": Poké Ball " + warning), std::string::npos) << set.err;
    EXPECT_EQ(RomDocument::Open(rom)->Values()[poke3], 201);
}

TEST_F(CliTest, EveryCommandFailsWhenItsOutputCannotBeWritten)
{
    const std::string rom = Crystal().string();
    for (const std::string& arguments : {" show '" + rom + "'", " set '" + rom + "' --ball1 pikachu"}) {
        const std::string command = std::string(TIDEWELL_CLI) + arguments + " >/dev/full 2>/dev/null";
        EXPECT_EQ(WEXITSTATUS(std::system(command.c_str())), 3) << arguments;
    }
    EXPECT_EQ(RomDocument::Open(rom)->Values()[poke1], 25) << "the ROM itself was written";
}

TEST_F(CliTest, RivalTeamsFollowHisStarterUnlessToldOrTheyDoNotCheck)
{
    const Bytes original = MakeGameRom("BYTE");
    Bytes broken = original;
    broken.at(0x39B21) = 0x00; // the Burned Tower party's type
    const auto bulbasaur = With(GameDefaults(), {{rival2, 1}});
    const std::string leftAlone = "The rival's later teams were left as they were.";
    const struct {
        const Bytes& rom;
        std::vector<std::string> options;
        Bytes expected;
        bool noted;
    } cases[] = {
        {original, {"--rival2", "bulbasaur"}, ExpectedAfterSave(original, "BYTE", bulbasaur), false},
        {original, {"--rival2", "bulbasaur", "--no-rival-teams"},
         ExpectedAfterSave(original, "BYTE", bulbasaur, true, false), false},
        {broken, {"--rival2", "bulbasaur"}, ExpectedAfterSave(broken, "BYTE", bulbasaur, true, false), true},
    };
    for (const auto& [image, options, expected, noted] : cases) {
        const fs::path rom = scratch.Write("rom.gbc", image);
        std::vector<std::string> arguments{"set", rom};
        arguments.insert(arguments.end(), options.begin(), options.end());
        const CliRun set = RunCli(arguments);
        ASSERT_EQ(set.status, 0) << set.err;
        EXPECT_EQ(ReadAll(rom), expected);
        EXPECT_EQ(set.err.find(leftAlone) != std::string::npos, noted) << set.err;
    }
    // show lists the later teams as the ROM now holds them.
    const fs::path rom = scratch.Write("rom.gbc", cases[0].expected);
    const auto teams = nlohmann::json::parse(RunCli({"show", "--json", rom}).out)["rivalLaterTeams"];
    EXPECT_EQ(teams[1]["rival"], "rival2");
    EXPECT_EQ(teams[1]["slots"][0], nlohmann::json::parse(R"({"battle": "Azalea Town", "level": 16,
        "species": {"number": 2, "name": "Ivysaur"}, "moves": []})"));
    EXPECT_EQ(teams[1]["slots"][5]["moves"], nlohmann::json::parse(R"([{"number": 45, "name": "Growl"},
        {"number": 73, "name": "Leech Seed"}, {"number": 22, "name": "Vine Whip"}, {"number": 75, "name": "Razor Leaf"}])"));
}
