#pragma once

#include <array>

#include "app/options/option_page.h"
#include "core/options/five_tone_page.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace norvik {

class OptionLineEdit;
class UpDown;

// 5-Tone: the standard, the own ID, the respond waiting time and the fix digit, with the
// standard's digit tones shown read-only (page group 4).
class FiveTonePageWidget : public OptionPage {
    Q_OBJECT
public:
    static constexpr int kPageIndex = 4;
    FiveTonePageWidget(Language lang, QWidget* parent = nullptr);

    void load(const RadioImage& image) override;
    void save(RadioImage& image) override;

public slots:
    // Shows the digit tones of the standard chosen.
    void Cbo5Tone_Click();

private:
    std::array<QLabel*, 4> Lbl5Tone{};
    std::array<QComboBox*, 3> Cbo5Tone{};
    OptionLineEdit* Txt5Tone;
    QGroupBox* fraTone;
    std::array<QLabel*, kFiveToneDigitCount> lblTone{};
    std::array<QLineEdit*, kFiveToneDigitCount> txtTone{};
    std::array<UpDown*, kFiveToneDigitCount> updTone{};
};

} // namespace norvik
