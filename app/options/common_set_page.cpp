#include "options/common_set_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

#include "common/texts.h"
#include "options/option_line_edit.h"
#include "options/up_down.h"
#include "strings/string_ids.h"

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
        // Wide enough for its longest text, the up-down control right against it.
        TxtOPSet[n]->setFixedWidth(TxtOPSet[n]->fontMetrics().horizontalAdvance(QStringLiteral("00000")) +
                                   TxtOPSet[n]->fontMetrics().height());
        auto* spin = new QHBoxLayout;
        spin->setSpacing(0);
        spin->addWidget(TxtOPSet[n]);
        spin->addWidget(UDOpSet[n]);
        grid->addWidget(LblOPSet[n], i + 1, 0);
        grid->addLayout(spin, i + 1, 1);
    }
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(3, 1);

    OptionLineEdit* delay = TxtOPSet[0];
    delay->setValidation([](std::string_view t) { return validateDigitDelay(t); });
    delay->setStep([](std::string_view t, int d) { return stepDigitDelay(t, d); });
    UDOpSet[0]->setRange(kDigitDelayMin, kDigitDelayMax, kDigitDelayStep);
    connect(delay, &OptionLineEdit::committed, this,
            [this, delay] { UDOpSet[0]->setValue(digitDelayValue(delay->text().toStdString())); });
    connect(UDOpSet[0], &UpDown::aboutToStep, delay, &OptionLineEdit::commit);
    connect(UDOpSet[0], &UpDown::valueChanged, delay, [delay](int v) { delay->setText(QString::number(v)); });

    OptionLineEdit* reset = TxtOPSet[1];
    reset->setValidation([lang](std::string_view t) { return validateAutoResetTimer(t, lang); });
    reset->setStep([lang](std::string_view t, int d) { return stepAutoResetTimer(t, d, lang); });
    UDOpSet[1]->setRange(0, kAutoResetMax, 1);
    connect(reset, &OptionLineEdit::committed, this,
            [this, reset] { UDOpSet[1]->setValue(autoResetTimerValue(reset->text().toStdString(), m_lang)); });
    connect(UDOpSet[1], &UpDown::aboutToStep, reset, &OptionLineEdit::commit);
    connect(UDOpSet[1], &UpDown::valueChanged, reset,
            [reset, lang](int v) { reset->setText(qstr(autoResetTimerText(v, lang))); });

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
