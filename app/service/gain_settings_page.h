#pragma once

#include <QGroupBox>
#include <array>

#include "core/service/gain_page.h"
#include "core/strings/strings.h"

class QComboBox;
class QLineEdit;
class QToolButton;

namespace norvik {

// The gain page `fraAnalogue`: the sixteen gain lists of row 240 (`Cboinput` k at 0x0F00 + 2k,
// `Cbooutput` k at 0x0F01 + 2k) and the seven fine values of row 241 in `Text1` with their spin
// arrows `UpDown1`.
class GainSettingsPage : public QGroupBox {
    Q_OBJECT
public:
    GainSettingsPage(Language lang, QWidget* parent);

    void load(const GainPage& page);
    // What the page shows, as it would be applied.
    GainPage page() const;

    // Runs the leaving rule on the box that has the focus.
    void leaveFocusedBox();

    QLineEdit* fineBox(int box) const { return Text1[static_cast<std::size_t>(box)]; }

signals:
    // A list's selection or a box's text changed.
    void changed();
    // Enter in the Tone Tx Level box: the Apply button is next.
    void toneLevelEntered();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Text1_LostFocus(int box);
    void Text1_Spin(int box, int delta);
    QWidget* makeUpDown(int box);

    std::array<QComboBox*, 8> Cboinput{};
    std::array<QComboBox*, 8> Cbooutput{};
    std::array<QLineEdit*, kFineValueCount> Text1{};
    std::array<QWidget*, kFineValueCount> UpDown1{};
    bool m_loading = false;
};

} // namespace norvik
