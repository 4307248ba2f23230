#pragma once

#include <string>

#include "core/image/radio_image.h"
#include "core/options/option_fields.h"

namespace norvik {

// The identity sent when the transmitter is keyed: an MSK identity (number and name) or a pair
// of DTMF codes. Both pairs stay in the image; the type chooses which one is shown and saved.
enum class PttIdType { Msk = 0, Dtmf = 1 };

// The two texts: the beginning of transmission (MSK ID or DTMF begin code) and the end (MSK name
// or DTMF end code).
enum class PttIdField { Bot, Eot };

// What the PTT ID Setting page shows.
struct PttIdSetting {
    bool ani = false;                // the radio sends its ID with each transmission
    PttIdType type = PttIdType::Msk; // the signalling that carries it
    std::string bot;                 // MSK ID or DTMF begin code
    std::string eot;                 // MSK name (UTF-8 here, one image byte per character) or DTMF end code

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
