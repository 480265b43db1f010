#include "platform/language_library.h"

#include "platform/whole_file.h"

#include <cstdint>
#include <set>
#include <vector>

namespace platform {
namespace {

// Deeper menus are refused: no menu of ours nests more than twice, and a hostile file of
// nested popups must not make the menu tree deep enough for its recursive copies and
// destruction to run out of stack.
constexpr int kMaxMenuDepth = 8;

// Reads the little-endian fields of a library front to back. Every read first checks that
// the bytes it takes are there; the first failure stops the reader, records what was being
// read, and every later read fails too.
class Reader
{
public:
    explicit Reader(std::string_view data)
        : m_data(data)
    { }

    bool U8(const char* what, std::uint8_t* value)
    {
        std::string_view bytes;
        if (!Take(what, 1, &bytes))
            return false;
        *value = static_cast<std::uint8_t>(bytes[0]);
        return true;
    }

    bool U16(const char* what, std::uint16_t* value)
    {
        std::string_view bytes;
        if (!Take(what, 2, &bytes))
            return false;
        *value = static_cast<std::uint16_t>(Byte(bytes, 0) | Byte(bytes, 1) << 8);
        return true;
    }

    bool U32(const char* what, std::uint32_t* value)
    {
        std::string_view bytes;
        if (!Take(what, 4, &bytes))
            return false;
        *value = Byte(bytes, 0) | Byte(bytes, 1) << 8 | Byte(bytes, 2) << 16
            | Byte(bytes, 3) << 24;
        return true;
    }

    // A text: its length, then its bytes.
    bool Text(const char* what, std::string* text)
    {
        std::uint32_t length = 0;
        std::string_view bytes;
        if (!U32(what, &length) || !Take(what, length, &bytes))
            return false;
        text->assign(bytes);
        return true;
    }

    bool Take(const char* what, std::size_t size, std::string_view* bytes)
    {
        if (!m_error.empty())
            return false;
        if (size > m_data.size() - m_offset)
            return Fail(std::string("the file ends inside ") + what);
        *bytes = m_data.substr(m_offset, size);
        m_offset += size;
        return true;
    }

    bool Fail(std::string problem)
    {
        if (m_error.empty())
            m_error = std::move(problem) + " (byte " + std::to_string(m_offset) + ")";
        return false;
    }

    bool AtEnd() const { return m_offset == m_data.size(); }
    const std::string& Error() const { return m_error; }

private:
    static std::uint32_t Byte(std::string_view bytes, std::size_t i)
    {
        return static_cast<unsigned char>(bytes[i]);
    }

    std::string_view m_data;
    std::size_t m_offset = 0;
    std::string m_error;
};

bool ReadStrings(Reader& in, std::uint32_t count, ResourceSet* set)
{
    std::set<std::uint32_t> seen;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t id = 0;
        std::string text;
        if (!in.U32("a string's id", &id) || !in.Text("a string", &text))
            return false;
        if (!seen.insert(id).second)
            return in.Fail("string " + std::to_string(id) + " is given twice");
        set->SetString(static_cast<int>(id), std::move(text));
    }
    return true;
}

bool ReadMenuEntry(Reader& in, MenuItem* item, int* depth)
{
    std::uint8_t kind = 0;
    std::uint8_t flags = 0;
    std::uint16_t entryDepth = 0;
    std::uint32_t command = 0;
    if (!in.U8("a menu entry", &kind) || !in.U8("a menu entry", &flags)
        || !in.U16("a menu entry", &entryDepth) || !in.U32("a menu entry", &command)
        || !in.Text("a menu entry's text", &item->text))
        return false;
    if (kind > 2)
        return in.Fail("a menu entry of unknown kind " + std::to_string(kind));
    if (flags > 1)
        return in.Fail("a menu entry with unknown flags");
    item->kind = static_cast<MenuItem::Kind>(kind);
    item->id = static_cast<int>(command);
    item->grayed = flags == 1;
    *depth = entryDepth;
    return true;
}

// A menu's entries come in order, each with its depth: an entry of depth d belongs to the
// nearest popup of depth d - 1 before it, or to the menu itself when d is 0.
bool ReadMenus(Reader& in, std::uint32_t count, ResourceSet* set)
{
    std::set<std::uint32_t> seen;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t id = 0;
        std::uint32_t entries = 0;
        if (!in.U32("a menu's id", &id) || !in.U32("a menu's entry count", &entries))
            return false;
        if (!seen.insert(id).second)
            return in.Fail("menu " + std::to_string(id) + " is given twice");
        MenuResource menu;
        menu.id = static_cast<int>(id);
        // open[d] is where entries of depth d go. A popup's list is pushed only after the
        // popup is in place, and dropped before anything else joins the list holding it.
        std::vector<std::vector<MenuItem>*> open { &menu.items };
        for (std::uint32_t e = 0; e < entries; ++e) {
            MenuItem item;
            int depth = 0;
            if (!ReadMenuEntry(in, &item, &depth))
                return false;
            if (static_cast<std::size_t>(depth) >= open.size())
                return in.Fail("a menu entry outside any popup");
            open.resize(static_cast<std::size_t>(depth) + 1);
            std::vector<MenuItem>& into = *open.back();
            into.push_back(std::move(item));
            if (into.back().kind == MenuItem::Kind::kPopup) {
                if (depth + 1 >= kMaxMenuDepth)
                    return in.Fail("menus nested too deep");
                open.push_back(&into.back().items);
            }
        }
        set->SetMenu(std::move(menu));
    }
    return true;
}

bool ReadDialogs(Reader& in, std::uint32_t count, ResourceSet* set)
{
    std::set<std::uint32_t> seen;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t id = 0;
        DialogResource dialog;
        std::uint32_t controls = 0;
        if (!in.U32("a dialog's id", &id) || !in.Text("a dialog's caption", &dialog.caption)
            || !in.U32("a dialog's control count", &controls))
            return false;
        if (!seen.insert(id).second)
            return in.Fail("dialog " + std::to_string(id) + " is given twice");
        dialog.id = static_cast<int>(id);
        std::set<std::uint32_t> seenControls;
        for (std::uint32_t c = 0; c < controls; ++c) {
            std::uint32_t control = 0;
            std::string text;
            if (!in.U32("a control's id", &control) || !in.Text("a control's text", &text))
                return false;
            if (!seenControls.insert(control).second)
                return in.Fail("control " + std::to_string(control) + " appears twice in dialog "
                               + std::to_string(id));
            dialog.controls.push_back({ static_cast<int>(control), std::move(text) });
        }
        set->SetDialog(std::move(dialog));
    }
    return true;
}

} // namespace

bool ParseLanguageLibrary(std::string_view data, ResourceSet* set, std::string* error)
{
    *set = ResourceSet();
    Reader in(data);
    std::string_view magic;
    std::uint32_t version = 0;
    std::uint32_t strings = 0;
    std::uint32_t menus = 0;
    std::uint32_t dialogs = 0;
    bool ok = in.Take("the header", kLanguageLibraryMagic.size(), &magic);
    if (ok && magic != kLanguageLibraryMagic)
        ok = in.Fail("not a language library");
    ok = ok && in.U32("the header", &version);
    if (ok && version != kLanguageLibraryVersion)
        ok = in.Fail("format version " + std::to_string(version) + " is not known");
    ok = ok && in.U32("the header", &strings) && in.U32("the header", &menus)
        && in.U32("the header", &dialogs) && ReadStrings(in, strings, set)
        && ReadMenus(in, menus, set) && ReadDialogs(in, dialogs, set);
    if (ok && !in.AtEnd())
        ok = in.Fail("bytes after the last dialog");
    if (!ok) {
        *error = in.Error();
        *set = ResourceSet();
    }
    return ok;
}

std::unique_ptr<ResourceSet> ReadLanguageLibrary(FileSystem& fs, const std::string& path,
                                                 std::string* error)
{
    std::string data;
    switch (ReadWholeFile(fs, path, kMaxLanguageLibrarySize, &data)) {
    case WholeFileRead::kRead:
        break;
    case WholeFileRead::kMissing:
        *error = "no such file";
        return nullptr;
    case WholeFileRead::kFailed:
        *error = "the file cannot be read or is too large";
        return nullptr;
    }
    auto set = std::make_unique<ResourceSet>();
    if (!ParseLanguageLibrary(data, set.get(), error))
        return nullptr;
    return set;
}

} // namespace platform
