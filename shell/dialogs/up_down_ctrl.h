#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace shell {

// The up and down arrows beside a number edit, its buddy: an arrow, or the Up and Down keys
// typed in the edit, steps the edit's number by one within the control's range. The buddy
// takes digits only; with `capTyped` it also refuses a number above the range, so what can
// be typed is what the arrows can reach.
//
// The range is 64-bit: a table's record numbers go far beyond what a classic up-down
// control held. The buddy is not owned; it must outlive the control's use of it.
class CUpDownCtrl : public QWidget
{
    Q_OBJECT

public:
    explicit CUpDownCtrl(QWidget* parent = nullptr);

    void SetBuddy(QLineEdit* buddy, bool capTyped);
    // REQUIRES: lowest >= 0. An empty range (highest < lowest) makes the arrows do nothing.
    void SetRange(long long lowest, long long highest);
    long long Lowest() const { return m_lowest; }
    long long Highest() const { return m_highest; }

    // Moves the buddy's number `steps` up (down when negative), kept within the range; an
    // edit holding no number starts from the bottom of the range.
    void Step(int steps);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_buddy = nullptr;
    QToolButton* m_up = nullptr;
    QToolButton* m_down = nullptr;
    long long m_lowest = 0;
    long long m_highest = 100;
    bool m_capTyped = false;
};

// The number an edit holds, 0 when it holds none (empty, or not digits).
long long NumberOfEdit(const QLineEdit* edit);

} // namespace shell
