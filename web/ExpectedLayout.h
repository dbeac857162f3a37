// Included before everything else in the WebAssembly build. libc++ 16 keeps
// std::expected's has-value flag in the tail padding of the value it holds,
// and constructing a value such as RomContents overwrites the flag (fixed in
// libc++ 18). The module is built whole from source, libc++'s templates
// included, so it may lay out such members plainly instead.
#pragma once
#include <__config>
#undef _LIBCPP_NO_UNIQUE_ADDRESS
#define _LIBCPP_NO_UNIQUE_ADDRESS
