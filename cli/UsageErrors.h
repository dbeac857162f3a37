#pragma once

#include <CLI/CLI.hpp>

#include <map>
#include <string>

// A value for each option that takes one, shown when the option comes without it.
using ValueExamples = std::map<const CLI::Option*, std::string>;

// The message for a command line the tool cannot take: what was wrong, what
// would be right, and where the command's help is.
std::string UsageErrorText(const CLI::App& tool, const CLI::Error& error, const ValueExamples& examples);
