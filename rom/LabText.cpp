#include "LabText.h"

#include "ByteSlice.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

namespace {

// A few words in the game's character codes.
struct GameString {
    std::array<std::uint8_t, 20> codes{};
    std::size_t size = 0;

    constexpr std::span<const std::uint8_t> bytes() const { return {codes.data(), size}; }
};

// Not constexpr: reaching it stops the build, naming a character the table lacks.
std::uint8_t NoCharacterCode(char c) { return static_cast<std::uint8_t>(c); }

consteval std::uint8_t CodeOf(char c)
{
    if (c >= 'A' && c <= 'Z')
        return static_cast<std::uint8_t>(0x80 + (c - 'A'));
    if (c >= 'a' && c <= 'z')
        return static_cast<std::uint8_t>(0xA0 + (c - 'a'));
    switch (c) {
    case ' ': return 0x7F;
    case ':': return 0x9C;
    case ',': return 0xF4;
    case '?': return 0xE6;
    case '#': return 0x54;
    }
    return NoCharacterCode(c);
}

consteval GameString Encoded(std::string_view text)
{
    GameString encoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool apostropheL = text.substr(i, 2) == "'l"; // one code in the game's font
        encoded.codes[encoded.size++] = apostropheL ? 0xD1 : CodeOf(text[i]);
        i += apostropheL;
    }
    return encoded;
}

constexpr std::uint8_t textStart = 0x00;
constexpr std::uint8_t secondLine = 0x4F;
constexpr std::uint8_t thirdLine = 0x55;
constexpr std::uint8_t textEnd = 0x57;
constexpr std::uint8_t nameEnd = 0x50;
constexpr std::uint8_t firstPrintable = 0x7F;

constexpr std::size_t nameEntrySize = 10;
constexpr std::size_t firstTypeByte = 7;


// Elm's question for one ball: its first line, and the bytes from its start
// to its end byte inclusive, which a new text may fill.
struct BallQuestion {
    StarterValue species;
    GameString firstLine;
    std::size_t capacity;
};

constexpr std::array<BallQuestion, 3> questions{{
    {StarterValue::poke1, Encoded("ELM: You'll take"), 43},
    {StarterValue::poke2, Encoded("ELM: Do you want"), 44},
    {StarterValue::poke3, Encoded("ELM: So, you like"), 46},
}};

struct TypeWord {
    std::uint8_t type;
    GameString word;
};

constexpr std::array<TypeWord, 17> typeWords{{
    {0, Encoded("normal")},   {1, Encoded("fighting")}, {2, Encoded("flying")},
    {3, Encoded("poison")},   {4, Encoded("ground")},   {5, Encoded("rock")},
    {7, Encoded("bug")},      {8, Encoded("ghost")},    {9, Encoded("steel")},
    {20, Encoded("fire")},    {21, Encoded("water")},   {22, Encoded("grass")},
    {23, Encoded("electric")}, {24, Encoded("psychic")}, {25, Encoded("ice")},
    {26, Encoded("dragon")},  {27, Encoded("dark")},
}};

constexpr GameString longFormJoin = Encoded(", the");
constexpr GameString longFormClose = Encoded(" #MON?");
constexpr GameString shortFormClose = Encoded("?");

// Where the name starts: after the start byte, the first line and its break.
constexpr std::size_t NameStart(const BallQuestion& ball)
{
    return 1 + ball.firstLine.size + 1;
}

constexpr std::size_t LongFormSize(const BallQuestion& ball, std::size_t name, std::size_t word)
{
    return NameStart(ball) + name + longFormJoin.size + 1 + word + longFormClose.size + 1;
}

constexpr std::size_t ShortFormSize(const BallQuestion& ball, std::size_t name)
{
    return NameStart(ball) + name + shortFormClose.size + 1;
}

static_assert(LongFormSize(questions[0], Encoded("CYNDAQUIL").size, Encoded("fire").size) == questions[0].capacity);
static_assert(LongFormSize(questions[1], Encoded("TOTODILE").size, Encoded("water").size) == questions[1].capacity);
static_assert(LongFormSize(questions[2], Encoded("CHIKORITA").size, Encoded("grass").size) == questions[2].capacity);
static_assert(std::ranges::all_of(questions, [](const BallQuestion& ball) {
    return ShortFormSize(ball, nameEntrySize) <= ball.capacity;
}));

bool IsGameQuestion(std::span<const std::uint8_t> text, const BallQuestion& ball)
{
    const auto firstLine = ball.firstLine.bytes();
    return text[0] == textStart && std::ranges::equal(text.subspan(1, firstLine.size()), firstLine)
        && text[NameStart(ball) - 1] == secondLine && text[ball.capacity - 1] == textEnd
        && text[ball.capacity] == textStart;
}

// Where the ball's question lies, found through the script's pointer into
// its own bank, when it and the byte after it are the game's own and lie in that bank.
std::optional<ByteRange> GameQuestion(std::span<const std::uint8_t> rom, const GameLayout& layout,
                                      const BallQuestion& ball)
{
    const auto species = static_cast<std::size_t>(LocationOf(layout.starters, ball.species).read);
    const auto pointer = Slice(rom, species + LabTextPointerDistance, 2);
    if (!pointer)
        return std::nullopt;
    const auto bank = static_cast<std::int64_t>(species / BankSize);
    const unsigned address = (*pointer)[0] | (*pointer)[1] << 8;
    const auto inBank = BankedBytes(rom, bank, address);
    if (!inBank || inBank->size() < ball.capacity + 1 || !IsGameQuestion(inBank->first(ball.capacity + 1), ball))
        return std::nullopt;
    const auto start = BankedOffset(bank, address);
    return ByteRange{static_cast<std::uint32_t>(*start), static_cast<std::uint32_t>(ball.capacity)};
}

// A question may be rewritten only where it touches no other question, no
// checked script or party byte and no value byte.
bool StandsApart(const ByteRange& question, std::span<const std::optional<ByteRange>> others,
                 const GameLayout& layout)
{
    const auto inside = [&question](std::int32_t offset) {
        return question.Contains(static_cast<std::uint32_t>(offset));
    };
    const bool overlapsQuestion = std::ranges::any_of(others, [&question](const auto& other) {
        return other && other->first != question.first && other->Overlaps(question);
    });
    const bool overlapsValue = std::ranges::any_of(layout.starters, [&inside](const ValueLocation& location) {
        return std::ranges::any_of(location.writes, inside);
    });
    return !overlapsQuestion && !overlapsValue
        && std::ranges::none_of(StructureOf(layout), inside, &ByteAt::offset);
}

// The species' name from the ROM's own table, when its entry is well formed.
std::optional<std::span<const std::uint8_t>> SpeciesName(std::span<const std::uint8_t> rom,
                                                         const GameLayout& layout, std::uint8_t species)
{
    const auto entry = Slice(rom, layout.speciesNames + (species - 1u) * nameEntrySize, nameEntrySize);
    if (!entry)
        return std::nullopt;
    const auto name = entry->first(static_cast<std::size_t>(std::ranges::find(*entry, nameEnd) - entry->begin()));
    if (name.empty() || !std::ranges::all_of(name, [](std::uint8_t c) { return c >= firstPrintable; }))
        return std::nullopt;
    return name;
}

// The species' first type from the ROM's own base data, when the entry is the species' own.
std::optional<std::uint8_t> FirstType(std::span<const std::uint8_t> rom, const GameLayout& layout,
                                      std::uint8_t species)
{
    const auto entry = Slice(rom, layout.baseData + (species - 1u) * BaseDataEntrySize, BaseDataEntrySize);
    if (!entry || (*entry)[0] != species)
        return std::nullopt;
    return (*entry)[firstTypeByte];
}

const GameString* WordFor(std::uint8_t type)
{
    const auto found = std::ranges::find(typeWords, type, &TypeWord::type);
    return found == typeWords.end() ? nullptr : &found->word;
}

void Append(std::vector<std::uint8_t>& bytes, std::span<const std::uint8_t> more)
{
    bytes.insert(bytes.end(), more.begin(), more.end());
}

// Everything from the name to the end byte: the long form when it fits, else the short one.
std::vector<std::uint8_t> NamingLines(const BallQuestion& ball, std::span<const std::uint8_t> name,
                                      const GameString* word)
{
    std::vector<std::uint8_t> lines(name.begin(), name.end());
    if (word && LongFormSize(ball, name.size(), word->size) <= ball.capacity) {
        Append(lines, longFormJoin.bytes());
        lines.push_back(thirdLine);
        Append(lines, word->bytes());
        Append(lines, longFormClose.bytes());
    } else {
        Append(lines, shortFormClose.bytes());
    }
    lines.push_back(textEnd);
    return lines;
}

bool RewriteQuestion(std::span<std::uint8_t> rom, const GameLayout& layout, const BallQuestion& ball,
                     const ByteRange& text, std::uint8_t species)
{
    if (species < 1 || species > LastSpecies)
        return false;
    const auto name = SpeciesName(rom, layout, species);
    const auto type = FirstType(rom, layout, species);
    if (!name || !type)
        return false;
    std::ranges::copy(NamingLines(ball, *name, WordFor(*type)), rom.begin() + text.first + NameStart(ball));
    return true;
}

} // namespace

std::array<std::optional<ByteRange>, 3> RewriteLabTexts(std::span<std::uint8_t> rom, const GameLayout& layout,
                                                        const StarterSettings& values)
{
    std::array<std::optional<ByteRange>, 3> found;
    for (std::size_t i = 0; i < questions.size(); ++i)
        found[i] = GameQuestion(rom, layout, questions[i]);
    std::array<std::optional<ByteRange>, 3> rewritten;
    for (std::size_t i = 0; i < questions.size(); ++i)
        if (found[i] && StandsApart(*found[i], found, layout)
            && RewriteQuestion(rom, layout, questions[i], *found[i], values[questions[i].species]))
            rewritten[i] = found[i];
    return rewritten;
}
