#pragma once

#include <QWidget>
#include <array>
#include <optional>
#include <vector>

#include "core/channels/channel_table.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace norvik {

class ChannelUpDown;
class FilteredLineEdit;
class Prompter;

// The single-channel panel (PicGUI) that can cover the channel grid: one labelled control per
// setting of one channel, with a channel selector. It keeps no copy of the channel: a fill
// reads the table's row texts and the record bits, and every change is committed at once,
// each a "Panel Edit" step, through the same ChannelTable commits the grid uses. While shown it
// follows the table's current cell (its selector moves it, and so do keys on the grid under it),
// shows its channel again when anything else changes it, and keeps its channel when every row is
// rebuilt (a new image, a language switch).
class AlternatePanel : public QWidget {
    Q_OBJECT
public:
    AlternatePanel(ChannelTable& table, Prompter& prompter, QWidget* parent = nullptr);
    ~AlternatePanel() override;

    // Captions and list entries in the table's language.
    void recaption();
    // Commits the text field that has the focus as if the user had left it (before a command).
    void commitFocusedField();
    // The channel the panel shows and edits, whatever the grid under it has moved to since.
    int shownChannel() const { return m_shown; }
    // The number in the channel field (typed, perhaps not yet taken), clamped into 1..128.
    int typedChannel() const;
    // Read-only, the panel still moves from channel to channel and shows each, but its fields
    // take no typing and its lists and Clear are off.
    void setReadOnly(bool on);

    QComboBox* signalCombo(int index) const { return CboSignalGUI.at(static_cast<std::size_t>(index)); }
    QLabel* signalLabel(int index) const { return LblSignalGUI.at(static_cast<std::size_t>(index)); }

signals:
    // CmdClearGUI: the button-bar Clear of the current channel, after which the panel refills.
    void clearRequested();
    // CmdCloseGUI.
    void closeRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Shown, it shows the current channel; channel 1 becomes current when none is.
    void showEvent(QShowEvent* event) override;
    // Tab goes round the panel's own controls: the grid and the buttons it covers stay out.
    bool focusNextPrevChild(bool next) override;

private:
    // A list mirroring a grid column. Lists with a record field are shown from the record bits
    // (values the grid text cannot tell apart, such as BCL 3, show their default entry).
    struct ListControl {
        QComboBox* combo;
        int column;
        std::optional<RecordField> field;
    };

    void documentChanged(const DocumentChange& change);
    void currentMoved(CurrentCell::Move move);
    void build();
    void applyCaptions();
    void disableChannel();
    void fillLists();
    void setComboText(QComboBox* combo, const std::string& text);
    void setComboEntry(QComboBox* combo, int entry);
    void refreshTransmitControls();
    void showAutoResponse(bool fiveTone);
    void setControlsEnabled(bool enabled);

    void commitField(QLineEdit* field);
    void commitChannelField();
    void listChosen(const ListControl& control);
    void duplexChosen();
    void toneChosen(QComboBox* combo, int column);
    void signalTypeChosen();
    void autoResponseChosen();
    void selectorChanged(int channel);
    void notice(const CommitResult& result);
    bool filterTextKey(QLineEdit* field, QKeyEvent* key);
    void showChannel(int channel);

    ChannelTable& m_table;
    Prompter& m_prompter;
    int m_shown = 1;
    Language m_language;
    bool m_committing = false;
    bool m_readOnly = false;

    QLabel* LblChannelGUI = nullptr;
    QLineEdit* TxtChannelGUI = nullptr;
    ChannelUpDown* UDChannelGUI = nullptr;
    QLabel* LblRxFreqGUI = nullptr;
    FilteredLineEdit* TxtRxFreqGUI = nullptr;
    QLabel* LblTxFreqGUI = nullptr;
    QLineEdit* TxtTxFreqGUI = nullptr;
    QLabel* LblOffsetFreqGUI = nullptr;
    QLineEdit* TxtOffsetFreqGUI = nullptr;
    QLabel* LblChNameGUI = nullptr;
    QLineEdit* TxtChNameGUI = nullptr;
    QGroupBox* fraQtDqtGUI = nullptr;
    QLabel* LblDecodeGUI = nullptr;
    QComboBox* CboDecodeGUI = nullptr;
    QLabel* LblEncodeGUI = nullptr;
    QComboBox* CboEncodeGUI = nullptr;
    QComboBox* CboTxPowerGUI = nullptr;
    QComboBox* CboScanGUI = nullptr;
    QComboBox* CboWNGUI = nullptr;
    QComboBox* CboBCLGUI = nullptr;
    QComboBox* CboPttIDGUI = nullptr;
    QComboBox* CboVoxGUI = nullptr;
    QComboBox* CboOptionGUI = nullptr;
    QComboBox* CboSCRGroupGUI = nullptr;
    QComboBox* CboDuplexGUI = nullptr;
    QGroupBox* fraSignalGUI = nullptr;
    std::array<QLabel*, 4> LblSignalGUI{};
    std::array<QComboBox*, 3> CboSignalGUI{};
    QPushButton* CmdClearGUI = nullptr;
    QPushButton* CmdCloseGUI = nullptr;

    std::vector<ListControl> m_lists;
    struct Caption {
        QWidget* widget; // a label or a frame
        int id;
    };
    std::vector<Caption> m_captions;
    std::vector<QWidget*> m_tabOrder; // the panel's controls in Tab order
    RadioDocument::Subscription m_subscription;
    CurrentCell::Subscription m_currentSubscription;
};

} // namespace norvik
