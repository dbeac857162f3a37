#include "RivalTeams.h"

#include "ByteSlice.h"

#include <vector>

namespace {

constexpr std::uint8_t partyEnd = 0xFF;
constexpr std::uint8_t trainerName[] = {0xE6, 0x50}; // "?"
constexpr std::size_t partyHeaderSize = 3;           // the name, then the type
constexpr std::size_t maxMembers = 6;
constexpr std::uint8_t lastMove = 251;

constexpr std::size_t evolutionBank = 0x10;

bool IsSpecies(std::uint8_t byte) { return byte >= 1 && byte <= LastSpecies; }
bool IsMove(std::uint8_t byte) { return byte >= 1 && byte <= lastMove; }

std::size_t MemberSize(PartyType type) { return type == PartyType::moves ? 6 : 2; }

struct Party {
    PartyType type;
    std::vector<std::size_t> species; // the offset of each member's species
};

// Reads the party at `at` as the game walks it, moving `at` past its end;
// nothing when it does not have the layout of the game's own.
std::optional<Party> ReadParty(std::span<const std::uint8_t> rom, std::size_t& at)
{
    const auto header = Slice(rom, at, partyHeaderSize);
    if (!header || (*header)[0] != trainerName[0] || (*header)[1] != trainerName[1] || (*header)[2] > 1)
        return std::nullopt;
    Party party{static_cast<PartyType>((*header)[2]), {}};
    at += partyHeaderSize;
    while (at < rom.size() && rom[at] != partyEnd) {
        const auto member = Slice(rom, at, MemberSize(party.type));
        if (party.species.size() == maxMembers || !member || std::ranges::find(*member, partyEnd) != member->end())
            return std::nullopt;
        party.species.push_back(at + 1);
        at += member->size();
    }
    if (at >= rom.size() || party.species.empty())
        return std::nullopt;
    ++at;
    return party;
}

std::optional<std::vector<Party>> ReadParties(std::span<const std::uint8_t> rom, std::size_t at, std::size_t count)
{
    std::vector<Party> parties;
    while (parties.size() < count) {
        auto party = ReadParty(rom, at);
        if (!party)
            return std::nullopt;
        parties.push_back(std::move(*party));
    }
    return parties;
}

bool HoldsSlot(std::span<const std::uint8_t> rom, const Party& party, const RivalSlot& slot, std::size_t species)
{
    return party.type == slot.type && std::ranges::find(party.species, species) != party.species.end()
        && rom[species - 1] == slot.level;
}

// Both classes' parties have the game's layout, with the first teams and
// every later slot where the game keeps them.
bool PartiesCheck(std::span<const std::uint8_t> rom, const GameLayout& layout)
{
    const RivalTeamsLayout& teams = *layout.rivalTeams;
    const auto rival1 = ReadParties(rom, teams.rival1Start, Rival1PartyCount);
    const auto rival2 = ReadParties(rom, teams.rival2Start, Rival2PartyCount);
    if (!rival1 || !rival2)
        return false;
    for (std::size_t line = 0; line < RivalLines.size(); ++line) {
        const auto& firstTeam = (*rival1)[RivalLines[line].firstParty - 1].species;
        if (firstTeam.front() != static_cast<std::size_t>(LocationOf(layout.starters, RivalLines[line].starter).read))
            return false;
        for (std::size_t i = 0; i < 6; ++i) {
            const RivalSlot& slot = RivalLines[line].laterSlots[i];
            const auto& parties = slot.trainer == TrainerClass::rival1 ? *rival1 : *rival2;
            if (!HoldsSlot(rom, parties[slot.party - 1], slot, teams.slotSpecies[line][i]))
                return false;
        }
    }
    return true;
}

// The species' evolutions and learnset, up to the end of the bank that holds them.
std::optional<std::span<const std::uint8_t>> EvolutionEntry(std::span<const std::uint8_t> rom,
                                                            const GameLayout& layout, std::uint8_t species)
{
    const auto pointer = Slice(rom, layout.rivalTeams->evolutionPointers + (species - 1u) * 2, 2);
    if (!pointer)
        return std::nullopt;
    return BankedBytes(rom, evolutionBank, (*pointer)[0] | (*pointer)[1] << 8);
}

std::optional<std::size_t> EvolutionSize(std::uint8_t method)
{
    if (method >= 1 && method <= 4)
        return 3;
    if (method == 5) // by level, given a condition
        return 4;
    return std::nullopt;
}

struct Evolutions {
    std::optional<std::uint8_t> first;
    std::size_t learnsetStart;
};

std::optional<Evolutions> ReadEvolutions(std::span<const std::uint8_t> entry)
{
    Evolutions read{std::nullopt, 0};
    std::size_t at = 0;
    while (at < entry.size() && entry[at] != 0) {
        const auto size = EvolutionSize(entry[at]);
        // The game finds the moves at the first 0x00, so none may stand inside an evolution.
        if (!size || *size > entry.size() - at || std::ranges::count(entry.subspan(at, *size), 0) != 0)
            return std::nullopt;
        if (!read.first)
            read.first = entry[at + *size - 1];
        at += *size;
    }
    if (at >= entry.size())
        return std::nullopt;
    read.learnsetStart = at + 1;
    return read;
}

void Learn(FourMoves& moves, std::uint8_t move)
{
    if (std::ranges::find(moves, move) != moves.end())
        return;
    if (const auto empty = std::ranges::find(moves, 0); empty != moves.end()) {
        *empty = move;
        return;
    }
    std::shift_left(moves.begin(), moves.end(), 1);
    moves.back() = move;
}

// The new bytes of every slot of the lines whose starter is a species.
std::optional<std::vector<ByteAt>> SlotEdits(std::span<const std::uint8_t> rom, const GameLayout& layout,
                                             const StarterSettings& values)
{
    std::vector<ByteAt> edits;
    for (std::size_t line = 0; line < RivalLines.size(); ++line) {
        const std::uint8_t starter = values[RivalLines[line].starter];
        if (!IsSpecies(starter))
            continue;
        for (std::size_t i = 0; i < 6; ++i) {
            const RivalSlot& slot = RivalLines[line].laterSlots[i];
            const std::int32_t offset = layout.rivalTeams->slotSpecies[line][i];
            const std::uint8_t species = EvolvedSpecies(rom, layout, starter, slot.stage - 1);
            edits.push_back({offset, species});
            if (slot.type == PartyType::normal)
                continue;
            const auto moves = species == slot.species ? slot.moves : MovesAtLevel(rom, layout, species, slot.level);
            if (!moves)
                return std::nullopt;
            for (std::int32_t k = 0; k < 4; ++k)
                edits.push_back({offset + 1 + k, (*moves)[k]});
        }
    }
    return edits;
}

} // namespace

std::uint8_t EvolvedSpecies(std::span<const std::uint8_t> rom, const GameLayout& layout, std::uint8_t species,
                            int times)
{
    for (int i = 0; i < times && IsSpecies(species); ++i) {
        const auto entry = EvolutionEntry(rom, layout, species);
        const auto evolutions = entry ? ReadEvolutions(*entry) : std::nullopt;
        if (!evolutions || !evolutions->first || !IsSpecies(*evolutions->first))
            break;
        species = *evolutions->first;
    }
    return species;
}

std::optional<FourMoves> MovesAtLevel(std::span<const std::uint8_t> rom, const GameLayout& layout,
                                      std::uint8_t species, std::uint8_t level)
{
    if (!IsSpecies(species))
        return std::nullopt;
    const auto entry = EvolutionEntry(rom, layout, species);
    const auto evolutions = entry ? ReadEvolutions(*entry) : std::nullopt;
    if (!evolutions)
        return std::nullopt;
    FourMoves moves{};
    for (std::size_t at = evolutions->learnsetStart; at < entry->size(); at += 2) {
        const std::uint8_t learnedAt = (*entry)[at];
        if (learnedAt == 0 || learnedAt > level)
            return moves;
        if (at + 1 >= entry->size() || !IsMove((*entry)[at + 1]))
            return std::nullopt;
        Learn(moves, (*entry)[at + 1]);
    }
    return std::nullopt;
}

bool RewriteRivalTeams(std::span<std::uint8_t> rom, const GameLayout& layout, const StarterSettings& values)
{
    if (!PartiesCheck(rom, layout))
        return false;
    const auto edits = SlotEdits(rom, layout, values);
    if (!edits)
        return false;
    for (const auto& [offset, byte] : *edits)
        rom[static_cast<std::size_t>(offset)] = byte;
    return true;
}

std::optional<std::array<HeldLine, 3>> ReadRivalLaterTeams(std::span<const std::uint8_t> rom,
                                                           const GameLayout& layout)
{
    if (static_cast<std::size_t>(std::ranges::max(RivalSlotBytes(layout))) >= rom.size())
        return std::nullopt;
    std::array<HeldLine, 3> held{};
    const StarterValue starters[] = {StarterValue::rival1, StarterValue::rival2, StarterValue::rival3};
    for (std::size_t n = 0; n < held.size(); ++n) {
        const auto line = std::ranges::find(RivalLines, starters[n], &RivalLine::starter);
        const auto& offsets = layout.rivalTeams->slotSpecies[static_cast<std::size_t>(line - RivalLines.begin())];
        held[n].starter = starters[n];
        for (std::size_t i = 0; i < 6; ++i) {
            const auto at = static_cast<std::size_t>(offsets[i]);
            HeldSlot& slot = held[n].laterSlots[i];
            slot = {line->laterSlots[i].battle, rom[at - 1], rom[at], std::nullopt};
            if (line->laterSlots[i].type == PartyType::moves)
                slot.moves = FourMoves{rom[at + 1], rom[at + 2], rom[at + 3], rom[at + 4]};
        }
    }
    return held;
}
