#pragma once

#include <array>

#include "app/options/option_page.h"
#include "core/options/msk_page.h"
#include "core/strings/strings.h"

class QGroupBox;
class QLabel;

namespace norvik {

class CodeGrid;
class OptionLineEdit;

// MSK: the own ID code and the call list (page group 2).
class MskPageWidget : public OptionPage {
    Q_OBJECT
public:
    static constexpr int kPageIndex = 2;
    MskPageWidget(Language lang, QWidget* parent = nullptr);

    void load(const RadioImage& image) override;
    void save(RadioImage& image) override;

private:
    QLabel* LblMSK;
    std::array<OptionLineEdit*, 1> TxtMSK{}; // TxtMSK(1) is the call list's editor
    QGroupBox* FraMSK;
    CodeGrid* GridMSK;
};

} // namespace norvik
