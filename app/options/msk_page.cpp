#include "app/options/msk_page.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/common/texts.h"
#include "app/options/code_grid.h"
#include "app/options/option_line_edit.h"
#include "core/strings/string_ids.h"

namespace norvik {

MskPageWidget::MskPageWidget(Language lang, QWidget* parent) : OptionPage(kPageIndex, parent) {
    LblMSK = named(new QLabel(QStringLiteral("ID ") + qtext(ids::Code, lang), this), "LblMSK");
    TxtMSK[0] = named(new OptionLineEdit(this), "TxtMSK", 0);
    TxtMSK[0]->setMaxLength(kMskIdLength);
    TxtMSK[0]->setKeyFilter(mskDigitKey);
    fitToText(TxtMSK[0], kMskIdLength);
    FraMSK = named(new QGroupBox(qtext(ids::CallList, lang), this), "FraMSK");
    GridMSK =
        named(new CodeGrid(kMskGridRules, "TxtMSK", 1,
                           {{qtext(ids::Num, lang), 1, 2}, {qtext(ids::CallList, lang), 3, kMskIdLength}}, FraMSK),
              "GridMSK");
    auto* frame = new QVBoxLayout(FraMSK);
    frame->addWidget(GridMSK);

    auto* id = new QHBoxLayout;
    id->addWidget(LblMSK);
    id->addWidget(TxtMSK[0]);
    id->addStretch(1);
    auto* page = new QVBoxLayout(this);
    page->addLayout(id);
    page->addWidget(FraMSK, 0, Qt::AlignLeft);
    page->addStretch(1);

    tabOrder({TxtMSK[0], GridMSK});
    onEnter(TxtMSK[0], Enter::Tab);
    connect(GridMSK, &CodeGrid::focusOutRequested, this, &OptionPage::saveFocusRequested);
}

void MskPageWidget::load(const RadioImage& image) {
    const MskPage page = loadMskPage(image);
    TxtMSK[0]->setText(qstr(page.ownId));
    for (int i = 0; i < kMskCallListCount; ++i)
        GridMSK->setText(i + 1, 1, page.calls[static_cast<std::size_t>(i)]);
}

void MskPageWidget::save(RadioImage& image) {
    GridMSK->commitEditor();
    MskPage page;
    page.ownId = TxtMSK[0]->text().toStdString();
    for (int i = 0; i < kMskCallListCount; ++i)
        page.calls[static_cast<std::size_t>(i)] = GridMSK->text(i + 1, 1);
    saveMskPage(page, image);
}

} // namespace norvik
