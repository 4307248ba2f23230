#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "core/image/channel_record.h"
#include "core/image/radio_image.h"

namespace norvik {

// The broadcast receiver's presets: 25 frequencies of four BCD bytes (10 Hz units, all FF when
// empty) and the selected one.
constexpr int kRadioPresetCount = 25;
constexpr int kRadioPresetAddress = 0x850;
constexpr int kRadioSelectedAddress = 0x839;
constexpr Frequency kRadioLowest = 7000000;   // 70 MHz
constexpr Frequency kRadioHighest = 10797500; // 107.975 MHz
constexpr Frequency kRadioStep = 500;         // 5 kHz

constexpr int radioPresetAddress(int preset) {
    return kRadioPresetAddress + 4 * (preset - 1);
}

struct RadioPresets {
    int selected = 0;                                       // preset number - 1
    std::array<Frequency, kRadioPresetCount> frequencies{}; // preset k at [k - 1]; 0 is empty
    friend bool operator==(const RadioPresets&, const RadioPresets&) = default;
};

// A selection byte above 24 reads as the first preset.
RadioPresets loadRadioPresets(const RadioImage& image);
// Empties every preset slot, then writes the presets that hold a frequency.
void saveRadioPresets(RadioImage& image, const RadioPresets& presets);

struct PresetEntry {
    Frequency value = 0;     // 0: the cell was emptied
    bool outOfRange = false; // the caller shows "Frequency is out of range."
    friend bool operator==(const PresetEntry&, const PresetEntry&) = default;
};

// A typed preset: empty stays empty; below 70 or above 107.975 MHz becomes that limit and is
// flagged; anything between goes to the nearest 5 kHz, a half step going up. A text that cannot
// be read ("," rules of the locale) becomes the lowest preset without a notice.
PresetEntry presetFromText(std::string_view text);
// Digits, the point and the comma are the only characters the preset editor takes.
bool presetEditorAccepts(char c);

// The presets grid: a header row, then three pairs of columns (number, frequency) of ten rows;
// preset k sits in row (k - 1) % 10 + 1, its number in column (k - 1) / 10 * 2.
constexpr int kPresetGridRows = 11;
constexpr int kPresetGridColumns = 6;
constexpr int kPresetGridPresetRows = 10;

struct PresetCell {
    int row = 1;
    int column = 1;
    friend bool operator==(const PresetCell&, const PresetCell&) = default;
};

// The frequency cell of preset k.
PresetCell presetCell(int preset);
// The preset whose frequency cell this is (0 for number cells and cells without a preset).
int presetAtFrequencyCell(PresetCell cell);
// The preset whose number this cell shows (0 for frequency cells and the empty number cells).
int presetAtNumberCell(PresetCell cell);
// Where Enter moves: down a frequency column, on to the top of the next one after row 10; in the
// last column down to the last preset, then none (the focus leaves the grid). A number cell stays.
std::optional<PresetCell> presetCellAfterEnter(PresetCell cell);

} // namespace norvik
