#include "shell/dialogs/up_down_ctrl.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QValidator>
#include <QVBoxLayout>

#include <algorithm>

namespace shell {
namespace {

// Eighteen digits always fit a long long, and no table has that many records.
constexpr int kMaxDigits = 18;

// Digits only; with a cap, no number above the control's top. An empty edit (or a 0, which
// no range here holds) is a number still being typed.
class NumberValidator final : public QValidator
{
public:
    NumberValidator(const CUpDownCtrl* range, bool cap, QObject* parent)
        : QValidator(parent)
        , m_range(range)
        , m_cap(cap)
    {
    }

    State validate(QString& input, int&) const override
    {
        if (input.isEmpty())
            return Intermediate;
        if (input.size() > kMaxDigits)
            return Invalid;
        for (const QChar c : input) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return Invalid;
        }
        const long long value = input.toLongLong();
        if (m_cap && value > std::max(m_range->Highest(), 0LL))
            return Invalid;
        return value < m_range->Lowest() || value > m_range->Highest() ? Intermediate : Acceptable;
    }

private:
    const CUpDownCtrl* m_range;
    bool m_cap;
};

QToolButton* MakeArrow(Qt::ArrowType arrow, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    button->setFixedWidth(16);
    button->setIconSize(QSize(8, 8));
    return button;
}

} // namespace

long long NumberOfEdit(const QLineEdit* edit)
{
    bool ok = false;
    const long long value = edit->text().toLongLong(&ok);
    return ok && value > 0 ? value : 0;
}

CUpDownCtrl::CUpDownCtrl(QWidget* parent)
    : QWidget(parent)
{
    m_up = MakeArrow(Qt::UpArrow, this);
    m_down = MakeArrow(Qt::DownArrow, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_up);
    layout->addWidget(m_down);
    connect(m_up, &QToolButton::clicked, this, [this] { Step(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { Step(-1); });
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
}

void CUpDownCtrl::SetBuddy(QLineEdit* buddy, bool capTyped)
{
    if (m_buddy)
        m_buddy->removeEventFilter(this);
    m_buddy = buddy;
    m_capTyped = capTyped;
    buddy->setValidator(new NumberValidator(this, capTyped, buddy));
    buddy->installEventFilter(this);
    // The arrows stand beside the edit, as tall as it is.
    setFixedHeight(buddy->sizeHint().height());
}

void CUpDownCtrl::SetRange(long long lowest, long long highest)
{
    m_lowest = lowest;
    m_highest = highest;
}

void CUpDownCtrl::Step(int steps)
{
    if (!m_buddy || m_highest < m_lowest)
        return;
    const long long current = NumberOfEdit(m_buddy);
    long long next = current < m_lowest ? m_lowest : current + steps;
    next = std::clamp(next, m_lowest, m_highest);
    m_buddy->setText(QString::number(next));
    m_buddy->selectAll();
}

bool CUpDownCtrl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_buddy && event->type() == QEvent::KeyPress && isEnabled()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace shell
