#include "core/compare/image_compare.h"

#include <cstdio>
#include <initializer_list>
#include <string_view>

#include "core/channels/channel_texts.h"
#include "core/image/band_limits.h"
#include "core/options/named_settings.h"
#include "core/strings/string_ids.h"

namespace norvik {
namespace {

constexpr int kComparedColumns[] = {col::Rx,   col::Tx,        col::Decode,   col::Encode, col::Power,
                                    col::Scan, col::Bandwidth, col::Name,     col::Bcl,    col::PttId,
                                    col::Vox,  col::Option,    col::Scrambler};
constexpr std::string_view kPlaceSeparator = " \u203A ";

// The pattern with %1, %2 ... replaced in one pass, so that a value holding "%2" stays as it is.
std::string fill(std::string_view pattern, std::initializer_list<std::string_view> args) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        const auto n = static_cast<std::size_t>(next - '1');
        if (pattern[i] == '%' && next >= '1' && next <= '9' && n < args.size()) {
            out += args.begin()[n];
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

std::string shown(const std::string& text, Language lang) {
    return text.empty() ? textString(ids::DiffEmpty, lang) : text;
}

std::string bandText(const Band& band) {
    return std::to_string(band.lower) + "\u2013" + std::to_string(band.upper);
}

std::string addressText(int address) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", address);
    return text;
}

} // namespace

std::vector<ImageDifference> compareImages(const RadioImage& before, const RadioImage& after, Language lang,
                                           char decimalSeparator) {
    using Kind = ImageDifference::Kind;
    std::vector<ImageDifference> out;
    if (before == after) // every write's read-back lands here; naming each setting costs more than the whole transfer
        return out;
    // `before` with what every named difference stands for taken from `after`: the bytes still
    // differing are the ones no name accounts for.
    RadioImage explained = before;

    for (int channel = 1; channel <= kChannelCount; ++channel) {
        // A channel's texts come from its record and name alone.
        if (sameChannelBytes(before, after, channel))
            continue;
        const ChannelRow a = channelRow(before, channel, lang, decimalSeparator);
        const ChannelRow b = channelRow(after, channel, lang, decimalSeparator);
        const std::size_t found = out.size();
        for (const int column : kComparedColumns) {
            const auto c = static_cast<std::size_t>(column);
            if (a.texts[c] != b.texts[c])
                out.push_back({Kind::Channel, channel, textString(columnHeaderId(column), lang),
                               shown(a.texts[c], lang), shown(b.texts[c], lang)});
        }
        if (out.size() == found)
            continue;
        explained.setRow(channel, after.row(channel));
        for (int i = 0; i < kNameLength; ++i)
            explained.set(nameAddress(channel) + i, after.at(nameAddress(channel) + i));
    }

    for (int page = 0; page < kOptionPageCount; ++page) {
        const std::vector<NamedSetting> a = namedSettings(page, before, lang, decimalSeparator);
        const std::vector<NamedSetting> b = namedSettings(page, after, lang, decimalSeparator);
        const std::string title = optionPageTitle(page, lang);
        const std::size_t found = out.size();
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (a[i].value != b[i].value)
                out.push_back({Kind::Setting, 0, title + std::string(kPlaceSeparator) + a[i].name,
                               shown(a[i].value, lang), shown(b[i].value, lang)});
        }
        if (out.size() != found)
            copyOptionPage(page, after, explained, lang);
    }

    for (int k = 0; k < kBandCount; ++k) {
        const Band a = storedBand(before, k);
        const Band b = storedBand(after, k);
        if (a == b)
            continue;
        out.push_back({Kind::Setting, 0,
                       textString(ids::BandLimitsName, lang) + std::string(kPlaceSeparator) +
                           textString(ids::Band, lang) + " " + std::to_string(k + 1),
                       bandText(a), bandText(b)});
        for (int i = 0; i < 4; ++i)
            explained.setByte(kBandLimitsRow, 4 * k + i, after.byte(kBandLimitsRow, 4 * k + i));
    }

    // A byte that a named change wrote without being asked to (a page's Save putting a valid value
    // where an invalid one stood) is not a difference unless the two images differ there.
    for (int address = 0; address < kImageSize; ++address) {
        if (before.at(address) == after.at(address) || explained.at(address) == after.at(address))
            continue;
        if (!out.empty() && out.back().kind == Kind::Bytes && out.back().last == address - 1)
            out.back().last = address;
        else
            out.push_back({Kind::Bytes, 0, {}, {}, {}, address, address});
    }
    return out;
}

std::string differenceText(const ImageDifference& d, Language lang) {
    switch (d.kind) {
    case ImageDifference::Kind::Channel:
        return fill(text(ids::DiffChannel, lang), {std::to_string(d.channel), d.name, d.before, d.after});
    case ImageDifference::Kind::Setting:
        return fill(text(ids::DiffSetting, lang), {d.name, d.before, d.after});
    case ImageDifference::Kind::Bytes:
        break;
    }
    if (d.first == d.last)
        return fill(text(ids::DiffByte, lang), {addressText(d.first)});
    return fill(text(ids::DiffBytes, lang), {addressText(d.first), addressText(d.last)});
}

} // namespace norvik
