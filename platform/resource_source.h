#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// One entry of a menu: a command, a separator, or a popup holding further entries.
// Texts are cp1251 bytes: '&' marks the access key ("&&" is a literal '&'), and a tab
// separates the label from the shortcut shown beside it ("&Save\tCtrl+S").
struct MenuItem
{
    enum class Kind { kCommand, kSeparator, kPopup };

    Kind kind = Kind::kCommand;
    int id = 0; // the command of a kCommand entry; 0 otherwise
    std::string text;
    bool grayed = false; // shown disabled until the program enables it
    std::vector<MenuItem> items; // the entries of a kPopup

    std::string_view Label() const; // the text before the tab
    std::string_view Shortcut() const; // the text after the tab; empty when there is none

    friend bool operator==(const MenuItem&, const MenuItem&) = default;
};

// A whole menu: its top-level entries, usually popups.
struct MenuResource
{
    int id = 0;
    std::vector<MenuItem> items;

    // The first command entry with this id, depth first; nullptr when there is none.
    const MenuItem* FindCommand(int commandId) const;

    friend bool operator==(const MenuResource&, const MenuResource&) = default;
};

// The texts of one dialog: its caption and the text of each control that shows one.
// Control ids are unique within a dialog.
struct DialogResource
{
    struct Control
    {
        int id = 0;
        std::string text;

        friend bool operator==(const Control&, const Control&) = default;
    };

    int id = 0;
    std::string caption;
    std::vector<Control> controls;

    // The text of control `controlId`; nullptr when the dialog gives none.
    const std::string* ControlText(int controlId) const;

    friend bool operator==(const DialogResource&, const DialogResource&) = default;
};

// A set of user-interface resources in one language, looked up by numeric id. Strings,
// menus and dialogs are separate kinds: string 130 and dialog 130 are unrelated. Results
// are copies, so they stay valid when the set is replaced (the language can change while
// windows hold texts taken from the previous set). Texts are cp1251 bytes.
class ResourceSource
{
public:
    virtual ~ResourceSource() = default;

    virtual std::optional<std::string> FindString(int id) const = 0;
    virtual std::optional<MenuResource> FindMenu(int id) const = 0;
    virtual std::optional<DialogResource> FindDialog(int id) const = 0;
};

// The resource set everything asks. Until one is installed, an empty set answers and every
// lookup misses. The program installs its built-in set at start-up; a language switch
// installs another as a whole.
const ResourceSource& CurrentResources();

// Makes `source` current and gives back the previous one (nullptr when none had been
// installed), so that a caller can put it back. REQUIRES: source != nullptr.
std::unique_ptr<ResourceSource> InstallResources(std::unique_ptr<ResourceSource> source);

// Lookups in the current set. A missing string reads as empty text, as the platform's
// string loading gives it; a missing menu or dialog as nothing.
std::string LoadString(int id);
std::optional<MenuResource> LoadMenu(int id);
std::optional<DialogResource> LoadDialog(int id);

// A command's string holds its fly-by text for the status bar, a line break, and its tool
// tip. Either is empty when the command has no string or the string lacks that part.
std::string LoadFlyByText(int commandId);
std::string LoadToolTip(int commandId);

} // namespace platform
