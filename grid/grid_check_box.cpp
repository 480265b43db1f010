#include "grid/grid_check_box.h"

#include "platform/qt/ansi_string.h"

#include <QApplication>
#include <QKeyEvent>

namespace grid {

CGridCheckBox::CGridCheckBox(QWidget* parent, std::string_view caption,
    std::string_view trueText, std::string_view falseText)
    : QCheckBox(platform::qt::FromAnsi(caption), parent)
    , m_trueText(trueText)
    , m_falseText(falseText)
{
    setObjectName(QStringLiteral("CGridCheckBox"));
    QFont small = QApplication::font();
    small.setPointSize(8);
    setFont(small);
    setAutoFillBackground(true);
    setGeometry(0, 0, 40, 40);
    hide();
}

void CGridCheckBox::MoveTo(const QRect& rect)
{
    setGeometry(rect);
}

std::string CGridCheckBox::GetText() const
{
    return isChecked() ? m_trueText : m_falseText;
}

void CGridCheckBox::SetText(std::string_view text)
{
    setChecked(text == m_trueText);
}

void CGridCheckBox::keyPressEvent(QKeyEvent* event)
{
    if (!HandleCloseKey(event->key()))
        QCheckBox::keyPressEvent(event);
}

void CGridCheckBox::focusOutEvent(QFocusEvent* event)
{
    QCheckBox::focusOutEvent(event);
    if (!LostFocusToPopup(*event))
        RequestEndEdit();
}

} // namespace grid
