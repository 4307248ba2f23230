#include "app/service/tuning_pages.h"

#include <QBoxLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTableWidget>

#include "app/common/texts.h"
#include "app/service/grid_cell_editor.h"
#include "core/service/value_entry.h"
#include "core/strings/string_ids.h"

namespace norvik {
namespace {

const QColor kZeroColour(255, 0, 0);

// Every row shows without scrolling.
void fitHeight(QTableWidget* grid) {
    grid->setFixedHeight(grid->horizontalHeader()->sizeHint().height() + grid->verticalHeader()->length() +
                         2 * grid->frameWidth());
}

QTableWidget* makeGrid(QWidget* parent, const char* name, int band, int rows) {
    auto* grid = new QTableWidget(rows, 0, parent);
    grid->setObjectName(QLatin1String(name));
    grid->setProperty("index", band);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 8);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return grid;
}

// Sets the number of columns and their headings; every value cell gets an item.
void layOutColumns(QTableWidget* grid, const QStringList& headings, bool values) {
    grid->clearContents();
    grid->setColumnCount(int(headings.size()));
    grid->setHorizontalHeaderLabels(headings);
    fitHeight(grid);
    if (!values)
        return;
    for (int r = 0; r < grid->rowCount(); ++r) {
        for (int c = 0; c < grid->columnCount(); ++c) {
            auto* item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            item->setTextAlignment(Qt::AlignCenter);
            grid->setItem(r, c, item);
        }
    }
}

int cellValue(const QTableWidget* grid, int row, int column) {
    return tuningCellValue(grid->item(row, column)->text().toStdString());
}

} // namespace

TuningPages::TuningPages(Language lang, QWidget* parent) : QWidget(parent), m_language(lang) {
    setObjectName(QStringLiteral("PicDev"));
    m_tunEditor = new GridCellEditor(QStringLiteral("TxtTun"), kCellDigits, this);
    m_devEditor = new GridCellEditor(QStringLiteral("TxtTun2"), kCellDigits, this);
    const QString power = qtext(ids::Power, lang);
    const QStringList tuningRows = {qtext(ids::Low, lang) + power, qtext(ids::High, lang) + power,
                                    qtext(ids::Sensitivity, lang)};
    const QStringList tuningColumns = {qtext(ids::Low, lang), qtext(ids::Mid, lang), qtext(ids::High, lang)};
    QStringList deviationRows;
    for (const std::string& h : deviationRowHeadings(lang))
        deviationRows << qstr(h);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    for (int b = 0; b < kBandCount; ++b) {
        auto* frame = new QGroupBox(this);
        frame->setObjectName(QStringLiteral("fraDev"));
        frame->setProperty("index", b);
        frame->installEventFilter(this);
        fraDev[b] = frame;
        TunGrid[b] = makeGrid(frame, "TunGrid", b, kTuningSize);
        TunGrid[b]->setVerticalHeaderLabels(tuningRows);
        layOutColumns(TunGrid[b], tuningColumns, true);
        QTDevGrid[b] = makeGrid(frame, "QTDevGrid", b, kDeviationRows);
        QTDevGrid[b]->setVerticalHeaderLabels(deviationRows);
        // The band is the frame's title; the grids are told apart by what they hold.
        TunGrid[b]->setAccessibleName(qtext(ids::ServiceTuning, lang));
        QTDevGrid[b]->setAccessibleName(qtext(ids::MenuProgramDeviation, lang));
        m_tunEditor->attach(TunGrid[b], true);
        m_devEditor->attach(QTDevGrid[b], true);
        auto* column = new QVBoxLayout(frame);
        column->addWidget(TunGrid[b]);
        column->addWidget(QTDevGrid[b]);
        column->addStretch(1);
        layout->addWidget(frame);
    }
    installEventFilter(this);

    for (GridCellEditor* editor : {m_tunEditor, m_devEditor}) {
        editor->commit = [this](const GridCellEditor::Cell& c, const QString& text) {
            commitCell(c.grid, c.row, c.column, text);
        };
        editor->moveOn = [this](const GridCellEditor::Cell& c) { moveOn(c.grid, c.row, c.column); };
    }
    m_tunEditor->canEdit = [this](const GridCellEditor::Cell& c) { return !isLockedTuningRow(bandOf(c.grid), c.row); };
    showBand(0);
}

int TuningPages::bandOf(const QTableWidget* grid) const {
    return grid->property("index").toInt();
}

void TuningPages::showBand(int band) {
    commitEditors();
    m_band = band;
    for (int b = 0; b < kBandCount; ++b)
        fraDev[b]->setVisible(b == band);
}

void TuningPages::load(const TuningPage& page, const BandLimits& limits) {
    commitEditors();
    for (int b = 0; b < kBandCount; ++b) {
        fraDev[b]->setTitle(qstr(rangeText(limits[b].lower, limits[b].upper)));
        for (int r = 0; r < kTuningSize; ++r)
            for (int c = 0; c < kTuningSize; ++c)
                showValue(TunGrid[b], r, c, page.tuning[b][kTuningSize * r + c]);
        QStringList headings;
        for (const DeviationColumn& col : deviationColumns(limits[b], b))
            headings << qstr(rangeText(col.lo, col.hi));
        // Only the deviation grids of bands 0 and 1 have bytes behind their cells.
        const bool values = b < kDeviationGridsWithBytes;
        if (values)
            headings = headings.mid(0, int(page.deviation[b].size()));
        layOutColumns(QTDevGrid[b], headings, values);
        if (!values)
            continue;
        for (int c = 0; c < QTDevGrid[b]->columnCount(); ++c)
            for (int r = 0; r < kDeviationRows; ++r)
                showValue(QTDevGrid[b], r, c, page.deviation[b][c][r]);
    }
}

TuningPage TuningPages::page() const {
    TuningPage page;
    for (int b = 0; b < kBandCount; ++b)
        for (int r = 0; r < kTuningSize; ++r)
            for (int c = 0; c < kTuningSize; ++c)
                page.tuning[b][kTuningSize * r + c] = static_cast<std::uint8_t>(cellValue(TunGrid[b], r, c));
    for (int b = 0; b < kDeviationGridsWithBytes; ++b) {
        page.deviation[b].resize(static_cast<std::size_t>(QTDevGrid[b]->columnCount()));
        for (int c = 0; c < QTDevGrid[b]->columnCount(); ++c)
            for (int r = 0; r < kDeviationRows; ++r)
                page.deviation[b][c][r] = static_cast<std::uint8_t>(cellValue(QTDevGrid[b], r, c));
    }
    return page;
}

// A 0 stands out in red; the locked power rows of the receive-only bands look like buttons.
void TuningPages::showValue(QTableWidget* grid, int row, int column, int value) {
    QTableWidgetItem* item = grid->item(row, column);
    item->setText(QString::number(value));
    QColor back = value == 0 ? kZeroColour : palette().color(QPalette::Base);
    if (grid->objectName() == QLatin1String("TunGrid") && isLockedTuningRow(bandOf(grid), row))
        back = palette().color(QPalette::Button);
    item->setBackground(back);
}

void TuningPages::commitCell(QTableWidget* grid, int row, int column, const QString& text) {
    const QString previous = grid->item(row, column)->text();
    showValue(grid, row, column, tuningCellValue(text.toStdString()));
    if (text != previous)
        emit changed();
}

// Right along the row, then down to the next row's first cell; a band's tuning grid goes on into
// its deviation grid; the last cell hands over to Apply.
void TuningPages::moveOn(QTableWidget* grid, int row, int column) {
    QTableWidget* next = grid;
    if (column + 1 < grid->columnCount()) {
        ++column;
    } else if (row + 1 < grid->rowCount()) {
        ++row;
        column = 0;
    } else {
        const int band = bandOf(grid);
        if (grid != TunGrid[band] || band >= kDeviationGridsWithBytes || QTDevGrid[band]->columnCount() == 0) {
            emit lastCellEntered();
            return;
        }
        next = QTDevGrid[band];
        row = column = 0;
    }
    next->setCurrentCell(row, column);
    next->setFocus();
}

void TuningPages::commitEditors() {
    m_tunEditor->finish();
    m_devEditor->finish();
}

bool TuningPages::eventFilter(QObject* watched, QEvent* event) {
    // A click on the background commits the cell being edited.
    if (event->type() == QEvent::MouseButtonPress && (watched == this || watched->objectName() == "fraDev")) {
        m_tunEditor->commitAndReturn();
        m_devEditor->commitAndReturn();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace norvik
