#include "table/ndx_format.h"

#include "table/dbf_format.h"

#include <algorithm>
#include <cstring>

namespace table {

const char* NdxErrorText(NdxError error)
{
    switch (error) {
    case NdxError::kNone:
        return "no error";
    case NdxError::kOpenFailed:
        return "the index file could not be opened";
    case NdxError::kNotOpen:
        return "the index is not open";
    case NdxError::kReadFailed:
        return "the index file could not be read";
    case NdxError::kWriteFailed:
        return "the index file could not be written";
    case NdxError::kRenameFailed:
        return "the new index file could not be put in place";
    case NdxError::kDuplicateKey:
        return "a key of a unique index is not unique";
    case NdxError::kBadExpression:
        return "the key expression is too long or holds a NUL byte";
    case NdxError::kBadHeader:
        return "the index file header is damaged";
    case NdxError::kBadPage:
        return "an index file page is damaged";
    }
    return "unknown error";
}

namespace ndx {

void EncodeHeader(const Header& header, std::string_view expression, std::uint8_t* page)
{
    std::memset(page, 0, kPageSize);
    dbf::PutU32(page + 0, header.root);
    dbf::PutU32(page + 4, header.pageCount);
    dbf::PutU32(page + 8, header.expressionLength);
    dbf::PutU16(page + 12, header.keyLength);
    dbf::PutU16(page + 14, header.keysPerPage);
    dbf::PutU16(page + 16, static_cast<std::uint16_t>(header.keyType));
    dbf::PutU16(page + 18, header.entrySize);
    page[23] = header.unique ? 1 : 0;
    const std::size_t inHeader = std::min<std::size_t>(expression.size(), kHeaderExpressionBytes);
    std::memcpy(page + kExpressionOffset, expression.data(), inHeader);
}

bool DecodeHeader(
    const std::uint8_t* page, std::uint64_t fileSize, Header* header, std::string* expressionStart)
{
    Header h;
    h.root = dbf::GetU32(page + 0);
    h.pageCount = dbf::GetU32(page + 4);
    h.expressionLength = dbf::GetU32(page + 8);
    h.keyLength = dbf::GetU16(page + 12);
    h.keysPerPage = dbf::GetU16(page + 14);
    const std::uint16_t type = dbf::GetU16(page + 16);
    h.entrySize = dbf::GetU16(page + 18);
    if (type > 1 || dbf::GetU16(page + 20) != 0 || page[22] != 0 || page[23] > 1)
        return false;
    h.keyType = static_cast<NdxKeyType>(type);
    h.unique = page[23] == 1;

    if (h.keyType == NdxKeyType::kNumeric ? h.keyLength != kNumericKeyLength
                                          : h.keyLength == 0 || h.keyLength > kMaxKeyLength)
        return false;
    if (h.entrySize != EntrySizeFor(h.keyLength) || h.keysPerPage != KeysPerPageFor(h.entrySize))
        return false;
    if (h.expressionLength > kMaxExpressionLength)
        return false;
    if (fileSize % kPageSize != 0 || fileSize / kPageSize != h.pageCount)
        return false;
    if (h.root < h.FirstTreePage() || h.root >= h.pageCount)
        return false;

    const auto* text = reinterpret_cast<const char*>(page + kExpressionOffset);
    const std::size_t stored = std::min(h.expressionLength, kHeaderExpressionBytes);
    const void* end = std::memchr(text, 0, kHeaderExpressionBytes + 1);
    if (end == nullptr
        || static_cast<const char*>(end) - text != static_cast<std::ptrdiff_t>(stored))
        return false;
    expressionStart->assign(text, stored);
    *header = h;
    return true;
}

} // namespace ndx
} // namespace table
