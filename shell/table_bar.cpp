#include "shell/table_bar.h"

#include "shell/task_child_wnd.h"

#include <QPaintEvent>
#include <QStyleOptionTab>
#include <QStylePainter>

namespace shell {

TableTabBar::TableTabBar(QWidget* parent)
    : QTabBar(parent)
{
    setObjectName(QStringLiteral("IDC_TABLE_TABS"));
    setExpanding(false);
    setUsesScrollButtons(true);
    setDrawBase(false);
    setElideMode(Qt::ElideNone);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(this, &QTabBar::tabBarClicked, this, [this](int index) {
        if (CTaskChildWnd* window = WindowAt(index))
            emit WindowClicked(window);
    });
}

void TableTabBar::AddWindow(CTaskChildWnd* window, const QIcon& icon)
{
    const int index = addTab(icon, window->TabLabel());
    setTabData(index, QVariant::fromValue(static_cast<QObject*>(window)));
    setTabToolTip(index, window->windowTitle().left(kMaxToolTip));
}

void TableTabBar::RemoveWindow(CTaskChildWnd* window)
{
    const int index = IndexOf(window);
    if (index >= 0)
        removeTab(index);
}

void TableTabBar::SelectWindow(CTaskChildWnd* window)
{
    const int index = IndexOf(window);
    if (index < 0)
        return;
    m_noSelection = false;
    setCurrentIndex(index);
    update();
}

void TableTabBar::ClearSelection()
{
    m_noSelection = true;
    update();
}

void TableTabBar::UpdateWindow(CTaskChildWnd* window)
{
    const int index = IndexOf(window);
    if (index < 0)
        return;
    setTabText(index, window->TabLabel());
    setTabToolTip(index, window->windowTitle().left(kMaxToolTip));
}

int TableTabBar::IndexOf(const CTaskChildWnd* window) const
{
    for (int i = 0; i < count(); ++i) {
        if (tabData(i).value<QObject*>() == window)
            return i;
    }
    return -1;
}

CTaskChildWnd* TableTabBar::WindowAt(int index) const
{
    if (index < 0 || index >= count())
        return nullptr;
    return qobject_cast<CTaskChildWnd*>(tabData(index).value<QObject*>());
}

void TableTabBar::paintEvent(QPaintEvent* event)
{
    if (!m_noSelection) {
        QTabBar::paintEvent(event);
        return;
    }
    // Every tab drawn as not selected; the rest is as the style draws a tab bar.
    QStylePainter painter(this);
    for (int i = 0; i < count(); ++i) {
        QStyleOptionTab option;
        initStyleOption(&option, i);
        option.state &= ~QStyle::State_Selected;
        if (!option.rect.intersects(event->rect()))
            continue;
        painter.drawControl(QStyle::CE_TabBarTab, option);
    }
}

} // namespace shell
