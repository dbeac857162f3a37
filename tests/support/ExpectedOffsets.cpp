#include "ExpectedOffsets.h"

using enum StarterValue;

const Offsets goldSilverOffsets{
    {poke1, {1573110, 1573074, 1573076, 1573099}}, {lvl1, {1573111}}, {item1, {1573112}},
    {poke2, {1573176, 1573140, 1573142, 1573165}}, {lvl2, {1573177}}, {item2, {1573178}},
    {poke3, {1573236, 1573200, 1573202, 1573225}}, {lvl3, {1573237}}, {item3, {1573238}},
    {rival1, {236194}}, {rlvl1, {236193}}, {rival2, {236182}}, {rlvl2, {236181}},
    {rival3, {236188}}, {rlvl3, {236187}},
};

const Offsets crystalOffsets{
    {poke1, {494755, 494719, 494721, 494744}}, {lvl1, {494756}}, {item1, {494757}},
    {poke2, {494821, 494785, 494787, 494810}}, {lvl2, {494822}}, {item2, {494823}},
    {poke3, {494881, 494845, 494847, 494870}}, {lvl3, {494882}}, {item3, {494883}},
    {rival1, {236287}}, {rlvl1, {236286}}, {rival2, {236275}}, {rlvl2, {236274}},
    {rival3, {236281}}, {rlvl3, {236280}},
};

const Offsets& OffsetsFor(std::string_view code)
{
    return code.starts_with("BYT") ? crystalOffsets : goldSilverOffsets;
}

StarterSettings Numbered(std::uint8_t first)
{
    StarterSettings values;
    for (std::size_t i = 0; i < StarterValueCount; ++i)
        values.bytes[i] = static_cast<std::uint8_t>(first + 7 * i);
    return values;
}

Bytes WithValuesAtReadOffsets(Bytes rom, const Offsets& offsets, const StarterSettings& values)
{
    for (const auto& [value, places] : offsets)
        rom[places.front()] = values[value];
    return rom;
}

Bytes WithValuesEverywhere(Bytes rom, const Offsets& offsets, const StarterSettings& values)
{
    for (const auto& [value, places] : offsets)
        for (std::size_t place : places)
            rom[place] = values[value];
    return rom;
}
