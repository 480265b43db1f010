#pragma once

#include <string_view>

namespace table {

// The decimal number at the start of `text`, as every part of the program reads a stored
// number: blanks skipped, an optional sign, digits with an optional point, and an optional
// exponent ("1.5E+03" is 1500). Anything after the number is ignored; text without digits
// is 0. Only this decimal form is read (no "inf", "nan" or hexadecimal), and the point is
// always '.', whatever the environment. A number beyond a double's range gives an infinity
// of its sign, one too small for a double gives 0.
double LeadingNumber(std::string_view text);

} // namespace table
