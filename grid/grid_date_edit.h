#pragma once

#include "grid/ctrl_helper.h"
#include "grid/grid_date.h"

#include <QDateEdit>

namespace grid {

// The editor of date cells: a date picker in the grid's date form with an empty state. A
// text that does not parse as a date of the years 1001 to 9999 opens it empty. In the empty
// state Space, Up, Down or a digit start from today's date; Delete empties it, whatever it
// was opened on. A wheel turn over it is the grid's, which closes it.
//
// An editor the user did not touch hands back exactly the text it was opened with, so
// opening and closing a cell never changes it, whatever the picker could show of it.
class CGridDateEdit : public QDateEdit, public CCtrlHelper
{
    Q_OBJECT

public:
    explicit CGridDateEdit(QWidget* parent);

    void MoveTo(const QRect& rect) override;
    std::string GetText() const override;
    void SetText(std::string_view text) override;
    QWidget* Widget() override { return this; }

    void SetDateFormatIndex(int format) { m_format = format; }
    int GetDateFormatIndex() const { return m_format; }

    bool IsEmpty() const { return date() == EmptyDate(); }
    void SetEmpty();
    static QDate EmptyDate();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int m_format = kDefaultDateFormat;
    std::string m_openedText;
    bool m_touched = false;
    bool m_settingText = false;
};

} // namespace grid
