#include "shell/main_status_bar.h"

#include "platform/format_text.h"
#include "platform/qt/ansi_string.h"
#include "platform/resource_source.h"
#include "resources/resource_ids.h"

#include <QFontMetrics>
#include <QLabel>

namespace shell {
namespace {

using platform::qt::FromAnsi;

constexpr int kPanePadding = 12;

QLabel* MakePane(QStatusBar* bar, const char* name, int width)
{
    auto* pane = new QLabel(bar);
    pane->setObjectName(QString::fromLatin1(name));
    if (width > 0) {
        pane->setMinimumWidth(width + kPanePadding);
        pane->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    }
    return pane;
}

} // namespace

MainStatusBar::MainStatusBar(QWidget* parent)
    : QStatusBar(parent)
{
    setObjectName(QStringLiteral("MainStatusBar"));
    const QFontMetrics metrics(font());
    auto widthOf = [&metrics](const std::string& text) {
        return metrics.horizontalAdvance(FromAnsi(text));
    };
    m_panes[0] = MakePane(this, "MessagePane", 0);
    m_panes[1] = MakePane(this, "PositionPane",
        widthOf(platform::FormatText(platform::LoadString(IDS_CARET_POSITION), { 99999, 99999 })));
    m_panes[2] = MakePane(this, "CapsPane", widthOf(platform::LoadString(IDS_INDICATOR_CAPS)));
    m_panes[3] = MakePane(this, "NumPane", widthOf(platform::LoadString(IDS_INDICATOR_NUM)));
    m_panes[4] = MakePane(this, "ScrollPane", widthOf(platform::LoadString(IDS_INDICATOR_SCRL)));
    addWidget(m_panes[0], 1);
    for (int i = 1; i < kPaneCount; ++i)
        addPermanentWidget(m_panes[i]);
    ShowIdleMessage();
}

void MainStatusBar::SetPaneText(int pane, const std::string& text)
{
    if (pane < 0 || pane >= kPaneCount)
        return;
    m_panes[pane]->setText(FromAnsi(text));
    m_panes[pane]->repaint();
}

QString MainStatusBar::PaneText(int pane) const
{
    return pane >= 0 && pane < kPaneCount ? m_panes[pane]->text() : QString();
}

void MainStatusBar::ShowIdleMessage()
{
    SetPaneText(0, platform::LoadString(IDS_IDLE_MESSAGE));
}

} // namespace shell
