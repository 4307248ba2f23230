#include "app/options/two_tone_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

#include "app/common/texts.h"
#include "app/options/code_grid.h"
#include "app/options/option_line_edit.h"
#include "core/strings/string_ids.h"

namespace norvik {
namespace {

constexpr int kToneTextLength = 6; // "3000.0"
constexpr int kGapTextLength = 3;

} // namespace

TwoTonePageWidget::TwoTonePageWidget(Language lang, QWidget* parent) : OptionPage(kPageIndex, parent) {
    auto* fields = new QGridLayout;
    const char sep = localeDecimalSeparator();
    for (int i = 0; i < 3; ++i) {
        const auto n = static_cast<std::size_t>(i);
        Lbl2T[n] = named(new QLabel(qstr(twoToneLabel(i, lang)), this), "Lbl2T", i);
        OptionLineEdit* tone = Txt2Tone[n] = named(new OptionLineEdit(this), "Txt2Tone", i);
        tone->setMaxLength(kTwoToneFieldLength);
        fitToText(tone, kTwoToneFieldLength);
        tone->setKeyFilter(toneKey);
        tone->setValidation([sep](std::string_view t) { return validateTwoToneField(t, sep); });
        // After the key filter has had the edit.
        connect(tone, &QLineEdit::textEdited, tone, [tone] {
            if (const auto limited = twoToneTypingLimit(tone->text().toStdString()))
                tone->setText(qstr(*limited));
        });
        fields->addWidget(Lbl2T[n], i, 0);
        fields->addWidget(tone, i, 1);
    }
    const int listCaptions[3] = {ids::DecoderCallFormat, ids::GroupCall, ids::AlertTranspond};
    for (int i = 0; i < 3; ++i) {
        const auto n = static_cast<std::size_t>(i);
        Lbl2T[n + 3] = named(new QLabel(qtext(listCaptions[i], lang), this), "Lbl2T", i + 3);
        Cbo2Tone[n] = list("Cbo2Tone", twoToneListEntries(i, lang), i);
        fields->addWidget(Lbl2T[n + 3], i, 3);
        fields->addWidget(Cbo2Tone[n], i, 4);
    }
    fields->setColumnMinimumWidth(2, fontMetrics().horizontalAdvance(QStringLiteral("00")));
    fields->setColumnStretch(5, 1);

    std::vector<CodeGrid::Column> columns;
    for (int c = 0; c < kTwoToneGridRules.columns; ++c)
        columns.push_back(
            {qstr(twoToneGridHeader(c, lang)), c == 0 ? 1 : 3, c == 3 ? kGapTextLength : kToneTextLength});
    Grid2Tone = named(new CodeGrid(kTwoToneGridRules, "Txt2T", -1, columns, this), "Grid2Tone");
    Grid2Tone->setAccessibleName(qtext(ids::TwoTone, lang));

    auto* page = new QVBoxLayout(this);
    page->addLayout(fields);
    page->addWidget(Grid2Tone, 0, Qt::AlignLeft);
    page->addStretch(1);

    tabOrder({Txt2Tone[0], Txt2Tone[1], Txt2Tone[2], Cbo2Tone[0], Cbo2Tone[1], Cbo2Tone[2], Grid2Tone});
    for (QWidget* w : {Txt2Tone[0], Txt2Tone[1], Txt2Tone[2]})
        onEnter(w, Enter::Tab);
    onEnter(Cbo2Tone[0], Enter::Tab);
    onEnter(Cbo2Tone[1], Enter::Save);
    onEnter(Cbo2Tone[2], Enter::Tab);
    connect(Grid2Tone, &CodeGrid::focusOutRequested, this, [this](GridMove::Target target) {
        if (target == GridMove::Target::FirstToneField)
            Txt2Tone[0]->setFocus(Qt::TabFocusReason);
        else
            emit saveFocusRequested();
    });
}

void TwoTonePageWidget::load(const RadioImage& image) {
    const TwoTonePage page = loadTwoTonePage(image, localeDecimalSeparator());
    for (std::size_t n = 0; n < 3; ++n) {
        Txt2Tone[n]->setText(qstr(page.tones[n]));
        Cbo2Tone[n]->setCurrentIndex(page.lists[n]);
    }
    for (int i = 0; i < kTwoToneCodeCount; ++i) {
        const TwoToneCode& code = page.codes[static_cast<std::size_t>(i)];
        Grid2Tone->setText(i + 1, 1, code.tone1);
        Grid2Tone->setText(i + 1, 2, code.tone2);
        Grid2Tone->setText(i + 1, 3, code.gap);
    }
}

void TwoTonePageWidget::save(RadioImage& image) {
    Grid2Tone->commitEditor();
    TwoTonePage page;
    for (std::size_t n = 0; n < 3; ++n) {
        page.tones[n] = Txt2Tone[n]->text().toStdString();
        page.lists[n] = Cbo2Tone[n]->currentIndex();
    }
    for (int i = 0; i < kTwoToneCodeCount; ++i)
        page.codes[static_cast<std::size_t>(i)] = {Grid2Tone->text(i + 1, 1), Grid2Tone->text(i + 1, 2),
                                                   Grid2Tone->text(i + 1, 3)};
    saveTwoTonePage(page, image);
}

} // namespace norvik
