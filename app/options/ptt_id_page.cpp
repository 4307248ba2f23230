#include "app/options/ptt_id_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

#include "app/common/texts.h"
#include "app/options/option_line_edit.h"
#include "core/options/function_setting.h"
#include "core/strings/string_ids.h"

namespace norvik {

PttIdPage::PttIdPage(Language lang, QWidget* parent) : OptionPage(kPageIndex, parent) {
    ChkPTTID = named(new QCheckBox(qtext(ids::Ani, lang), this), "ChkPTTID");
    CboPttID = list("CboPttID", listEntries(OptionList::PttIdType, lang));
    TxtPtt1 = named(new OptionLineEdit(this), "TxtPtt1");
    TxtPtt2 = named(new OptionLineEdit(this), "TxtPtt2");
    const QString labels[] = {QStringLiteral("PTT ID ") + qtext(ids::SignalType, lang), qtext(ids::Bot, lang),
                              qtext(ids::Eot, lang)};
    QWidget* fields[] = {CboPttID, TxtPtt1, TxtPtt2};
    auto* grid = new QGridLayout(this);
    grid->addWidget(ChkPTTID, 0, 0, 1, 2);
    for (int i = 1; i <= 3; ++i) {
        const auto n = static_cast<std::size_t>(i);
        LblPTTID[n] = named(new QLabel(labels[i - 1], this), "LblPTTID", i);
        grid->addWidget(LblPTTID[n], i, 0);
        grid->addWidget(fields[i - 1], i, 1);
    }
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(4, 1);
    tabOrder({ChkPTTID, CboPttID, TxtPtt1, TxtPtt2});
    onEnter(ChkPTTID, Enter::Tab);
    onEnter(CboPttID, Enter::Tab);
    onEnter(TxtPtt1, Enter::Tab);
    onEnter(TxtPtt2, Enter::Save);
    applyType(m_type);

    connect(CboPttID, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_loading)
            CboPttID_Click();
    });
}

void PttIdPage::applyType(PttIdType type) {
    m_type = type;
    TxtPtt1->setMaxLength(pttIdMaxLength(type, PttIdField::Bot));
    TxtPtt2->setMaxLength(pttIdMaxLength(type, PttIdField::Eot));
    TxtPtt1->setKeyFilter(pttIdKeyFilter(type, PttIdField::Bot));
    TxtPtt2->setKeyFilter(pttIdKeyFilter(type, PttIdField::Eot));
}

void PttIdPage::CboPttID_Click() {
    PttIdSetting s = toStruct();
    s.type = m_type; // the texts belong to the type shown until now
    choosePttIdType(s, static_cast<PttIdType>(CboPttID->currentIndex()));
    loadFrom(s);
}

void PttIdPage::loadFrom(const PttIdSetting& s) {
    m_loading = true;
    ChkPTTID->setChecked(s.ani);
    CboPttID->setCurrentIndex(static_cast<int>(s.type));
    applyType(s.type);
    TxtPtt1->setText(qstr(s.bot));
    TxtPtt2->setText(qstr(s.eot));
    m_loading = false;
}

PttIdSetting PttIdPage::toStruct() const {
    return {ChkPTTID->isChecked(), static_cast<PttIdType>(CboPttID->currentIndex()), TxtPtt1->text().toStdString(),
            TxtPtt2->text().toStdString()};
}

void PttIdPage::load(const RadioImage& image) {
    loadFrom(loadPttId(image));
}

void PttIdPage::save(RadioImage& image) {
    savePttId(toStruct(), image);
}

} // namespace norvik
