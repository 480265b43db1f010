#include "table/dbf_error.h"

namespace table {

const char* DbfErrorText(DbfError error)
{
    switch (error) {
    case DbfError::kNone: return "no error";
    case DbfError::kOpenFailed: return "the file cannot be opened";
    case DbfError::kNotOpen: return "no file is open";
    case DbfError::kTooShort: return "the file is shorter than a table header";
    case DbfError::kUnknownVersion: return "unknown version byte";
    case DbfError::kUnsupportedLayout: return "unsupported table layout (48-byte field descriptors)";
    case DbfError::kHeaderTooShort: return "the header length is too small";
    case DbfError::kDescriptorsCut: return "the file ends inside the field descriptors";
    case DbfError::kHeaderPastEnd: return "the header length points past the end of the file";
    case DbfError::kZeroRecordLength: return "the record length is 0";
    case DbfError::kFieldsExceedRecord: return "the fields do not fit in the record length";
    case DbfError::kNoSuchRecord: return "no such record";
    case DbfError::kRecordBeyondFile: return "the record lies beyond the end of the file";
    case DbfError::kReadFailed: return "read error";
    case DbfError::kWriteFailed: return "write error";
    case DbfError::kReadOnly: return "the file is open for reading only";
    case DbfError::kTooManyRecords: return "too many records";
    case DbfError::kBadFieldType: return "unsupported field type";
    case DbfError::kBadFieldSize: return "bad field length or decimal count";
    case DbfError::kBadFieldName: return "bad field name";
    case DbfError::kNoMemoFile: return "the memo file is missing";
    case DbfError::kMemoTooShort: return "the memo file is shorter than its header";
    case DbfError::kMemoBadBlockSize: return "bad memo block size";
    case DbfError::kMemoBlockPastEnd: return "memo block number past the end of the memo file";
    case DbfError::kMemoBadBlock: return "damaged memo block";
    case DbfError::kMemoTooLong: return "memo text too long";
    case DbfError::kRenameFailed: return "the new file could not replace the old one";
    case DbfError::kMemoNotCarried: return "the memo texts of this table cannot be carried over";
    case DbfError::kNoFreeName: return "no free name for a temporary file";
    }
    return "unknown error";
}

} // namespace table
