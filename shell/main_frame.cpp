#include "shell/main_frame.h"

#include <QMdiArea>
#include <QStatusBar>

CMainFrame::CMainFrame(QWidget* parent)
    : QMainWindow(parent)
    , m_mdiArea(new QMdiArea(this))
{
    setWindowTitle(QStringLiteral("Lumetta"));
    setCentralWidget(m_mdiArea);
    statusBar()->showMessage(QStringLiteral("Press F1 for help"));
    resize(900, 600);
}
