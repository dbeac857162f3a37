#pragma once

#include "StarterLayout.h"

// Prints every species or item number with its name, as lines or as JSON.
int RunList(ValueKind kind, bool json);
