#pragma once

#include "tablegrid/operations/filter_node.h"

#include <string>
#include <string_view>

namespace classifiers {

// The address classifier's tables by file name, in the order they open, and the names their
// windows are known by (a table's file name without directory and extension, in any case).
inline constexpr const char* kRegionFile = "Region.dbf";
inline constexpr const char* kKladrFile = "Kladr.dbf";
inline constexpr const char* kStreetFile = "Street.dbf";
inline constexpr const char* kRegionName = "Region";
inline constexpr const char* kKladrName = "Kladr";
inline constexpr const char* kStreetName = "Street";
// The field all three tables share; its stored text places a record in the hierarchy.
inline constexpr const char* kCodeField = "CODE";

// Whether the table at `path` is the classifier table `name` ("Region", "Kladr", "Street"):
// its file name without directory and last extension equals it without regard to case.
bool IsClassifierTable(const std::string& path, std::string_view name);

// Whether a KLADR record with this stored CODE text is a region of its own: the code is the
// two region digits followed only by zeros, at least nine of them. A KLADR code is laid out
// as region (2), district (3), city (3), settlement (3) and actuality (2) digits, so an
// actual region's code is its two digits and eleven zeros; a district numbered 010 ends in
// nine zeros too and is not a region.
bool IsRegionCode(std::string_view code);

// The filter that shows a region's settlements in the KLADR window: CODE from the region's
// code `regionCode` up to its two region digits followed by nine nines, as an AND group of
// two conditions on the column CODE.
tablegrid::FilterNode RegionSelectionFilter(const std::string& regionCode);

// The filter that shows a settlement's streets in the STREET window. A street's code is its
// settlement's code without the actuality digits, four street digits and two actuality
// digits of its own, so the streets of `settlementCode` are those from its first eleven
// characters followed by six zeros up to the same followed by six nines.
tablegrid::FilterNode SettlementSelectionFilter(const std::string& settlementCode);

} // namespace classifiers
