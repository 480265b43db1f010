#pragma once

#include <QMainWindow>

class QMdiArea;

// The program's main window: a multiple-document area for the table windows and a status
// bar with the idle text.
class CMainFrame : public QMainWindow
{
    Q_OBJECT

public:
    explicit CMainFrame(QWidget* parent = nullptr);

    QMdiArea* MdiArea() const { return m_mdiArea; }

private:
    QMdiArea* m_mdiArea = nullptr;
};
