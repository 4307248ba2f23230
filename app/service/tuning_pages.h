#pragma once

#include <QWidget>
#include <array>

#include "core/image/band_limits.h"
#include "core/service/tuning_page.h"
#include "core/strings/strings.h"

class QGroupBox;
class QTableWidget;

namespace norvik {

class GridCellEditor;

// The tuning pages `PicDev`: for each band a frame captioned with its limits holding the tuning
// grid `TunGrid` and the deviation grid `QTDevGrid`, one band shown at a time. `TxtTun` edits the
// tuning grids, `TxtTun2` the deviation grids.
class TuningPages : public QWidget {
    Q_OBJECT
public:
    TuningPages(Language lang, QWidget* parent);

    // Fills every grid; the deviation grids take their columns from the band limits.
    void load(const TuningPage& page, const BandLimits& limits);
    // What the grids show, as it would be applied.
    TuningPage page() const;
    void showBand(int band);
    int shownBand() const { return m_band; }

    QTableWidget* tuningGrid(int band) const { return TunGrid[static_cast<std::size_t>(band)]; }
    QTableWidget* deviationGrid(int band) const { return QTDevGrid[static_cast<std::size_t>(band)]; }
    // Commits a cell being edited (before an Apply or a page switch reads the grids).
    void commitEditors();

signals:
    // A cell committed with a text other than it had.
    void changed();
    // Enter on the last cell: the Apply button is next.
    void lastCellEntered();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void commitCell(QTableWidget* grid, int row, int column, const QString& text);
    void showValue(QTableWidget* grid, int row, int column, int value);
    void moveOn(QTableWidget* grid, int row, int column);
    int bandOf(const QTableWidget* grid) const;

    Language m_language;
    int m_band = 0;
    std::array<QGroupBox*, kBandCount> fraDev{};
    std::array<QTableWidget*, kBandCount> TunGrid{};
    std::array<QTableWidget*, kBandCount> QTDevGrid{};
    GridCellEditor* m_tunEditor;
    GridCellEditor* m_devEditor;
};

} // namespace norvik
