#pragma once

#include <array>

#include "app/options/option_page.h"
#include "core/image/radio_document.h"
#include "core/options/function_setting.h"

class QCheckBox;
class QComboBox;
class QGroupBox;

namespace norvik {

class OptionLineEdit;

// Function Setting: squelch, timers, scan, beeps, lamp, VOX, power-on message, the check boxes
// and the two band steps (page group 5 with the PTT ID page).
class FunctionSettingPage : public OptionPage {
    Q_OBJECT
public:
    static constexpr int kPageIndex = 5;
    // The document is read when the message mode turns to MSG (the message is shown as stored).
    FunctionSettingPage(const RadioDocument& document, Language lang, QWidget* parent = nullptr);

    void load(const RadioImage& image) override;
    void save(RadioImage& image) override;

    void loadFrom(const FunctionSetting& setting);
    FunctionSetting toStruct() const;

    // The field the window opens on.
    QWidget* firstField() const;

public slots:
    void cboMsgMode_Click();

private:
    void showMessageMode();

    const RadioDocument& m_document;
    bool m_loading = false;

    QComboBox* cboSqLevel;
    QComboBox* cboTot;
    QComboBox* cboScanModes;
    QComboBox* CboChord;
    QComboBox* cboBattSave;
    QComboBox* cboBeepTone;
    QComboBox* cboRogerTone;
    QComboBox* cboLamp;
    QComboBox* cboChDis;
    QGroupBox* Frame3;
    QComboBox* cboVoxLevel;
    QComboBox* cboVoxDelay;
    QCheckBox* chkVoxInt;
    QGroupBox* Frame4;
    QComboBox* cboMsgMode;
    OptionLineEdit* txtPoweronmsg;
    QCheckBox* chkOp;
    QCheckBox* chkRecStop;
    QCheckBox* ChkRelay;
    QCheckBox* ChkTOTPenalty;
    QCheckBox* ChkManual;
    std::array<QGroupBox*, 2> FraBand{};
    std::array<QComboBox*, 2> Cboband{};
};

} // namespace norvik
