#include "shell/tool_bar.h"

#include "platform/qt/ansi_string.h"
#include "platform/resource_source.h"
#include "resources/resource_ids.h"
#include "shell/command_icons.h"
#include "shell/command_router.h"

#include <QAction>

namespace shell {

const std::vector<int>& CommandToolBar::Layout()
{
    static const std::vector<int> layout = {
        ID_FILE_OPEN, 0, ID_FILE_SAVE, 0, ID_RECORD_TOGGLE_DELETE, 0,
        ID_EDIT_FIND, ID_EDIT_GOTO, ID_EDIT_ADD_BOOKMARK, ID_EDIT_BOOKMARKS, 0,
        ID_TABLE_CODEPAGE, ID_TABLE_COLUMNS, ID_VIEW_ADJUST_COLUMNS, 0,
        ID_TABLE_FILTER, 0, ID_VIEW_REFRESH, 0,
        ID_FILE_OPEN_CLASSIFIERS, ID_CLASSIFIERS_REGION, ID_CLASSIFIERS_SETTLEMENT, 0,
        ID_APP_ABOUT,
    };
    return layout;
}

CommandToolBar::CommandToolBar(CommandRouter& router, bool flat, QWidget* parent)
    : QToolBar(parent)
    , m_router(router)
{
    setObjectName(QStringLiteral("IDR_TOOLBAR"));
    setIconSize(QSize(16, 16));
    setFloatable(false);
    if (!flat)
        setStyleSheet(QStringLiteral("QToolButton { border: 1px outset palette(mid); margin: 1px; }"));
    for (const int id : Layout()) {
        if (id == 0) {
            addSeparator();
            continue;
        }
        QAction* button = addAction(CommandIcon(id), QString());
        button->setObjectName(QStringLiteral("Button%1").arg(id));
        connect(button, &QAction::triggered, this, [this, id] {
            m_router.Execute(id);
        });
        m_buttons[id] = button;
    }
    ReloadTexts();
    UpdateStates();
}

void CommandToolBar::ReloadTexts()
{
    for (const auto& [id, button] : m_buttons) {
        const QString tip = platform::qt::FromAnsi(platform::LoadToolTip(id));
        button->setText(tip);
        button->setToolTip(tip);
        button->setStatusTip(platform::qt::FromAnsi(platform::LoadFlyByText(id)));
    }
}

void CommandToolBar::UpdateStates()
{
    for (const auto& [id, button] : m_buttons) {
        const CommandState state = m_router.Query(id);
        button->setEnabled(state.enabled);
        button->setCheckable(state.checkable);
        button->setChecked(state.checked);
    }
}

QAction* CommandToolBar::Button(int commandId) const
{
    const auto it = m_buttons.find(commandId);
    return it == m_buttons.end() ? nullptr : it->second;
}

} // namespace shell
