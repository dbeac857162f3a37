#include "Catalogues.h"
#include "StarterSettings.h"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>

namespace {

TEST(LevelByte, AcceptsDecimalNumbersFromZeroToHundred)
{
    const std::pair<std::string_view, int> accepted[] = {
        {"0", 0}, {"5", 5}, {"100", 100}, {"005", 5}, {" 42 ", 42}, {"\t7", 7}, {"+9", 9},
        {"-0", 0}, {"-0.0", 0}, {"100.0", 100}, {"100.", 100}, {".5", 0}, {"5.", 5},
        {"4.6", 5}, {"4.5", 4}, {"5.5", 6}, {"1.5", 2}, {"0.5", 0}, {"4.51", 5}, {"4.49", 4},
        {"99.5", 100}, {"0000000000012", 12},
    };
    for (const auto& [text, level] : accepted)
        EXPECT_EQ(LevelByte(text), std::optional<std::uint8_t>(level)) << '"' << text << '"';
}

TEST(LevelByte, RefusesWhatIsNotALevel)
{
    for (std::string_view text : {"", " ", "abc", "1e2", "-", "+", ".", "5a", "a5", "0x10", "1 0",
                                  "- 5", "--5", "5-", "1.2.3", "101", "-1", "255", "100.5",
                                  "100.4", "100.01", "-0.4", "1000", "4,5"})
        EXPECT_EQ(LevelByte(text), std::nullopt) << '"' << text << '"';
}

TEST(Catalogues, PositionIsTheByte)
{
    EXPECT_EQ(SpeciesCatalogue.size(), 252u);
    EXPECT_EQ(ItemCatalogue.size(), 256u);
    EXPECT_EQ(SpeciesCatalogue[0], "?????");
    EXPECT_EQ(SpeciesCatalogue[1], "Bulbasaur");
    EXPECT_EQ(SpeciesCatalogue[152], "Chikorita");
    EXPECT_EQ(SpeciesCatalogue[155], "Cyndaquil");
    EXPECT_EQ(SpeciesCatalogue[158], "Totodile");
    EXPECT_EQ(SpeciesCatalogue[0xFB], "Celebi");
    EXPECT_EQ(ItemCatalogue[0xAD], "Berry");
    EXPECT_EQ(ItemCatalogue[21], "Max Elixer");
    EXPECT_EQ(ItemCatalogue[64], "Max Ether");
    EXPECT_EQ(ItemCatalogue[0xBF], "TM01");
    EXPECT_EQ(ItemCatalogue[0xF9], "HM07");
}

TEST(Catalogues, KeepTheirOwnSpellings)
{
    EXPECT_EQ(ItemCatalogue[5], "Pok\xC3\xA9 Ball");
    EXPECT_EQ(ItemCatalogue[37], "Pok\xC3\xA9" "Doll");
    EXPECT_EQ(SpeciesCatalogue[29], "Nidoran (f)");
    EXPECT_EQ(SpeciesCatalogue[32], "Nidoran (m)");
    // The games' own names, where the lists once had misspellings.
    for (auto [species, name] : {std::pair{0x26, "Ninetales"}, {0x86, "Vaporeon"}, {0xA8, "Ariados"}, {0xDC, "Swinub"}})
        EXPECT_EQ(SpeciesCatalogue[species], name);
    EXPECT_EQ(ItemCatalogue[74], "Poison Cure Berry");
    EXPECT_EQ(ItemCatalogue[78], "ParalyzCure Berry");
    EXPECT_EQ(ItemCatalogue[195], "TM04(2)");
    EXPECT_EQ(ItemCatalogue[220], "TM28(2)");
}

TEST(Catalogues, PlaceholdersStandWhereTheGamesHaveNoItem)
{
    const int placeholders[] = {0, 6, 25, 45, 50, 56, 70, 90, 100, 115, 116, 120, 129, 135, 136,
                                137, 141, 142, 145, 147, 148, 149, 153, 154, 155, 162, 171, 176,
                                179, 190, 250, 251, 252, 253, 254, 255};
    int count = 0;
    for (std::size_t i = 0; i < ItemCatalogue.size(); ++i)
        count += ItemCatalogue[i] == "?????";
    EXPECT_EQ(count, std::ssize(placeholders));
    for (int position : placeholders)
        EXPECT_EQ(ItemCatalogue[position], "?????") << position;
}

TEST(Catalogues, LongestNamesFitTheirLists)
{
    auto longest = [](const auto& catalogue) {
        std::size_t length = 0;
        for (std::string_view name : catalogue)
            length = std::max(length, name.size());
        return length;
    };
    EXPECT_EQ(longest(SpeciesCatalogue), 11u);
    EXPECT_EQ(longest(ItemCatalogue), 17u);
}

} // namespace
