#include "RivalParties.h"

#include "GameIdentification.h"

#include <algorithm>
#include <stdexcept>

namespace {

constexpr std::uint8_t gastly = 0x5C;
constexpr FourMoves fillerMoves{0x7A, 0xB4, 0x00, 0x00};

struct Entry {
    std::uint8_t species;
    Bytes evolutionsAndMoves;
};

const Entry entries[] = {
    {1, {1, 16, 2, 0, 1, 0x21, 1, 0x2D, 0}},
    {2, {1, 32, 3, 0, 1, 0x21, 1, 0x2D, 7, 0x49, 13, 0x16, 0}},
    {3, {0, 1, 0x21, 1, 0x2D, 1, 0x49, 1, 0x16, 41, 0x4B, 0}},
    {89, {0, 1, 0x8B, 1, 0x01, 33, 0x6A, 45, 0x7C, 23, 0x6B, 0}},
    {133, {2, 0x17, 135, 2, 0x18, 134, 2, 0x16, 136, 4, 2, 196, 4, 3, 197, 0, 1, 0x21, 1, 0x27, 0}},
    {151, {0, 1, 0x01, 10, 0x90, 20, 0x05, 30, 0x76, 0}},
    {152, {1, 16, 153, 0, 1, 0x21, 1, 0x2D, 0}},
    {153, {1, 32, 154, 0, 1, 0x21, 1, 0x2D, 1, 0x4B, 1, 0x73, 8, 0x4B, 12, 0x73, 15, 0x4D, 23, 0xEB, 0}},
    {155, {1, 14, 156, 0, 0}},
    {156, {1, 36, 157, 0, 0}},
    {158, {1, 18, 159, 0, 0}},
    {159, {1, 30, 160, 0, 0}},
};

void PutMember(Bytes& rom, std::size_t at, PartyType type, std::uint8_t level, std::uint8_t species,
               const FourMoves& moves)
{
    rom[at] = level;
    rom[at + 1] = species;
    if (type == PartyType::moves)
        std::ranges::copy(moves, rom.begin() + static_cast<std::ptrdiff_t>(at + 2));
}

// The party with Gastlys before the slot, so that the slot falls at its offset; returns the next party's start.
std::size_t PutParty(Bytes& rom, std::size_t at, const RivalSlot& slot, std::size_t species)
{
    const std::size_t size = slot.type == PartyType::moves ? 6 : 2;
    std::ranges::copy(Bytes{0xE6, 0x50, static_cast<std::uint8_t>(slot.type)},
                      rom.begin() + static_cast<std::ptrdiff_t>(at));
    std::size_t member = at + 3;
    for (; member + 1 < species; member += size)
        PutMember(rom, member, slot.type, static_cast<std::uint8_t>(slot.level - 2), gastly, fillerMoves);
    if (member + 1 != species)
        throw std::logic_error("a rival slot off the party's members");
    PutMember(rom, member, slot.type, slot.level, slot.species, slot.moves);
    rom[member + size] = 0xFF;
    return member + size + 1;
}

// The parties from `first` on; `at` is where that one starts.
void PutClass(Bytes& rom, const RivalTeamsLayout& teams, TrainerClass trainer, std::size_t at, int first, int last)
{
    for (int party = first; party <= last; ++party)
        for (std::size_t line = 0; line < RivalLines.size(); ++line)
            for (std::size_t i = 0; i < 6; ++i) {
                const RivalSlot& slot = RivalLines[line].laterSlots[i];
                if (slot.trainer == trainer && slot.party == party)
                    at = PutParty(rom, at, slot, static_cast<std::size_t>(teams.slotSpecies[line][i]));
            }
}

void PutEvolutions(Bytes& rom, std::size_t pointers)
{
    std::size_t at = pointers + 2 * 251;
    const auto point = [&rom, pointers](std::uint8_t species, std::size_t entry) { // into bank 0x10
        rom[pointers + 2 * (species - 1)] = static_cast<std::uint8_t>(entry & 0xFF);
        rom[pointers + 2 * (species - 1) + 1] = static_cast<std::uint8_t>(0x40 + (entry - 0x40000) / 0x100);
    };
    rom[at] = rom[at + 1] = 0;
    for (int species = 1; species <= 251; ++species)
        point(static_cast<std::uint8_t>(species), at);
    at += 2;
    for (const auto& [species, bytes] : entries) {
        std::ranges::copy(bytes, rom.begin() + static_cast<std::ptrdiff_t>(at));
        point(species, at);
        at += bytes.size();
    }
}

} // namespace

void PutRivalPartiesAndEvolutions(Bytes& rom, std::string_view code)
{
    const RivalTeamsLayout& teams = *IdentifyGame(code)->layout->rivalTeams;
    // RIVAL1's first three parties, six bytes each, are the rival's first teams, already there.
    PutClass(rom, teams, TrainerClass::rival1, static_cast<std::size_t>(teams.rival1Start) + 3 * 6, 4, Rival1PartyCount);
    PutClass(rom, teams, TrainerClass::rival2, static_cast<std::size_t>(teams.rival2Start), 1, Rival2PartyCount);
    PutEvolutions(rom, static_cast<std::size_t>(teams.evolutionPointers));
}
