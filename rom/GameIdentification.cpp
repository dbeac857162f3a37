#include "GameIdentification.h"

#include "RomErrors.h"

#include <algorithm>

std::expected<std::string, std::error_code> ReadGameCode(RomFile& file)
{
    std::string code;
    for (std::int32_t i = 0; i < GameCodeLength; ++i) {
        const auto byte = file.ReadByte(GameCodeOffset + i);
        if (!byte && byte.error() == RomErrc::readPastEnd)
            break;
        if (!byte)
            return std::unexpected(byte.error());
        code += static_cast<char>(*byte);
    }
    return code;
}

std::expected<std::string, std::error_code> ReadGameCode(const std::filesystem::path& path)
{
    auto file = RomFile::Open(path, RomFile::Access::read);
    if (!file)
        return std::unexpected(file.error());
    return ReadGameCode(*file);
}

const Game* IdentifyGame(std::string_view code)
{
    const auto game = std::ranges::find(SupportedGames, code, &Game::code);
    return game != SupportedGames.end() ? &*game : nullptr;
}
