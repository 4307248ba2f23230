#pragma once

#include <string>

#include "image/radio_image.h"
#include "options/option_fields.h"

namespace norvik {

// The identity sent when the transmitter is keyed: an MSK identity (number and name) or a pair
// of DTMF codes. Both pairs stay in the image; the type chooses which one is shown and saved.
enum class PttIdType { Msk = 0, Dtmf = 1 };

// The two text fields: TxtPtt1 (MSK ID or DTMF begin code), TxtPtt2 (MSK name or DTMF end code).
enum class PttIdField { Bot, Eot };

// What the PTT ID Setting page shows.
struct PttIdSetting {
    bool ani = false;                // ChkPTTID
    PttIdType type = PttIdType::Msk; // CboPttID
    std::string bot;                 // TxtPtt1
    std::string eot;                 // TxtPtt2 (UTF-8 for the MSK name; one byte per character)

    friend bool operator==(const PttIdSetting&, const PttIdSetting&) = default;
};

PttIdSetting loadPttId(const RadioImage& image);

// Writes the type and ANI bits (the other bits of their byte stay) and the pair of the chosen type;
// the other type's pair is not touched. Characters without a byte (a non-digit in an MSK ID, a
// non-DTMF character in a code) are skipped, and no field is written past its end.
void savePttId(const PttIdSetting& setting, RadioImage& image);

// Choosing another type empties both fields: what they held belongs to the other type's pair.
void choosePttIdType(PttIdSetting& setting, PttIdType type);

int pttIdMaxLength(PttIdType type, PttIdField field);
KeyFilter pttIdKeyFilter(PttIdType type, PttIdField field);

} // namespace norvik
