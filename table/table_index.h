#pragma once

#include "table/expression.h"
#include "table/ndx_format.h"
#include "table/ndx_index.h"

#include <memory>
#include <string>

namespace table {

// One index of an open table: the index file with its cursor and the parsed key expression
// that gives a record's key, so moving the table by record number can move the cursor too.
struct TableIndex
{
    std::string name;
    std::unique_ptr<NdxIndex> file;
    std::unique_ptr<Expression> key;
    NdxKeyType type = NdxKeyType::kCharacter;
};

} // namespace table
