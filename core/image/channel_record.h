#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/image/radio_image.h"
#include "core/strings/strings.h"

namespace norvik {

constexpr int kChannelCount = 128;
constexpr int kNameLength = 7;
constexpr int kNameAreaStart = 0x8C0;
constexpr int kVfoRowA = 129;
constexpr int kVfoRowB = 130;

// Byte offsets inside a channel record.
namespace rec {
inline constexpr int Rx = 0;
inline constexpr int Tx = 4;
inline constexpr int DecodeTone = 8;
inline constexpr int EncodeTone = 10;
inline constexpr int Flags12 = 12;
inline constexpr int Flags13 = 13;
inline constexpr int Flags14 = 14;
inline constexpr int Reserved15 = 15;
} // namespace rec

constexpr int channelAddress(int channel) {
    return channel * kRowSize;
}
constexpr int nameAddress(int channel) {
    return kNameAreaStart + (channel - 1) * kNameLength;
}

// A frequency in units of 10 Hz; 0 means "no frequency".
using Frequency = std::uint32_t;
constexpr Frequency kHz10PerMHz = 100000;

// Eight BCD digits, most significant first; reading stops at the first nibble above 9.
Frequency decodeFrequency(const RadioImage& image, int address);
// Eight BCD digits of the number itself, so a frequency below 100 MHz keeps its digits in place.
void encodeFrequency(RadioImage& image, int address, Frequency f);

// "145.72500" (five decimals, the given separator); empty for 0.
std::string frequencyText(Frequency f, char sep);
// Reads a frequency text in MHz (either separator) exactly to 10 Hz; no value for a text that is
// not a plain number.
std::optional<Frequency> frequencyFromText(std::string_view text);

enum class Duplex { Off, Plus, Minus };
Duplex duplexOf(Frequency rx, Frequency tx);
Frequency offsetOf(Frequency rx, Frequency tx);
int duplexTextId(Duplex d);

// Names are single-byte character codes; 0xFF bytes are skipped (later bytes still count).
std::string decodeName(const RadioImage& image, int channel);
void encodeName(RadioImage& image, int channel, std::string_view bytes);

// Whether channel n's record and name hold the same bytes in both images: all a channel is.
bool sameChannelBytes(const RadioImage& a, const RadioImage& b, int channel);
// Channel `from` of one image, record and name entry, onto channel `to` of another or the same.
void copyChannel(const RadioImage& source, int from, RadioImage& target, int to);

// The list fields of a channel record. Each has a byte, a bit mask and the texts of its values.
enum class RecordField { Option, Power, PttId, Bcl, Vox, Bandwidth, SignalType, ScramblerGroup, Scan, AutoResponse };

struct FieldLayout {
    int byte;          // offset in the record
    std::uint8_t mask; // bits of the field, in place
    int shift;
};
FieldLayout fieldLayout(RecordField field);

// The entries a list of this field shows, in order (value texts of the language).
std::vector<std::string> fieldEntries(RecordField field, Language lang);
// Raw value of the field's bits.
int fieldValue(const RadioImage& image, int channel, RecordField field);
// The entry shown for the field's value: values without an entry show the first one
// ("Off" for option 3 and BCL 3, "None" for an unknown signalling type).
int fieldEntryIndex(RecordField field, int value);
// The value an entry stands for (inverse of the above, e.g. 4 for the "2-Tone" entry).
int fieldEntryValue(RecordField field, int entry);
std::string fieldText(const RadioImage& image, int channel, RecordField field, Language lang);
// Entry position of a text among the field's entries, if it is one of them.
std::optional<int> fieldEntryOf(RecordField field, std::string_view text, Language lang);
// Read-modify-write of the field's bits; other bits of the byte stay.
void setFieldValue(RadioImage& image, int channel, RecordField field, int value);

// Record bytes 12..15 of a channel created by typing its first receive frequency.
inline constexpr std::uint8_t kNewChannelFlags[4] = {0x04, 0x00, 0x46, 0x00};

// What a record holds: no receive frequency, a receive frequency only, or both.
enum class RecordState { Empty, NoTransmit, Duplex };
RecordState recordState(const RadioImage& image, int channel);
// A channel is in use when it has a receive frequency.
inline bool channelInUse(const RadioImage& image, int channel) {
    return recordState(image, channel) != RecordState::Empty;
}
// Writes back what loading normalises: an empty receive frequency empties the whole record;
// an empty transmit frequency clears bytes 4-7 and 10-11.
RecordState normaliseRecord(RadioImage& image, int channel);
// Every channel record as loading makes it; run once when an image is loaded, so that what
// shows and what is written back agree.
void normaliseChannels(RadioImage& image);

void clearRecord(RadioImage& image, int channel);
void clearTransmit(RadioImage& image, int channel);

} // namespace norvik
