#pragma once

#include "table/expression.h"
#include "table/expression_node.h"
#include "table/expression_tokenizer.h"
#include "table/field_def.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace table {

// Builds the tree of a tokenized expression. Precedence, loosest first:
//   .OR.   .AND.   .NOT.   comparisons (= # <> < <= > >= $)   + -   * /   ** ^
// and then a single '-' that opens an expression (at the start, after '(' or ','). Each
// binary level is a flat chain applied left to right. .AND. binding tighter than .OR. only
// matters for unparenthesised mixtures; the program's own expressions parenthesise every
// group.
//
// Gives nullptr and fills `error` on the first problem. `requiredLength` receives how far
// into a record the fields used reach, so evaluation can refuse a short buffer once.
// REQUIRES: tokens end with a kEnd token; requiredLength, error != nullptr.
[[nodiscard]] std::unique_ptr<ExprNode> ParseTokens(const std::vector<Token>& tokens,
    const std::vector<FieldLayout>& fields, std::size_t* requiredLength, ExprError* error);

} // namespace table
