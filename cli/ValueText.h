#pragma once

#include "StarterRows.h"
#include "StarterSettings.h"

#include <cstdint>
#include <expected>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The names of the species or item bytes, the byte's name at its position.
std::span<const std::string_view> CatalogueOf(ValueKind kind);

// The names nearest to the given one, at most three, each in double quotes and
// joined as "did you mean" lists them. Names compare on their letters and
// digits alone, without case.
std::string NearestNames(std::span<const std::string_view> names, std::string_view given);

// At least one choice, listed as "a", "a or b", "a, b or c".
std::string OneOf(std::span<const std::string> choices);

// The catalogue's name for a species or item byte; none past the catalogue's end.
std::optional<std::string_view> NameOf(ValueKind kind, std::uint8_t byte);

// A species or item as "Cyndaquil (155, 0x9B)".
std::string NamedByte(ValueKind kind, std::uint8_t byte);

// The byte for a value given as text: a level as the editor takes it (0 to
// 100), a species or item as a decimal or 0x-hexadecimal number or as a name
// from the catalogue, in any case and spacing. A name several entries share is
// refused; one that matches none is refused with the nearest names.
std::expected<std::uint8_t, std::string> ValueFromText(ValueKind kind, std::string_view text);

// The values one option gives for its row, "SPECIES[,LEVEL[,ITEM]]"; an empty
// part gives none.
std::expected<std::vector<ValueByte>, std::string> ParseChoice(const StarterRow& row, std::string_view text);
