#include "core/options/function_setting.h"

#include <cstdint>

#include "core/channels/channel_texts.h"
#include "core/strings/string_ids.h"

namespace norvik {
namespace {

constexpr int kScanByte = 0x830;    // bits 7-6 scan mode, bit 2 relay
constexpr int kDisplayByte = 0x831; // lamp, TOT penalty, manual, channel display, chord, beep, battery
constexpr int kSignalByte = 0x832;  // cancel code squelch, roger tone, inhibit receiver (and others)
constexpr int kMessageModeByte = 0x833;
constexpr int kSquelchByte = 0x834;
constexpr int kTotByte = 0x835;
constexpr int kVoxByte = 0x836; // bits 3-0 level, bits 7-4 delay
constexpr int kPowerOnMessage = 0x840;
constexpr std::array<int, 2> kBandStepByte{0x83B, 0x84B};

// A bit field of one byte: its mask and the shift of its lowest bit.
struct Field {
    int address;
    std::uint8_t mask;
    int shift;
};
constexpr Field kScanMode{kScanByte, 0xC0, 6};
constexpr Field kRelay{kScanByte, 0x04, 2};
constexpr Field kLamp{kDisplayByte, 0xC0, 6};
constexpr Field kTotPenalty{kDisplayByte, 0x20, 5};
constexpr Field kManual{kDisplayByte, 0x10, 4};
constexpr Field kChannelDisplay{kDisplayByte, 0x08, 3};
constexpr Field kChord{kDisplayByte, 0x04, 2};
constexpr Field kBeepTone{kDisplayByte, 0x02, 1};
constexpr Field kBatterySave{kDisplayByte, 0x01, 0};
constexpr Field kCancelCodeSquelch{kSignalByte, 0x08, 3};
constexpr Field kRogerTone{kSignalByte, 0x02, 1};
constexpr Field kInhibitReceiver{kSignalByte, 0x01, 0};
constexpr Field kMessageMode{kMessageModeByte, 0xC0, 6};
constexpr Field kVoxLevel{kVoxByte, 0x0F, 0};
constexpr Field kVoxDelay{kVoxByte, 0xF0, 4};

constexpr int kSquelchLevels = 10;
constexpr int kTotEntries = 10;
constexpr int kScanModes = 3;
constexpr int kLampEntries = 3;
constexpr int kVoxLevels = 8;
constexpr int kVoxDelays = 4;
constexpr int kMessageModes = 3;
constexpr int kBandSteps = 8;

int get(const RadioImage& image, Field f) {
    return image.bits(f.address, f.mask, f.shift);
}

void put(RadioImage& image, Field f, int value) {
    image.setBits(f.address, f.mask, static_cast<std::uint8_t>(value << f.shift));
}

// A stored value at or above the list's length shows the default entry.
int position(int stored, int count, int fallback) {
    return stored >= 0 && stored < count ? stored : fallback;
}

std::vector<std::string> captions(std::initializer_list<int> idList, Language lang) {
    std::vector<std::string> out;
    for (const int id : idList)
        out.push_back(textString(id, lang));
    return out;
}

// "1" .. "n" after `first`, each followed by `suffix`.
std::vector<std::string> numbered(int count, int first, int factor, const std::string& suffix) {
    std::vector<std::string> out;
    for (int n = first; n < first + count; ++n)
        out.push_back(std::to_string(n * factor) + suffix);
    return out;
}

} // namespace

std::vector<std::string> listEntries(OptionList list, Language lang) {
    switch (list) {
    case OptionList::SquelchLevel:
        return numbered(kSquelchLevels, 0, 1, {});
    case OptionList::TimeOutTimer: {
        std::vector<std::string> out{textString(ids::Off, lang)};
        for (std::string& s : numbered(kTotEntries - 1, 1, 30, textString(ids::SecondsTot, lang)))
            out.push_back(std::move(s));
        return out;
    }
    case OptionList::ScanMode:
        return captions({ids::ScanTime, ids::Carrier, ids::ScanSeek}, lang);
    case OptionList::OffOn:
        return captions({ids::Off, ids::On}, lang);
    case OptionList::Lamp:
        return captions({ids::Off, ids::On, ids::Auto}, lang);
    case OptionList::ChannelDisplay:
        return captions({ids::Frequency, ids::Name}, lang);
    case OptionList::VoxLevel:
        return numbered(kVoxLevels, 1, 1, {});
    case OptionList::VoxDelay:
        return numbered(kVoxDelays, 1, 1, textString(ids::Seconds, lang));
    case OptionList::MessageMode:
        return captions({ids::Off, ids::PowerOnDc, ids::PowerOnMsg}, lang);
    case OptionList::BandStep:
        return {"5K", "6.25K", "10K", "12.5K", "25K", "37.5K", "50K", "100K"};
    case OptionList::PttIdType:
        return {"MSK", "DTMF"};
    }
    return {};
}

std::string loadPowerOnMessage(const RadioImage& image) {
    std::string bytes;
    for (int i = 0; i < kPowerOnMessageLength && image.at(kPowerOnMessage + i) != 0xFF; ++i)
        bytes += static_cast<char>(image.at(kPowerOnMessage + i));
    return latin1ToUtf8(bytes);
}

FunctionSetting loadFunctionSetting(const RadioImage& image) {
    FunctionSetting s;
    s.squelchLevel = position(image.at(kSquelchByte), kSquelchLevels, 5);
    s.timeOutTimer = position(image.at(kTotByte), kTotEntries, 0);
    s.scanMode = position(get(image, kScanMode), kScanModes, 0);
    s.chord = get(image, kChord);
    s.batterySave = get(image, kBatterySave);
    s.beepTone = get(image, kBeepTone);
    s.rogerTone = get(image, kRogerTone);
    s.lamp = position(get(image, kLamp), kLampEntries, 0);
    s.channelDisplay = get(image, kChannelDisplay);
    s.voxLevel = position(get(image, kVoxLevel), kVoxLevels, 5);
    // One encoding both ways: the delay's list position, so a saved 1sec (0) reads back as 1sec.
    s.voxDelay = position(get(image, kVoxDelay), kVoxDelays, 1);
    s.messageMode = position(get(image, kMessageMode), kMessageModes, 0);
    s.powerOnMessage = loadPowerOnMessage(image);
    s.cancelCodeSquelch = get(image, kCancelCodeSquelch) != 0;
    s.inhibitReceiver = get(image, kInhibitReceiver) != 0;
    s.relay = get(image, kRelay) != 0;
    s.totPenalty = get(image, kTotPenalty) != 0;
    s.manual = get(image, kManual) != 0;
    for (std::size_t i = 0; i < kBandStepByte.size(); ++i)
        s.bandStep[i] = position(image.at(kBandStepByte[i]), kBandSteps, 0);
    return s;
}

void saveFunctionSetting(const FunctionSetting& s, RadioImage& image) {
    // A position outside its list (no entry chosen) is written as the first entry.
    const auto pos = [](int value, int count) { return position(value, count, 0); };
    put(image, kScanMode, pos(s.scanMode, kScanModes));
    put(image, kRelay, s.relay);
    put(image, kLamp, pos(s.lamp, kLampEntries));
    put(image, kTotPenalty, s.totPenalty);
    put(image, kManual, s.manual);
    put(image, kChannelDisplay, pos(s.channelDisplay, 2));
    put(image, kChord, pos(s.chord, 2));
    put(image, kBeepTone, pos(s.beepTone, 2));
    put(image, kBatterySave, pos(s.batterySave, 2));
    put(image, kCancelCodeSquelch, s.cancelCodeSquelch);
    put(image, kRogerTone, pos(s.rogerTone, 2));
    put(image, kInhibitReceiver, s.inhibitReceiver);
    put(image, kMessageMode, pos(s.messageMode, kMessageModes));
    image.set(kSquelchByte, static_cast<std::uint8_t>(pos(s.squelchLevel, kSquelchLevels)));
    image.set(kTotByte, static_cast<std::uint8_t>(pos(s.timeOutTimer, kTotEntries)));
    // The level takes the whole byte, then the delay is or-ed into the high half.
    image.set(kVoxByte, static_cast<std::uint8_t>(pos(s.voxLevel, kVoxLevels)));
    image.set(kVoxByte, static_cast<std::uint8_t>(image.at(kVoxByte) | pos(s.voxDelay, kVoxDelays) << 4));
    // Saved whatever the mode, upper-cased, 0xFF after the text.
    std::string message = utf8ToLatin1(s.powerOnMessage);
    for (char& c : message) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    image.setText(kPowerOnMessage, kPowerOnMessageLength, message);
    for (std::size_t i = 0; i < kBandStepByte.size(); ++i)
        image.set(kBandStepByte[i], static_cast<std::uint8_t>(pos(s.bandStep[i], kBandSteps)));
}

} // namespace norvik
