// The table grid's bookmarks: named records and fields of its table, kept in the bookmark
// file of the table's directory.

#include "tablegrid/table_grid.h"

#include "table/table.h"
#include "table/table_database.h"

namespace tablegrid {

std::string CTableGrid::GetBookmarkFileName() const
{
    if (!HasOpenTable() || !m_table->Database())
        return {};
    return BookmarkFile(m_table->Database()->FileSystem(), m_table->TablePath()).Path();
}

void CTableGrid::LoadBookmarks()
{
    if (!HasOpenTable() || !m_table->Database()) {
        m_bookmarks.Replace({});
        return;
    }
    m_bookmarks.Replace(BookmarkFile(m_table->Database()->FileSystem(), m_table->TablePath()).Load());
}

bool CTableGrid::SaveBookmarks()
{
    if (!m_bookmarks.Changed() || !HasOpenTable() || !m_table->Database())
        return true;
    const BookmarkFile file(m_table->Database()->FileSystem(), m_table->TablePath());
    if (!file.Save(m_bookmarks.All()))
        return false;
    m_bookmarks.MarkSaved();
    return true;
}

void CTableGrid::SetBookmark(const std::string& name, int recordNumber, const std::string& fieldName)
{
    m_bookmarks.Set(name, Bookmark { recordNumber, fieldName });
}

bool CTableGrid::DeleteBookmark(const std::string& name)
{
    return m_bookmarks.Delete(name);
}

int CTableGrid::GoToBookmark(const std::string& name)
{
    const Bookmark* bookmark = m_bookmarks.Find(name);
    if (!bookmark)
        return 1;
    if (!HasOpenTable() || bookmark->recordNumber <= 0
        || static_cast<std::uint32_t>(bookmark->recordNumber) > m_table->RecordCount())
        return 2;
    const int layoutIndex = FindColumnByName(bookmark->fieldName);
    if (layoutIndex < 0)
        return 3;
    // Its place among the shown columns; a hidden one keeps the cursor's column.
    int gridColumn = -1;
    if (m_layout[static_cast<std::size_t>(layoutIndex)].visible) {
        gridColumn = 0;
        for (int i = 0; i < layoutIndex; ++i)
            gridColumn += m_layout[static_cast<std::size_t>(i)].visible ? 1 : 0;
    }
    GoToPosition(kGoRecord, bookmark->recordNumber, gridColumn);
    return 0;
}

} // namespace tablegrid
