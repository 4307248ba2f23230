#pragma once

#include <array>

#include "app/options/option_page.h"
#include "core/options/common_set.h"

class QCheckBox;
class QLabel;

namespace norvik {

class OptionLineEdit;
class UpDown;

// Common Set: the side tone and the timing shared by the signalling systems.
class CommonSetPage : public OptionPage {
    Q_OBJECT
public:
    static constexpr int kPageIndex = 0;
    CommonSetPage(Language lang, QWidget* parent = nullptr);

    void load(const RadioImage& image) override;
    void save(RadioImage& image) override;

    void loadFrom(const CommonSet& setting);
    CommonSet toStruct() const;

private:
    Language m_lang;
    QCheckBox* ChkOPSet;
    std::array<QLabel*, 2> LblOPSet{};
    std::array<OptionLineEdit*, 2> TxtOPSet{};
    std::array<UpDown*, 2> UDOpSet{};
};

} // namespace norvik
