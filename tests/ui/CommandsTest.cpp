#include "ExpectedSave.h"
#include "FileSizeLimit.h"
#include "FrontPicture.h"
#include "GameIdentification.h"
#include "Banner.h"
#include "CommandsFixture.h"
#include "QtPrinters.h"
#include "StarterControls.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using enum StarterValue;

class EditRoundTrip : public CommandsTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(EditRoundTrip, OpenEditSaveReopen)
{
    const char* code = GetParam();
    const StarterSettings stored = Numbered(2);
    const Bytes original = WithValuesAtReadOffsets(MakeGameRom(code), OffsetsFor(code), stored);
    const fs::path rom = scratch.Write("Pok\xC3\xA9mon \xE2\x98\x85 starters.gbc", original);

    // The whole ROM is one change to the shown values, and so one painting of the banner.
    QSignalSpy changes(window->findChild<StarterControls*>(), &StarterControls::changed);
    Open(rom);
    EXPECT_EQ(changes.count(), 1);
    const OpenFileName& asked = chooser.asked.at(0);
    EXPECT_EQ(asked.owner, window);
    EXPECT_EQ(asked.title, "Open " + pokemon + " Gold, Silver or Crystal ROM...");
    EXPECT_EQ(asked.filter, QString("GB ROMs (*.gb)") + QChar(0) + "*.gb;*.gbc" + QChar(0));
    EXPECT_EQ(asked.initialDir, "");
    EXPECT_EQ(asked.flags, 0x1804);

    const QString name = pokemon + (code == std::string_view("AAUE")   ? " Gold"
                                    : code == std::string_view("AAXE") ? " Silver"
                                                                       : " Crystal");
    EXPECT_EQ(Label("headr"), name);
    EXPECT_EQ(Label("txtCode"), code);
    EXPECT_EQ(Label("language"), "English");
    EXPECT_EQ(window->windowTitle(), QString(code) + " - Tidewell[*]");
    EXPECT_EQ(Showing(), ShownFor(stored));
    EXPECT_TRUE(Enabled("mnuSave") && Enabled("mnuDefault"));
    EXPECT_TRUE(boxes.shown.empty());

    StarterSettings chosen;
    for (StarterValue value : AllStarterValues) {
        const std::size_t i = IndexOf(value);
        if (KindOf(value) == ValueKind::level) {
            chosen[value] = static_cast<std::uint8_t>(10 + i);
            Type(value, QString::number(chosen[value]));
        } else {
            chosen[value] = static_cast<std::uint8_t>(200 + i);
            List(value)->setCurrentIndex(chosen[value]);
        }
    }
    // Poké Ball 2 now holds Unown (201), which Elm's lab cannot show: Cancel writes nothing.
    const Box unown{window, "Pok\xC3\xA9 Ball 2 holds Unown. Elm's lab cannot show its picture: the game will show "
                            "garbage there and may freeze. Save anyway?", "Tidewell", BoxIcon::none};
    Trigger("mnuSave");
    EXPECT_EQ(boxes.asked, std::vector<Box>{unown});
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(ReadAll(rom), original);
    boxes.answers.push_back(BoxAnswer::save);
    Trigger("mnuSave");
    EXPECT_EQ(boxes.shown, std::vector<Box>{Success(rivalsFollow)});
    EXPECT_EQ(ReadAll(rom), ExpectedAfterSave(original, code, chosen));

    // Reopening shows what the file holds, not what the controls held.
    Trigger("mnuDefault");
    boxes.answers.push_back(BoxAnswer::discard);
    Open(rom);
    EXPECT_EQ(Showing(), ShownFor(chosen));
    EXPECT_EQ(boxes.shown.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(AllGames, EditRoundTrip, ::testing::Values("AAUE", "AAXE", "BYTE", "BYTU"),
                         [](const auto& info) { return std::string(info.param); });

TEST_F(CommandsTest, CancelledOpenChangesNothing)
{
    CancelOpen();
    EXPECT_FALSE(Enabled("mnuSave") || Enabled("mnuDefault"));
    EXPECT_EQ(List(poke1)->currentIndex(), -1);
    EXPECT_EQ(window->windowTitle(), "Tidewell");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(CommandsTest, CancelledOpenAfterALoadedRomStillSavesIntoThatRom)
{
    const Bytes original = MakeGameRom("AAUE");
    const fs::path rom = scratch.Write("gold.gbc", original);
    Open(rom);
    const Shown before = Showing();
    CancelOpen();
    EXPECT_EQ(Showing(), before);
    EXPECT_EQ(Label("headr"), pokemon + " Gold");

    Trigger("mnuDefault");
    Trigger("mnuSave");
    EXPECT_EQ(boxes.shown, std::vector<Box>{Success()});
    EXPECT_NE(ReadAll(rom), original);
}

TEST_F(CommandsTest, RejectedFileLeavesTheLoadedRomInCharge)
{
    const fs::path gold = Rom("gold.gbc", "AAUE", Numbered(1));
    const Bytes otherBytes = MakeRom("AAUX");
    const fs::path other = scratch.Write("other.gb", otherBytes);
    fs::permissions(other, fs::perms::owner_read);
    Open(gold);
    const Shown before = Showing();

    Open(other);
    EXPECT_EQ(boxes.shown, std::vector<Box>{Warning("Unsupported ROM.")});
    EXPECT_EQ(Showing(), before);
    EXPECT_EQ(window->windowTitle(), "AAUE - Tidewell[*]");
    EXPECT_EQ(fs::status(other).permissions(), fs::perms::owner_read) << "attributes untouched";

    Trigger("mnuSave");
    EXPECT_EQ(boxes.shown.back(), Success(rivalsFollow));
    EXPECT_EQ(ReadAll(other), otherBytes);
    EXPECT_EQ(ReadAll(gold), ExpectedAfterSave(WithValuesAtReadOffsets(MakeGameRom("AAUE"), goldSilverOffsets, Numbered(1)),
                                               "AAUE", Numbered(1)));
}

TEST_F(CommandsTest, FileTooShortForItsCodeIsUnsupported)
{
    Open(scratch.Write("cut.gb", MakeRom("BYTE", 0x142)));
    EXPECT_EQ(boxes.shown, std::vector<Box>{Warning("Unsupported ROM.")});
    EXPECT_FALSE(Enabled("mnuSave"));
}

TEST_F(CommandsTest, FailedOpenShowsOneBoxAndChangesNothing)
{
    const fs::path gold = Rom("gold.gbc", "AAUE", Numbered(1));
    Open(gold);
    const Shown before = Showing();

    Open(scratch.Write("short.gbc", MakeRom("BYTE", 0x1000)));
    EXPECT_EQ(boxes.shown, std::vector<Box>{Warning("This ROM does not keep its starters where " + pokemon
                                                    + " Crystal does, so Tidewell cannot change them safely.")});
    EXPECT_EQ(Showing(), before);
    EXPECT_EQ(Label("headr"), pokemon + " Gold");
    EXPECT_EQ(window->windowTitle(), "AAUE - Tidewell[*]");

    Trigger("mnuSave");
    EXPECT_EQ(boxes.shown.back(), Success(rivalsFollow));
    EXPECT_EQ(ReadAll(scratch.File("short.gbc")), MakeRom("BYTE", 0x1000));
}

TEST_F(CommandsTest, UnreadableFileShowsThePlatformsError)
{
    const fs::path locked = Rom("locked.gbc", "BYTE", Numbered(1));
    fs::permissions(locked, fs::perms::none);
    {
        AsOrdinaryUser user;
        Open(locked);
    }
    EXPECT_EQ(boxes.shown, std::vector<Box>{Error("Permission denied", EACCES)});
    EXPECT_FALSE(Enabled("mnuSave"));
    EXPECT_EQ(Label("headr"), "");
}

TEST_F(CommandsTest, ReadOnlyRomBecomesWritableAndSaves)
{
    const fs::path rom = Rom("crystal.gbc", "BYTE", Numbered(1));
    fs::permissions(rom, fs::perms::owner_read | fs::perms::group_read);
    Open(rom);
    EXPECT_TRUE((fs::status(rom).permissions() & fs::perms::owner_write) != fs::perms::none);
    Trigger("mnuDefault");
    Trigger("mnuSave");
    EXPECT_EQ(boxes.shown, std::vector<Box>{Success()});
}

TEST_F(CommandsTest, RomThatCannotBeMadeWritableIsShownButNotSaved)
{
    if (!AsOrdinaryUser::RunningAsRoot())
        GTEST_SKIP() << "needs a file of another owner, which only root can set up";
    const fs::path rom = Rom("theirs.gbc", "AAXE", Numbered(4));
    fs::permissions(rom, fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
    const Bytes original = ReadAll(rom);

    AsOrdinaryUser user;
    Open(rom);
    EXPECT_EQ(Showing(), ShownFor(Numbered(4)));
    EXPECT_TRUE(boxes.shown.empty());
    Trigger("mnuDefault");
    Trigger("mnuSave");
    EXPECT_EQ(boxes.shown, std::vector<Box>{Error("Permission denied\nThe ROM was left as it was.", EACCES)});
    EXPECT_EQ(ReadAll(rom), original);
}

TEST_F(CommandsTest, RomReplacedBeforeSavingIsLeftAlone)
{
    const fs::path rom = Rom("game.gbc", "AAUE", Numbered(1));
    Open(rom);
    const std::string changedText = "The ROM file has changed since it was opened. Open it again before saving.";

    const Bytes crystal = MakeRom("BYTE");
    WriteAll(rom, crystal);
    Trigger("mnuSave");
    EXPECT_EQ(boxes.shown, std::vector<Box>{Warning(QString::fromStdString(changedText))});
    EXPECT_EQ(ReadAll(rom), crystal);

    const Bytes cut = MakeRom("AAUE", 0x180000);
    WriteAll(rom, cut);
    Trigger("mnuSave");
    EXPECT_EQ(boxes.shown.back(), Warning(QString::fromStdString(changedText)));
    EXPECT_EQ(ReadAll(rom), cut);

    fs::remove(rom);
    Trigger("mnuSave");
    EXPECT_EQ(boxes.shown.back(), Error("No such file or directory\nThe ROM was left as it was.", ENOENT));
    EXPECT_FALSE(fs::exists(rom));
    EXPECT_EQ(boxes.shown.size(), 3u);
}

TEST_F(CommandsTest, RomThatIsNotTheGamesOwnIsNotShown)
{
    Open(Rom("gold.gbc", "AAUE", Numbered(1)));
    const Shown before = Showing();
    Bytes hack = MakeGameRom("BYTE");
    hack[crystalOffsets.at(rival2).front() + 1] = 0x00; // the party no longer ends after the rival
    Open(scratch.Write("hack.gbc", hack));
    EXPECT_EQ(boxes.shown, std::vector<Box>{Warning("This ROM does not keep its starters where " + pokemon
                                                    + " Crystal does, so Tidewell cannot change them safely.")});
    EXPECT_EQ(Showing(), before);
    EXPECT_EQ(window->windowTitle(), "AAUE - Tidewell[*]");
    EXPECT_EQ(ReadAll(scratch.File("hack.gbc")), hack);
}

TEST_F(CommandsTest, WhatIsNotARegularFileIsRefusedAtOnce)
{
    const fs::path fifo = scratch.File("pipe.gbc");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    alarm(10); // a hang ends the test instead of stalling the run
    Open(fifo);
    alarm(0);
    EXPECT_EQ(boxes.shown, std::vector<Box>{Error("Not a regular file.", 1006)});
    EXPECT_FALSE(Enabled("mnuSave"));
}

TEST_F(CommandsTest, FailedWriteIsUndoneAndSaysSo)
{
    const fs::path rom = Rom("gold.gbc", "AAXE", Numbered(1));
    const Bytes original = ReadAll(rom);
    // The new image is cut short under the limit; with a second link the ROM is
    // written in place, where the rival's bytes lie below 1 MiB and are written
    // and the Poké Balls' above it fail.
    for (const bool linked : {false, true}) {
        if (linked)
            fs::create_hard_link(rom, scratch.File("link.gbc"));
        Open(rom);
        Trigger("mnuDefault");
        const std::string shown = InChildWithFileSizeLimit(0x100000, [&] {
            Trigger("mnuSave");
            const Box& box = boxes.shown.back();
            return (box.title + "|" + box.text).toStdString();
        });
        EXPECT_EQ(shown, "Error: 27|File too large\nThe ROM was left as it was.");
        EXPECT_EQ(ReadAll(rom), original);
    }
}

TEST_F(CommandsTest, SpeciesWithoutAnEntryShowsNoneAndBlocksSaving)
{
    StarterSettings values = Numbered(1);
    values[poke2] = 0xFC;
    values[rival3] = 0xFF;
    values[lvl1] = 183;
    const fs::path rom = Rom("odd.gbc", "AAXE", values);
    const Bytes original = ReadAll(rom);
    Open(rom);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(window->isWindowModified()) << "what the controls cannot show is no edit";
    EXPECT_EQ(List(poke2)->currentIndex(), -1);
    EXPECT_EQ(List(poke2)->currentText(), "");
    EXPECT_EQ(List(rival3)->currentIndex(), -1);
    EXPECT_EQ(List(poke1)->currentIndex(), values[poke1]);

    Type(lvl1, "5");
    Trigger("mnuSave");
    EXPECT_EQ(boxes.shown, std::vector<Box>{Warning("Please choose a species in every list.")});
    EXPECT_EQ(ReadAll(rom), original);

    List(poke2)->setCurrentIndex(251);
    List(rival3)->setCurrentIndex(0);
    Trigger("mnuSave");
    EXPECT_EQ(boxes.shown.back(), Success(rivalsFollow));
    EXPECT_EQ(ReadAll(rom)[1573176], 251);
}

TEST_F(CommandsTest, LevelsMustBeNumbersFromZeroToHundred)
{
    StarterSettings values = Numbered(1);
    values[rlvl2] = 0xFF;
    const fs::path rom = Rom("levels.gbc", "BYTE", values);
    const Bytes original = ReadAll(rom);
    Open(rom);
    EXPECT_EQ(LevelBox(rlvl2)->text(), "255");

    const Box refusal = Warning("Please enter levels between 0 and 100.");
    Trigger("mnuSave");
    EXPECT_EQ(boxes.shown, std::vector<Box>{refusal});

    for (const QString bad : {"", "abc", "1e2", "-", "101", "-1", " . "}) {
        Type(rlvl2, "5");
        Type(lvl1, bad);
        Type(lvl3, "x");
        boxes.shown.clear();
        Trigger("mnuSave");
        EXPECT_EQ(boxes.shown, std::vector<Box>{refusal}) << bad.toStdString();
    }
    EXPECT_EQ(ReadAll(rom), original);

    Type(lvl1, "0");
    Type(lvl2, "100");
    Type(lvl3, "4.6");
    Type(rlvl1, "4.5");
    Type(rlvl3, " 7");
    boxes.shown.clear();
    Trigger("mnuSave");
    EXPECT_EQ(boxes.shown, std::vector<Box>{Success(rivalsFollow)});
    const Bytes saved = ReadAll(rom);
    EXPECT_EQ(saved[494756], 0);
    EXPECT_EQ(saved[494822], 100);
    EXPECT_EQ(saved[494882], 5);
    EXPECT_EQ(saved[236286], 4);
    EXPECT_EQ(saved[236274], 5);
    EXPECT_EQ(saved[236280], 7);
}

TEST_F(CommandsTest, DefaultSelectionFillsTheControlsAndOnlyThem)
{
    const char* code = "AAUE";
    StarterSettings values = Numbered(1);
    values[lvl2] = 0xFF;
    const fs::path rom = Rom("gold.gbc", code, values);
    const Bytes original = ReadAll(rom);
    Open(rom);
    Type(lvl1, "abc");

    Trigger("mnuDefault");
    Trigger("mnuDefault");
    EXPECT_EQ(ReadAll(rom), original);
    EXPECT_EQ(List(poke1)->currentText(), "Cyndaquil");
    EXPECT_EQ(List(poke2)->currentText(), "Totodile");
    EXPECT_EQ(List(poke3)->currentText(), "Chikorita");
    EXPECT_EQ(List(item2)->currentText(), "Berry");
    EXPECT_EQ(List(rival1)->currentText(), "Totodile");
    EXPECT_EQ(List(rival3)->currentText(), "Cyndaquil");
    EXPECT_EQ(Label("headr"), pokemon + " Gold");
    EXPECT_TRUE(boxes.shown.empty());

    Trigger("mnuSave");
    EXPECT_EQ(boxes.shown, std::vector<Box>{Success()});
    StarterSettings defaults;
    for (auto [value, byte] : {std::pair{poke1, 0x9B}, {poke2, 0x9E}, {poke3, 0x98}, {lvl1, 5},
                               {lvl2, 5}, {lvl3, 5}, {item1, 0xAD}, {item2, 0xAD}, {item3, 0xAD},
                               {rival1, 0x9E}, {rlvl1, 5}, {rival2, 0x98}, {rlvl2, 5},
                               {rival3, 0x9B}, {rlvl3, 5}})
        defaults[value] = static_cast<std::uint8_t>(byte);
    EXPECT_EQ(ReadAll(rom), ExpectedAfterSave(original, code, defaults));
}

TEST_F(CommandsTest, OpeningAnotherGameReplacesEverything)
{
    Open(Rom("gold.gbc", "AAUE", Numbered(1)));
    Open(Rom("crystal.gbc", "BYTE", Numbered(30)));
    EXPECT_EQ(Showing(), ShownFor(Numbered(30)));
    EXPECT_EQ(Label("headr"), pokemon + " Crystal");
    EXPECT_EQ(Label("txtCode"), "BYTE");
    EXPECT_EQ(window->windowTitle(), "BYTE - Tidewell[*]");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(CommandsTest, BannerShowsTheRomsPicturesOfTheListedSpecies)
{
    const auto banner = [this] { return window->findChild<QLabel*>("Image1")->pixmap().toImage(); };
    const QImage builtIn = banner();
    Open(scratch.Write("other.gbc", MakeRom("XXXX")));
    EXPECT_EQ(banner(), builtIn);

    const std::filesystem::path rom = scratch.Write("rom.gbc", MakeGameRom("AAUE"));
    Open(rom);
    const std::pair<StarterValue, std::uint8_t> chosen[] = {{poke1, 25},   {poke2, 201},  {poke3, 1},
                                                            {rival1, 0},  {rival2, 250}, {rival3, 7}};
    ShownValues values;
    for (const auto& [value, species] : chosen) {
        List(value)->setCurrentIndex(species);
        values[IndexOf(value)] = species;
    }
    const Bytes bytes = ReadAll(rom);
    const GameLayout& layout = *IdentifyGame("AAUE")->layout;
    const StarterPictures pictures = PicturesOf(bytes, layout, values);
    EXPECT_EQ(banner(), PaintBanner(window->devicePixelRatioF(), pictures).toImage());
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const auto picture = FrontPictureOf(bytes, layout, chosen[i].second);
        ASSERT_EQ(pictures[i].isNull(), !picture) << i;
        ASSERT_EQ(!picture, chosen[i].second == 0) << i;
        const Palette palette = PalettesOf(bytes, layout, chosen[i].second)->normal;
        for (int at = 0; picture && at < picture->width * picture->height; ++at) {
            const Rgb colour = palette[picture->indices[at]];
            const QRgb expected = picture->indices[at] ? qRgb(colour.red, colour.green, colour.blue) : qRgba(0, 0, 0, 0);
            ASSERT_EQ(pictures[i].pixel(at % picture->width, at / picture->width), expected) << i << ' ' << at;
        }
    }
}

} // namespace
