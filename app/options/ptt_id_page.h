#pragma once

#include <array>

#include "app/options/option_page.h"
#include "core/options/ptt_id.h"
#include "core/strings/strings.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace norvik {

class OptionLineEdit;

// PTT ID Setting: ANI, the type, and the MSK identity or the DTMF codes of that type. Loaded and
// saved with the Function Setting page (page group 5).
class PttIdPage : public OptionPage {
    Q_OBJECT
public:
    static constexpr int kPageIndex = 6;
    PttIdPage(Language lang, QWidget* parent = nullptr);

    void load(const RadioImage& image) override;
    void save(RadioImage& image) override;

    void loadFrom(const PttIdSetting& setting);
    PttIdSetting toStruct() const;

public slots:
    void CboPttID_Click();

private:
    // Lengths and key rules of the two fields for the type shown.
    void applyType(PttIdType type);

    PttIdType m_type = PttIdType::Msk;
    bool m_loading = false;
    QCheckBox* ChkPTTID;
    std::array<QLabel*, 4> LblPTTID{}; // 1..3 used
    QComboBox* CboPttID;
    OptionLineEdit* TxtPtt1;
    OptionLineEdit* TxtPtt2;
};

} // namespace norvik
