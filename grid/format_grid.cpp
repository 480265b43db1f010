#include "grid/format_grid.h"

#include "grid/grid_check_box.h"
#include "grid/grid_date.h"
#include "grid/grid_date_edit.h"
#include "grid/grid_edit.h"
#include "grid/grid_impl.h"

#include <algorithm>

namespace grid {

CFormatGrid::CFormatGrid(QWidget* parent)
    : CCtrlGrid(parent)
{
}

CFormatGrid::~CFormatGrid() = default;

void CFormatGrid::OnCreate()
{
    m_textEditor = new CGridEdit(viewport());
    m_dateEditor = new CGridDateEdit(viewport());
    m_dateEditor->SetDateFormatIndex(m_dateFormat);
    m_checkBox = new CGridCheckBox(viewport(), m_checkBoxCaption, m_trueText, m_falseText);
    for (CCtrlHelper* editor : { static_cast<CCtrlHelper*>(m_textEditor),
             static_cast<CCtrlHelper*>(m_dateEditor), static_cast<CCtrlHelper*>(m_checkBox) })
        editor->SetGrid(this);
    CCtrlGrid::OnCreate();
}

CCtrlHelper* CFormatGrid::GetEditorForType(int type) const
{
    switch (type) {
    case kCharacter:
    case kNumeric:
        return m_textEditor;
    case kLogical:
        return m_checkBox;
    case kDate:
        return m_dateEditor;
    default:
        return nullptr;
    }
}

void CFormatGrid::InsertColumn(int index, std::string_view title, int type, int width,
    int decimals, int pixelWidth, bool readOnly)
{
    const int characters = decimals > 0 ? width + decimals + 1 : width;
    int pixels = pixelWidth > 0 ? pixelWidth : characters * GetFontMetrics().maxCharWidth;
    if (pixels <= kMinColumnWidth)
        pixels = kMinColumnWidth + 1;
    const int alignment = type == kNumeric ? CGridImpl::kAlignRight : CGridImpl::kAlignLeft;
    CCtrlGrid::InsertColumn(index, title, characters, pixels, kMinColumnWidth, alignment,
        GetEditorForType(type), type != kLogical, readOnly);
    index = std::clamp(index, 0, static_cast<int>(m_columns.size()));
    m_columns.insert(m_columns.begin() + index,
        std::make_unique<CColumn>(CColumn { type, width, decimals }));
    ApplyColumnFit(index);
}

// The widest text of a number is its field full of digits (a sign takes one of the places,
// and is no wider than a digit); of a date, any date in the grid's date form; of a logical,
// the longer of its two texts.
void CFormatGrid::ApplyColumnFit(int index)
{
    const CColumn* column = GetColumn(index);
    if (!column)
        return;
    switch (column->type) {
    case kNumeric: {
        const int fraction = column->decimals > 0 ? column->decimals + 1 : 0;
        std::string widest(static_cast<std::size_t>(std::max(column->width - fraction, 1)), '9');
        if (column->decimals > 0)
            widest += "." + std::string(column->decimals, '9');
        SetColumnFit(index, widest, true);
        break;
    }
    case kDate:
        SetColumnFit(index, FormatGridDate({ 2000, 12, 28 }, m_dateFormat), true);
        break;
    case kLogical:
        SetColumnFit(index, m_trueText.size() >= m_falseText.size() ? m_trueText : m_falseText,
            false);
        break;
    default:
        break;
    }
}

void CFormatGrid::ClearColumns()
{
    CCtrlGrid::ClearColumns();
    m_columns.clear();
}

const CFormatGrid::CColumn* CFormatGrid::GetColumn(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_columns.size()))
        return nullptr;
    return m_columns[static_cast<size_t>(index)].get();
}

void CFormatGrid::SetBooleanTexts(
    std::string_view caption, std::string_view trueText, std::string_view falseText)
{
    m_checkBoxCaption = std::string(caption);
    m_trueText = std::string(trueText);
    m_falseText = std::string(falseText);
}

void CFormatGrid::SetDateFormatIndex(int format)
{
    m_dateFormat = format;
    if (m_dateEditor)
        m_dateEditor->SetDateFormatIndex(format);
    for (int i = 0; i < static_cast<int>(m_columns.size()); ++i) {
        if (m_columns[static_cast<size_t>(i)]->type == kDate)
            ApplyColumnFit(i);
    }
}

void CFormatGrid::PrepareEditor(CCtrlHelper* editor)
{
    const CColumn* column = GetColumn(GetCurrentColumn());
    auto* textEditor = dynamic_cast<CGridEdit*>(editor);
    if (!column || !textEditor)
        return;
    if (column->type == kCharacter)
        textEditor->setMaxLength(std::max(column->width, 1));
    else if (column->type == kNumeric)
        textEditor->setMaxLength(column->width + column->decimals + 1);
}

bool CFormatGrid::ValidateCell(int, int column, const std::string& text)
{
    const CColumn* record = GetColumn(column);
    if (!record || record->type != kNumeric)
        return true;
    return IsValidNumber(text, record->width, record->decimals);
}

// The sign and the point take places of the field too: a field of width 5 with 2 decimals
// holds at most "99.99" or "-9.99".
bool CFormatGrid::IsValidNumber(std::string_view text, int width, int decimals)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (text.empty())
        return false;
    const bool negative = text.front() == '-';
    if (negative)
        text.remove_prefix(1);
    int integerDigits = 0;
    int fractionDigits = 0;
    bool point = false;
    for (const char c : text) {
        if (c == '.') {
            if (point)
                return false;
            point = true;
        } else if (c >= '0' && c <= '9') {
            ++(point ? fractionDigits : integerDigits);
        } else {
            return false;
        }
    }
    if (integerDigits + fractionDigits == 0)
        return false;
    const int integerRoom = width - (decimals > 0 ? decimals + 1 : 0) - (negative ? 1 : 0);
    return fractionDigits <= decimals && integerDigits <= integerRoom;
}

void CFormatGrid::SetEditorsFont(const QFont& font, bool)
{
    SetGridFont(font);
    for (int type = 0; type < kTypeCount; ++type) {
        if (CCtrlHelper* editor = GetEditorForType(type))
            editor->Widget()->setFont(font);
    }
}

void CFormatGrid::OnEditCaretMoved(int) { }

void CFormatGrid::OnCaretPosition(int position)
{
    OnEditCaretMoved(position);
}

} // namespace grid
