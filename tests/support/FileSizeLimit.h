#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Runs `work` in a forked child that cannot write at or past `limit` bytes
// into any file (writes there fail instead of raising SIGXFSZ), and returns
// what `work` returned there.
std::string InChildWithFileSizeLimit(std::uint64_t limit, const std::function<std::string()>& work);
