#pragma once

#include <QDialog>

#include <string>
#include <utility>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace shell {

// What one search looks for: the text (cp1251), the column by its title (empty: every
// visible column) and the two options.
struct SearchRequest
{
    std::string findText;
    std::string columnTitle;
    bool caseSensitive = false;
    bool wholeWord = false;
};

// What the Search dialog searches and replaces in: a table window's grid. Direction 0 is
// forward, 1 backward, 2 the entire scope from the first row.
class SearchTarget
{
public:
    virtual ~SearchTarget() = default;

    // Moves the cursor to the next matching cell; false when there is none (saying so when
    // `showNotFound`).
    virtual bool Find(const SearchRequest& request, int direction, bool showNotFound) = 0;
    // Replaces the first occurrence of `findText` in the current cell; false when it does not
    // occur there or the column refuses the result.
    virtual bool ReplaceInCurrentCell(
        const std::string& findText, const std::string& replaceText, bool caseSensitive)
        = 0;
    // Replaces in every matching cell from the first row; gives the number replaced.
    virtual int ReplaceAll(const SearchRequest& request, const std::string& replaceText) = 0;
};

// The Search dialog (template 138): finds a text in the cells of a table window, or replaces
// it, and stays open for the next search until closed. A table window keeps one for its
// lifetime, so the options, the chosen column and the lists of texts looked for and put in
// (newest first, each text once) survive from one opening to the next.
//
// In find mode the replace controls are hidden and "&Replace..." turns the dialog into the
// replace mode. A repeated "&Find next" with the same text in the entire scope goes on
// forward from the last cell found rather than from the top again, unless the user clicked
// "Entire scope" since the opening; so does "&Replace", which replaces in the current cell
// and finds the next one. "Replace &All" ends with a box telling how many cells changed.
//
// Texts are cp1251 at this interface. `target` is not owned and must outlive the dialog.
class CSearchDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CSearchDialog(SearchTarget& target, QWidget* parent = nullptr);

    // Made ready for one opening (before exec): the mode, the table's name and the titles of
    // the columns shown now. The column chosen before stays chosen while it is shown.
    void Prepare(bool replaceMode, const std::string& tableName,
        const std::vector<std::string>& columnTitles);

    bool ReplaceMode() const { return m_replaceMode; }
    const std::vector<std::string>& FindHistory() const { return m_findHistory; }
    const std::vector<std::string>& ReplaceHistory() const { return m_replaceHistory; }

protected:
    void showEvent(QShowEvent* event) override;

public slots:
    // "&Close", Escape and the window's close box: the texts typed are kept as after any
    // other button.
    void reject() override;

private:
    void FindNext();
    void Replace();
    void ReplaceAll();
    void LoadTexts();
    void SetReplaceMode(bool replaceMode);
    void UpdateButtons();
    // After every button: the texts typed go to the top of their lists unless already there.
    void RememberTexts();
    SearchRequest Request() const;
    std::string FindText() const;
    std::string ReplaceText() const;

    SearchTarget& m_target;
    QLabel* m_tableName = nullptr;
    QComboBox* m_find = nullptr;
    QLabel* m_replaceLabel = nullptr;
    QComboBox* m_replace = nullptr;
    QComboBox* m_column = nullptr;
    QCheckBox* m_caseSensitive = nullptr;
    QCheckBox* m_wholeWord = nullptr;
    QButtonGroup* m_direction = nullptr;
    QPushButton* m_findNext = nullptr;
    QPushButton* m_replaceButton = nullptr;
    QPushButton* m_replaceAll = nullptr;

    // The controls showing a text of the dialog's template, with its id.
    std::vector<std::pair<QWidget*, int>> m_texts;
    QString m_caption;
    bool m_replaceMode = false;
    std::vector<std::string> m_findHistory;
    std::vector<std::string> m_replaceHistory;
    std::string m_findText; // as of the last button
    std::string m_replaceText; // as of the last button
    std::string m_columnTitle; // empty for every column
    std::vector<std::string> m_columnTitles; // of the column list after "<all columns>"
    // The text of the last "&Find next" and the last direction clicked (-1: none) since the
    // opening: what decides whether an entire-scope search starts again from the top.
    std::string m_lastFindText;
    int m_lastClickedDirection = -1;
};

} // namespace shell
