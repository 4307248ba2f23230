#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/image/radio_image.h"

namespace norvik {

inline constexpr int kDtmfTimeCount = 3;
inline constexpr int kAutodialCount = 10;
inline constexpr int kAutodialDigits = 16;

// What the DTMF page shows.
struct DtmfPage {
    std::array<std::string, kDtmfTimeCount> times;    // digit, inter-digit and first digit time, ms, 50-200
    std::array<std::string, kAutodialCount> autodial; // the autodial memories, up to 16 digits each
    friend bool operator==(const DtmfPage&, const DtmfPage&) = default;
};

DtmfPage loadDtmfPage(const RadioImage& image);
// Each time is stored as its validated value; each entry keeps its first 16 codes.
void saveDtmfPage(const DtmfPage& page, RadioImage& image);

// A time takes digits (digitKey), at most 3.
inline constexpr int kDtmfTimeLength = 3;
inline constexpr int kDtmfTimeMin = 50;
inline constexpr int kDtmfTimeMax = 200;
inline constexpr int kDtmfTimeStep = 10;
// The text after leaving a field or Enter: 50 to 200 in steps of 10.
std::string validateDtmfTime(std::string_view text);
// Up/Down arrow (direction +1/-1), and the up-down control's buttons: one step of 10 going round
// from 200 to 50 and from 50 to 200, then validated.
std::string stepDtmfTime(std::string_view text, int direction);
// The validated value, for the up-down control beside the field.
int dtmfTimeValue(std::string_view text);

} // namespace norvik
