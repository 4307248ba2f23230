#pragma once

#include "image/band_limits.h"
#include "image/radio_image.h"

namespace norvik {

// The one Radio Image the program edits, the Saved Image it is compared with, and the band
// limits held beside it. The application owns one and hands it to each window.
class RadioDocument {
public:
    RadioDocument();

    RadioImage& image() { return m_image; }
    const RadioImage& image() const { return m_image; }
    const RadioImage& savedImage() const { return m_saved; }

    BandLimits& bandLimits() { return m_bands; }
    const BandLimits& bandLimits() const { return m_bands; }

    // Replaces the image with the new-image defaults (the saved image is left alone).
    void writeNewImageDefaults();
    // Replaces the image with one opened from a file or read from a radio; the band limits
    // follow the ones it holds (the saved image is left alone).
    void loadImage(const RadioImage& image);
    // The band limits as the image holds them, after the image was replaced in place (a read).
    void reloadBandLimits();
    void takeSavedImage() { m_saved = m_image; }
    // Gives back a Saved Image taken earlier, e.g. when a cancelled read undoes its takeSavedImage.
    void restoreSavedImage(const RadioImage& saved) { m_saved = saved; }
    // Any byte differing from the saved image counts; there is no flag.
    bool isModified() const { return !(m_image == m_saved); }

private:
    RadioImage m_image;
    RadioImage m_saved;
    BandLimits m_bands;
};

} // namespace norvik
