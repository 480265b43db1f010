#include "shell/command_menus.h"

#include "platform/qt/ansi_string.h"
#include "resources/resource_ids.h"
#include "shell/command_router.h"
#include "shell/path_text.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

namespace shell {
namespace {

using platform::qt::FromAnsi;

constexpr const char* kCommandProperty = "lumettaCommand";
constexpr const char* kTextProperty = "lumettaText";
constexpr const char* kRecentProperty = "lumettaRecent";

// The keys of the main window and the commands they run.
struct KeyBinding
{
    QKeyCombination key;
    int command;
};

const KeyBinding kKeyboard[] = {
    { Qt::CTRL | Qt::Key_O, ID_FILE_OPEN },
    { Qt::CTRL | Qt::Key_S, ID_FILE_SAVE },
    { Qt::CTRL | Qt::Key_F, ID_EDIT_FIND },
    { Qt::CTRL | Qt::Key_H, ID_EDIT_REPLACE },
    { Qt::CTRL | Qt::Key_G, ID_EDIT_GOTO },
    { Qt::CTRL | Qt::Key_A, ID_EDIT_ADD_BOOKMARK },
    { Qt::CTRL | Qt::Key_B, ID_EDIT_BOOKMARKS },
    { Qt::CTRL | Qt::Key_N, ID_RECORD_APPEND_EMPTY },
    { Qt::CTRL | Qt::SHIFT | Qt::Key_N, ID_RECORD_APPEND_COPY },
    { Qt::CTRL | Qt::Key_T, ID_RECORD_TOGGLE_DELETE },
    { Qt::CTRL | Qt::Key_P, ID_TABLE_PACK },
    { Qt::Key_F5, ID_VIEW_REFRESH },
    { Qt::Key_F1, ID_HELP },
};

// The editing keys act on the table window holding the focus, and only there: typed in the
// font bar's size box, Alt+Backspace must not take back a table's change.
const KeyBinding kEditingKeys[] = {
    { Qt::CTRL | Qt::Key_Z, ID_EDIT_UNDO },
    { Qt::ALT | Qt::Key_Backspace, ID_EDIT_UNDO },
    { Qt::CTRL | Qt::Key_C, ID_EDIT_COPY },
    { Qt::CTRL | Qt::Key_Insert, ID_EDIT_COPY },
    { Qt::CTRL | Qt::Key_V, ID_EDIT_PASTE },
    { Qt::SHIFT | Qt::Key_Insert, ID_EDIT_PASTE },
};

int CommandOf(const QAction* action)
{
    return action->property(kCommandProperty).toInt();
}

} // namespace

CommandMenus::CommandMenus(CommandRouter& router, RecentTexts recentTexts, QObject* parent)
    : QObject(parent)
    , m_router(router)
    , m_recentTexts(std::move(recentTexts))
{
}

bool CommandMenus::Fill(QMenuBar* bar, int menuId)
{
    // The old popups go later: the command that led here may run from one of them.
    const QList<QMenu*> old = bar->findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly);
    bar->clear();
    for (QMenu* menu : old)
        menu->deleteLater();
    const std::optional<platform::MenuResource> resource = platform::LoadMenu(menuId);
    if (!resource)
        return false;
    for (const platform::MenuItem& item : resource->items) {
        if (item.kind == platform::MenuItem::Kind::kPopup)
            bar->addMenu(BuildPopup(item, bar));
    }
    return true;
}

std::unique_ptr<QMenu> CommandMenus::MakePopup(int menuId, int index, QWidget* parent)
{
    const std::optional<platform::MenuResource> resource = platform::LoadMenu(menuId);
    if (!resource || index < 0 || index >= static_cast<int>(resource->items.size()))
        return nullptr;
    const platform::MenuItem& item = resource->items[static_cast<std::size_t>(index)];
    if (item.kind != platform::MenuItem::Kind::kPopup)
        return nullptr;
    std::unique_ptr<QMenu> menu(BuildPopup(item, parent));
    UpdateItems(menu.get());
    return menu;
}

QMenu* CommandMenus::BuildPopup(const platform::MenuItem& popup, QWidget* parent)
{
    auto* menu = new QMenu(FromAnsi(popup.text), parent);
    AddItems(menu, popup.items);
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { UpdateItems(menu); });
    return menu;
}

void CommandMenus::AddItems(QMenu* menu, const std::vector<platform::MenuItem>& items)
{
    for (const platform::MenuItem& item : items) {
        switch (item.kind) {
        case platform::MenuItem::Kind::kSeparator:
            menu->addSeparator();
            break;
        case platform::MenuItem::Kind::kPopup:
            menu->addMenu(BuildPopup(item, menu));
            break;
        case platform::MenuItem::Kind::kCommand: {
            QAction* action = menu->addAction(FromAnsi(item.text));
            action->setProperty(kCommandProperty, item.id);
            action->setProperty(kTextProperty, action->text());
            action->setStatusTip(FromAnsi(platform::LoadFlyByText(item.id)));
            action->setEnabled(!item.grayed);
            const int id = item.id;
            connect(action, &QAction::triggered, this, [this, id] { m_router.Execute(id); });
            break;
        }
        }
    }
}

void CommandMenus::UpdateItems(QMenu* menu)
{
    QAction* recentAnchor = nullptr;
    for (QAction* action : menu->actions()) {
        const int id = CommandOf(action);
        if (id == 0 || action->property(kRecentProperty).toBool())
            continue;
        if (id == ID_FILE_MRU_FILE1) {
            recentAnchor = action;
            continue;
        }
        const CommandState state = m_router.Query(id);
        action->setEnabled(state.enabled);
        action->setCheckable(state.checkable);
        action->setChecked(state.checked);
        action->setText(state.text ? FromAnsi(*state.text)
                                   : action->property(kTextProperty).toString());
    }
    if (recentAnchor)
        FillRecent(menu, recentAnchor);
}

void CommandMenus::FillRecent(QMenu* menu, QAction* anchor)
{
    for (QAction* action : menu->actions()) {
        if (action->property(kRecentProperty).toBool()) {
            menu->removeAction(action);
            action->deleteLater();
        }
    }
    const std::vector<std::string> texts = m_recentTexts ? m_recentTexts() : std::vector<std::string>();
    // With no entries the item itself shows, greyed, as "Recent table".
    anchor->setVisible(texts.empty());
    anchor->setEnabled(false);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const int id = ID_FILE_MRU_FILE1 + static_cast<int>(i);
        auto* action = new QAction(PathToQString(texts[i]), menu);
        action->setProperty(kCommandProperty, id);
        action->setProperty(kRecentProperty, true);
        action->setStatusTip(FromAnsi(platform::LoadFlyByText(id)));
        action->setEnabled(m_router.Query(id).enabled);
        connect(action, &QAction::triggered, this, [this, id] { m_router.Execute(id); });
        menu->insertAction(anchor, action);
    }
}

void CommandMenus::BindKeyboard(QWidget* window, CommandRouter& router)
{
    for (const KeyBinding& binding : kKeyboard) {
        auto* shortcut = new QShortcut(QKeySequence(binding.key), window);
        shortcut->setObjectName(QStringLiteral("Key%1").arg(binding.command));
        const int id = binding.command;
        QObject::connect(shortcut, &QShortcut::activated, window, [&router, id] { router.Execute(id); });
    }
}

void CommandMenus::BindEditingKeys(QWidget* window, CommandTarget& target)
{
    for (const KeyBinding& binding : kEditingKeys) {
        auto* shortcut = new QShortcut(QKeySequence(binding.key), window);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        shortcut->setObjectName(QStringLiteral("Key%1").arg(binding.command));
        const int id = binding.command;
        QObject::connect(shortcut, &QShortcut::activated, window, [&target, id] {
            CommandState state;
            if (target.UpdateCommand(id, &state) && state.enabled)
                target.ExecuteCommand(id);
        });
    }
}

} // namespace shell
