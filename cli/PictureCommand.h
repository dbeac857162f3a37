#pragma once

#include <filesystem>
#include <string>

struct PictureRequest {
    std::filesystem::path rom;
    std::string species;
    std::filesystem::path output;
    bool shiny = false;
    bool quiet = false;
};

// Writes the ROM's front picture of the species as a PNG file, in the ROM's colours.
int RunPicture(const PictureRequest& request);
