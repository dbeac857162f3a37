#pragma once

#include "RomImage.h"

#include <string_view>

// RIVAL1's and RIVAL2's parties after the rival's first teams, as the
// unmodified game holds its later teams, and evolution data in which the
// starters' lines, Bulbasaur's, Eevee, Muk and Mew have their entries (the
// game's own for Bayleef's moves, Eevee's stones first, Muk's list unsorted)
// and every other species one with no evolution and no moves.
void PutRivalPartiesAndEvolutions(Bytes& rom, std::string_view code);
