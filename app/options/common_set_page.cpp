#include "app/options/common_set_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>

#include "app/common/texts.h"
#include "app/options/option_line_edit.h"
#include "app/options/up_down.h"
#include "core/strings/string_ids.h"

namespace norvik {

CommonSetPage::CommonSetPage(Language lang, QWidget* parent) : OptionPage(kPageIndex, parent), m_lang(lang) {
    ChkOPSet = named(new QCheckBox(qtext(ids::SideTone, lang), this), "ChkOPSet");
    auto* grid = new QGridLayout(this);
    grid->addWidget(ChkOPSet, 0, 0, 1, 2);
    const int captions[] = {ids::DigitDelay, ids::AutoResetTimer};
    for (int i = 0; i < 2; ++i) {
        const auto n = static_cast<std::size_t>(i);
        LblOPSet[n] = named(new QLabel(qtext(captions[i], lang), this), "LblOPSet", i);
        TxtOPSet[n] = named(new OptionLineEdit(this), "TxtOPSet", i);
        UDOpSet[n] = named(new UpDown(this), "UDOpSet", i);
        TxtOPSet[n]->setMaxLength(kCommonSetTextLength);
        TxtOPSet[n]->setKeyFilter(digitKey);
        grid->addWidget(LblOPSet[n], i + 1, 0);
        grid->addLayout(besideUpDown(TxtOPSet[n], UDOpSet[n], kCommonSetTextLength), i + 1, 1);
    }
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(3, 1);

    OptionLineEdit* delay = TxtOPSet[0];
    delay->setValidation([](std::string_view t) { return validateDigitDelay(t); });
    delay->setStep([](std::string_view t, int d) { return stepDigitDelay(t, d); });
    UDOpSet[0]->setRange(kDigitDelayMin, kDigitDelayMax, kDigitDelayStep);
    pairUpDown(delay, UDOpSet[0], digitDelayValue, [](int v) { return QString::number(v); });

    OptionLineEdit* reset = TxtOPSet[1];
    reset->setValidation([lang](std::string_view t) { return validateAutoResetTimer(t, lang); });
    reset->setStep([lang](std::string_view t, int d) { return stepAutoResetTimer(t, d, lang); });
    UDOpSet[1]->setRange(0, kAutoResetMax, 1);
    pairUpDown(
        reset, UDOpSet[1], [lang](std::string_view t) { return autoResetTimerValue(t, lang); },
        [lang](int v) { return qstr(autoResetTimerText(v, lang)); });

    onEnter(ChkOPSet, Enter::Nothing);
    onEnter(delay, Enter::Tab);
    onEnter(reset, Enter::Save);
}

void CommonSetPage::loadFrom(const CommonSet& s) {
    ChkOPSet->setChecked(s.sideTone);
    TxtOPSet[0]->setText(qstr(s.digitDelay));
    TxtOPSet[1]->setText(qstr(s.autoResetTimer));
    UDOpSet[0]->setValue(digitDelayValue(s.digitDelay));
    UDOpSet[1]->setValue(autoResetTimerValue(s.autoResetTimer, m_lang));
}

CommonSet CommonSetPage::toStruct() const {
    return {ChkOPSet->isChecked(), TxtOPSet[0]->text().toStdString(), TxtOPSet[1]->text().toStdString()};
}

void CommonSetPage::load(const RadioImage& image) {
    loadFrom(loadCommonSet(image, m_lang));
}

void CommonSetPage::save(RadioImage& image) {
    saveCommonSet(toStruct(), image, m_lang);
}

} // namespace norvik
