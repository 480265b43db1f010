#pragma once

#include <QDialog>

class QProgressBar;

namespace shell {

// The window shown, modeless and without a caption, over the main window while the region
// table of a classifier directory is built: the text of dialog 154 and a bar from 0 to 100.
// Every change of the bar is painted at once, as the building runs without the event loop.
class CRegionProgressDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CRegionProgressDialog(QWidget* parent);

    // Shows the window over its parent and paints it before the work starts.
    void ShowNow();
    void SetProgress(int percent);
    int Progress() const;

private:
    QProgressBar* m_bar = nullptr;
};

} // namespace shell
