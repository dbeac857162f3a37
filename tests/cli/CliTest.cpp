#include "ExpectedOffsets.h"
#include "ExpectedSave.h"
#include "GameImage.h"
#include "PatchReader.h"
#include "RomImage.h"
#include "RomSession.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <functional>
#include <spawn.h>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

using enum StarterValue;

struct Outcome {
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
Outcome RunCli(std::vector<std::string> arguments, const fs::path& program = TIDEWELL_CLI)
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
    Outcome outcome;
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
    fs::path Crystal() const { return scratch.Write("rom.gbc", MakeGameRom("BYTE")); }

    fs::path Rom(const char* code, const StarterSettings& values) const
    {
        return scratch.Write("rom.gbc", WithValuesAtReadOffsets(MakeGameRom(code), OffsetsFor(code), values));
    }

    ScratchFolder scratch;
};

TEST_F(CliTest, ShowPrintsTheGameAndAnAlignedTable)
{
    const Outcome shown = RunCli({"show", Crystal()});
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
    const Outcome shown = RunCli({"show", "--json", rom});
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
        const Outcome set = RunCli(arguments);
        EXPECT_EQ(set.status, 0) << options[1];
        EXPECT_EQ(set.err, "") << options[1];
        EXPECT_EQ(OpenRom(rom)->values, With(GameDefaults(), changes)) << options[1];
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
        const Outcome run = RunCli(arguments);
        EXPECT_EQ(run.status, status) << arguments.back();
        EXPECT_NE((run.out + run.err).find(text), std::string::npos) << run.out << run.err;
        EXPECT_EQ(OpenRom(rom)->values[poke1], species) << arguments.back();
    }
}

TEST_F(CliTest, DefaultsComeBeforeTheOptions)
{
    const fs::path rom = Rom("AAXE", Numbered(3));
    ASSERT_EQ(RunCli({"set", rom, "--ball1", ",9", "--defaults"}).status, 0);
    EXPECT_EQ(OpenRom(rom)->values, With(GameDefaults(), {{lvl1, 9}}));
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
        {{"set", rom, "--ball1", ",101"}, 1, "tidewell-cli: --ball1: \"101\" is not a level from 0 to 100."},
        {{"set", rom, "--ball1", ",,?????"}, 1,
         "tidewell-cli: --ball1: \"?????\" names more than one item: give its number instead."},
        {{"set", rom, "--rival1", "mew,5,berry"}, 1, "at most 2 values"},
        {{"set", rom, "--bps", "a.bps", "--ips", "a.ips"}, 1, "excludes"},
        {{"show", unsupported}, 2, "tidewell-cli: " + unsupported.string() + ": Unsupported ROM."},
        {{"set", unknown, "--ball1", "mew"}, 2,
         "tidewell-cli: " + unknown.string() + ": This ROM does not keep its starters where Pokémon Crystal"
         " does, so Tidewell cannot change them safely."},
        {{"set", missing, "--ball1", "mew"}, 3,
         "tidewell-cli: " + missing.string() + ": No such file or directory."},
    };
    const Bytes original = ReadAll(rom);
    for (const auto& [arguments, status, reason] : cases) {
        const Outcome refused = RunCli(arguments);
        EXPECT_EQ(refused.status, status) << reason;
        EXPECT_NE(refused.err.find(reason), std::string::npos) << refused.err;
        EXPECT_EQ(std::ranges::count(refused.err, '\n'), 1) << refused.err;
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
    const Outcome refused = RunCli({"set", rom, "--ball1", "mew", "--output", copy}, program);
    EXPECT_EQ(refused.status, 3);
    EXPECT_EQ(refused.err, "tidewell-cli: " + copy.string() + ": Permission denied.\n");
}

TEST_F(CliTest, EveryWayToWriteGivesTheBytesTheEditorSaves)
{
    const Bytes original = MakeGameRom("BYTE");
    const fs::path editor = scratch.Write("editor.gbc", original);
    auto opened = OpenRom(editor);
    ASSERT_TRUE(opened);
    const auto chosen = With(opened->values, {{poke1, 25}, {lvl1, 12}, {item1, 0x12}, {rival2, 25}});
    ASSERT_TRUE(SaveInPlace(*opened, chosen, {}));
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
        const Outcome set = RunCli(arguments);
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
    const Outcome set = RunCli({"set", rom, "--ball2", "pikachu"});
    EXPECT_EQ(set.status, 0);
    EXPECT_EQ(set.err,
              "tidewell-cli: " + rom.string() + ": Elm's question for Poké Ball 2 was left as it was.\n");
    EXPECT_EQ(OpenRom(rom)->values[poke2], 25);
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
    EXPECT_EQ(OpenRom(rom)->values[poke1], 25);
}

} // namespace
