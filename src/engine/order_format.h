#pragma once
// Header texts and version labels of the order file. Each label names the
// format revision that introduced a change of the record layouts.
namespace kvf::order_format {

inline constexpr const char* kHeader = "Korvane Furniture Order File";
inline constexpr const char* kVersion = "26.12.2019";        // current: item side, spares, parent complect
inline constexpr const char* kTypesVersion = "10.12.2009";   // the four type integers replace two texts
inline constexpr const char* kHistoryVersion = "06.10.2015"; // items carry their history
inline constexpr const char* kCommentVersion = "03.03.2019"; // items carry their comment
inline constexpr const char* kSashDornVersion = "23.07.2019";  // each sash carries its backset type

}  // namespace kvf::order_format
