#include "core/auxiliary/radio_presets.h"

#include <cmath>
#include <cstdint>

#include "core/image/number_format.h"

namespace norvik {
namespace {

// Hundredths of a hertz, as the channel rules use, so a typed 88.1025 is a true half step.
constexpr std::int64_t kCentiHzPer10Hz = 1000;
constexpr double kCentiHzPerMHz = static_cast<double>(kHz10PerMHz) * kCentiHzPer10Hz;

constexpr int kLastColumn = kPresetGridColumns - 1;
// The row of the last preset in the last column.
constexpr int kLastColumnRows = (kRadioPresetCount - 1) % kPresetGridPresetRows + 1;

bool holdsPreset(int row, int pairColumn) {
    if (row < 1 || row > kPresetGridPresetRows || pairColumn < 0 || pairColumn > kLastColumn)
        return false;
    return pairColumn < kLastColumn - 1 || row <= kLastColumnRows;
}

int presetOf(int row, int pairColumn) {
    return pairColumn / 2 * kPresetGridPresetRows + row;
}

} // namespace

RadioPresets loadRadioPresets(const RadioImage& image) {
    RadioPresets p;
    const int selected = image.at(kRadioSelectedAddress);
    p.selected = selected < kRadioPresetCount ? selected : 0;
    for (int k = 1; k <= kRadioPresetCount; ++k)
        p.frequencies[static_cast<std::size_t>(k - 1)] = decodeFrequency(image, radioPresetAddress(k));
    return p;
}

void saveRadioPresets(RadioImage& image, const RadioPresets& presets) {
    image.set(kRadioSelectedAddress, static_cast<std::uint8_t>(presets.selected));
    for (int k = 1; k <= kRadioPresetCount; ++k) {
        const Frequency f = presets.frequencies[static_cast<std::size_t>(k - 1)];
        const int address = radioPresetAddress(k);
        for (int i = 0; i < 4; ++i)
            image.set(address + i, 0xFF);
        if (f != 0)
            encodeFrequency(image, address, f);
    }
}

PresetEntry presetFromText(std::string_view text) {
    if (text.empty())
        return {};
    const std::optional<double> mhz = parseUserNumber(text);
    if (!mhz)
        return {kRadioLowest, false};
    const double scaled = *mhz * kCentiHzPerMHz;
    if (!(scaled >= static_cast<double>(kRadioLowest) * kCentiHzPer10Hz))
        return {kRadioLowest, true};
    if (scaled > static_cast<double>(kRadioHighest) * kCentiHzPer10Hz)
        return {kRadioHighest, true};
    const std::int64_t f = std::llround(scaled);
    const std::int64_t step = kRadioStep * kCentiHzPer10Hz;
    return {static_cast<Frequency>((f + step / 2) / step * step / kCentiHzPer10Hz), false};
}

bool presetEditorAccepts(char c) {
    return (c >= '0' && c <= '9') || c == '.' || c == ',';
}

PresetCell presetCell(int preset) {
    return {(preset - 1) % kPresetGridPresetRows + 1, (preset - 1) / kPresetGridPresetRows * 2 + 1};
}

int presetAtFrequencyCell(PresetCell cell) {
    if (cell.column % 2 != 1 || !holdsPreset(cell.row, cell.column))
        return 0;
    return presetOf(cell.row, cell.column);
}

int presetAtNumberCell(PresetCell cell) {
    if (cell.column % 2 != 0 || !holdsPreset(cell.row, cell.column + 1))
        return 0;
    return presetOf(cell.row, cell.column);
}

std::optional<PresetCell> presetCellAfterEnter(PresetCell cell) {
    if (cell.column % 2 == 0)
        return cell;
    if (cell.column == kLastColumn) {
        if (cell.row < kLastColumnRows)
            return PresetCell{cell.row + 1, cell.column};
        return std::nullopt;
    }
    if (cell.row < kPresetGridPresetRows)
        return PresetCell{cell.row + 1, cell.column};
    return PresetCell{1, cell.column + 2};
}

} // namespace norvik
