#pragma once

#include "StarterSettings.h"

#include <string>
#include <vector>

// One sentence for each Poké Ball that holds Unown: Elm shows the ball's
// species before a letter is chosen. The rival's Unown is fine.
std::vector<std::string> UnownWarnings(const StarterSettings& values);
