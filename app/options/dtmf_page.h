#pragma once

#include <array>

#include "app/options/option_page.h"
#include "core/options/dtmf_page.h"
#include "core/strings/strings.h"

class QLabel;

namespace norvik {

class CodeGrid;
class OptionLineEdit;
class UpDown;

// DTMF: the digit timings and the autodial memory (page group 1).
class DtmfPageWidget : public OptionPage {
    Q_OBJECT
public:
    static constexpr int kPageIndex = 1;
    DtmfPageWidget(Language lang, QWidget* parent = nullptr);

    void load(const RadioImage& image) override;
    void save(RadioImage& image) override;

private:
    std::array<QLabel*, kDtmfTimeCount> LblDTMF{};
    std::array<OptionLineEdit*, kDtmfTimeCount> TxtDT{};
    std::array<UpDown*, kDtmfTimeCount> UDDtmf{};
    CodeGrid* GridDTMF;
};

} // namespace norvik
