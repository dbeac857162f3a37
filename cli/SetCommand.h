#pragma once

#include "RomDocument.h"
#include "StarterRows.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>

enum class Destination { inPlace, copy, bpsPatch, ipsPatch };

struct SetRequest {
    std::filesystem::path rom;
    // What each row's option gave, in the order of StarterRows.
    std::array<std::optional<std::string>, StarterRows.size()> choices;
    bool defaults = false;
    bool quiet = false;
    bool force = false; // a copy may replace an existing file
    SaveOptions options;
    Destination destination = Destination::inPlace;
    std::filesystem::path target;
};

// Changes the ROM's values as asked and writes them where asked.
int RunSet(const SetRequest& request);
