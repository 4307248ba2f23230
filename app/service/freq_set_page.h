#pragma once

#include <QGroupBox>

#include "core/image/band_limits.h"
#include "core/service/band_limit_page.h"
#include "core/strings/strings.h"

class QLabel;
class QTableWidget;

namespace norvik {

class GridCellEditor;

// The band-limit page `fraFreq`: the grid `GridFreqSet` of the four bands' MIN and MAX, edited
// through `TxtFreqSet` by the commit rules of BandLimitPage.
class FreqSetPage : public QGroupBox {
    Q_OBJECT
public:
    FreqSetPage(Language lang, QWidget* parent);

    void load(const BandLimits& limits);
    void apply(RadioImage& image) const { m_page.apply(image); }
    const BandLimitPage& page() const { return m_page; }
    GridCellEditor* editor() const { return m_editor; }

signals:
    // A cell took a typed value.
    void changed();

private:
    void showBands();
    void TxtFreqSet_Commit(int band, LimitColumn column, const QString& text);

    BandLimitPage m_page;
    QTableWidget* GridFreqSet;
    GridCellEditor* m_editor;
};

} // namespace norvik
