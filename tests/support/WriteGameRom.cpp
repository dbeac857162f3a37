// tidewell_test_rom CODE PATH: writes a ROM-shaped file for scripted tests of
// the installed program. Codes outside the four games get a plain pattern, so
// that an unsupported file can be made too.
#include "GameImage.h"
#include "RomImage.h"

#include <algorithm>
#include <array>
#include <exception>
#include <iostream>
#include <string_view>

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::cerr << "usage: tidewell_test_rom CODE PATH\n";
        return 2;
    }
    const std::string_view code = argv[1];
    constexpr std::array games{std::string_view("AAUE"), std::string_view("AAXE"),
                               std::string_view("BYTE"), std::string_view("BYTU")};
    try {
        WriteAll(argv[2], std::ranges::find(games, code) != games.end() ? MakeGameRom(code) : MakeRom(code));
    } catch (const std::exception& error) {
        std::cerr << "tidewell_test_rom: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
