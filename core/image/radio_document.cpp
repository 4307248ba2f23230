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

void RadioDocument::loadImage(const RadioImage& image) {
    m_image = image;
    reloadBandLimits();
}

void RadioDocument::reloadBandLimits() {
    m_bands.load(m_image);
}

} // namespace norvik
