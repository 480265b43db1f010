#pragma once

#include "grid/ctrl_helper.h"

#include <QCheckBox>

namespace grid {

// The editor of logical cells: checked exactly when the cell's text is the true text, byte
// for byte; hands back the true or the false text. Keeps its own small font unless the
// grid's editors are given one.
class CGridCheckBox : public QCheckBox, public CCtrlHelper
{
    Q_OBJECT

public:
    // `caption`, `trueText` and `falseText` are in code page 1251.
    CGridCheckBox(QWidget* parent, std::string_view caption, std::string_view trueText,
        std::string_view falseText);

    void MoveTo(const QRect& rect) override;
    std::string GetText() const override;
    void SetText(std::string_view text) override;
    QWidget* Widget() override { return this; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    std::string m_trueText;
    std::string m_falseText;
};

} // namespace grid
