#include "ExpectedOffsets.h"
#include "ExpectedSave.h"
#include "FileWriting.h"
#include "FileSizeLimit.h"
#include "GameImage.h"
#include "Journal.h"
#include "RomErrors.h"
#include "RomImage.h"
#include "RomDocument.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using enum StarterValue;

// The bytes around each ball's species and each rival's, as the unmodified
// games hold them; any one of them changed means the ROM is not one Tidewell knows.
std::vector<std::size_t> StructurePlaces(std::string_view code)
{
    const Offsets& offsets = OffsetsFor(code);
    std::vector<std::size_t> places;
    for (StarterValue ball : {poke1, poke2, poke3})
        for (int distance : {-37, -35, -33, -29, -12, -10, -1, 3})
            places.push_back(offsets.at(ball).front() + distance);
    for (StarterValue rival : {rival1, rival2, rival3})
        for (int distance : {-4, -3, -2, 1})
            places.push_back(offsets.at(rival).front() + distance);
    return places;
}

class RomDocumentTest : public ::testing::TestWithParam<const char*> {
protected:
    std::string_view code() const { return GetParam(); }

    fs::path Rom(const char* name, const StarterSettings& values) const
    {
        return scratch.Write(name, WithValuesAtReadOffsets(MakeGameRom(code()), OffsetsFor(code()), values));
    }

    static Bytes With(Bytes bytes, std::size_t at, std::uint8_t byte)
    {
        bytes.at(at) = byte;
        return bytes;
    }

    ScratchFolder scratch;
};

TEST_P(RomDocumentTest, OpensAndSavesTheValuesAndNothingElse)
{
    const fs::path rom = Rom("rom.gbc", Numbered(3));
    const Bytes original = ReadAll(rom);
    auto opened = RomDocument::Open(rom);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->GameOf().code, code());
    EXPECT_EQ(opened->Values(), Numbered(3));

    const StarterSettings chosen = Numbered(100);
    ASSERT_TRUE(opened->Save(chosen, {.labText = false}));
    EXPECT_EQ(ReadAll(rom), ExpectedAfterSave(original, code(), chosen, false));
    EXPECT_EQ(RomDocument::Open(rom)->Values(), chosen);

    // The next Save checks against what the last one wrote.
    ASSERT_TRUE(opened->Save(Numbered(3), {.labText = false}));
    EXPECT_EQ(RomDocument::Open(rom)->Values(), Numbered(3));
}

// Such a byte changed after Open is one more byte changed since Open (below).
TEST_P(RomDocumentTest, RefusesAnyScriptOrPartyByteThatIsNotTheGamesOwn)
{
    const Bytes good = MakeGameRom(code());
    for (std::size_t place : StructurePlaces(code())) {
        const auto refused = ReadRomContents(With(good, place, good[place] ^ 0x5A));
        ASSERT_FALSE(refused) << place;
        EXPECT_EQ(refused.error().error, RomErrc::notRecognised);
        EXPECT_EQ(refused.error().game->code, code());
    }
}

TEST_P(RomDocumentTest, RefusesAnyByteChangedSinceOpen)
{
    const fs::path rom = Rom("rom.gbc", Numbered(3));
    // A starter byte, a script or party byte, or one that no check looks at.
    std::vector<std::size_t> places = StructurePlaces(code());
    places.push_back(0x1234);
    for (const auto& [value, offsets] : OffsetsFor(code()))
        places.push_back(offsets.back());
    for (std::size_t place : places) {
        auto opened = RomDocument::Open(rom);
        const Bytes before = ReadAll(rom);
        const Bytes changed = With(before, place, before[place] + 1);
        WriteAll(rom, changed);
        EXPECT_EQ(opened->Save(Numbered(3), {}).error().error, RomErrc::romChanged) << place;
        EXPECT_EQ(ReadAll(rom), changed);
        WriteAll(rom, before);
    }
}

TEST_P(RomDocumentTest, RefusesAnotherFileRenamedOverThePath)
{
    const fs::path rom = Rom("rom.gbc", Numbered(3));
    const fs::path twin = Rom("twin.gbc", Numbered(3));
    auto opened = RomDocument::Open(rom);
    const Bytes theirs = ReadAll(twin);
    const Bytes ours = ReadAll(rom);
    const fs::path kept = scratch.File("kept.gbc");
    fs::rename(rom, kept);
    fs::rename(twin, rom);

    EXPECT_EQ(opened->Save(Numbered(50), {}).error().error, RomErrc::romChanged);
    EXPECT_EQ(ReadAll(rom), theirs);
    EXPECT_EQ(ReadAll(kept), ours);
}

TEST_P(RomDocumentTest, RefusesAFileCutShortSinceOpen)
{
    const fs::path rom = Rom("rom.gbc", Numbered(3));
    auto opened = RomDocument::Open(rom);
    std::size_t highest = 0;
    for (const auto& [value, places] : OffsetsFor(code()))
        highest = std::max(highest, places.front());
    Bytes cut = ReadAll(rom);
    cut.resize(highest);
    fs::resize_file(rom, cut.size());
    EXPECT_EQ(opened->Save(Numbered(3), {}).error().error, RomErrc::romChanged);
    EXPECT_EQ(ReadAll(rom), cut);
}

TEST_P(RomDocumentTest, FailedWriteIsUndone)
{
    const fs::path rom = Rom("rom.gbc", Numbered(3));
    const Bytes original = ReadAll(rom);
    // A second link keeps Save from replacing the file: it writes in place,
    // where writes below 1 MiB (the rival, the header) succeed and the first one above fails.
    for (const bool linked : {false, true}) {
        if (linked)
            fs::create_hard_link(rom, scratch.File("link.gbc"));
        const std::string outcome = InChildWithFileSizeLimit(0x100000, [&] {
            const auto saved = RomDocument::Open(rom)->Save(Numbered(60), {});
            return saved ? std::string("saved")
                         : std::to_string(static_cast<int>(saved.error().left)) + " " + saved.error().error.message();
        });
        EXPECT_EQ(outcome, linked ? "2 File too large" : "1 File too large");
        EXPECT_EQ(ReadAll(rom), original);
        EXPECT_EQ(std::distance(fs::directory_iterator(scratch.File("")), {}), linked ? 2 : 1);
    }
}

TEST_P(RomDocumentTest, UnwritableFileIsLeftAlone)
{
    const fs::path rom = Rom("rom.gbc", Numbered(3));
    const Bytes original = ReadAll(rom);
    fs::permissions(rom, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    {
        AsOrdinaryUser user;
        auto opened = RomDocument::Open(rom);
        ASSERT_TRUE(opened);
        const auto refused = opened->Save(Numbered(1), {});
        EXPECT_EQ(refused.error().error, std::errc::permission_denied);
        EXPECT_EQ(refused.error().left, RomLeft::untouched);
    }
    EXPECT_EQ(ReadAll(rom), original);
}

// Save puts a new file in the ROM's place where that keeps the ROM what it
// was, and writes in place through a second link or a symbolic link's file.
TEST_P(RomDocumentTest, SaveReplacesTheFileOnlyWhereItStaysWhatItWas)
{
    const fs::path rom = Rom("rom.gbc", Numbered(3));
    const Bytes expected = ExpectedAfterSave(ReadAll(rom), code(), Numbered(100));
    fs::create_symlink(rom.filename(), scratch.File("alias.gbc"));
    const std::tuple<const char*, fs::path, bool> ways[] = {
        {"plain", rom, true}, {"through a symbolic link", scratch.File("alias.gbc"), true},
        {"with a second link", rom, false},
    };
    for (const auto& [way, path, replaced] : ways) {
        SCOPED_TRACE(way);
        if (!replaced)
            fs::create_hard_link(rom, scratch.File("second.gbc"));
        WriteAll(rom, WithValuesAtReadOffsets(MakeGameRom(code()), OffsetsFor(code()), Numbered(3)));
        const auto before = fs::status(rom);
        auto opened = RomDocument::Open(path);
        ASSERT_TRUE(opened->Save(Numbered(100), {}));
        EXPECT_EQ(ReadAll(rom), expected);
        EXPECT_TRUE(fs::is_symlink(scratch.File("alias.gbc")));
        EXPECT_EQ(fs::status(rom).permissions(), before.permissions());
        EXPECT_EQ(fs::hard_link_count(rom), replaced ? 1u : 2u);
        // The next Save knows the new file.
        EXPECT_TRUE(opened->Save(Numbered(3), {}));
    }
}

TEST_P(RomDocumentTest, RefusesAFileRecreatedUnderTheSameNameAndInode)
{
    const fs::path rom = Rom("rom.gbc", Numbered(3));
    const Bytes copy = ReadAll(rom);
    auto opened = RomDocument::Open(rom);
    const auto inode = [&rom] {
        struct stat status {};
        stat(rom.c_str(), &status);
        return status.st_ino;
    };
    const auto first = inode();
    // File systems hand a freed inode number to the next new file, often at once.
    for (int attempt = 0; attempt < 20; ++attempt) {
        fs::remove(rom);
        WriteAll(rom, copy);
        if (inode() == first)
            break;
    }
    EXPECT_EQ(opened->Save(Numbered(50), {}).error().error, RomErrc::romChanged);
    EXPECT_EQ(ReadAll(rom), copy);
}

TEST_P(RomDocumentTest, AQuestionAimedOverAnotherBallsScriptIsLeftAsItWas)
{
    // Ball 1's question pointer aims at a copy of its text laid so that the
    // name it would rewrite lies over ball 2's script.
    Bytes rom = MakeGameRom(code());
    const std::size_t ball2 = OffsetsFor(code()).at(poke2).front();
    const std::size_t text = ball2 - 37 - 20;
    const Bytes question = GameText("ELM: You'll take|CYNDAQUIL, the|fire #MON?");
    std::copy_n(question.begin(), 18, rom.begin() + static_cast<std::ptrdiff_t>(text));
    rom[text + 42] = 0x57;
    rom[text + 43] = 0x00;
    const std::size_t pointer = OffsetsFor(code()).at(poke1).front() - 28;
    rom[pointer] = static_cast<std::uint8_t>(0x4000 + text % 0x4000);
    rom[pointer + 1] = static_cast<std::uint8_t>((0x4000 + text % 0x4000) >> 8);

    StarterSettings chosen = ReadRomContents(rom)->values;
    chosen[poke1] = 25;
    const auto saved = PlanSave(rom, chosen, {});
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->labTextLeftAlone, (std::array{true, false, false}));
    for (std::size_t place : StructurePlaces(code()))
        EXPECT_EQ(saved->image[place], rom[place]) << place;
    EXPECT_TRUE(ReadRomContents(saved->image));
}

// Another program exchanges a second file with the ROM's name just before
// each swap: the swap takes that file out, and the swap back leaves the ROM
// under Tidewell's temporary name.
TEST_P(RomDocumentTest, SwapBackRemovesNothingItDidNotMake)
{
    static fs::path names[2];
    names[0] = Rom("rom.gbc", Numbered(3));
    names[1] = scratch.Write("other.gbc", {1, 2, 3});
    const Bytes original = ReadAll(names[0]);
    auto opened = RomDocument::Open(names[0]);
    BeforeSwap = [] { renameat2(AT_FDCWD, names[0].c_str(), AT_FDCWD, names[1].c_str(), RENAME_EXCHANGE); };
    const auto saved = opened->Save(Numbered(50), {});
    BeforeSwap = [] {};
    ASSERT_FALSE(saved);
    EXPECT_EQ(saved.error().error, RomErrc::romChanged);
    std::vector<Bytes> held;
    for (const fs::directory_entry& entry : fs::directory_iterator(scratch.File("")))
        held.push_back(ReadAll(entry.path()));
    EXPECT_TRUE(std::ranges::count(held, original) == 1 && std::ranges::count(held, Bytes{1, 2, 3}) == 1);
    EXPECT_TRUE(fs::exists(saved.error().leftAlone));
}

INSTANTIATE_TEST_SUITE_P(AllGames, RomDocumentTest, ::testing::Values("AAUE", "AAXE", "BYTE", "BYTU"),
                         [](const auto& info) { return std::string(info.param); });

TEST(OpenRom, RefusesWhatIsNotARegularFileAtOnce)
{
    ScratchFolder scratch;
    const fs::path fifo = scratch.File("pipe.gbc");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const fs::path socketPath = scratch.File("socket.gbc");
    const int listening = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socketPath.string().copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    // A writer waits in open() until someone opens the FIFO for reading: Open must not be that someone.
    const pid_t writer = fork();
    if (writer == 0)
        _exit(open(fifo.c_str(), O_WRONLY) < 0);
    alarm(10); // a hang ends the test instead of stalling the run
    for (const fs::path& odd : {fifo, socketPath, scratch.File(""), fs::path("/dev/null")})
        EXPECT_EQ(RomDocument::Open(odd).error().error, RomErrc::notRegularFile) << odd;
    alarm(0);
    usleep(100000);
    EXPECT_EQ(waitpid(writer, nullptr, WNOHANG), 0) << "the FIFO was opened";
    kill(writer, SIGKILL);
    waitpid(writer, nullptr, 0);
    close(listening);
}

TEST(OpenRom, RefusesUnsupportedAndShortFiles)
{
    ScratchFolder scratch;
    EXPECT_EQ(ReadRomContents(MakeRom("AAUX")).error().error, RomErrc::unsupportedGame);
    // A dump cut short is of a game Tidewell knows, but not a ROM it can change;
    // a file larger than any cartridge is refused before it is read.
    EXPECT_EQ(ReadRomContents(MakeRom("BYTE", 0x1000)).error().error, RomErrc::notRecognised);
    const fs::path huge = scratch.Write("huge.gbc", MakeGameRom("BYTE"));
    fs::resize_file(huge, std::uintmax_t{1} << 32);
    EXPECT_EQ(RomDocument::Open(huge).error().error, RomErrc::unsupportedGame);
    EXPECT_EQ(RomDocument::Open(scratch.File("gone.gbc")).error().error, std::errc::no_such_file_or_directory);
    EXPECT_FALSE(fs::exists(scratch.File("gone.gbc")));
}

TEST(MakeWritable, GivesTheOwnerWritePermission)
{
    ScratchFolder scratch;
    const fs::path rom = scratch.Write("rom.gbc", MakeRom("AAUE", 0x200));
    fs::permissions(rom, fs::perms::owner_read);
    EXPECT_FALSE(RomFile::Open(rom, RomFile::Access::read)->MakeWritable());
    EXPECT_EQ(fs::status(rom).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

} // namespace

// A journal left by a write in place cut short puts the old bytes back when
// the ROM is next opened; one that does not match the ROM is kept aside.
TEST(Journal, PutsBackAWriteCutShortAndKeepsOneThatDoesNotMatch)
{
    ScratchFolder scratch;
    setenv("XDG_STATE_HOME", scratch.File("state").c_str(), 1);
    const Bytes old = MakeGameRom("BYTE");
    const fs::path rom = scratch.Write("rom.gbc", old);
    const RomEdits edits{{0x100000, old[0x100000], 0xAA}, {0x100001, old[0x100001], 0xBB}};
    for (const bool matches : {true, false}) {
        auto file = RomFile::Open(rom, RomFile::Access::readWrite);
        ASSERT_TRUE(Journal::Begin(*file, edits));
        ASSERT_FALSE(file->WriteByte(0x100000, matches ? 0xAA : 0xCC));
        const auto opened = RomDocument::Open(rom);
        ASSERT_TRUE(opened && opened->InterruptedSaveNote());
        EXPECT_EQ(opened->InterruptedSaveNote()->kind, matches ? OutcomeKind::note : OutcomeKind::warning);
        EXPECT_EQ(ReadAll(rom) == old, matches);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch.File("state/tidewell")), {}), 1) << "the one kept";
    unsetenv("XDG_STATE_HOME");
}

// Root only: an ext4 image with 128-byte inodes keeps change times to the
// second, so a file recreated at once under the same inode looks the same.
TEST(RecreatedInTheSameSecond, IsRefusedWhereTimesKeepOnlySeconds)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "mounting a file system image needs root";
    ScratchFolder scratch;
    const std::string image = scratch.File("ext4.img"), mount = scratch.File("mnt");
    fs::create_directory(mount);
    if (std::system(("truncate -s 16M " + image + " && mkfs.ext4 -q -I 128 " + image + " 2>/dev/null && mount -o loop "
                     + image + " " + mount).c_str()) != 0)
        GTEST_SKIP() << "this machine cannot mount an ext4 image";
    const fs::path rom = fs::path(mount) / "rom.gbc";
    Bytes recreated = MakeGameRom("BYTE");
    WriteAll(rom, recreated);
    auto opened = RomDocument::Open(rom);
    recreated[0x100000] ^= 1;
    fs::remove(rom);
    WriteAll(rom, recreated);
    StarterSettings values = opened->Values();
    values[poke1] = 25;
    EXPECT_EQ(opened->Save(values, {}).error().error, RomErrc::romChanged);
    EXPECT_EQ(ReadAll(rom), recreated);
    std::system(("umount " + mount).c_str());
}
