#include "shell/dialogs/region_progress_dialog.h"

#include "resources/resource_ids.h"
#include "shell/dialogs/dialog_texts.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace shell {

CRegionProgressDialog::CRegionProgressDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("IDD_REGION_PROGRESS"));
    setModal(false);
    const DialogTexts texts(IDD_REGION_PROGRESS);
    setWindowTitle(texts.Caption());

    // Without a caption the window's edge is its own frame.
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Panel);
    frame->setFrameShadow(QFrame::Raised);
    frame->setLineWidth(2);
    auto* label = new QLabel(texts.Control(IDC_REGION_PROGRESS_TEXT), frame);
    label->setObjectName(QStringLiteral("IDC_REGION_PROGRESS_TEXT"));
    label->setTextFormat(Qt::PlainText);
    m_bar = new QProgressBar(frame);
    m_bar->setObjectName(QStringLiteral("IDC_REGION_PROGRESS"));
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    m_bar->setTextVisible(false);

    auto* inner = new QVBoxLayout(frame);
    inner->setContentsMargins(18, 14, 18, 16);
    inner->setSpacing(10);
    inner->addWidget(label);
    inner->addWidget(m_bar);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame);
    setMinimumWidth(380);
    adjustSize();
}

void CRegionProgressDialog::ShowNow()
{
    if (QWidget* over = parentWidget()) {
        move(over->mapToGlobal(over->rect().center()) - QPoint(width() / 2, height() / 2));
    }
    show();
    raise();
    // The window gets its place on the screen from the event loop; the building that
    // follows does not return to it, so this one turn lets the window appear.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
}

void CRegionProgressDialog::SetProgress(int percent)
{
    if (percent == m_bar->value())
        return;
    m_bar->setValue(percent);
    m_bar->repaint();
}

int CRegionProgressDialog::Progress() const
{
    return m_bar->value();
}

} // namespace shell
