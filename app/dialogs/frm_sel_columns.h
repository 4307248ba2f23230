#pragma once

#include <QDialog>
#include <array>

#include "core/channels/channel_table.h"

class QCheckBox;
class QPushButton;

namespace norvik {

// Visible Columns: one check box per grid column over the table's visibility flags. Only the
// boxes of columns 2 to 15 lie in sight; those of the channel number, the receive frequency and
// "More" sit below the dialog's client area. Select All and Inverse still reach the receive
// frequency's box (so Inverse and OK hide that column), while the boxes of columns 0 and 16
// never change a flag.
class frmSelColumns : public QDialog {
    Q_OBJECT
public:
    frmSelColumns(ChannelTable& table, Language lang, QWidget* parent = nullptr);

    QCheckBox* columnBox(int index) const { return ColumnSel.at(static_cast<std::size_t>(index)); }

    // Boxes Select All, Inverse and OK act on.
    static constexpr int kFirstBox = 1;
    static constexpr int kLastBox = 15;

public slots:
    void CmdOk_Click();
    void Command1_Click(); // Select All
    void Command2_Click(); // Inverse

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ChannelTable& m_table;
    std::array<QCheckBox*, kTableColumns> ColumnSel{};
    QPushButton* CmdOk;
    QPushButton* CmdCancel;
    QPushButton* Command1;
    QPushButton* Command2;
};

} // namespace norvik
