#pragma once

#include "grid/ctrl_grid.h"

#include <memory>
#include <string>
#include <vector>

namespace grid {

class CGridCheckBox;
class CGridDateEdit;
class CGridEdit;

// A grid of typed columns. The owner adds a column with a type, a width in characters and
// decimals; the grid chooses its pixel width, alignment, editor, the editor's text limit and
// the check of numeric input. It makes and owns (through Qt parenthood) the three editors,
// one of each kind, shared by all columns of the kind.
//
// User-visible texts: the check box's caption and the texts of true and false are set by
// the owner with SetBooleanTexts (English defaults "boolean", "true", "false"); they are
// taken when the editors are made, at creation.
//
// REQUIRES: columns are inserted after Create (the editors exist from then on).
class CFormatGrid : public CCtrlGrid
{
    Q_OBJECT

public:
    enum ColumnType {
        kCharacter = 0,
        kLogical = 1,
        kNumeric = 2,
        kDate = 3,
        kMemo = 4,
        kSchemaDescribed = 5,
    };
    static constexpr int kTypeCount = 6;
    static constexpr int kMinColumnWidth = 20;

    struct CColumn
    {
        int type = kCharacter;
        int width = 0; // characters
        int decimals = 0;
    };

    explicit CFormatGrid(QWidget* parent = nullptr);
    ~CFormatGrid() override;

    // `title` in code page 1251. A pixel width <= 0 is derived from the font.
    void InsertColumn(int index, std::string_view title, int type, int width, int decimals,
        int pixelWidth, bool readOnly);
    void ClearColumns() override;
    const CColumn* GetColumn(int index) const;

    // Texts in code page 1251.
    void SetBooleanTexts(std::string_view caption, std::string_view trueText,
        std::string_view falseText);
    void SetDateFormatIndex(int format);
    int GetDateFormatIndex() const { return m_dateFormat; }

    void PrepareEditor(CCtrlHelper* editor) override;
    bool ValidateCell(int row, int column, const std::string& text) override;

    // The typed grid's operations, in their fixed order, after those of CCtrlGrid.
    // `flag` is kept for the callers' sake and has no effect.
    virtual void SetEditorsFont(const QFont& font, bool flag);
    virtual void OnEditCaretMoved(int position);

    // Numeric input: blanks around it are ignored; an optional leading minus, digits and at
    // most one point, at least one digit; at most `decimals` digits after the point, and the
    // sign, the integer digits and the point must fit in `width` characters with the
    // decimals.
    static bool IsValidNumber(std::string_view text, int width, int decimals);

    CGridEdit* GetTextEditor() const { return m_textEditor; }
    CGridDateEdit* GetDateEditor() const { return m_dateEditor; }
    CGridCheckBox* GetCheckBox() const { return m_checkBox; }
    CCtrlHelper* GetEditorForType(int type) const;

protected:
    void OnCreate() override;
    void OnCaretPosition(int position) override;

private:
    void ApplyColumnFit(int index);

    std::string m_checkBoxCaption = "boolean";
    std::string m_trueText = "true";
    std::string m_falseText = "false";
    int m_dateFormat = 4;
    CGridEdit* m_textEditor = nullptr;
    CGridDateEdit* m_dateEditor = nullptr;
    CGridCheckBox* m_checkBox = nullptr;
    std::vector<std::unique_ptr<CColumn>> m_columns;
};

} // namespace grid
