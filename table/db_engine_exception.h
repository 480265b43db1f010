#pragma once

namespace table {

// The table's last-error codes, also carried by CDBEngineException. The numbers are fixed:
// callers and messages rely on them.
enum class TableError {
    kNone = 0,
    kBadCodePage = 1,       // code page not one of 0, 866, 1251
    kCodePageWrite = 2,     // the code-page byte could not be written, or the index directory made
    kNoDatabase = 3,        // the table has no database
    kTargetNotOpened = 5,   // a relation's target table could not be opened
    kNoSuchField = 7,       // no field with the given name
    kBadKey = 8,            // a field type no index key can use, or too long a key expression
    kNotUnique = 11,        // an index could not be built: a key is not unique
    kNoKeyIndex = 12,       // a relation's target has no key index
};

// Thrown by the field and key operations that name a field or build a key, and caught by
// the operation's caller; carries the error code.
class CDBEngineException
{
public:
    explicit CDBEngineException(TableError code)
        : m_code(code)
    {
    }
    TableError Code() const { return m_code; }

private:
    TableError m_code;
};

} // namespace table
