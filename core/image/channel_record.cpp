#include "core/image/channel_record.h"

#include <algorithm>
#include <array>

#include "core/image/number_format.h"
#include "core/strings/string_ids.h"

namespace norvik {

Frequency decodeFrequency(const RadioImage& image, int address) {
    Frequency n = 0;
    for (int i = 0; i < 4; ++i) {
        const std::uint8_t b = image.at(address + i);
        for (int nibble : {b >> 4, b & 0x0F}) {
            if (nibble > 9)
                return n;
            n = n * 10 + static_cast<Frequency>(nibble);
        }
    }
    return n;
}

void encodeFrequency(RadioImage& image, int address, Frequency f) {
    f %= 100000000; // eight digits are all the record holds
    for (int i = 3; i >= 0; --i) {
        const int lo = static_cast<int>(f % 10);
        f /= 10;
        const int hi = static_cast<int>(f % 10);
        f /= 10;
        image.set(address + i, static_cast<std::uint8_t>(hi * 16 + lo));
    }
}

std::string frequencyText(Frequency f, char sep) {
    if (f == 0)
        return {};
    return formatScaled(f, 5, sep);
}

std::optional<Frequency> frequencyFromText(std::string_view text) {
    std::uint64_t whole = 0, frac = 0;
    int fracDigits = 0;
    bool seenSep = false, any = false;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            any = true;
            if (seenSep) {
                if (fracDigits < 5) {
                    frac = frac * 10 + static_cast<std::uint64_t>(c - '0');
                    ++fracDigits;
                }
            } else {
                whole = whole * 10 + static_cast<std::uint64_t>(c - '0');
                if (whole > 9999)
                    return std::nullopt;
            }
        } else if ((c == '.' || c == ',') && !seenSep) {
            seenSep = true;
        } else {
            return std::nullopt;
        }
    }
    if (!any)
        return std::nullopt;
    while (fracDigits < 5) {
        frac *= 10;
        ++fracDigits;
    }
    return static_cast<Frequency>(whole * kHz10PerMHz + frac);
}

Duplex duplexOf(Frequency rx, Frequency tx) {
    if (tx > rx)
        return Duplex::Plus;
    if (tx < rx)
        return Duplex::Minus;
    return Duplex::Off;
}

Frequency offsetOf(Frequency rx, Frequency tx) {
    return tx > rx ? tx - rx : rx - tx;
}

int duplexTextId(Duplex d) {
    switch (d) {
    case Duplex::Plus:
        return ids::Plus;
    case Duplex::Minus:
        return ids::Minus;
    case Duplex::Off:
        break;
    }
    return ids::Off;
}

bool sameChannelBytes(const RadioImage& a, const RadioImage& b, int channel) {
    const auto same = [&](int from, int count) {
        const auto first = a.bytes().begin() + from;
        return std::equal(first, first + count, b.bytes().begin() + from);
    };
    return same(channelAddress(channel), kRowSize) && same(nameAddress(channel), kNameLength);
}

void copyChannel(const RadioImage& source, int from, RadioImage& target, int to) {
    for (int i = 0; i < kRowSize; ++i)
        target.set(channelAddress(to) + i, source.at(channelAddress(from) + i));
    for (int i = 0; i < kNameLength; ++i)
        target.set(nameAddress(to) + i, source.at(nameAddress(from) + i));
}

std::string decodeName(const RadioImage& image, int channel) {
    return image.text(nameAddress(channel), kNameLength);
}

void encodeName(RadioImage& image, int channel, std::string_view bytes) {
    image.setText(nameAddress(channel), kNameLength, bytes);
}

namespace {

struct FieldDef {
    FieldLayout layout;
    std::vector<int> values;  // raw value of each entry
    std::vector<int> textIds; // string id of each entry; 0 = the value's number + 1 as text
};

const FieldDef& def(RecordField f) {
    static const std::array<FieldDef, 10> defs = {{
        {{rec::Flags12, 0x03, 0}, {0, 1, 2}, {ids::Off, ids::Compand, ids::Scramble}},
        {{rec::Flags12, 0x04, 2}, {0, 1}, {ids::Low, ids::High}},
        {{rec::Flags12, 0x30, 4}, {0, 1, 2, 3}, {ids::Off, ids::Bot, ids::Eot, ids::Both}},
        {{rec::Flags13, 0x03, 0}, {0, 1, 2}, {ids::Off, ids::Carrier, -1}},
        {{rec::Flags13, 0x04, 2}, {0, 1}, {ids::Off, ids::On}},
        {{rec::Flags13, 0x08, 3}, {0, 1}, {ids::Wide, ids::Narrow}},
        {{rec::Flags13, 0xF0, 4}, {0, 1, 2, 4, 8}, {ids::None, ids::Msk, ids::Dtmf, ids::TwoTone, ids::FiveTone}},
        {{rec::Flags14, 0x07, 0}, {0, 1, 2, 3, 4, 5, 6, 7}, {0, 0, 0, 0, 0, 0, 0, 0}},
        {{rec::Flags14, 0x40, 6}, {0, 1}, {ids::Del, ids::Add}},
        {{rec::Flags14, 0x80, 7}, {0, 1}, {ids::Off, ids::On}},
    }};
    return defs[static_cast<std::size_t>(f)];
}

std::string entryText(const FieldDef& d, std::size_t i, Language lang) {
    const int id = d.textIds[i];
    if (id == 0)
        return std::to_string(d.values[i] + 1);
    if (id == -1)
        return "QT/DQT"; // the same in both languages
    return std::string(text(id, lang));
}

} // namespace

FieldLayout fieldLayout(RecordField field) {
    return def(field).layout;
}

std::vector<std::string> fieldEntries(RecordField field, Language lang) {
    const FieldDef& d = def(field);
    std::vector<std::string> out;
    for (std::size_t i = 0; i < d.values.size(); ++i)
        out.push_back(entryText(d, i, lang));
    return out;
}

int fieldValue(const RadioImage& image, int channel, RecordField field) {
    const FieldLayout l = def(field).layout;
    return image.bits(channelAddress(channel) + l.byte, l.mask, l.shift);
}

int fieldEntryIndex(RecordField field, int value) {
    const FieldDef& d = def(field);
    auto it = std::find(d.values.begin(), d.values.end(), value);
    return it == d.values.end() ? 0 : static_cast<int>(it - d.values.begin());
}

int fieldEntryValue(RecordField field, int entry) {
    const FieldDef& d = def(field);
    if (entry < 0 || static_cast<std::size_t>(entry) >= d.values.size())
        return d.values.front();
    return d.values[static_cast<std::size_t>(entry)];
}

std::string fieldText(const RadioImage& image, int channel, RecordField field, Language lang) {
    return entryText(def(field), static_cast<std::size_t>(fieldEntryIndex(field, fieldValue(image, channel, field))),
                     lang);
}

std::optional<int> fieldEntryOf(RecordField field, std::string_view t, Language lang) {
    const FieldDef& d = def(field);
    for (std::size_t i = 0; i < d.values.size(); ++i) {
        if (entryText(d, i, lang) == t)
            return static_cast<int>(i);
    }
    return std::nullopt;
}

void setFieldValue(RadioImage& image, int channel, RecordField field, int value) {
    const FieldLayout l = def(field).layout;
    image.setBits(channelAddress(channel) + l.byte, l.mask, static_cast<std::uint8_t>(value << l.shift));
}

void clearRecord(RadioImage& image, int channel) {
    for (int i = 0; i < kRowSize; ++i)
        image.set(channelAddress(channel) + i, 0xFF);
}

void clearTransmit(RadioImage& image, int channel) {
    const int base = channelAddress(channel);
    for (int i = rec::Tx; i < rec::Tx + 4; ++i)
        image.set(base + i, 0xFF);
    image.set(base + rec::EncodeTone, 0xFF);
    image.set(base + rec::EncodeTone + 1, 0xFF);
}

RecordState recordState(const RadioImage& image, int channel) {
    const int base = channelAddress(channel);
    if (decodeFrequency(image, base + rec::Rx) == 0)
        return RecordState::Empty;
    if (decodeFrequency(image, base + rec::Tx) == 0)
        return RecordState::NoTransmit;
    return RecordState::Duplex;
}

RecordState normaliseRecord(RadioImage& image, int channel) {
    const RecordState state = recordState(image, channel);
    if (state == RecordState::Empty)
        clearRecord(image, channel);
    else if (state == RecordState::NoTransmit)
        clearTransmit(image, channel);
    return state;
}

void normaliseChannels(RadioImage& image) {
    for (int n = 1; n <= kChannelCount; ++n)
        normaliseRecord(image, n);
}

} // namespace norvik
