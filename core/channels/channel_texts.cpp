#include "core/channels/channel_texts.h"

#include "core/image/number_format.h"
#include "core/image/tones.h"

namespace norvik {

ChannelRow channelRow(const RadioImage& image, int channel, Language lang, char sep) {
    ChannelRow row;
    const RecordState state = recordState(image, channel);
    if (state == RecordState::Empty)
        return row;
    RowTexts& t = row.texts;
    const int base = channelAddress(channel);
    const Frequency rx = decodeFrequency(image, base + rec::Rx);
    t[col::Rx] = frequencyText(rx, sep);
    t[col::Decode] = toneText(image, base + rec::DecodeTone, lang, sep);
    Frequency tx = rx;
    if (state == RecordState::Duplex) {
        tx = decodeFrequency(image, base + rec::Tx);
        t[col::Tx] = frequencyText(tx, sep);
        t[col::Encode] = toneText(image, base + rec::EncodeTone, lang, sep);
    }
    row.duplex = duplexOf(rx, tx);
    t[col::Duplex] = duplexText(row.duplex, lang);
    t[col::Offset] = offsetText(offsetOf(rx, tx), sep);
    for (int c = col::Power; c <= col::Scrambler; ++c) {
        if (const auto field = listField(c))
            t[static_cast<std::size_t>(c)] = fieldText(image, channel, *field, lang);
    }
    t[col::Name] = latin1ToUtf8(decodeName(image, channel));
    t[col::More] = std::string(kMoreText);
    return row;
}

std::string toneText(const RadioImage& image, int address, Language lang, char sep) {
    return decodeTone({image.at(address), image.at(address + 1)}, lang, sep);
}

std::string offsetText(Frequency offset, char sep) {
    return formatScaled(offset, 5, sep);
}

std::vector<std::string> duplexEntries(Language lang) {
    std::vector<std::string> out;
    for (Duplex d : {Duplex::Off, Duplex::Plus, Duplex::Minus})
        out.push_back(duplexText(d, lang));
    return out;
}

std::string duplexText(Duplex duplex, Language lang) {
    return textString(duplexTextId(duplex), lang);
}

int duplexEntry(Duplex duplex) {
    return static_cast<int>(duplex);
}

std::optional<Duplex> duplexOfEntry(int entry) {
    if (entry < 0 || entry > static_cast<int>(Duplex::Minus))
        return std::nullopt;
    return static_cast<Duplex>(entry);
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

} // namespace norvik
