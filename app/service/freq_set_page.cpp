#include "app/service/freq_set_page.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

#include "app/common/texts.h"
#include "app/service/grid_cell_editor.h"
#include "core/strings/string_ids.h"

namespace norvik {
namespace {

constexpr int kMinColumn = 1;
constexpr int kMaxColumn = 2;

QTableWidgetItem* valueItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

} // namespace

FreqSetPage::FreqSetPage(Language lang, QWidget* parent) : QGroupBox(qtext(ids::ServiceFreqSet, lang), parent) {
    setObjectName(QStringLiteral("fraFreq"));
    GridFreqSet = new QTableWidget(kBandCount, 3, this);
    GridFreqSet->setObjectName(QStringLiteral("GridFreqSet"));
    GridFreqSet->setHorizontalHeaderLabels({qtext(ids::Band, lang), qtext(ids::LimitMin, lang) + qtext(ids::Mhz, lang),
                                            qtext(ids::LimitMax, lang) + qtext(ids::Mhz, lang)});
    GridFreqSet->verticalHeader()->hide();
    GridFreqSet->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    GridFreqSet->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridFreqSet->setSelectionMode(QAbstractItemView::SingleSelection);
    GridFreqSet->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    GridFreqSet->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int k = 0; k < kBandCount; ++k) {
        GridFreqSet->setItem(k, 0, valueItem(QString::number(k + 1)));
        GridFreqSet->setItem(k, kMinColumn, valueItem({}));
        GridFreqSet->setItem(k, kMaxColumn, valueItem({}));
    }
    GridFreqSet->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    GridFreqSet->verticalHeader()->setDefaultSectionSize(GridFreqSet->fontMetrics().height() + 8);
    GridFreqSet->setFixedHeight(GridFreqSet->horizontalHeader()->sizeHint().height() +
                                GridFreqSet->verticalHeader()->length() + 2 * GridFreqSet->frameWidth());

    m_editor = new GridCellEditor(QStringLiteral("TxtFreqSet"), kLimitDigits, GridFreqSet);
    m_editor->attach(GridFreqSet, false);
    m_editor->canEdit = [](const GridCellEditor::Cell& c) { return c.column == kMinColumn || c.column == kMaxColumn; };
    m_editor->commit = [this](const GridCellEditor::Cell& c, const QString& text) {
        TxtFreqSet_Commit(c.row, c.column == kMinColumn ? LimitColumn::Min : LimitColumn::Max, text);
    };
    // MIN to MAX of the band, MAX to MIN of the next band, round to the first.
    m_editor->moveOn = [this](const GridCellEditor::Cell& c) {
        if (c.column == kMinColumn)
            GridFreqSet->setCurrentCell(c.row, kMaxColumn);
        else
            GridFreqSet->setCurrentCell((c.row + 1) % kBandCount, kMinColumn);
        GridFreqSet->setFocus();
    };

    // The receive-only bands 3 and 4 are marked beside their rows.
    auto* marks = new QVBoxLayout;
    marks->setSpacing(0);
    marks->addSpacing(GridFreqSet->frameWidth() + GridFreqSet->horizontalHeader()->sizeHint().height());
    for (int k = 0; k < kBandCount; ++k) {
        auto* label = new QLabel(k >= 2 ? qtext(ids::TxUnable, lang) : QString(), this);
        label->setObjectName(QStringLiteral("lblTxUnable"));
        label->setFixedHeight(GridFreqSet->verticalHeader()->defaultSectionSize());
        marks->addWidget(label);
    }
    auto* row = new QHBoxLayout;
    row->addWidget(GridFreqSet, 1);
    row->addLayout(marks);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addStretch(1);
}

void FreqSetPage::load(const BandLimits& limits) {
    m_page = BandLimitPage::load(limits);
    showBands();
}

void FreqSetPage::showBands() {
    for (int k = 0; k < kBandCount; ++k) {
        GridFreqSet->item(k, kMinColumn)->setText(QString::number(m_page.bands[k].lower));
        GridFreqSet->item(k, kMaxColumn)->setText(QString::number(m_page.bands[k].upper));
    }
}

void FreqSetPage::TxtFreqSet_Commit(int band, LimitColumn column, const QString& text) {
    const bool took = m_page.commit(band, column, text.toStdString());
    showBands();
    if (took)
        emit changed();
}

} // namespace norvik
