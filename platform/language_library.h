#pragma once

#include "platform/resource_set.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

class FileSystem;

// A language library: a data file of ours holding a whole resource set in one language
// (every string, menu and dialog text under the ids of the built-in set). The layout is
// described in resources/README.md; resources/generate_resources.py writes it.
//
// The file comes from outside the program (any "lumt*.dll" beside it is offered), so the
// reader trusts nothing in it: every count and length is checked against the bytes that are
// left before it is used, and a file with anything wrong in it is refused as a whole.

// The first eight bytes of every language library.
inline constexpr std::string_view kLanguageLibraryMagic { "LUMTRES\0", 8 };
inline constexpr std::uint32_t kLanguageLibraryVersion = 1;
// No set of ours comes near this; a larger file is not read at all.
inline constexpr std::size_t kMaxLanguageLibrarySize = 4u << 20;

// Fills `*set` (emptied first) from the bytes of a library. False, with `*error` saying what
// is wrong and where, when the bytes are not a whole, well-formed library; `*set` is then
// left empty. REQUIRES: set != nullptr, error != nullptr.
[[nodiscard]] bool ParseLanguageLibrary(std::string_view data, ResourceSet* set,
                                        std::string* error);

// Reads and parses the library file `path`; nullptr, with `*error`, when it cannot be read,
// is larger than kMaxLanguageLibrarySize or is not a well-formed library.
// REQUIRES: error != nullptr.
std::unique_ptr<ResourceSet> ReadLanguageLibrary(FileSystem& fs, const std::string& path,
                                                 std::string* error);

} // namespace platform
