#pragma once

#include <QMdiSubWindow>

namespace shell {

// A window inside the main window that has a tab on the table bar. Its tab shows TabLabel;
// it tells the main window when its label may have changed and when it was minimized, which
// hides it (the tab brings it back). Owned by the main window's window area.
class CTaskChildWnd : public QMdiSubWindow
{
    Q_OBJECT

public:
    explicit CTaskChildWnd(QWidget* parent = nullptr);

    // The text of the window's tab; the window's title unless a window says otherwise.
    virtual QString TabLabel() const;

    // Shows the window again after it was minimized, in the state it had before.
    void Restore();

signals:
    void TabLabelChanged();
    void Minimized();
    // The window agreed to close; it is deleted soon after.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool m_maximizedBeforeMinimize = false;
};

} // namespace shell
