#include "GameIdentification.h"
#include "RomImage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

TEST(GameIdentification, NamesEachSupportedGame)
{
    struct Row { const char* code; const char* name; const char* caption; const GameLayout* layout; };
    for (const Row& row : {Row{"AAUE", "Pok\xC3\xA9mon Gold", "AAUE - Tidewell", &GoldSilver},
                           Row{"AAXE", "Pok\xC3\xA9mon Silver", "AAXE - Tidewell", &GoldSilver},
                           Row{"BYTE", "Pok\xC3\xA9mon Crystal", "BYTE - Tidewell", &Crystal},
                           Row{"BYTU", "Pok\xC3\xA9mon Crystal", "BYTU - Tidewell", &Crystal}}) {
        const Game* game = IdentifyGame(row.code);
        ASSERT_NE(game, nullptr) << row.code;
        EXPECT_EQ(game->code, row.code);
        EXPECT_EQ(game->name, row.name);
        EXPECT_EQ(game->language, "English");
        EXPECT_EQ(game->windowCaption, row.caption);
        EXPECT_EQ(game->layout, row.layout);
    }
}

TEST(GameIdentification, RefusesNearMisses)
{
    for (const std::string& code : {"aaue"s, "Aaxe"s, "byte"s, "bytu"s, "BYTV"s, "AAUF"s, "AAXF"s, "BYTF"s, "AAU "s,
                                    "AAU\0"s, "BYT"s, "AAUEE"s, ""s, "AAXE "s, " AAXE"s})
        EXPECT_EQ(IdentifyGame(code), nullptr) << code;
}

TEST(GameIdentification, ReadsTheHeaderCodeWhateverElseTheImageHolds)
{
    Bytes bytes = MakeRom("BYTE");
    bytes[0x13E] = 'A';
    bytes[0x143] = 'E';
    EXPECT_EQ(GameCodeOf(bytes), "BYTE");
    const std::string raw = "\xFF" "\0" "ab"s;
    EXPECT_EQ(GameCodeOf(MakeRom(raw)), raw);
}

TEST(GameIdentification, SizeDoesNotMatterUntilTheCodeIsCutShort)
{
    EXPECT_EQ(GameCodeOf(MakeRom("AAXE", 0x143)), "AAXE");
    const std::string cut = GameCodeOf(MakeRom("AAXE", 0x142));
    EXPECT_EQ(cut, "AAX");
    EXPECT_EQ(IdentifyGame(cut), nullptr);
    EXPECT_EQ(GameCodeOf({}), "");
}

} // namespace
