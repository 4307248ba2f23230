#include "app/options/dtmf_page.h"

#include <QGridLayout>
#include <QLabel>

#include "app/common/texts.h"
#include "app/options/code_grid.h"
#include "app/options/option_line_edit.h"
#include "app/options/up_down.h"
#include "core/strings/string_ids.h"

namespace norvik {

DtmfPageWidget::DtmfPageWidget(Language lang, QWidget* parent) : OptionPage(kPageIndex, parent) {
    auto* grid = new QGridLayout(this);
    const int captions[kDtmfTimeCount] = {ids::DigitTime, ids::InterDigitTime, ids::FirstDigitTime};
    for (int i = 0; i < kDtmfTimeCount; ++i) {
        const auto n = static_cast<std::size_t>(i);
        LblDTMF[n] = named(new QLabel(qtext(captions[i], lang), this), "LblDTMF", i);
        TxtDT[n] = named(new OptionLineEdit(this), "TxtDT", i);
        UDDtmf[n] = named(new UpDown(this), "UDDtmf", i);
        TxtDT[n]->setMaxLength(kDtmfTimeLength);
        TxtDT[n]->setKeyFilter(digitKey);
        TxtDT[n]->setValidation(validateDtmfTime);
        TxtDT[n]->setStep(stepDtmfTime);
        UDDtmf[n]->setRange(kDtmfTimeMin, kDtmfTimeMax, kDtmfTimeStep);
        UDDtmf[n]->setWrapping(true);
        grid->addWidget(LblDTMF[n], i, 0);
        pairUpDown(TxtDT[n], UDDtmf[n], dtmfTimeValue, [](int v) { return QString::number(v); });
        grid->addLayout(besideUpDown(TxtDT[n], UDDtmf[n], kDtmfTimeLength), i, 1);
    }
    GridDTMF =
        named(new CodeGrid(kDtmfGridRules, "TxtDTMF", -1,
                           {{qtext(ids::Num, lang), 1, 2}, {qtext(ids::FastCallList, lang), 3, kAutodialDigits}}, this),
              "GridDTMF");
    GridDTMF->setAccessibleName(qtext(ids::Dtmf, lang));
    grid->addWidget(GridDTMF, kDtmfTimeCount, 0, 1, 3, Qt::AlignLeft);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(kDtmfTimeCount + 1, 1);

    tabOrder({TxtDT[0], TxtDT[1], TxtDT[2], GridDTMF});
    onEnter(TxtDT[0], Enter::Tab);
    onEnter(TxtDT[1], Enter::Tab);
    onEnter(TxtDT[2], Enter::Save);
    connect(GridDTMF, &CodeGrid::focusOutRequested, this, &OptionPage::saveFocusRequested);
}

void DtmfPageWidget::load(const RadioImage& image) {
    const DtmfPage page = loadDtmfPage(image);
    for (std::size_t n = 0; n < TxtDT.size(); ++n) {
        TxtDT[n]->setText(qstr(page.times[n]));
        UDDtmf[n]->setValue(dtmfTimeValue(page.times[n]));
    }
    for (int i = 0; i < kAutodialCount; ++i)
        GridDTMF->setText(i + 1, 1, page.autodial[static_cast<std::size_t>(i)]);
}

void DtmfPageWidget::save(RadioImage& image) {
    GridDTMF->commitEditor();
    DtmfPage page;
    for (std::size_t n = 0; n < TxtDT.size(); ++n)
        page.times[n] = TxtDT[n]->text().toStdString();
    for (int i = 0; i < kAutodialCount; ++i)
        page.autodial[static_cast<std::size_t>(i)] = GridDTMF->text(i + 1, 1);
    saveDtmfPage(page, image);
}

} // namespace norvik
