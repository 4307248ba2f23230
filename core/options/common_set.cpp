#include "core/options/common_set.h"

#include <cstdint>

#include "core/options/option_fields.h"
#include "core/strings/string_ids.h"

namespace norvik {
namespace {

constexpr int kSideToneByte = 0x832;
constexpr std::uint8_t kSideToneBit = 0x20;
constexpr int kAutoResetByte = 0xD20;
constexpr int kDigitDelayByte = 0xD24; // 5 per 50 ms above 100 ms
constexpr int kDigitDelayUnits = 5;
constexpr int kDigitDelayLoadLimit = 18; // units of 50 ms; above, the default below shows
constexpr int kDigitDelayDefault = 6;    // 400 ms
constexpr int kAutoResetLoadDefault = 10;

bool isOff(std::string_view text, Language lang) {
    return text == norvik::text(ids::Off, lang);
}

} // namespace

std::string validateDigitDelay(std::string_view text) {
    return std::to_string(digitDelayValue(text));
}

int digitDelayValue(std::string_view text) {
    const int v = leadingInteger(text);
    if (v > kDigitDelayMax)
        return kDigitDelayMax;
    if (v < kDigitDelayMin)
        return kDigitDelayMin;
    return v / kDigitDelayStep * kDigitDelayStep;
}

std::string stepDigitDelay(std::string_view text, int direction) {
    int v = leadingInteger(text) + direction * kDigitDelayStep;
    if (v < kDigitDelayMin)
        v = kDigitDelayMax;
    else if (v > kDigitDelayMax)
        v = kDigitDelayMin;
    return validateDigitDelay(std::to_string(v));
}

std::string autoResetTimerText(int seconds, Language lang) {
    return seconds == 0 ? textString(ids::Off, lang) : std::to_string(seconds);
}

std::string validateAutoResetTimer(std::string_view text, Language lang) {
    if (isOff(text, lang))
        return std::string(text);
    const int v = leadingInteger(text);
    if (v > kAutoResetMax)
        return std::to_string(kAutoResetMax);
    if (v < 1)
        return autoResetTimerText(0, lang);
    return std::string(text); // kept as typed
}

int autoResetTimerValue(std::string_view text, Language lang) {
    const std::string valid = validateAutoResetTimer(text, lang);
    return isOff(valid, lang) ? 0 : leadingInteger(valid);
}

std::string stepAutoResetTimer(std::string_view text, int direction, Language lang) {
    int v = (isOff(text, lang) ? 0 : leadingInteger(text)) + direction;
    if (v < 0)
        v = kAutoResetMax;
    else if (v > kAutoResetMax)
        v = 0;
    return validateAutoResetTimer(autoResetTimerText(v, lang), lang);
}

CommonSet loadCommonSet(const RadioImage& image, Language lang) {
    CommonSet s;
    s.sideTone = (image.at(kSideToneByte) & kSideToneBit) != 0;
    int units = image.at(kDigitDelayByte) / kDigitDelayUnits;
    if (units > kDigitDelayLoadLimit)
        units = kDigitDelayDefault;
    s.digitDelay = std::to_string(kDigitDelayMin + kDigitDelayStep * units);
    const int seconds = image.at(kAutoResetByte);
    s.autoResetTimer = autoResetTimerText(seconds > kAutoResetMax ? kAutoResetLoadDefault : seconds, lang);
    return s;
}

void saveCommonSet(const CommonSet& s, RadioImage& image, Language lang) {
    image.setBits(kSideToneByte, kSideToneBit, s.sideTone ? kSideToneBit : 0);
    const int delay = digitDelayValue(s.digitDelay);
    image.set(kDigitDelayByte,
              static_cast<std::uint8_t>((delay - kDigitDelayMin) / kDigitDelayStep * kDigitDelayUnits));
    image.set(kAutoResetByte, static_cast<std::uint8_t>(autoResetTimerValue(s.autoResetTimer, lang)));
}

} // namespace norvik
