#pragma once

#include "grid/ctrl_helper.h"

#include <QLineEdit>

namespace grid {

// The single-line text editor of character and numeric cells. Enter closes it, Escape
// cancels, leaving it closes it; while it is open every move of its caret is reported to the
// grid (once per new position) so the owner can show where the user types.
class CGridEdit : public QLineEdit, public CCtrlHelper
{
    Q_OBJECT

public:
    explicit CGridEdit(QWidget* parent);

    void MoveTo(const QRect& rect) override;
    std::string GetText() const override;
    void SetText(std::string_view text) override;
    QWidget* Widget() override { return this; }

    int CaretPositionCache() const { return m_caretPosition; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void CaretReport();

    int m_caretPosition = -1;
};

} // namespace grid
