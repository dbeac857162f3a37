#include "ValueText.h"

#include "Catalogues.h"
#include "HexFunctions.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>
#include <numeric>
#include <ranges>
#include <span>

namespace {

std::string KindName(ValueKind kind)
{
    return kind == ValueKind::species ? "species" : "item";
}

std::string Quoted(std::string_view text)
{
    return '"' + std::string(text) + '"';
}

std::string_view Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A decimal or 0x-hexadecimal number; one too large for `unsigned` reads as the largest.
std::optional<unsigned> NumberIn(std::string_view text)
{
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    }
    unsigned number = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number, base);
    if (text.empty() || stop != end)
        return std::nullopt;
    if (error == std::errc::result_out_of_range)
        return std::numeric_limits<unsigned>::max();
    return number;
}

// Names compare on their letters and digits alone, without case, and "Poke"
// matches "Poké": "nidoran f" is "Nidoran (f)", "mr mime" is "Mr. Mime".
std::string Key(std::string_view text)
{
    std::string key;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (text.substr(i, 2) == "é" || text.substr(i, 2) == "É") {
            key += 'e';
            ++i;
        } else if (std::isalnum(c)) {
            key += static_cast<char>(std::tolower(c));
        }
    }
    return key;
}

// Levenshtein distance: the fewest insertions, deletions and substitutions.
std::size_t EditDistance(std::string_view from, std::string_view to)
{
    std::vector<std::size_t> row(to.size() + 1);
    std::iota(row.begin(), row.end(), 0);
    for (std::size_t i = 1; i <= from.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= to.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (from[i - 1] != to[j - 1])});
            diagonal = above;
        }
    }
    return row[to.size()];
}

std::expected<std::uint8_t, std::string> ByteNamed(ValueKind kind, std::string_view name)
{
    const auto catalogue = CatalogueOf(kind);
    const std::string wanted = Key(name);
    std::optional<std::size_t> found;
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        if (Key(catalogue[i]) != wanted)
            continue;
        if (found)
            return std::unexpected(Quoted(name) + " names more than one " + KindName(kind)
                                   + ": give its number instead");
        found = i;
    }
    if (!found)
        return std::unexpected("no " + KindName(kind) + " is named " + Quoted(name) + " (did you mean "
                               + NearestNames(catalogue, name) + "?)");
    return static_cast<std::uint8_t>(*found);
}

std::expected<std::uint8_t, std::string> CatalogueByte(ValueKind kind, std::string_view text)
{
    const auto number = NumberIn(text);
    if (!number)
        return ByteNamed(kind, text);
    const std::size_t last = CatalogueOf(kind).size() - 1;
    if (*number > last)
        return std::unexpected(std::string(text) + " is not a " + KindName(kind)
                               + " number: they go from 0 to " + std::to_string(last));
    return static_cast<std::uint8_t>(*number);
}

} // namespace

std::string NearestNames(std::span<const std::string_view> names, std::string_view given)
{
    const std::string key = Key(given);
    std::vector<std::pair<std::size_t, std::string_view>> ranked;
    for (const std::string_view name : names)
        if (const std::string nameKey = Key(name); !nameKey.empty())
            ranked.emplace_back(EditDistance(key, nameKey), name);
    std::ranges::stable_sort(ranked, {}, &std::pair<std::size_t, std::string_view>::first);
    std::vector<std::string> nearest;
    for (const auto& [distance, name] : ranked) {
        if (distance > ranked.front().first || nearest.size() == 3)
            break;
        if (std::ranges::find(nearest, Quoted(name)) == nearest.end())
            nearest.push_back(Quoted(name));
    }
    return OneOf(nearest);
}

std::string OneOf(std::span<const std::string> choices)
{
    std::string listed = choices.front();
    for (std::size_t i = 1; i < choices.size(); ++i)
        listed += (i + 1 == choices.size() ? " or " : ", ") + choices[i];
    return listed;
}

std::span<const std::string_view> CatalogueOf(ValueKind kind)
{
    if (kind == ValueKind::species)
        return SpeciesCatalogue;
    return ItemCatalogue;
}

std::optional<std::string_view> NameOf(ValueKind kind, std::uint8_t byte)
{
    const auto catalogue = CatalogueOf(kind);
    if (byte >= catalogue.size())
        return std::nullopt;
    return catalogue[byte];
}

std::string NamedByte(ValueKind kind, std::uint8_t byte)
{
    return std::string(NameOf(kind, byte).value_or("no name")) + " (" + std::to_string(byte) + ", 0x"
           + TwoDigitHex(byte) + ")";
}

std::expected<std::uint8_t, std::string> ValueFromText(ValueKind kind, std::string_view text)
{
    if (kind != ValueKind::level)
        return CatalogueByte(kind, Trimmed(text));
    if (const auto level = LevelByte(text))
        return *level;
    return std::unexpected(Quoted(Trimmed(text)) + " is not a level from 0 to 100");
}

std::expected<std::vector<ValueByte>, std::string> ParseChoice(const StarterRow& row, std::string_view text)
{
    const std::vector<StarterValue> parts = PartsOf(row);
    std::vector<ValueByte> chosen;
    std::size_t at = 0;
    for (const auto part : std::views::split(text, ',')) {
        if (at == parts.size())
            return std::unexpected("give at most " + std::to_string(parts.size())
                                   + " values, separated by commas");
        const StarterValue value = parts[at++];
        const std::string_view given(part.begin(), part.end());
        if (Trimmed(given).empty())
            continue;
        const auto byte = ValueFromText(KindOf(value), given);
        if (!byte)
            return std::unexpected(byte.error());
        chosen.push_back({value, *byte});
    }
    return chosen;
}
