#include "app/options/five_tone_page.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

#include "app/common/texts.h"
#include "app/options/option_line_edit.h"
#include "app/options/up_down.h"
#include "core/strings/string_ids.h"

namespace norvik {
namespace {

constexpr int kToneColumns = 4;
constexpr int kToneTextLength = 6; // "2800.0"

} // namespace

FiveTonePageWidget::FiveTonePageWidget(Language lang, QWidget* parent) : OptionPage(kPageIndex, parent) {
    auto* fields = new QFormLayout;
    const QString captions[4] = {qtext(ids::ToneStandard, lang), qtext(ids::RespondWaitingTime, lang),
                                 QStringLiteral("ID"), qtext(ids::FixDigit, lang)};
    for (int i = 0; i < 4; ++i)
        Lbl5Tone[static_cast<std::size_t>(i)] = named(new QLabel(captions[i], this), "Lbl5Tone", i);
    for (int i = 0; i < 3; ++i)
        Cbo5Tone[static_cast<std::size_t>(i)] = list("Cbo5Tone", fiveToneListEntries(i, lang), i);
    Txt5Tone = named(new OptionLineEdit(this), "Txt5Tone");
    Txt5Tone->setMaxLength(kFiveToneIdLength);
    Txt5Tone->setKeyFilter(fiveToneIdKey);
    Txt5Tone->setValidation(validateFiveToneId);
    fitToText(Txt5Tone, kFiveToneIdLength);
    Txt5Tone->setText(qstr(FiveTonePage{}.ownId));
    fields->addRow(Lbl5Tone[0], Cbo5Tone[0]);
    fields->addRow(Lbl5Tone[1], Cbo5Tone[1]);
    fields->addRow(Lbl5Tone[3], Cbo5Tone[2]);
    fields->addRow(Lbl5Tone[2], Txt5Tone);

    fraTone = named(new QGroupBox(qtext(ids::FiveToneStandard, lang), this), "fraTone");
    auto* tones = new QGridLayout(fraTone);
    for (int d = 0; d < kFiveToneDigitCount; ++d) {
        const auto n = static_cast<std::size_t>(d);
        lblTone[n] = named(new QLabel(QString::number(d, 16).toUpper(), this), "lblTone", d);
        txtTone[n] = named(new QLineEdit(this), "txtTone", d);
        updTone[n] = named(new UpDown(this), "updTone", d);
        txtTone[n]->setReadOnly(true);
        txtTone[n]->setEnabled(false);
        updTone[n]->setEnabled(false);
        const int row = d / kToneColumns;
        const int column = 2 * (d % kToneColumns);
        tones->addWidget(lblTone[n], row, column, Qt::AlignRight);
        tones->addLayout(besideUpDown(txtTone[n], updTone[n], kToneTextLength), row, column + 1);
    }

    auto* page = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addLayout(fields);
    top->addStretch(1);
    page->addLayout(top);
    page->addWidget(fraTone, 0, Qt::AlignLeft);
    page->addStretch(1);

    tabOrder({Cbo5Tone[0], Cbo5Tone[1], Cbo5Tone[2], Txt5Tone});
    for (QComboBox* c : Cbo5Tone)
        onEnter(c, Enter::Tab);
    onEnter(Txt5Tone, Enter::Save);
    connect(Cbo5Tone[0], &QComboBox::currentIndexChanged, this, &FiveTonePageWidget::Cbo5Tone_Click);
    Cbo5Tone_Click();
}

void FiveTonePageWidget::Cbo5Tone_Click() {
    const auto texts = fiveToneFrequencyTexts(Cbo5Tone[0]->currentIndex(), localeDecimalSeparator());
    for (std::size_t d = 0; d < texts.size(); ++d)
        txtTone[d]->setText(qstr(texts[d]));
}

void FiveTonePageWidget::load(const RadioImage& image) {
    const FiveTonePage page = loadFiveTonePage(image);
    for (std::size_t n = 0; n < Cbo5Tone.size(); ++n)
        Cbo5Tone[n]->setCurrentIndex(page.lists[n]);
    Txt5Tone->setText(qstr(page.ownId));
}

void FiveTonePageWidget::save(RadioImage& image) {
    FiveTonePage page;
    for (std::size_t n = 0; n < Cbo5Tone.size(); ++n)
        page.lists[n] = Cbo5Tone[n]->currentIndex();
    page.ownId = Txt5Tone->text().toStdString();
    saveFiveTonePage(page, image);
}

} // namespace norvik
