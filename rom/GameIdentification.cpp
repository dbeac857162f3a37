#include "GameIdentification.h"

#include <algorithm>

std::string GameCodeOf(std::span<const std::uint8_t> image)
{
    const std::size_t start = std::min<std::size_t>(GameCodeOffset, image.size());
    const auto code = image.subspan(start, std::min<std::size_t>(GameCodeLength, image.size() - start));
    return {code.begin(), code.end()};
}

const Game* IdentifyGame(std::string_view code)
{
    const auto game = std::ranges::find(SupportedGames, code, &Game::code);
    return game != SupportedGames.end() ? &*game : nullptr;
}
