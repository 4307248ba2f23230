#include "core/channels/channel_columns.h"

#include "core/strings/string_ids.h"

namespace norvik {
namespace {

constexpr std::array<int, kTableColumns> kHeaderIds = {
    ids::HeaderChannel, ids::HeaderRxFreq,  ids::HeaderTxFreq,      ids::HeaderDecode,    ids::HeaderEncode,
    ids::HeaderTxPower, ids::HeaderScanAdd, ids::HeaderWidthNarrow, ids::HeaderName,      ids::HeaderBcl,
    ids::HeaderPttId,   ids::HeaderVox,     ids::HeaderOption,      ids::HeaderScrambler, ids::HeaderOffset,
    ids::HeaderDuplex,  ids::HeaderMore};

} // namespace

EditorKind editorKind(int column) {
    switch (column) {
    case col::Rx:
    case col::Tx:
    case col::Offset:
    case col::Name:
        return EditorKind::Text;
    case col::Decode:
    case col::Encode:
        return EditorKind::Tone;
    case col::Channel:
    case col::More:
        return EditorKind::None;
    default:
        return column > 0 && column < kTableColumns ? EditorKind::List : EditorKind::None;
    }
}

std::optional<RecordField> listField(int column) {
    switch (column) {
    case col::Power:
        return RecordField::Power;
    case col::Scan:
        return RecordField::Scan;
    case col::Bandwidth:
        return RecordField::Bandwidth;
    case col::Bcl:
        return RecordField::Bcl;
    case col::PttId:
        return RecordField::PttId;
    case col::Vox:
        return RecordField::Vox;
    case col::Option:
        return RecordField::Option;
    case col::Scrambler:
        return RecordField::ScramblerGroup;
    default:
        return std::nullopt;
    }
}

int columnHeaderId(int column) {
    return column >= 0 && column < kTableColumns ? kHeaderIds[static_cast<std::size_t>(column)] : 0;
}

int initialColumnWidthTwips(int column) {
    if (column == col::Channel)
        return 600;
    if (column == col::Rx || column == col::Tx || column == col::Offset)
        return 1200;
    return 1000;
}

int columnHelpContext(int column) {
    return column >= 1 && column <= 6 ? 7007 + column - 1 : 0;
}

} // namespace norvik
