#pragma once

#include "platform/resource_source.h"

#include <QObject>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace shell {

class CommandRouter;
class CommandTarget;

// Turns the menus of the resource set into widgets whose items run their commands through
// the router. A popup takes its items' states (enabled, checked, a changed text) from the
// router each time it opens, so menus never show a stale state. The File menu's "Recent
// table" item stands for the recent list: when the list has entries they take its place.
//
// An item's text shows its shortcut after a tab; the keys themselves are bound once for the
// whole main window (BindKeyboard), so they work whichever menu is shown. The editing keys
// (undo, copy, paste) are bound to each table window instead (BindEditingKeys).
class CommandMenus : public QObject
{
    Q_OBJECT

public:
    // The recent list's menu texts, most recent first (file-system bytes).
    using RecentTexts = std::function<std::vector<std::string>()>;

    CommandMenus(CommandRouter& router, RecentTexts recentTexts, QObject* parent = nullptr);

    // Replaces the menus of `bar` with menu `menuId` of the resource set. False when the
    // set has no such menu (the bar is then left empty).
    bool Fill(QMenuBar* bar, int menuId);
    // Popup `index` of menu `menuId`, for a context menu; null when there is none.
    std::unique_ptr<QMenu> MakePopup(int menuId, int index, QWidget* parent);

    // Sets the states of `menu`'s items from the router (its submenus' when they open).
    void UpdateItems(QMenu* menu);

    // The key bindings of the main window: each key runs its command when it is enabled.
    static void BindKeyboard(QWidget* window, CommandRouter& router);
    // The editing keys of a table window: each runs its command on `target` (the window)
    // when it is enabled, while the focus is inside `window`. An open cell editor claims the
    // keys it knows itself before they get here. `target` must outlive `window`'s keys.
    static void BindEditingKeys(QWidget* window, CommandTarget& target);

private:
    QMenu* BuildPopup(const platform::MenuItem& popup, QWidget* parent);
    void AddItems(QMenu* menu, const std::vector<platform::MenuItem>& items);
    void FillRecent(QMenu* menu, QAction* anchor);

    CommandRouter& m_router;
    RecentTexts m_recentTexts;
};

} // namespace shell
