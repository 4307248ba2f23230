#pragma once

#include <array>
#include <optional>
#include <string>

#include "core/image/channel_record.h"

namespace norvik {

// Columns of the channel table; row 0 holds the headers and column 0 the channel numbers.
namespace col {
inline constexpr int Channel = 0;
inline constexpr int Rx = 1;
inline constexpr int Tx = 2;
inline constexpr int Decode = 3;
inline constexpr int Encode = 4;
inline constexpr int Power = 5;
inline constexpr int Scan = 6;
inline constexpr int Bandwidth = 7;
inline constexpr int Name = 8;
inline constexpr int Bcl = 9;
inline constexpr int PttId = 10;
inline constexpr int Vox = 11;
inline constexpr int Option = 12;
inline constexpr int Scrambler = 13;
inline constexpr int Offset = 14;
inline constexpr int Duplex = 15;
inline constexpr int More = 16;
} // namespace col

constexpr int kTableColumns = 17;
constexpr int kTableRows = kChannelCount + 1;

// The texts of one row, by column.
using RowTexts = std::array<std::string, kTableColumns>;

// Which in-cell editor a column is edited with.
enum class EditorKind { None, Text, Tone, List };
EditorKind editorKind(int column);

// The record field a list column shows; none for the duplex and the columns that are no list.
std::optional<RecordField> listField(int column);

// English string id of a column header.
int columnHeaderId(int column);
// Initial width of a column in twips.
int initialColumnWidthTwips(int column);
// Help topic shown by F1 while a cell of the column is current: 7007..7012 for columns 1..6,
// 0 for the columns that do not set one.
int columnHelpContext(int column);

} // namespace norvik
