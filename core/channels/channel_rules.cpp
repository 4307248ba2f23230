#include "core/channels/channel_rules.h"

#include <algorithm>
#include <utility>

#include "core/channels/channel_columns.h"
#include "core/channels/frequency_rules.h"
#include "core/image/tones.h"
#include "core/strings/string_ids.h"

namespace norvik {
namespace {

bool validChannel(int channel) {
    return channel >= 1 && channel <= kChannelCount;
}

bool validBlock(int first, int last) {
    return validChannel(first) && validChannel(last) && first <= last;
}

// One commit on one channel: the record bytes and the row texts written together.
class RowCommit {
public:
    RowCommit(RadioImage& image, ChannelRow& row, int channel, const ChannelStyle* style)
        : m_img(image), m_row(row), m_channel(channel), m_style(style) {}

    CommitResult result;

    bool isEmpty() const { return text(col::Rx).empty(); }
    bool hasTransmit() const { return !text(col::Tx).empty(); }
    const std::string& text(int column) const { return m_row.texts[static_cast<std::size_t>(column)]; }

    void receive(std::string_view s) {
        const int base = channelAddress(m_channel);
        if (s.empty()) {
            for (int c = 1; c < kTableColumns; ++c)
                setText(c, {});
            m_row.duplex = Duplex::Off;
            clearRecord(m_img, m_channel);
            return;
        }
        const Frequency rx = normalise(s);
        encodeFrequency(m_img, base + rec::Rx, rx);
        if (hasTransmit()) {
            setText(col::Rx, frequencyText(rx, sep()));
            setDuplexFromFrequencies();
            return;
        }
        // A new channel, or one without transmit frequency: it transmits on its receive
        // frequency with the flags of a new channel. The tone bytes are left as they are, so the
        // cells show what they hold ("None" for a channel that was empty); likewise the name
        // entry, which emptying a channel keeps.
        for (int i = 0; i < 4; ++i)
            m_img.set(base + rec::Tx + i, m_img.at(base + rec::Rx + i));
        for (int i = 0; i < 4; ++i)
            m_img.set(base + rec::Flags12 + i, kNewChannelFlags[i]);
        const ChannelRow shown = channelRow(m_img, m_channel, lang(), sep());
        for (int c = 1; c < kTableColumns; ++c)
            setText(c, shown.texts[static_cast<std::size_t>(c)]);
        m_row.duplex = shown.duplex;
    }

    void transmit(std::string_view s) {
        if (s.empty()) {
            setText(col::Tx, {});
            setText(col::Encode, {});
            setText(col::Offset, offsetText(0, sep()));
            setDuplex(Duplex::Off);
            clearTransmit(m_img, m_channel);
            return;
        }
        writeTransmit(normalise(s));
        setDuplexFromFrequencies();
    }

    void offset(std::string_view s) {
        const Frequency rx = frequencyOf(col::Rx);
        const Frequency o = offsetRule(s, rx);
        setText(col::Offset, offsetText(o, sep()));
        Frequency tx = rx;
        if (o == 0) {
            setDuplex(Duplex::Off);
        } else {
            std::int64_t target = rx;
            if (m_row.duplex == Duplex::Plus)
                target += o;
            else if (m_row.duplex == Duplex::Minus)
                target -= static_cast<std::int64_t>(o);
            tx = normalise(static_cast<double>(target) / kHz10PerMHz);
        }
        writeTransmit(tx);
    }

    void name(std::string_view s) {
        const std::string bytes = utf8ToLatin1(s).substr(0, kNameLength);
        encodeName(m_img, m_channel, bytes);
        setText(col::Name, latin1ToUtf8(bytes));
    }

    void tone(int column, std::string_view s) {
        const ToneCode code = encodeTone(s);
        const int address = channelAddress(m_channel) + (column == col::Decode ? rec::DecodeTone : rec::EncodeTone);
        m_img.set(address, code.low);
        m_img.set(address + 1, code.high);
        setText(column, std::string(s));
    }

    void list(int column, std::string_view s) {
        const auto field = listField(column);
        if (!field)
            return;
        setText(column, std::string(s));
        if (const auto entry = fieldEntryOf(*field, s, lang()))
            setFieldValue(m_img, m_channel, *field, fieldEntryValue(*field, *entry));
        else if (*field != RecordField::Option && *field != RecordField::ScramblerGroup)
            setFieldValue(m_img, m_channel, *field, 0); // a text that names no entry means the field's "off"
    }

    void duplex(Duplex d) {
        setDuplex(d);
        std::int64_t target = frequencyOf(col::Rx);
        const std::int64_t o = frequencyFromText(text(col::Offset)).value_or(0);
        if (d == Duplex::Plus)
            target += o;
        else if (d == Duplex::Minus)
            target -= o;
        writeTransmit(normalise(static_cast<double>(target) / kHz10PerMHz));
    }

private:
    Language lang() const { return m_style ? m_style->lang : Language::English; }
    char sep() const { return m_style ? m_style->sep : '.'; }

    void setText(int column, std::string value) {
        std::string& cell = m_row.texts[static_cast<std::size_t>(column)];
        if (cell != value) {
            cell = std::move(value);
            result.changedColumns |= 1U << column;
        }
    }

    void setDuplex(Duplex d) {
        m_row.duplex = d;
        setText(col::Duplex, duplexText(d, lang()));
    }

    // Duplex and offset as the two frequencies give them.
    void setDuplexFromFrequencies() {
        const Frequency rx = frequencyOf(col::Rx), tx = frequencyOf(col::Tx);
        setDuplex(duplexOf(rx, tx));
        setText(col::Offset, offsetText(offsetOf(rx, tx), sep()));
    }

    Frequency frequencyOf(int column) const { return frequencyFromText(text(column)).value_or(0); }

    Frequency normalise(double mhz) { return noted(normaliseFrequency(mhz, m_style->bands)); }
    Frequency normalise(std::string_view s) { return noted(normaliseFrequencyText(s, m_style->bands)); }
    Frequency noted(const NormalisedFrequency& n) {
        if (n.outOfRange)
            result.noticeId = ids::FrequencyOutOfRange;
        return n.value;
    }

    void writeTransmit(Frequency tx) {
        setText(col::Tx, frequencyText(tx, sep()));
        encodeFrequency(m_img, channelAddress(m_channel) + rec::Tx, tx);
        // A transmit frequency set where there was none brings the encode tone its 0xFF "None".
        if (text(col::Encode).empty())
            setText(col::Encode, textString(ids::None, lang()));
    }

    RadioImage& m_img;
    ChannelRow& m_row;
    int m_channel;
    const ChannelStyle* m_style;
};

// Record, name entry and row of one channel onto another; column 0 stays the view's.
void copyChannelTo(RadioImage& image, ChannelRows& rows, int from, int to) {
    copyChannel(image, from, image, to);
    rows[static_cast<std::size_t>(to)] = rows[static_cast<std::size_t>(from)];
}

void emptyChannel(RadioImage& image, ChannelRows& rows, int channel) {
    clearRecord(image, channel);
    rows[static_cast<std::size_t>(channel)] = {};
}

// Every commit but the receive frequency's acts on a channel in use only.
template <typename Rule>
CommitResult onUsedChannel(RadioImage& image, ChannelRow& row, int channel, const ChannelStyle* style, Rule rule) {
    RowCommit c(image, row, channel, style);
    if (validChannel(channel) && !c.isEmpty())
        rule(c);
    return c.result;
}

} // namespace

ChannelRows channelRows(const RadioImage& image, Language lang, char sep) {
    ChannelRows rows;
    for (int n = 1; n <= kChannelCount; ++n)
        rows[static_cast<std::size_t>(n)] = channelRow(image, n, lang, sep);
    return rows;
}

CommitResult commitCell(RadioImage& image, ChannelRow& row, int channel, int column, std::string_view text,
                        const ChannelStyle& style) {
    if (!validChannel(channel))
        return {};
    const EditorKind kind = editorKind(column);
    if (kind == EditorKind::None)
        return {};
    if (kind == EditorKind::Tone)
        return commitTone(image, row, channel, column, text);
    if (text == row.texts[static_cast<std::size_t>(column)])
        return {};
    switch (column) {
    case col::Rx:
        return commitReceive(image, row, channel, text, style);
    case col::Tx:
        return commitTransmit(image, row, channel, text, style);
    case col::Offset:
        return commitOffset(image, row, channel, text, style);
    case col::Name:
        return commitName(image, row, channel, text);
    default:
        return commitList(image, row, channel, column, text, style);
    }
}

CommitResult commitReceive(RadioImage& image, ChannelRow& row, int channel, std::string_view text,
                           const ChannelStyle& style) {
    if (!validChannel(channel))
        return {};
    RowCommit c(image, row, channel, &style);
    c.receive(text);
    return c.result;
}

CommitResult commitTransmit(RadioImage& image, ChannelRow& row, int channel, std::string_view text,
                            const ChannelStyle& style) {
    return onUsedChannel(image, row, channel, &style, [&](RowCommit& c) { c.transmit(text); });
}

CommitResult commitOffset(RadioImage& image, ChannelRow& row, int channel, std::string_view text,
                          const ChannelStyle& style) {
    return onUsedChannel(image, row, channel, &style, [&](RowCommit& c) { c.offset(text); });
}

CommitResult commitName(RadioImage& image, ChannelRow& row, int channel, std::string_view text) {
    return onUsedChannel(image, row, channel, nullptr, [&](RowCommit& c) { c.name(text); });
}

CommitResult commitTone(RadioImage& image, ChannelRow& row, int channel, int column, std::string_view text) {
    if (column != col::Decode && column != col::Encode)
        return {};
    return onUsedChannel(image, row, channel, nullptr, [&](RowCommit& c) { c.tone(column, text); });
}

CommitResult commitList(RadioImage& image, ChannelRow& row, int channel, int column, std::string_view text,
                        const ChannelStyle& style) {
    if (column == col::Duplex) {
        const std::vector<std::string> entries = duplexEntries(style.lang);
        const auto at = std::find(entries.begin(), entries.end(), text);
        const auto entry = static_cast<int>(at - entries.begin());
        return commitDuplex(image, row, channel, duplexOfEntry(entry).value_or(Duplex::Off), style);
    }
    return onUsedChannel(image, row, channel, &style, [&](RowCommit& c) { c.list(column, text); });
}

CommitResult commitDuplex(RadioImage& image, ChannelRow& row, int channel, Duplex duplex, const ChannelStyle& style) {
    return onUsedChannel(image, row, channel, &style, [&](RowCommit& c) { c.duplex(duplex); });
}

bool emptyChannels(RadioImage& image, ChannelRows& rows, int first, int last) {
    if (!validBlock(first, last))
        return false;
    for (int n = first; n <= last; ++n)
        emptyChannel(image, rows, n);
    return true;
}

bool moveChannels(RadioImage& image, ChannelRows& rows, int first, int last, int delta) {
    if (!validBlock(first, last) || (delta != -1 && delta != 1) || !validChannel(first + delta) ||
        !validChannel(last + delta))
        return false;
    // The neighbour goes round to the other end of the block: one rotation by one channel.
    const int neighbour = delta < 0 ? first - 1 : last + 1;
    RadioImage scratch = image;
    const ChannelRow saved = rows[static_cast<std::size_t>(neighbour)];
    if (delta < 0) {
        for (int n = first; n <= last; ++n)
            copyChannelTo(image, rows, n, n - 1);
        copyChannel(scratch, neighbour, image, last);
        rows[static_cast<std::size_t>(last)] = saved;
    } else {
        for (int n = last; n >= first; --n)
            copyChannelTo(image, rows, n, n + 1);
        copyChannel(scratch, neighbour, image, first);
        rows[static_cast<std::size_t>(first)] = saved;
    }
    return true;
}

bool insertChannels(RadioImage& image, ChannelRows& rows, int first, int last) {
    if (!validBlock(first, last))
        return false;
    const int size = last - first + 1;
    for (int n = kChannelCount - size; n >= first; --n)
        copyChannelTo(image, rows, n, n + size);
    for (int n = first; n <= last; ++n)
        emptyChannel(image, rows, n);
    return true;
}

bool deleteChannels(RadioImage& image, ChannelRows& rows, int first, int last) {
    if (!validBlock(first, last))
        return false;
    const int size = last - first + 1;
    for (int n = first; n + size <= kChannelCount; ++n)
        copyChannelTo(image, rows, n + size, n);
    for (int n = kChannelCount - size + 1; n <= kChannelCount; ++n)
        emptyChannel(image, rows, n);
    return true;
}

bool insertLosesChannels(const RadioImage& image, int first, int last) {
    if (!validBlock(first, last))
        return false;
    for (int n = kChannelCount - (last - first); n <= kChannelCount; ++n) {
        if (channelInUse(image, n))
            return true;
    }
    return false;
}

} // namespace norvik
