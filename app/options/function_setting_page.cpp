#include "app/options/function_setting_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

#include "app/common/texts.h"
#include "app/options/option_line_edit.h"
#include "core/strings/string_ids.h"

namespace norvik {

FunctionSettingPage::FunctionSettingPage(const RadioDocument& document, Language lang, QWidget* parent)
    : OptionPage(kPageIndex, parent), m_document(document) {
    const auto entries = [lang](OptionList l) { return listEntries(l, lang); };
    const auto caption = [lang](int id) { return qtext(id, lang); };

    auto* lists = new QFormLayout;
    const auto labelled = [&](int labelId, QComboBox* combo) {
        lists->addRow(caption(labelId), combo);
        return combo;
    };
    cboSqLevel = labelled(ids::SquelchLevel, list("cboSqLevel", entries(OptionList::SquelchLevel)));
    cboTot = labelled(ids::TimeOutTimer, list("cboTot", entries(OptionList::TimeOutTimer)));
    cboScanModes = labelled(ids::ScanModes, list("cboScanModes", entries(OptionList::ScanMode)));
    CboChord = labelled(ids::Chord, list("CboChord", entries(OptionList::OffOn)));
    cboBattSave = labelled(ids::BatterySave, list("cboBattSave", entries(OptionList::OffOn)));
    cboBeepTone = labelled(ids::BeepTone, list("cboBeepTone", entries(OptionList::OffOn)));
    cboRogerTone = labelled(ids::RogerTime, list("cboRogerTone", entries(OptionList::OffOn)));
    cboLamp = labelled(ids::Lamp, list("cboLamp", entries(OptionList::Lamp)));
    cboChDis = labelled(ids::ChannelDisplay, list("cboChDis", entries(OptionList::ChannelDisplay)));

    Frame3 = named(new QGroupBox(caption(ids::HeaderVox), this), "Frame3");
    auto* vox = new QFormLayout(Frame3);
    cboVoxLevel = list("cboVoxLevel", entries(OptionList::VoxLevel));
    cboVoxDelay = list("cboVoxDelay", entries(OptionList::VoxDelay));
    chkVoxInt = named(new QCheckBox(caption(ids::VoxInhibitOnReceive), this), "chkVoxInt");
    vox->addRow(caption(ids::VoxGain), cboVoxLevel);
    vox->addRow(caption(ids::VoxDelay), cboVoxDelay);
    vox->addRow(chkVoxInt);

    Frame4 = named(new QGroupBox(caption(ids::PowerOn), this), "Frame4");
    auto* powerOn = new QFormLayout(Frame4);
    cboMsgMode = list("cboMsgMode", entries(OptionList::MessageMode));
    txtPoweronmsg = named(new OptionLineEdit(this), "txtPoweronmsg");
    txtPoweronmsg->setMaxLength(kPowerOnMessageLength);
    txtPoweronmsg->setKeyFilter(powerOnMessageKey);
    powerOn->addRow(caption(ids::MessageMode), cboMsgMode);
    powerOn->addRow(caption(ids::PowerOnMessage), txtPoweronmsg);

    auto* checks = new QGridLayout;
    const auto check = [this, &caption, checks](const char* name, int id) {
        auto* box = named(new QCheckBox(caption(id), this), name);
        const int n = checks->count();
        checks->addWidget(box, n / 2, n % 2);
        return box;
    };
    chkOp = check("chkOp", ids::CancelCodeSquelchOnPtt);
    chkRecStop = check("chkRecStop", ids::InhibitReceiverWhenWorking);
    ChkRelay = check("ChkRelay", ids::RelayTransfer);
    ChkTOTPenalty = check("ChkTOTPenalty", ids::TotPenalty);
    ChkManual = check("ChkManual", ids::Manual);

    auto* bands = new QHBoxLayout;
    for (int i = 0; i < 2; ++i) {
        const auto n = static_cast<std::size_t>(i);
        FraBand[n] = named(new QGroupBox(caption(ids::Band) + QStringLiteral(" %1").arg(i + 1), this), "FraBand", i);
        Cboband[n] = list("Cboband", entries(OptionList::BandStep), i);
        auto* form = new QFormLayout(FraBand[n]);
        form->addRow(caption(ids::Step), Cboband[n]);
        bands->addWidget(FraBand[n]);
    }

    auto* right = new QVBoxLayout;
    right->addWidget(Frame3);
    right->addWidget(Frame4);
    right->addLayout(bands);
    right->addStretch(1);
    auto* page = new QGridLayout(this);
    page->addLayout(lists, 0, 0);
    page->addLayout(right, 0, 1);
    page->addLayout(checks, 1, 0, 1, 2);
    page->setRowStretch(2, 1);

    tabOrder({cboSqLevel, cboTot,     cboScanModes, CboChord,      cboBattSave, cboBeepTone, cboRogerTone,
              cboLamp,    cboChDis,   cboVoxLevel,  cboVoxDelay,   chkVoxInt,   cboMsgMode,  txtPoweronmsg,
              chkOp,      chkRecStop, ChkRelay,     ChkTOTPenalty, ChkManual,   Cboband[0],  Cboband[1]});
    chainEnter({cboSqLevel, cboTot, cboScanModes, CboChord, cboBattSave, cboBeepTone, cboRogerTone, cboLamp, cboChDis,
                cboVoxLevel, cboVoxDelay, cboMsgMode});
    chainEnter({txtPoweronmsg, chkOp, chkRecStop, ChkRelay});
    for (QWidget* w : {static_cast<QWidget*>(ChkTOTPenalty), static_cast<QWidget*>(ChkManual),
                       static_cast<QWidget*>(Cboband[0]), static_cast<QWidget*>(Cboband[1])})
        onEnter(w, Enter::Tab);
    onEnter(chkVoxInt, Enter::Nothing);

    connect(cboMsgMode, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_loading)
            cboMsgMode_Click();
    });
}

QWidget* FunctionSettingPage::firstField() const {
    return cboSqLevel;
}

void FunctionSettingPage::showMessageMode() {
    // A disabled field takes the button-face look from the style.
    txtPoweronmsg->setEnabled(cboMsgMode->currentIndex() == kMessageModeMsg);
}

void FunctionSettingPage::cboMsgMode_Click() {
    showMessageMode();
    if (cboMsgMode->currentIndex() == kMessageModeMsg)
        txtPoweronmsg->setText(qstr(loadPowerOnMessage(m_document.image())));
}

void FunctionSettingPage::loadFrom(const FunctionSetting& s) {
    m_loading = true;
    const std::pair<QComboBox*, int> lists[] = {
        {cboSqLevel, s.squelchLevel}, {cboTot, s.timeOutTimer},
        {cboScanModes, s.scanMode},   {CboChord, s.chord},
        {cboBattSave, s.batterySave}, {cboBeepTone, s.beepTone},
        {cboRogerTone, s.rogerTone},  {cboLamp, s.lamp},
        {cboChDis, s.channelDisplay}, {cboVoxLevel, s.voxLevel},
        {cboVoxDelay, s.voxDelay},    {cboMsgMode, s.messageMode},
        {Cboband[0], s.bandStep[0]},  {Cboband[1], s.bandStep[1]},
    };
    for (const auto& [combo, position] : lists)
        combo->setCurrentIndex(position);
    txtPoweronmsg->setText(qstr(s.powerOnMessage));
    showMessageMode();
    const std::pair<QCheckBox*, bool> checks[] = {{chkOp, s.cancelCodeSquelch},
                                                  {chkRecStop, s.inhibitReceiver},
                                                  {ChkRelay, s.relay},
                                                  {ChkTOTPenalty, s.totPenalty},
                                                  {ChkManual, s.manual}};
    for (const auto& [box, on] : checks)
        box->setChecked(on);
    m_loading = false;
}

FunctionSetting FunctionSettingPage::toStruct() const {
    FunctionSetting s;
    s.squelchLevel = cboSqLevel->currentIndex();
    s.timeOutTimer = cboTot->currentIndex();
    s.scanMode = cboScanModes->currentIndex();
    s.chord = CboChord->currentIndex();
    s.batterySave = cboBattSave->currentIndex();
    s.beepTone = cboBeepTone->currentIndex();
    s.rogerTone = cboRogerTone->currentIndex();
    s.lamp = cboLamp->currentIndex();
    s.channelDisplay = cboChDis->currentIndex();
    s.voxLevel = cboVoxLevel->currentIndex();
    s.voxDelay = cboVoxDelay->currentIndex();
    s.messageMode = cboMsgMode->currentIndex();
    s.powerOnMessage = txtPoweronmsg->text().toStdString();
    s.cancelCodeSquelch = chkOp->isChecked();
    s.inhibitReceiver = chkRecStop->isChecked();
    s.relay = ChkRelay->isChecked();
    s.totPenalty = ChkTOTPenalty->isChecked();
    s.manual = ChkManual->isChecked();
    s.bandStep = {Cboband[0]->currentIndex(), Cboband[1]->currentIndex()};
    return s;
}

void FunctionSettingPage::load(const RadioImage& image) {
    loadFrom(loadFunctionSetting(image));
}

void FunctionSettingPage::save(RadioImage& image) {
    saveFunctionSetting(toStruct(), image);
}

} // namespace norvik
