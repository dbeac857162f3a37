#include "ExpectedSave.h"

#include "ExpectedOffsets.h"
#include "GameImage.h"
#include "GameIdentification.h"
#include "ReferenceCheckData.h"
#include "RivalTeams.h"

#include <algorithm>
#include <array>
#include <string>

namespace {

using enum StarterValue;

struct Ball {
    StarterValue species;
    std::string_view firstLine;
    std::size_t capacity;
};
constexpr std::array<Ball, 3> balls{{
    {poke1, "ELM: You'll take", 43},
    {poke2, "ELM: Do you want", 44},
    {poke3, "ELM: So, you like", 46},
}};

std::string TypeWord(std::uint8_t type)
{
    constexpr std::pair<std::uint8_t, std::string_view> words[] = {
        {0, "normal"}, {1, "fighting"}, {2, "flying"}, {3, "poison"}, {4, "ground"}, {5, "rock"},
        {7, "bug"}, {8, "ghost"}, {9, "steel"}, {20, "fire"}, {21, "water"}, {22, "grass"},
        {23, "electric"}, {24, "psychic"}, {25, "ice"}, {26, "dragon"}, {27, "dark"}};
    const auto word = std::ranges::find(words, type, &std::pair<std::uint8_t, std::string_view>::first);
    return word == std::end(words) ? std::string() : std::string(word->second);
}

Bytes Question(const Bytes& rom, std::string_view code, const Ball& ball, std::uint8_t species)
{
    const std::string name = GameSpeciesName(species);
    const std::string type = TypeWord(rom[BaseDataOffset(code, species) + 7]);
    const std::string first(ball.firstLine);
    Bytes text = GameText(first + "|" + name + ", the|" + type + " #MON?");
    if (type.empty() || text.size() > ball.capacity)
        text = GameText(first + "|" + name + "?");
    return text;
}

} // namespace

Bytes ExpectedAfterSave(Bytes rom, std::string_view code, const StarterSettings& values, bool labText,
                        bool rivalTeams)
{
    rom = WithValuesEverywhere(std::move(rom), OffsetsFor(code), values);
    if (rivalTeams)
        RewriteRivalTeams(rom, *IdentifyGame(code)->layout, values);
    if (labText) {
        for (std::size_t i = 0; i < balls.size(); ++i) {
            const Bytes text = Question(rom, code, balls[i], values[balls[i].species]);
            std::ranges::copy(text, rom.begin() + static_cast<std::ptrdiff_t>(LabTextOffset(code, static_cast<int>(i) + 1)));
        }
    }
    return WithReferenceCheckData(std::move(rom), true, code.starts_with("BYT"));
}
