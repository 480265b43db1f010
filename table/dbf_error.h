#pragma once

namespace table {

// Why a table or memo file could not be read or written. Damaged files are ordinary input:
// every check of a header value that would otherwise lead to a read outside the file or an
// allocation of the header's choosing has a code here.
enum class DbfError {
    kNone = 0,
    kOpenFailed,          // the system refused to open the file (LastSystemError() says why)
    kNotOpen,             // the operation needs an open file
    kTooShort,            // shorter than the 32-byte file header
    kUnknownVersion,      // version byte not one of 0x03, 0x83, 0x04, 0x8B, 0xF5
    kUnsupportedLayout,   // a later format with 48-byte field descriptors
    kHeaderTooShort,      // stored header length below 33
    kDescriptorsCut,      // the file ends inside the field descriptors
    kHeaderPastEnd,       // stored header length points past the end of the file
    kZeroRecordLength,    // stored record length 0
    kFieldsExceedRecord,  // the fields need more bytes than the stored record length
    kNoSuchRecord,        // record number 0 or above the record count
    kRecordBeyondFile,    // the header counts a record the file does not hold
    kReadFailed,          // the system failed a read
    kWriteFailed,         // the system failed a write
    kReadOnly,            // a write to a file opened for reading
    kTooManyRecords,      // appending past 4,294,967,295 records
    kBadFieldType,        // a new table with a field type other than C, D, F, L, M, N
    kBadFieldSize,        // a new field with no width, decimals above its length, or too long a record
    kBadFieldName,        // a new field with an empty name or one longer than 10 characters
    kNoMemoFile,          // the table names memo fields but its memo file is missing
    kMemoTooShort,        // the memo file is shorter than its header
    kMemoBadBlockSize,    // a memo block size that is not a non-zero multiple of 512
    kMemoBlockPastEnd,    // a memo block number past the end of the memo file
    kMemoBadBlock,        // a memo block without the header its form requires
    kMemoTooLong,         // a memo text over the size the program accepts
    kRenameFailed,        // the finished new file could not be put in place
    kMemoNotCarried,      // memo texts of this table's memo form cannot be carried over
    kNoFreeName,          // every name an operation may give its temporary files is taken
};

// A short English description of a code, for the command-line tool and test messages; the
// windows show texts from the resource set instead.
const char* DbfErrorText(DbfError error);

} // namespace table
