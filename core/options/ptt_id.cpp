#include "core/options/ptt_id.h"

#include <cstdint>

#include "core/channels/channel_texts.h"
#include "core/options/digit_code.h"

namespace norvik {
namespace {

constexpr int kTypeAniByte = 0x832;
constexpr std::uint8_t kTypeBit = 0x10;
constexpr std::uint8_t kAniBit = 0x04;
constexpr int kDtmfBot = 0xD90;
constexpr int kDtmfEot = 0xD98;
constexpr int kDtmfCodeLength = 7;
constexpr int kMskId = 0xDA0;
constexpr int kMskIdLength = 4;
constexpr int kMskIdTail = 0xDA6; // a shorter ID clears up to here
constexpr int kMskName = 0xDA8;
constexpr int kMskNameLength = 6;

void saveMskId(std::string_view text, RadioImage& image) {
    const std::string digits = filterText(text, digitKey).substr(0, kMskIdLength);
    if (digits.empty()) {
        for (int a = kMskId; a < kMskId + kMskIdLength; ++a)
            image.set(a, 0xFF);
        return;
    }
    for (std::size_t k = 0; k < digits.size(); ++k)
        image.set(kMskId + static_cast<int>(k), static_cast<std::uint8_t>(digits[k] - '0'));
    if (digits.size() < kMskIdLength) {
        for (int a = kMskId + static_cast<int>(digits.size()); a <= kMskIdTail; ++a)
            image.set(a, 0xFF);
    }
}

} // namespace

PttIdSetting loadPttId(const RadioImage& image) {
    PttIdSetting s;
    s.ani = (image.at(kTypeAniByte) & kAniBit) != 0;
    s.type = (image.at(kTypeAniByte) & kTypeBit) != 0 ? PttIdType::Dtmf : PttIdType::Msk;
    if (s.type == PttIdType::Dtmf) {
        s.bot = readDtmfDigits(image, kDtmfBot, kDtmfCodeLength);
        s.eot = readDtmfDigits(image, kDtmfEot, kDtmfCodeLength);
    } else {
        for (int a = kMskId; a < kMskId + kMskIdLength; ++a) {
            if (image.at(a) != 0xFF)
                s.bot += std::to_string(image.at(a));
        }
        s.eot = latin1ToUtf8(image.text(kMskName, kMskNameLength));
    }
    return s;
}

void savePttId(const PttIdSetting& s, RadioImage& image) {
    image.setBits(kTypeAniByte, kTypeBit, s.type == PttIdType::Dtmf ? kTypeBit : 0);
    image.setBits(kTypeAniByte, kAniBit, s.ani ? kAniBit : 0);
    if (s.type == PttIdType::Dtmf) {
        writeDtmfDigits(image, kDtmfBot, kDtmfCodeLength, s.bot);
        writeDtmfDigits(image, kDtmfEot, kDtmfCodeLength, s.eot);
    } else {
        saveMskId(s.bot, image);
        image.setText(kMskName, kMskNameLength, utf8ToLatin1(s.eot));
    }
}

void choosePttIdType(PttIdSetting& s, PttIdType type) {
    if (s.type == type)
        return;
    s.type = type;
    s.bot.clear();
    s.eot.clear();
}

int pttIdMaxLength(PttIdType type, PttIdField field) {
    if (type == PttIdType::Dtmf)
        return kDtmfCodeLength;
    return field == PttIdField::Bot ? kMskIdLength : kMskNameLength;
}

KeyFilter pttIdKeyFilter(PttIdType type, PttIdField field) {
    if (type == PttIdType::Dtmf)
        return dtmfKey;
    return field == PttIdField::Bot ? digitKey : mskNameKey;
}

} // namespace norvik
