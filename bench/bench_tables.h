#pragma once

#include <cstdint>
#include <string>

namespace bench {

// Writes (once; reused when it exists with the right size) a table of `records` realistic
// records under the system's temporary folder and gives its path. Fields: NAME C30,
// CITY C20, SUM N12.2, DT D8, FLAG L1, CODE N6 (record length 78); about one record in
// ten is marked for deletion.
std::string BenchTable(std::uint32_t records);

} // namespace bench
