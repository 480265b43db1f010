#pragma once

#include <QEvent>
#include <QRect>

#include <string>
#include <string_view>

class QFocusEvent;
class QWidget;

namespace grid {

// The grid family's private requests from an editor to its grid, as events sent at once
// (synchronously) to the grid. Their types are registered with Qt, so they never collide
// with events an owner defines.
class GridEndEditEvent : public QEvent
{
public:
    GridEndEditEvent();
    static QEvent::Type EventType();
};

// An editor's caret moved to character `position`.
class GridCaretPosEvent : public QEvent
{
public:
    explicit GridCaretPosEvent(int position);
    static QEvent::Type EventType();
    int Position() const { return m_position; }

private:
    int m_position;
};

// What the grid needs of an in-cell editor, the second base of every editor: place it on a
// cell, give it the cell's text and take the edited text back, both in code page 1251.
// Escape sets the cancelled flag, which the grid clears whenever it opens the editor.
// Editors live hidden as children of the grid's viewport; `grid` receives their requests.
class CCtrlHelper
{
public:
    virtual ~CCtrlHelper() = default;

    virtual void MoveTo(const QRect& rect) = 0;
    virtual std::string GetText() const = 0;
    virtual void SetText(std::string_view text) = 0;

    virtual QWidget* Widget() = 0;

    bool IsCancelled() const { return m_cancelled; }
    void SetCancelled(bool cancelled) { m_cancelled = cancelled; }
    void SetGrid(QWidget* grid) { m_grid = grid; }

protected:
    // Asks the grid to close this editor (Enter, Escape, focus lost).
    void RequestEndEdit();
    // Enter closes the editor, Escape closes it cancelled; true when `key` was one of them.
    bool HandleCloseKey(int key);
    void ReportCaret(int position);
    // The focus went to a popup, such as the editor's own context menu, which gives it back
    // when it closes: the editor stays open for what the menu does.
    static bool LostFocusToPopup(const QFocusEvent& event);

private:
    bool m_cancelled = false;
    QWidget* m_grid = nullptr;
};

} // namespace grid
