#pragma once

#include <QDialog>
#include <vector>

#include "core/channels/channel_ranges.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace norvik {

class Prompter;

// Fill Frequencies: a start RX frequency, a step and the transmit frequency for the selected
// channels (or for a count of channels from the current one), with the first and last values as
// they would be taken. OK fills them as one step, or names the channels the bands refuse and
// stays open with nothing written.
class frmFill : public QDialog {
    Q_OBJECT
public:
    frmFill(ChannelTable& table, Prompter& prompter, Language lang, QWidget* parent = nullptr);

public slots:
    void CmdOk_Click();

private:
    FillPlan plan() const;
    std::vector<int> channels() const;
    void preview();

    ChannelTable& m_table;
    Prompter& m_prompter;
    const Language m_lang;
    std::vector<int> m_selected; // empty: a count from the current channel
    QLineEdit* txtStart;
    QLineEdit* txtStep;
    QComboBox* cboTransmit;
    QLineEdit* txtOffsetOrTx;
    QSpinBox* spnCount;
    QLabel* lblPreview;
    QPushButton* CmdOk;
};

// Find: a channel by name or frequency text, from the current one on; Find Next (F3) goes on.
class frmFind : public QDialog {
    Q_OBJECT
public:
    frmFind(ChannelTable& table, Prompter& prompter, Language lang, const QString& last, QWidget* parent = nullptr);

signals:
    // Each search, so that Find Next (F3) can go on after the window is closed.
    void searched(const QString& text);

public slots:
    // False when no channel matches (and the user was told).
    bool findNext();

private:
    ChannelTable& m_table;
    Prompter& m_prompter;
    const Language m_lang;
    QLineEdit* txtFind;
};

} // namespace norvik
