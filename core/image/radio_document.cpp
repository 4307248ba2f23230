#include "image/radio_document.h"

#include "image/defaults.h"

namespace norvik {

RadioDocument::RadioDocument() {
    m_bands.reset();
    writeNewImageDefaults();
    takeSavedImage();
}

void RadioDocument::writeNewImageDefaults() {
    norvik::writeNewImageDefaults(m_image, m_bands);
}

} // namespace norvik
