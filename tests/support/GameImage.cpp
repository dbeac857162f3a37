#include "GameImage.h"

#include "ExpectedOffsets.h"
#include "PictureFixture.h"
#include "RivalParties.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <stdexcept>
#include <utility>

namespace {

using enum StarterValue;

// Where each family of games keeps what the fixture lays out.
struct Family {
    const Offsets& offsets;
    std::uint8_t showPicture;
    std::uint8_t playCry;
    std::size_t names;
    std::size_t baseData;
    bool crystal;
};

const Family goldSilver{goldSilverOffsets, 0x55, 0x83, 0x1B0B74, 0x51B0B, false};
const Family crystal{crystalOffsets, 0x56, 0x84, 0x53384, 0x51424, true};

const Family& FamilyOf(std::string_view code)
{
    return code.starts_with("BYT") ? crystal : goldSilver;
}

enum Type : std::uint8_t {
    normal = 0, fighting = 1, flying = 2, poison = 3, ground = 4, rock = 5, bug = 7, ghost = 8,
    steel = 9, fire = 20, water = 21, grass = 22, electric = 23, psychic = 24, ice = 25,
    dragon = 26, dark = 27,
};
constexpr std::array everyType{normal, fighting, flying, poison, ground, rock, bug, ghost, steel,
                               fire, water, grass, electric, psychic, ice, dragon, dark};

struct Species {
    std::uint8_t number;
    std::string_view name;
    Type first;
    Type second;
};

constexpr Species knownSpecies[] = {
    {1, "BULBASAUR", grass, poison},   {4, "CHARMANDER", fire, fire},
    {7, "SQUIRTLE", water, water},     {25, "PIKACHU", electric, electric},
    {29, "NIDORAN♀", poison, poison},  {32, "NIDORAN♂", poison, poison},
    {122, "MR.MIME", psychic, psychic}, {152, "CHIKORITA", grass, grass},
    {155, "CYNDAQUIL", fire, fire},    {158, "TOTODILE", water, water},
    {250, "HO-OH", fire, flying},
};

const Species* Known(std::uint8_t number)
{
    const auto found = std::ranges::find(knownSpecies, number, &Species::number);
    return found == std::end(knownSpecies) ? nullptr : found;
}

struct Ball {
    StarterValue species;
    std::uint8_t starter;
    std::string_view question;
};

constexpr Ball balls[] = {
    {poke1, 0x9B, "ELM: You'll take|CYNDAQUIL, the|fire #MON?"},
    {poke2, 0x9E, "ELM: Do you want|TOTODILE, the|water #MON?"},
    {poke3, 0x98, "ELM: So, you like|CHIKORITA, the|grass #MON?"},
};
constexpr std::string_view nextText = "ELM: Good choice.";

constexpr std::pair<StarterValue, std::uint8_t> rivals[] = {{rival1, 0x9E}, {rival2, 0x98}, {rival3, 0x9B}};

constexpr std::uint8_t startLevel = 5;
constexpr std::uint8_t berry = 0xAD;

// The scripts sit in the first 0x200 bytes of their bank; the questions go well after them.
constexpr std::size_t textArea = 0x1000;
constexpr std::size_t textSpacing = 0x50;

constexpr std::size_t bankSize = 0x4000;

std::size_t SpeciesOffset(std::string_view code, StarterValue ball)
{
    return FamilyOf(code).offsets.at(ball).front();
}

void Put(Bytes& rom, std::size_t at, const Bytes& bytes)
{
    std::ranges::copy(bytes, rom.begin() + static_cast<std::ptrdiff_t>(at));
}

std::pair<std::uint8_t, std::size_t> NextCharacter(std::string_view text)
{
    constexpr std::pair<std::string_view, std::uint8_t> symbols[] = {
        {" ", 0x7F}, {":", 0x9C}, {"'l", 0xD1}, {",", 0xF4}, {"?", 0xE6},
        {".", 0xE8}, {"-", 0xE3}, {"#", 0x54}, {"♂", 0xEF}, {"♀", 0xF5},
    };
    const char c = text.front();
    if (c >= 'A' && c <= 'Z')
        return {static_cast<std::uint8_t>(0x80 + (c - 'A')), 1};
    if (c >= 'a' && c <= 'z')
        return {static_cast<std::uint8_t>(0xA0 + (c - 'a')), 1};
    for (const auto& [symbol, code] : symbols)
        if (text.starts_with(symbol))
            return {code, symbol.size()};
    throw std::invalid_argument("no game character for: " + std::string(text));
}

void PutNamesAndBaseData(Bytes& rom, std::string_view code)
{
    for (std::uint8_t species = 1; species <= 251; ++species) {
        Bytes name = GameCharacters(GameSpeciesName(species));
        name.resize(10, 0x50);
        Put(rom, NameEntryOffset(code, species), name);

        const Species* known = Known(species);
        const Type first = known ? known->first : everyType[species % everyType.size()];
        const std::size_t base = BaseDataOffset(code, species);
        rom[base] = species;
        rom[base + 7] = first;
        rom[base + 8] = known ? known->second : first;
    }
}

void PutBall(Bytes& rom, std::string_view code, const Ball& ball, std::size_t text)
{
    const Family& family = FamilyOf(code);
    const std::size_t s = SpeciesOffset(code, ball.species);
    const auto address = static_cast<std::uint16_t>(0x4000 + text % bankSize);
    const std::uint8_t species = ball.starter;
    const std::pair<int, std::uint8_t> script[] = {
        {-37, family.showPicture}, {-36, species}, {-35, family.playCry}, {-34, species}, {-33, 0x00},
        {-29, 0x4C}, {-28, static_cast<std::uint8_t>(address & 0xFF)}, {-27, static_cast<std::uint8_t>(address >> 8)},
        {-12, 0x40}, {-11, species}, {-10, 0x00},
        {-1, 0x2D}, {0, species}, {1, startLevel}, {2, berry}, {3, 0x00},
    };
    for (const auto& [distance, byte] : script)
        rom[s + distance] = byte;

    const Bytes question = GameText(ball.question);
    Put(rom, text, question);
    Put(rom, text + question.size(), GameText(nextText));
}

void PutRivals(Bytes& rom, const Family& family)
{
    for (const auto& [rival, species] : rivals) {
        const std::size_t r = family.offsets.at(rival).front();
        Put(rom, r - 4, {0xE6, 0x50, 0x00, startLevel, species, 0xFF});
    }
}

void PutCheckSignatures(Bytes& rom, const Family& family)
{
    Put(rom, RomSize - 520, {'N', '6', '4', 'P', 'S', '3'});
    if (family.crystal)
        Put(rom, RomSize - 544, {'b', 'a', 's', 'e', 0x01, 0x00});
}

} // namespace

Bytes GameCharacters(std::string_view text)
{
    Bytes bytes;
    while (!text.empty()) {
        const auto [code, length] = NextCharacter(text);
        bytes.push_back(code);
        text.remove_prefix(length);
    }
    return bytes;
}

Bytes GameText(std::string_view text)
{
    Bytes bytes{0x00};
    std::uint8_t lineBreak = 0x4F;
    for (std::size_t at = 0;; lineBreak = 0x55) {
        const std::size_t end = std::min(text.find('|', at), text.size());
        std::ranges::copy(GameCharacters(text.substr(at, end - at)), std::back_inserter(bytes));
        if (end == text.size())
            break;
        bytes.push_back(lineBreak);
        at = end + 1;
    }
    bytes.push_back(0x57);
    return bytes;
}

std::size_t LabTextOffset(std::string_view code, int ball)
{
    const std::size_t bank = SpeciesOffset(code, balls[ball - 1].species) / bankSize;
    return bank * bankSize + textArea + static_cast<std::size_t>(ball - 1) * textSpacing;
}

std::size_t NameEntryOffset(std::string_view code, std::uint8_t species)
{
    return FamilyOf(code).names + (species - 1) * 10;
}

std::size_t BaseDataOffset(std::string_view code, std::uint8_t species)
{
    return FamilyOf(code).baseData + (species - 1) * 32;
}

std::string GameSpeciesName(std::uint8_t species)
{
    if (const Species* known = Known(species))
        return std::string(known->name);
    return {'M', 'O', 'N', static_cast<char>('A' + species / 100), static_cast<char>('A' + species / 10 % 10),
            static_cast<char>('A' + species % 10)};
}

Bytes MakeGameRom(std::string_view code)
{
    const Family& family = FamilyOf(code);
    Bytes rom = MakeRom(code);
    PutNamesAndBaseData(rom, code);
    for (int ball = 1; ball <= 3; ++ball)
        PutBall(rom, code, balls[ball - 1], LabTextOffset(code, ball));
    PutRivals(rom, family);
    PutRivalPartiesAndEvolutions(rom, code);
    PutCheckSignatures(rom, family);
    PutPictures(rom, code);
    return rom;
}
