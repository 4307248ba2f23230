// The main window's whole-channel edit operations and its single-channel panel.
#include <QAction>
#include <QLineEdit>

#include "app/common/texts.h"
#include "app/dialogs/prompt.h"
#include "app/editor/alternate_panel.h"
#include "app/editor/channel_grid.h"
#include "app/editor/frm_main.h"
#include "core/strings/string_ids.h"

namespace norvik {

void frmMain::setUpEditOperations() {
    m_altPanel = new AlternatePanel(*m_table, m_prompter);
    setAlternatePanel(m_altPanel);
    for (auto* field : m_altPanel->findChildren<QLineEdit*>())
        giveMenuKeysToTheMenu(field);
    connect(m_altPanel, &AlternatePanel::clearRequested, this,
            [this] { runCommand([this] { CmdButtons_Click(static_cast<int>(ChannelButton::Clear)); }); });
    connect(m_altPanel, &AlternatePanel::closeRequested, this, [this] {
        if (alternatePanelShown())
            action("mnuSet_GUI")->trigger();
    });
    connect(this, &frmMain::languageChanged, m_altPanel, &AlternatePanel::recaption);
    connect(m_channelGrid, &ChannelGrid::alternatePanelRequested, this, [this] {
        if (!alternatePanelShown())
            action("mnuSet_GUI")->trigger();
    });
    setCommitEditor([this] {
        m_channelGrid->commitEditor();
        if (m_altPanel && m_altPanel->isVisible())
            m_altPanel->commitFocusedField();
    });
}

AlternatePanel* frmMain::alternatePanel() const {
    return m_altPanel;
}

bool frmMain::editMenuOff() const {
    return alternatePanelShown();
}

// --- Edit menu --------------------------------------------------------------------------------

void frmMain::mnuEdit_Undo_Click() {
    if (!editMenuOff())
        m_document.undo();
}

void frmMain::mnuEdit_Redo_Click() {
    if (!editMenuOff())
        m_document.redo();
}

void frmMain::mnuEdit_Copy_Click() {
    if (editMenuOff())
        return;
    const int channel = m_table->currentChannel();
    if (!copyChannel(*m_table, channel, m_copy))
        return;
    m_channelGrid->setCurrentCell(channel, col::Rx);
    setPasteAvailable(true);
}

void frmMain::mnuEdit_Paste_Click() {
    if (editMenuOff())
        return;
    const int channel = m_table->currentChannel();
    if (pasteChannel(*m_table, channel, m_copy).ran)
        m_channelGrid->setCurrentCell(channel, col::Rx);
}

void frmMain::mnuEdit_Clear_Click() {
    if (!editMenuOff())
        clearChannel(*m_table, m_table->currentChannel());
}

void frmMain::mnuEdit_Delete_Click() {
    if (!editMenuOff())
        CmdButtons_Click(static_cast<int>(ChannelButton::Delete));
}

void frmMain::mnuEdit_Insert_Click() {
    if (!editMenuOff())
        CmdButtons_Click(static_cast<int>(ChannelButton::Insert));
}

// --- Button column ----------------------------------------------------------------------------

void frmMain::CmdButtons_Click(int index) {
    if (index < 0 || index >= kButtonCount)
        return;
    const auto button = static_cast<ChannelButton>(index);
    if (m_table->currentChannel() < 1)
        return;
    if (button == ChannelButton::Insert && insertLosesLastChannel(*m_table)) {
        const auto answer = m_prompter.message(this, QMessageBox::Question, QString::fromLatin1(kProductName),
                                               qtext(ids::InsertLosesLastChannel, m_language),
                                               QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
        if (answer != QMessageBox::Yes)
            return;
    }
    afterButtonOperation(runChannelButton(*m_table, button));
}

void frmMain::afterButtonOperation(const EditResult& result) {
    if (!result.ran)
        return;
    m_channelGrid->selectChannelRow(result.currentChannel);
}

// --- Single-channel panel ---------------------------------------------------------------------

void frmMain::showAlternatePanel(bool show) {
    action("mnuSet_GUI")->setChecked(show);
    enableEditActions();
    if (PicGUI) {
        PicGUI->setVisible(show);
        placeAlternatePanel();
    }
    if (!show || !m_altPanel || PicGUI != m_altPanel)
        return;
    if (auto* rx = m_altPanel->findChild<QLineEdit*>(QStringLiteral("TxtRxFreqGUI")))
        rx->setFocus();
}

} // namespace norvik
