#include "ShowCommand.h"

#include "Failures.h"
#include "MoveNames.h"
#include "RivalTeams.h"
#include "StarterRows.h"
#include "ValueText.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <iostream>
#include <span>
#include <string>
#include <vector>

namespace {

using Line = std::array<std::string, 4>;

std::string GameLine(const Game& game)
{
    return std::string(game.name) + " (" + std::string(game.code) + ", " + std::string(game.language) + ")";
}

// Characters, not bytes: the labels and some names hold an "é".
std::size_t DisplayWidth(std::string_view text)
{
    return std::ranges::count_if(text, [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
}

std::vector<Line> TableLines(const StarterSettings& values)
{
    std::vector<Line> lines{{"", "Species", "Level", "Item"}};
    for (const StarterRow& row : StarterRows)
        lines.push_back({std::string(row.label), NamedByte(ValueKind::species, values[row.species]),
                         std::to_string(values[row.level]),
                         row.item ? NamedByte(ValueKind::item, values[*row.item]) : ""});
    return lines;
}

std::string AlignedTable(const std::vector<Line>& lines)
{
    std::array<std::size_t, 4> widths{};
    for (const Line& line : lines)
        for (std::size_t column = 0; column < widths.size(); ++column)
            widths[column] = std::max(widths[column], DisplayWidth(line[column]));
    std::string table;
    for (const Line& line : lines) {
        std::string text;
        for (std::size_t column = 0; column < widths.size(); ++column)
            text += line[column] + std::string(widths[column] - DisplayWidth(line[column]) + 2, ' ');
        text.erase(text.find_last_not_of(' ') + 1);
        table += text + '\n';
    }
    return table;
}

// A number with its name, null where the catalogue has none.
nlohmann::ordered_json NumberAndName(std::uint8_t number, std::optional<std::string_view> name)
{
    return {{"number", number}, {"name", name ? nlohmann::ordered_json(*name) : nullptr}};
}

nlohmann::ordered_json NamedJson(ValueKind kind, std::uint8_t byte)
{
    return NumberAndName(byte, NameOf(kind, byte));
}

nlohmann::ordered_json SlotJson(const HeldSlot& slot)
{
    auto moves = nlohmann::ordered_json::array();
    if (slot.moves)
        for (std::uint8_t move : *slot.moves)
            moves.push_back(NumberAndName(move, MoveName(move)));
    return {{"battle", RivalBattleNames[std::to_underlying(slot.battle)]},
            {"level", slot.level},
            {"species", NamedJson(ValueKind::species, slot.species)},
            {"moves", moves}};
}

// Null when the image is too short to hold them.
nlohmann::ordered_json LaterTeamsJson(std::span<const std::uint8_t> image, const GameLayout& layout)
{
    const auto lines = ReadRivalLaterTeams(image, layout);
    if (!lines)
        return nullptr;
    auto json = nlohmann::ordered_json::array();
    for (const HeldLine& line : *lines) {
        auto held = nlohmann::ordered_json::array();
        for (const HeldSlot& slot : line.laterSlots)
            held.push_back(SlotJson(slot));
        json.push_back({{"rival", StarterValueNames[IndexOf(line.starter)]}, {"slots", held}});
    }
    return json;
}

nlohmann::ordered_json RomJson(const Game& game, const StarterSettings& values)
{
    nlohmann::ordered_json json;
    json["game"] = {{"code", game.code}, {"name", game.name}, {"language", game.language}};
    for (const StarterRow& row : StarterRows) {
        auto& entry = json[std::string(row.key)];
        entry["species"] = NamedJson(ValueKind::species, values[row.species]);
        entry["level"] = values[row.level];
        if (row.item)
            entry["item"] = NamedJson(ValueKind::item, values[*row.item]);
    }
    return json;
}

} // namespace

int RunShow(const std::filesystem::path& rom, bool json)
{
    const auto opened = RomDocument::Open(rom);
    if (!opened)
        return Report(OpenFailure(rom, opened.error()));
    NoteInterruptedSave(rom, *opened);
    if (json) {
        auto shown = RomJson(opened->GameOf(), opened->Values());
        shown["rivalLaterTeams"] = LaterTeamsJson(opened->Image(), *opened->GameOf().layout);
        std::cout << shown.dump(2) << '\n';
    } else {
        std::cout << GameLine(opened->GameOf()) << "\n\n" << AlignedTable(TableLines(opened->Values()));
    }
    return Printed();
}
