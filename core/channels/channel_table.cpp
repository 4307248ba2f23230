#include "channels/channel_table.h"

#include "channels/frequency_rules.h"
#include "image/number_format.h"
#include "image/tones.h"
#include "strings/string_ids.h"

#include <functional>
#include <utility>

namespace norvik {
namespace {

constexpr std::array<int, kTableColumns> kHeaderIds = {
    ids::HeaderChannel, ids::HeaderRxFreq,  ids::HeaderTxFreq,      ids::HeaderDecode,    ids::HeaderEncode,
    ids::HeaderTxPower, ids::HeaderScanAdd, ids::HeaderWidthNarrow, ids::HeaderName,      ids::HeaderBcl,
    ids::HeaderPttId,   ids::HeaderVox,     ids::HeaderOption,      ids::HeaderScrambler, ids::HeaderOffset,
    ids::HeaderDuplex,  ids::HeaderMore};
constexpr std::string_view kMore = ">>";
constexpr int kManualAddress = 0x831;
constexpr std::uint8_t kManualBit = 0x10;

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

constexpr std::array<int, 3> kDuplexIds = {ids::Off, ids::Plus, ids::Minus};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

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

std::string latin1ToUtf8(std::string_view bytes) {
    std::string out;
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string utf8ToLatin1(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 1;
        if (i + len > text.size())
            len = text.size() - i;
        if (len == 1) {
            out += c < 0x80 ? static_cast<char>(c) : '?';
        } else if (len == 2) {
            const unsigned cp = ((c & 0x1FU) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3FU);
            out += cp <= 0xFF ? static_cast<char>(cp) : '?';
        } else {
            out += '?';
        }
        i += len;
    }
    return out;
}

ChannelTable::ChannelTable(RadioDocument& document, Language lang, char decimalSeparator)
    : m_doc(document), m_lang(lang), m_sep(decimalSeparator) {
    m_visible.fill(true);
    for (int n = 1; n <= kChannelCount; ++n)
        m_texts[static_cast<std::size_t>(n)][col::Channel] = std::to_string(n);
    setHeaders();
    fill();
    m_subscription = m_doc.observe([this](const DocumentChange& change) { follow(change); });
}

void ChannelTable::follow(const DocumentChange& change) {
    if (change.kind == DocumentChange::Kind::Replace) {
        fill();
        return;
    }
    // The table's own commits set their texts themselves, some of which no fill would give back
    // (a duplex chosen before its offset, pasted texts).
    if (change.kind == DocumentChange::Kind::Edit && m_ownEdit)
        return;
    for (int n = 1; n <= kChannelCount; ++n) {
        if (change.channels.test(static_cast<std::size_t>(n)))
            fillRow(n);
    }
}

DocumentChange ChannelTable::edit(int labelId, const std::function<void(RadioImage&)>& fn) {
    m_ownEdit = true;
    const DocumentChange change = m_doc.edit(labelId, fn);
    m_ownEdit = false;
    return change;
}

const std::string& ChannelTable::text(int row, int column) const {
    static const std::string kEmpty;
    if (row < 0 || row >= kTableRows || column < 0 || column >= kTableColumns)
        return kEmpty;
    return m_texts[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

const ChannelTable::RowTexts& ChannelTable::rowTexts(int channel) const {
    static const RowTexts kEmptyRow;
    return validChannel(channel) ? m_texts[static_cast<std::size_t>(channel)] : kEmptyRow;
}

void ChannelTable::setRowTexts(int channel, const RowTexts& texts) {
    if (!validChannel(channel))
        return;
    RowTexts& row = m_texts[static_cast<std::size_t>(channel)];
    for (std::size_t c = 1; c < row.size(); ++c)
        row[c] = texts[c];
}

void ChannelTable::swapRowTexts(int a, int b) {
    if (!validChannel(a) || !validChannel(b))
        return;
    RowTexts& ra = m_texts[static_cast<std::size_t>(a)];
    RowTexts& rb = m_texts[static_cast<std::size_t>(b)];
    for (std::size_t c = 1; c < ra.size(); ++c)
        std::swap(ra[c], rb[c]);
}

void ChannelTable::setHeaders() {
    RowTexts& h = m_texts[0];
    for (int c = 0; c < kTableColumns; ++c) {
        const int id = kHeaderIds[static_cast<std::size_t>(c)];
        h[static_cast<std::size_t>(c)] = std::string(norvik::text(id, m_lang));
    }
}

void ChannelTable::setLanguage(Language lang) {
    m_lang = lang;
    setHeaders();
    fill();
}

void ChannelTable::setDecimalSeparator(char sep) {
    if (sep == m_sep)
        return;
    m_sep = sep;
    fill();
}

std::string ChannelTable::valueText(int id) const {
    return std::string(norvik::text(id, m_lang));
}

Frequency ChannelTable::frequencyOf(int channel, int column) const {
    return frequencyFromText(text(channel, column)).value_or(0);
}

void ChannelTable::fill() {
    for (int n = 1; n <= kChannelCount; ++n)
        fillRow(n);
    m_currentChannel = 1;
    m_currentColumn = 1;
}

void ChannelTable::fillRow(int n) {
    const RadioImage& img = m_doc.image();
    RowTexts& row = m_texts[static_cast<std::size_t>(n)];
    const int base = channelAddress(n);
    const RecordState state = recordState(img, n);
    for (int c = 1; c < kTableColumns; ++c)
        row[static_cast<std::size_t>(c)].clear();
    if (state == RecordState::Empty)
        return;

    row[col::Rx] = frequencyTextOf(decodeFrequency(img, base + rec::Rx));
    row[col::Decode] = decodeTone({img.at(base + rec::DecodeTone), img.at(base + rec::DecodeTone + 1)}, m_lang, m_sep);
    if (state == RecordState::NoTransmit) {
        row[col::Offset] = formatScaled(0, 5, m_sep);
        row[col::Duplex] = valueText(ids::Off);
    } else {
        row[col::Tx] = frequencyTextOf(decodeFrequency(img, base + rec::Tx));
        row[col::Encode] =
            decodeTone({img.at(base + rec::EncodeTone), img.at(base + rec::EncodeTone + 1)}, m_lang, m_sep);
        const Frequency rx = frequencyOf(n, col::Rx), tx = frequencyOf(n, col::Tx);
        row[col::Duplex] = valueText(duplexTextId(duplexOf(rx, tx)));
        row[col::Offset] = formatScaled(offsetOf(rx, tx), 5, m_sep);
    }
    for (int c = col::Power; c <= col::Scrambler; ++c) {
        if (const auto field = listField(c))
            row[static_cast<std::size_t>(c)] = fieldText(img, n, *field, m_lang);
    }
    row[col::Name] = latin1ToUtf8(decodeName(img, n));
    row[col::More] = std::string(kMore);
}

bool ChannelTable::manualChecked() const {
    return (m_doc.image().at(kManualAddress) & kManualBit) != 0;
}

void ChannelTable::setManualChecked(bool on) {
    m_doc.edit(ids::ChangeManual,
               [on](RadioImage& img) { img.setBits(kManualAddress, kManualBit, on ? kManualBit : 0); });
}

void ChannelTable::setCurrent(int channel, int column) {
    m_currentChannel = channel;
    m_currentColumn = column;
}

bool ChannelTable::isColumnVisible(int column) const {
    return column >= 0 && column < kTableColumns && m_visible[static_cast<std::size_t>(column)];
}

void ChannelTable::setColumnVisible(int column, bool visible) {
    if (column >= 1 && column < kTableColumns) // the channel numbers always show
        m_visible[static_cast<std::size_t>(column)] = visible;
}

int ChannelTable::restoreWidthTwips(int column) const {
    return initialColumnWidthTwips(column);
}

int ChannelTable::widthTwips(int column) const {
    return isColumnVisible(column) ? restoreWidthTwips(column) : 0;
}

std::vector<std::string> ChannelTable::listEntries(int column) const {
    if (column == col::Decode || column == col::Encode)
        return toneList(m_lang, m_sep);
    if (column == col::Duplex) {
        std::vector<std::string> out;
        for (int id : kDuplexIds)
            out.push_back(valueText(id));
        return out;
    }
    if (const auto field = listField(column))
        return fieldEntries(*field, m_lang);
    return {};
}

void ChannelTable::setText(int channel, int column, std::string value, CommitResult& result) {
    std::string& cell = m_texts[static_cast<std::size_t>(channel)][static_cast<std::size_t>(column)];
    if (cell != value) {
        cell = std::move(value);
        result.changedColumns |= 1U << column;
    }
}

void ChannelTable::setDuplexTexts(int channel, CommitResult& result) {
    const Frequency rx = frequencyOf(channel, col::Rx), tx = frequencyOf(channel, col::Tx);
    setText(channel, col::Duplex, valueText(duplexTextId(duplexOf(rx, tx))), result);
    setText(channel, col::Offset, formatScaled(offsetOf(rx, tx), 5, m_sep), result);
}

Frequency ChannelTable::normalise(double mhz, CommitResult& result) const {
    const NormalisedFrequency n = normaliseFrequency(mhz, m_doc.bandLimits());
    if (n.outOfRange)
        result.noticeId = ids::FrequencyOutOfRange;
    return n.value;
}

Frequency ChannelTable::normalise(std::string_view s, CommitResult& result) const {
    const NormalisedFrequency n = normaliseFrequencyText(s, m_doc.bandLimits());
    if (n.outOfRange)
        result.noticeId = ids::FrequencyOutOfRange;
    return n.value;
}

void ChannelTable::writeTransmit(RadioImage& img, int channel, Frequency tx, CommitResult& result) {
    setText(channel, col::Tx, frequencyTextOf(tx), result);
    encodeFrequency(img, channelAddress(channel) + rec::Tx, tx);
    // A transmit frequency set where there was none brings the encode tone its 0xFF "None".
    if (text(channel, col::Encode).empty())
        setText(channel, col::Encode, valueText(ids::None), result);
}

CommitResult ChannelTable::commitCell(int channel, int column, std::string_view s) {
    if (!validChannel(channel))
        return {};
    const EditorKind kind = editorKind(column);
    if (kind == EditorKind::None)
        return {};
    const int label = ids::ChangeCellEdit;
    if (kind == EditorKind::Tone)
        return commitTone(channel, column, s, label);
    if (s == text(channel, column))
        return {};
    switch (column) {
    case col::Rx:
        return commitReceive(channel, s, label);
    case col::Tx:
        return commitTransmit(channel, s, label);
    case col::Offset:
        return commitOffset(channel, s, label);
    case col::Name:
        return commitName(channel, s, label);
    default:
        return commitList(channel, column, s, label);
    }
}

CommitResult ChannelTable::commitReceive(int channel, std::string_view s, int labelId) {
    CommitResult r;
    if (!validChannel(channel))
        return r;
    edit(labelId, [&](RadioImage& img) { receive(img, channel, s, r); });
    return r;
}

void ChannelTable::receive(RadioImage& img, int channel, std::string_view s, CommitResult& r) {
    const int base = channelAddress(channel);
    if (s.empty()) {
        for (int c = 1; c < kTableColumns; ++c)
            setText(channel, c, {}, r);
        clearRecord(img, channel);
        return;
    }
    const Frequency rx = normalise(s, r);
    setText(channel, col::Rx, frequencyTextOf(rx), r);
    encodeFrequency(img, base + rec::Rx, rx);
    if (!hasTransmit(channel)) {
        setText(channel, col::Tx, frequencyTextOf(rx), r);
        for (int i = 0; i < 4; ++i)
            img.set(base + rec::Tx + i, img.at(base + rec::Rx + i));
        for (int i = 0; i < 4; ++i)
            img.set(base + rec::Flags12 + i, kNewChannelFlags[i]);
        setText(channel, col::Offset, formatScaled(0, 5, m_sep), r);
        setText(channel, col::Duplex, valueText(ids::Off), r);
        // The tone bytes are left as they are, so the cells show what they hold ("None" for a
        // channel that was empty); likewise the name entry, which emptying a channel keeps.
        setText(channel, col::Decode,
                decodeTone({img.at(base + rec::DecodeTone), img.at(base + rec::DecodeTone + 1)}, m_lang, m_sep), r);
        setText(channel, col::Encode,
                decodeTone({img.at(base + rec::EncodeTone), img.at(base + rec::EncodeTone + 1)}, m_lang, m_sep), r);
        for (int c = col::Power; c <= col::Scrambler; ++c) {
            if (const auto field = listField(c))
                setText(channel, c, fieldText(img, channel, *field, m_lang), r);
        }
        setText(channel, col::Name, latin1ToUtf8(decodeName(img, channel)), r);
        setText(channel, col::More, std::string(kMore), r);
    } else {
        setDuplexTexts(channel, r);
    }
}

CommitResult ChannelTable::commitTransmit(int channel, std::string_view s, int labelId) {
    CommitResult r;
    if (!validChannel(channel) || isEmpty(channel))
        return r;
    edit(labelId, [&](RadioImage& img) {
        if (s.empty()) {
            setText(channel, col::Tx, {}, r);
            setText(channel, col::Encode, {}, r);
            setText(channel, col::Offset, formatScaled(0, 5, m_sep), r);
            setText(channel, col::Duplex, valueText(ids::Off), r);
            clearTransmit(img, channel);
            return;
        }
        writeTransmit(img, channel, normalise(s, r), r);
        setDuplexTexts(channel, r);
    });
    return r;
}

CommitResult ChannelTable::commitOffset(int channel, std::string_view s, int labelId) {
    CommitResult r;
    if (!validChannel(channel) || isEmpty(channel))
        return r;
    edit(labelId, [&](RadioImage& img) { offset(img, channel, s, r); });
    return r;
}

void ChannelTable::offset(RadioImage& img, int channel, std::string_view s, CommitResult& r) {
    const Frequency rx = frequencyOf(channel, col::Rx);
    const Frequency o = offsetRule(s, rx);
    setText(channel, col::Offset, formatScaled(o, 5, m_sep), r);
    Frequency tx = rx;
    if (o == 0) {
        setText(channel, col::Duplex, valueText(ids::Off), r);
    } else {
        const std::string& duplex = text(channel, col::Duplex);
        std::int64_t target = rx;
        if (duplex == valueText(ids::Plus))
            target += o;
        else if (duplex == valueText(ids::Minus))
            target -= static_cast<std::int64_t>(o);
        tx = normalise(static_cast<double>(target) / kHz10PerMHz, r);
    }
    writeTransmit(img, channel, tx, r);
}

CommitResult ChannelTable::commitName(int channel, std::string_view s, int labelId) {
    CommitResult r;
    if (!validChannel(channel) || isEmpty(channel))
        return r;
    const std::string bytes = utf8ToLatin1(s).substr(0, kNameLength);
    edit(labelId, [&](RadioImage& img) {
        encodeName(img, channel, bytes);
        setText(channel, col::Name, latin1ToUtf8(bytes), r);
    });
    return r;
}

CommitResult ChannelTable::commitTone(int channel, int column, std::string_view s, int labelId) {
    CommitResult r;
    if (!validChannel(channel) || isEmpty(channel) || (column != col::Decode && column != col::Encode))
        return r;
    const ToneCode code = encodeTone(s);
    const int address = channelAddress(channel) + (column == col::Decode ? rec::DecodeTone : rec::EncodeTone);
    edit(labelId, [&](RadioImage& img) {
        img.set(address, code.low);
        img.set(address + 1, code.high);
        setText(channel, column, std::string(s), r);
    });
    return r;
}

CommitResult ChannelTable::commitList(int channel, int column, std::string_view s, int labelId) {
    CommitResult r;
    if (!validChannel(channel) || isEmpty(channel))
        return r;
    edit(labelId, [&](RadioImage& img) { list(img, channel, column, s, r); });
    return r;
}

void ChannelTable::list(RadioImage& img, int channel, int column, std::string_view s, CommitResult& r) {
    if (column == col::Duplex) {
        setText(channel, col::Duplex, std::string(s), r);
        std::int64_t target = frequencyOf(channel, col::Rx);
        const std::int64_t offset = frequencyFromText(text(channel, col::Offset)).value_or(0);
        if (s == valueText(ids::Plus))
            target += offset;
        else if (s == valueText(ids::Minus))
            target -= offset;
        writeTransmit(img, channel, normalise(static_cast<double>(target) / kHz10PerMHz, r), r);
        return;
    }
    const auto field = listField(column);
    if (!field)
        return;
    setText(channel, column, std::string(s), r);
    if (const auto entry = fieldEntryOf(*field, s, m_lang))
        setFieldValue(img, channel, *field, fieldEntryValue(*field, *entry));
    else if (*field != RecordField::Option && *field != RecordField::ScramblerGroup)
        setFieldValue(img, channel, *field, 0); // a text that names no entry means the field's "off"
}

EditRequest ChannelTable::clickRequest(int channel, int column) const {
    using A = EditRequest::Action;
    if (!validChannel(channel))
        return {};
    if (column == col::More && !isEmpty(channel))
        return {A::OpenPanel, column, {}};
    if (isEmpty(channel))
        return {A::OpenEditor, col::Rx, {}};
    // Without a transmit frequency there is nothing to encode a tone on: set the frequency first.
    if (!hasTransmit(channel) && column == col::Encode)
        return {A::OpenEditor, col::Tx, {}};
    if (editorKind(column) == EditorKind::None)
        return {};
    return {A::OpenEditor, column, {}};
}

EditRequest ChannelTable::enterRequest(int channel, int column) const {
    return clickRequest(channel, column);
}

EditRequest ChannelTable::typedRequest(int channel, int column, char c) const {
    using A = EditRequest::Action;
    if (!validChannel(channel))
        return {};
    if (isDigit(c) || c == '.') {
        if (column == col::Rx)
            return {A::OpenEditor, col::Rx, c};
        if (column == col::Tx || column == col::Offset || column == col::Name)
            return {A::OpenEditor, isEmpty(channel) ? col::Rx : column, c};
        return {};
    }
    if (column != col::Name || c < 32 || c > 122)
        return {};
    if (c >= 'a' && c <= 'z')
        c = static_cast<char>(c - 'a' + 'A');
    if (c == 'C' || c == 'V' || c == 'D' || c == 'I')
        return {};
    // On an empty channel the edit goes to the receive frequency, whose editor takes no letters.
    if (isEmpty(channel))
        return {A::OpenEditor, col::Rx, {}};
    return {A::OpenEditor, col::Name, c};
}

bool ChannelTable::textEditorAccepts(int column, std::size_t length, std::size_t selected, char c) {
    // A full name takes no character, even over a selection: the user deletes first.
    if (column == col::Name)
        return c >= 32 && c <= 122 && length < static_cast<std::size_t>(kNameLength);
    if (column == col::Rx || column == col::Tx || column == col::Offset) {
        if (c == '.' || c == ',')
            return true;
        return isDigit(c) && (length < 9 || selected > 0);
    }
    return false;
}

bool ChannelTable::panelFieldAccepts(int column, std::size_t length, std::size_t selected, char c) {
    if (column == col::Name)
        return c >= 32 && c <= 122 && length - selected < static_cast<std::size_t>(kNameLength);
    if (column == col::Rx || column == col::Tx || column == col::Offset)
        return isDigit(c) || c == '.' || c == ',';
    return false;
}

int ChannelTable::columnAfter(int channel, int column) const {
    for (int c = column + 1; c < kTableColumns; ++c) {
        if (!isColumnVisible(c))
            continue;
        if (column == col::Decode && c == col::Encode && !hasTransmit(channel))
            continue;
        return c;
    }
    return column;
}

} // namespace norvik
