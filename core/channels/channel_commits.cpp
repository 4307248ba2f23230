// The commits of the channel table: each writes the record bytes and sets the row texts
// together, as one change of the document.
#include "channels/channel_table.h"

#include <algorithm>

#include "channels/frequency_rules.h"
#include "image/tones.h"
#include "strings/string_ids.h"

namespace norvik {

void ChannelTable::setText(int channel, int column, std::string value, CommitResult& result) {
    std::string& cell = m_rows[static_cast<std::size_t>(channel)].texts[static_cast<std::size_t>(column)];
    if (cell != value) {
        cell = std::move(value);
        result.changedColumns |= 1U << column;
    }
}

void ChannelTable::setDuplex(int channel, Duplex duplex, CommitResult& result) {
    m_rows[static_cast<std::size_t>(channel)].duplex = duplex;
    setText(channel, col::Duplex, duplexText(duplex, m_lang), result);
}

void ChannelTable::setDuplexFromFrequencies(int channel, CommitResult& result) {
    const Frequency rx = frequencyOf(channel, col::Rx), tx = frequencyOf(channel, col::Tx);
    setDuplex(channel, duplexOf(rx, tx), result);
    setText(channel, col::Offset, offsetText(offsetOf(rx, tx), m_sep), result);
}

Frequency ChannelTable::frequencyOf(int channel, int column) const {
    return frequencyFromText(text(channel, column)).value_or(0);
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
        m_rows[static_cast<std::size_t>(channel)].duplex = Duplex::Off;
        clearRecord(img, channel);
        return;
    }
    const Frequency rx = normalise(s, r);
    encodeFrequency(img, base + rec::Rx, rx);
    if (hasTransmit(channel)) {
        setText(channel, col::Rx, frequencyTextOf(rx), r);
        setDuplexFromFrequencies(channel, r);
        return;
    }
    // A new channel, or one without transmit frequency: it transmits on its receive frequency
    // with the flags of a new channel. The tone bytes are left as they are, so the cells show
    // what they hold ("None" for a channel that was empty); likewise the name entry, which
    // emptying a channel keeps.
    for (int i = 0; i < 4; ++i)
        img.set(base + rec::Tx + i, img.at(base + rec::Rx + i));
    for (int i = 0; i < 4; ++i)
        img.set(base + rec::Flags12 + i, kNewChannelFlags[i]);
    const ChannelRow shown = channelRow(img, channel, m_lang, m_sep);
    for (int c = 1; c < kTableColumns; ++c)
        setText(channel, c, shown.texts[static_cast<std::size_t>(c)], r);
    m_rows[static_cast<std::size_t>(channel)].duplex = shown.duplex;
}

CommitResult ChannelTable::commitTransmit(int channel, std::string_view s, int labelId) {
    CommitResult r;
    if (!validChannel(channel) || isEmpty(channel))
        return r;
    edit(labelId, [&](RadioImage& img) {
        if (s.empty()) {
            setText(channel, col::Tx, {}, r);
            setText(channel, col::Encode, {}, r);
            setText(channel, col::Offset, offsetText(0, m_sep), r);
            setDuplex(channel, Duplex::Off, r);
            clearTransmit(img, channel);
            return;
        }
        writeTransmit(img, channel, normalise(s, r), r);
        setDuplexFromFrequencies(channel, r);
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
    setText(channel, col::Offset, offsetText(o, m_sep), r);
    Frequency tx = rx;
    if (o == 0) {
        setDuplex(channel, Duplex::Off, r);
    } else {
        std::int64_t target = rx;
        if (duplex(channel) == Duplex::Plus)
            target += o;
        else if (duplex(channel) == Duplex::Minus)
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
    if (column == col::Duplex) {
        const std::vector<std::string> entries = duplexEntries(m_lang);
        const auto at = std::find(entries.begin(), entries.end(), s);
        const auto entry = static_cast<int>(at - entries.begin());
        return commitDuplex(channel, duplexOfEntry(entry).value_or(Duplex::Off), labelId);
    }
    CommitResult r;
    if (!validChannel(channel) || isEmpty(channel))
        return r;
    edit(labelId, [&](RadioImage& img) { list(img, channel, column, s, r); });
    return r;
}

void ChannelTable::list(RadioImage& img, int channel, int column, std::string_view s, CommitResult& r) {
    const auto field = listField(column);
    if (!field)
        return;
    setText(channel, column, std::string(s), r);
    if (const auto entry = fieldEntryOf(*field, s, m_lang))
        setFieldValue(img, channel, *field, fieldEntryValue(*field, *entry));
    else if (*field != RecordField::Option && *field != RecordField::ScramblerGroup)
        setFieldValue(img, channel, *field, 0); // a text that names no entry means the field's "off"
}

CommitResult ChannelTable::commitDuplex(int channel, Duplex d, int labelId) {
    CommitResult r;
    if (!validChannel(channel) || isEmpty(channel))
        return r;
    edit(labelId, [&](RadioImage& img) {
        setDuplex(channel, d, r);
        std::int64_t target = frequencyOf(channel, col::Rx);
        const std::int64_t offset = frequencyFromText(text(channel, col::Offset)).value_or(0);
        if (d == Duplex::Plus)
            target += offset;
        else if (d == Duplex::Minus)
            target -= offset;
        writeTransmit(img, channel, normalise(static_cast<double>(target) / kHz10PerMHz, r), r);
    });
    return r;
}

} // namespace norvik
