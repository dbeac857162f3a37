#include "CommandsFixture.h"
#include "ExpectedSave.h"
#include "PatchReader.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

using enum StarterValue;

class OutletsTest : public CommandsTest {
protected:
    OutletsTest() : original(MakeGameRom("AAUE")), rom(scratch.Write("gold.gbc", original)) {}

    // Pikachu in the first ball, Charmander (a name too long for the long form)
    // in the second, over the game's own starters.
    StarterSettings ChooseNewStarters()
    {
        List(poke1)->setCurrentIndex(25);
        List(poke2)->setCurrentIndex(4);
        Type(lvl3, "4.6");
        StarterSettings values = DefaultValues();
        values[poke1] = 25;
        values[poke2] = 4;
        values[lvl3] = 5;
        return values;
    }

    static StarterSettings DefaultValues()
    {
        StarterSettings values;
        for (const auto& [value, byte] : DefaultSelection)
            values[value] = byte;
        return values;
    }

    const Bytes original;
    const fs::path rom;
};

TEST_F(OutletsTest, LabTextAndRivalTeamsFollowTheMenuAndTheChoiceIsRemembered)
{
    Open(rom);
    Trigger("mnuLabText");
    Trigger("mnuRivalTeams");
    StarterSettings chosen = ChooseNewStarters();
    List(rival2)->setCurrentIndex(1);
    chosen[rival2] = 1;
    Trigger("mnuSave");
    EXPECT_EQ(boxes.shown, std::vector<Box>{Success()});
    EXPECT_EQ(ReadAll(rom), ExpectedAfterSave(original, "AAUE", chosen, false, false));
    EXPECT_EQ(LevelBox(lvl3)->text(), "5") << "the box shows the level written";

    Form1 nextRun(chooser, boxes);
    EXPECT_FALSE(nextRun.findChild<QAction*>("mnuLabText")->isChecked());
    EXPECT_FALSE(nextRun.findChild<QAction*>("mnuRivalTeams")->isChecked());
}

TEST_F(OutletsTest, SuccessSaysWhichQuestionWasLeftAlone)
{
    Bytes odd = original;
    odd[LabTextOffset("AAUE", 2) + 1] ^= 0x01; // not the game's own first line
    WriteAll(rom, odd);
    Open(rom);
    const StarterSettings chosen = ChooseNewStarters();
    Trigger("mnuSave");
    EXPECT_EQ(boxes.shown, std::vector<Box>{Success("\nElm's question for Pok" + QString::fromUtf8("\xC3\xA9")
                                                    + " Ball 2 was left as it was.")});
    const Bytes saved = ReadAll(rom);
    const std::size_t ball2 = LabTextOffset("AAUE", 2);
    EXPECT_TRUE(std::equal(saved.begin() + ball2, saved.begin() + ball2 + 44, odd.begin() + ball2));
    const Bytes expected = ExpectedAfterSave(original, "AAUE", chosen);
    const std::size_t ball1 = LabTextOffset("AAUE", 1);
    EXPECT_TRUE(std::equal(saved.begin() + ball1, saved.begin() + ball1 + 43, expected.begin() + ball1));
}

TEST_F(OutletsTest, SaveAsWritesACheckedCopyAndGoesOnWithIt)
{
    fs::permissions(rom, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    Open(rom);
    const StarterSettings chosen = ChooseNewStarters();
    const fs::path copy = scratch.File("copy.gbc");
    ChooseToSave("mnuSaveAs", copy);

    const OpenFileName& asked = chooser.asked.back();
    EXPECT_EQ(asked.filter, QString("GB ROMs (*.gbc;*.gb)") + QChar(0) + "*.gbc;*.gb" + QChar(0));
    EXPECT_TRUE(asked.file.startsWith("gold.gbc"));
    EXPECT_EQ(fs::path(asked.initialDir.toStdString()), rom.parent_path());
    EXPECT_EQ(boxes.shown, std::vector<Box>{Success()});
    EXPECT_EQ(ReadAll(copy), ExpectedAfterSave(original, "AAUE", chosen));
    EXPECT_EQ(ReadAll(rom), original);
    EXPECT_EQ(fs::status(copy).permissions(), fs::status(rom).permissions());
    EXPECT_EQ(std::distance(fs::directory_iterator(rom.parent_path()), {}), 2) << "nothing else left behind";

    // The window now edits the copy.
    Trigger("mnuDefault");
    Trigger("mnuSave");
    EXPECT_EQ(ReadAll(copy), ExpectedAfterSave(original, "AAUE", DefaultValues()));
    EXPECT_EQ(ReadAll(rom), original);
}

TEST_F(OutletsTest, SaveAsOntoTheShownRomIsASaveAndAPatchIsRefused)
{
    Open(rom);
    const StarterSettings chosen = ChooseNewStarters();
    ChooseToSave("mnuExportPatch", rom);
    EXPECT_EQ(boxes.shown, std::vector<Box>{Warning("A patch cannot be written over the ROM it is made from.")});
    EXPECT_EQ(ReadAll(rom), original);
    boxes.shown.clear();
    ChooseToSave("mnuSaveAs", rom);
    EXPECT_EQ(boxes.shown, std::vector<Box>{Success()});
    EXPECT_EQ(ReadAll(rom), ExpectedAfterSave(original, "AAUE", chosen));
}

TEST_F(OutletsTest, SaveAsIntoAFolderThatCannotBeWrittenLeavesNothingBehind)
{
    const fs::path locked = scratch.File("locked");
    fs::create_directory(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read
                                | fs::perms::others_exec);
    Open(rom);
    ChooseNewStarters();
    {
        AsOrdinaryUser user;
        ChooseToSave("mnuSaveAs", locked / "copy.gbc");
    }
    EXPECT_EQ(boxes.shown, std::vector<Box>{Error("Permission denied", EACCES)});
    EXPECT_TRUE(fs::is_empty(locked));
    EXPECT_EQ(ReadAll(rom), original);
    EXPECT_TRUE(window->isWindowModified()) << "the edits stay to be saved elsewhere";
}

TEST_F(OutletsTest, ExportedPatchesTurnTheRomIntoWhatSaveWrites)
{
    Open(rom);
    const StarterSettings chosen = ChooseNewStarters();
    const Bytes saved = ExpectedAfterSave(original, "AAUE", chosen);

    ChooseToSave("mnuExportPatch", scratch.File("gold.bps"));
    EXPECT_TRUE(chooser.asked.back().file.startsWith("gold.bps"));
    ChooseToSave("mnuExportPatch", scratch.File("gold.ips"));
    ChooseToSave("mnuExportPatch", scratch.File("chosen-by-filter"), 2);
    EXPECT_EQ(ApplyBps(original, ReadAll(scratch.File("gold.bps"))), saved);
    EXPECT_EQ(ApplyIps(original, ReadAll(scratch.File("gold.ips"))), saved);
    EXPECT_EQ(ApplyIps(original, ReadAll(scratch.File("chosen-by-filter"))), saved);
    EXPECT_EQ(ReadAll(rom), original);
    EXPECT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.shown.front().text, "The patch was written to gold.bps.");

    Trigger("mnuSave");
    ChooseToSave("mnuExportPatch", scratch.File("nothing.bps"));
    EXPECT_EQ(boxes.shown.back().text, "The starters are the same as in the ROM: there is nothing to export.");
    EXPECT_FALSE(fs::exists(scratch.File("nothing.bps")));

    // A patch would give the game Unown in a Poké Ball too: it is asked about first.
    List(StarterValue::poke1)->setCurrentIndex(201);
    ChooseToSave("mnuExportPatch", scratch.File("unown.bps"));
    EXPECT_EQ(boxes.asked.size(), 1u);
    EXPECT_FALSE(fs::exists(scratch.File("unown.bps")));
}

} // namespace
