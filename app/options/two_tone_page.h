#pragma once

#include <array>

#include "app/options/option_page.h"
#include "core/options/two_tone_page.h"

class QComboBox;
class QLabel;

namespace norvik {

class CodeGrid;
class OptionLineEdit;

// 2-Tone: the decoder's A, B and C tones with its three lists, and the ten codes to send (page
// group 3).
class TwoTonePageWidget : public OptionPage {
    Q_OBJECT
public:
    static constexpr int kPageIndex = 3;
    TwoTonePageWidget(Language lang, QWidget* parent = nullptr);

    void load(const RadioImage& image) override;
    void save(RadioImage& image) override;

private:
    std::array<QLabel*, 6> Lbl2T{};
    std::array<OptionLineEdit*, 3> Txt2Tone{};
    std::array<QComboBox*, 3> Cbo2Tone{};
    CodeGrid* Grid2Tone;
};

} // namespace norvik
