// A language library read from arbitrary bytes: the reader must refuse what is not a whole,
// well-formed library with a reason and an empty set, never read past the bytes, and give
// the same answer whether the bytes come from memory or from a file. What it accepts is
// walked the way the menus and dialogs are built from it.

#include "fuzz/fuzz_support.h"
#include "platform/language_library.h"
#include "platform/resource_set.h"

namespace {

// A string the reader's set holds before reading, which a refused library must not keep.
constexpr int kSentinelId = 0x7fffffff;

void Walk(const std::vector<platform::MenuItem>& items)
{
    for (const platform::MenuItem& item : items) {
        (void)item.Label();
        (void)item.Shortcut();
        Walk(item.items);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    platform::ResourceSet set;
    set.SetString(kSentinelId, "left over");
    std::string error;
    const bool parsed = platform::ParseLanguageLibrary(bytes, &set, &error);
    fuzzing::Require(!set.FindString(kSentinelId), "the set was not emptied before reading");
    if (!parsed)
        fuzzing::Require(!error.empty(), "a refused library gives no reason");

    // The ids the program asks for: its menus and dialog templates lie below 1000.
    for (int id = 0; parsed && id < 1000; ++id) {
        if (const auto menu = set.FindMenu(id)) {
            Walk(menu->items);
            (void)menu->FindCommand(57600);
        }
        if (const auto dialog = set.FindDialog(id))
            (void)dialog->controls.size();
    }

    fuzzing::ClearScratch();
    const std::string path = fuzzing::ScratchDir() + "lumtfuzz.dll";
    fuzzing::WriteFile(path, bytes);
    std::string fileError;
    const auto fromFile = platform::ReadLanguageLibrary(platform::FileSystem::Default(), path, &fileError);
    fuzzing::Require((fromFile != nullptr) == parsed, "the file and the bytes are read differently");
    return 0;
}
