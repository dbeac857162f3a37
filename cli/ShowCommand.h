#pragma once

#include <filesystem>

// Prints the ROM's game and its fifteen starter values, as a table or as JSON.
int RunShow(const std::filesystem::path& rom, bool json);
