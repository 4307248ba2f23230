// The main window's whole-channel edit operations and its single-channel panel.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>

#include "app/channel_list/frm_csv_import.h"
#include "app/channel_list/frm_fill.h"
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
    connect(m_channelGrid, &ChannelGrid::selectionCommitRequested, this,
            [this](int column, const QString& text) { commitToSelection(column, text); });
    m_selectionSubscription = m_table->current().observe([this](CurrentCell::Move) { showSelectionCount(); });
    // Channels copied in another copy of the program, or cells from a spreadsheet, can be pasted.
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] {
        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        if (mime && (mime->hasText() || mime->hasFormat(QString::fromLatin1(
                                            kChannelClipMime.data(), static_cast<qsizetype>(kChannelClipMime.size())))))
            setPasteAvailable(true);
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
    if (!changesOff())
        m_document.undo();
}

void frmMain::mnuEdit_Redo_Click() {
    if (!changesOff())
        m_document.redo();
}

// Copy, then Clear.
void frmMain::mnuEdit_Cut_Click() {
    if (!changesOff() && copySelection())
        mnuEdit_Clear_Click();
}

void frmMain::mnuEdit_Copy_Click() {
    if (!editMenuOff())
        copySelection();
}

bool frmMain::copySelection() {
    const ChannelSet targets = m_table->current().targets();
    if (severalSelected()) {
        if (copyChannels(m_document.image(), targets).empty())
            return false;
        putOnClipboard(targets);
        setPasteAvailable(true);
        return true;
    }
    const int channel = m_table->currentChannel();
    if (!copyChannel(*m_table, channel, m_copy))
        return false;
    putOnClipboard(targets);
    m_channelGrid->setCurrentCell(channel, col::Rx);
    setPasteAvailable(true);
    return true;
}

void frmMain::putOnClipboard(const ChannelSet& channels) {
    const std::string own = encodeChannelClip(copyChannels(m_document.image(), channels));
    const std::string text = channelsClipboardText(m_document.image(), channels);
    auto* mime = new QMimeData;
    m_clipboardPut = QByteArray(own.data(), static_cast<qsizetype>(own.size()));
    mime->setData(QString::fromLatin1(kChannelClipMime.data(), static_cast<qsizetype>(kChannelClipMime.size())),
                  m_clipboardPut);
    mime->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    QGuiApplication::clipboard()->setMimeData(mime);
}

void frmMain::mnuEdit_Paste_Click() {
    if (changesOff())
        return;
    const int channel = m_table->currentChannel();
    if (channel < 1)
        return;
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    const QString own = QString::fromLatin1(kChannelClipMime.data(), static_cast<qsizetype>(kChannelClipMime.size()));
    if (mime && mime->hasFormat(own)) {
        const QByteArray bytes = mime->data(own);
        // A malformed one is someone else's: the text beside it is tried instead.
        if (const auto clip =
                decodeChannelClip(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
            // This window's own copy of one channel pastes as it always has, its texts and all.
            if (clip->size() == 1 && bytes == m_clipboardPut && m_copy.holdsCopy) {
                if (pasteChannel(*m_table, channel, m_copy).ran)
                    m_channelGrid->setCurrentCell(channel, col::Rx);
            } else {
                pasteClip(*clip);
            }
            return;
        }
    }
    if (mime && mime->hasText() && pasteText(mime->text()))
        return;
    if (pasteChannel(*m_table, channel, m_copy).ran)
        m_channelGrid->setCurrentCell(channel, col::Rx);
    else
        tell(qtext(ids::ClipboardNoChannels, m_language));
}

void frmMain::pasteClip(const ChannelClip& clip) {
    const int first = m_table->currentChannel();
    const int count = static_cast<int>(clip.size());
    if (!pasteFits(first, count)) {
        tell(qtext(ids::PasteDoesNotFit, m_language).arg(count).arg(first).arg(kChannelCount - count + 1));
        return;
    }
    if (count > 1 && pasteOverwritesChannels(m_document.image(), first, count) &&
        !askYesNo(qtext(ids::PasteOverwrites, m_language).arg(count).arg(first)))
        return;
    if (pasteChannels(*m_table, first, clip).ran)
        m_table->current().selectRows(first, first + count - 1);
}

bool frmMain::pasteText(const QString& text) {
    const int first = m_table->currentChannel();
    const QByteArray utf8 = text.toUtf8();
    const PastedText pasted =
        pastedTextAsCsv(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())), first);
    if (pasted.lines == 0)
        return false;
    if (pasted.lines <= kChannelCount && !pasteFits(first, pasted.lines)) {
        tell(
            qtext(ids::PasteDoesNotFit, m_language).arg(pasted.lines).arg(first).arg(kChannelCount - pasted.lines + 1));
        return true;
    }
    const CsvImport result = importChannelsCsv(pasted.csv, m_document.image());
    if (result.refused() || result.refusedCount() > 0) {
        // The lines it refuses are shown with their reasons; Apply there takes the others.
        auto* preview = new frmCsvImport(m_document, pasted.csv, m_language, m_table->decimalSeparator(), this);
        preview->setWindowTitle(withoutMnemonic(qtext(ids::MenuEditPaste, m_language)));
        openWindow(preview);
        return true;
    }
    if (result.changedCount() == 0)
        return true;
    if (pasted.lines > 1 && pasteOverwritesChannels(m_document.image(), first, pasted.lines) &&
        !askYesNo(qtext(ids::PasteOverwrites, m_language).arg(pasted.lines).arg(first)))
        return true;
    m_document.edit(
        ids::ChangePasteChannels, [&result](RadioImage& image) { result.applyTo(image); }, result.changedCount());
    m_table->current().selectRows(first, std::min(first + pasted.lines - 1, kChannelCount));
    return true;
}

void frmMain::mnuEdit_Clear_Click() {
    if (changesOff())
        return;
    if (severalSelected())
        clearChannels(*m_table, m_table->current().targets());
    else
        clearChannel(*m_table, m_table->currentChannel());
}

void frmMain::mnuEdit_Delete_Click() {
    if (!changesOff())
        CmdButtons_Click(static_cast<int>(ChannelButton::Delete));
}

void frmMain::mnuEdit_Insert_Click() {
    if (!changesOff())
        CmdButtons_Click(static_cast<int>(ChannelButton::Insert));
}

void frmMain::mnuEdit_SelectAll_Click() {
    if (!editMenuOff())
        m_table->current().selectRows(1, kChannelCount);
}

void frmMain::mnuEdit_Fill_Click() {
    if (changesOff() || m_table->currentChannel() < 1)
        return;
    openWindow(new frmFill(*m_table, m_prompter, m_language, this));
}

void frmMain::sortSelection(SortKey key) {
    if (changesOff())
        return;
    // The selection, else every channel: the used ones end up first.
    ChannelSet set = m_table->current().selected();
    if (set.count() < 2) {
        set.set();
        set.reset(0);
    }
    const EditResult r = sortChannels(*m_table, set, key);
    if (r.ran && !severalSelected())
        m_channelGrid->setCurrentCell(1, col::Rx);
}

void frmMain::mnuEdit_SortRx_Click() {
    sortSelection(SortKey::Receive);
}

void frmMain::mnuEdit_SortName_Click() {
    sortSelection(SortKey::Name);
}

void frmMain::mnuEdit_Find_Click() {
    if (editMenuOff())
        return;
    auto* find = new frmFind(*m_table, m_prompter, m_language, m_findText, this);
    connect(find, &frmFind::searched, this, [this](const QString& text) { m_findText = text; });
    openWindow(find);
}

void frmMain::mnuEdit_FindNext_Click() {
    if (editMenuOff())
        return;
    if (m_findText.trimmed().isEmpty()) {
        mnuEdit_Find_Click();
        return;
    }
    const int found = findChannel(*m_table, m_findText.toStdString(), m_table->currentChannel());
    if (found != 0)
        m_channelGrid->selectChannelRow(found);
    else
        tell(qtext(ids::FindNothing, m_language).arg(m_findText));
}

bool frmMain::severalSelected() const {
    return m_table->current().selectedCount() > 1;
}

bool frmMain::askYesNo(const QString& question) {
    return m_prompter.message(this, QMessageBox::Question, QString::fromLatin1(kProductName), question,
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}

void frmMain::tell(const QString& message) {
    m_prompter.message(this, QMessageBox::Information, QString::fromLatin1(kProductName), message, QMessageBox::Ok,
                       QMessageBox::Ok);
}

void frmMain::showSelectionCount() {
    const int count = m_table->current().selectedCount();
    m_selectionCount->setText(count > 1 ? qtext(ids::ChannelsSelected, m_language).arg(count) : QString());
}

void frmMain::commitToSelection(int column, const QString& text) {
    const std::vector<int> refused =
        setColumnOnChannels(*m_table, m_table->current().selected(), column, text.toStdString());
    if (!refused.empty())
        m_prompter.message(this, QMessageBox::Warning, QString::fromLatin1(kProductName),
                           qtext(ids::SetColumnRefused, m_language).arg(qstr(channelListText(refused))),
                           QMessageBox::Ok, QMessageBox::Ok);
}

void frmMain::runOnSelection(ChannelButton button) {
    const ChannelSet set = m_table->current().targets();
    const int count = static_cast<int>(set.count());
    const auto block = m_table->current().rows();
    EditResult r;
    switch (button) {
    case ChannelButton::MoveUp:
    case ChannelButton::MoveDown: {
        const int delta = button == ChannelButton::MoveUp ? -1 : 1;
        r = moveChannelBlock(*m_table, set, delta);
        if (r.ran && block)
            m_table->current().selectRows(block->first + delta, block->last + delta);
        return;
    }
    case ChannelButton::Insert:
        if (insertLosesChannelCount(m_document.image(), count) &&
            !askYesNo(qtext(ids::InsertLosesChannels, m_language).arg(count)))
            return;
        r = insertChannels(*m_table, set);
        break;
    case ChannelButton::Delete:
        if (!askYesNo(qtext(ids::DeleteChannelsAsk, m_language).arg(count)))
            return;
        r = deleteChannels(*m_table, set);
        break;
    case ChannelButton::Clear:
        r = clearChannels(*m_table, set);
        return;
    }
    if (r.ran && block && button == ChannelButton::Insert)
        m_table->current().selectRows(block->first, block->last);
    else
        afterButtonOperation(r);
}

// --- Button column ----------------------------------------------------------------------------

void frmMain::CmdButtons_Click(int index) {
    if (index < 0 || index >= kButtonCount)
        return;
    const auto button = static_cast<ChannelButton>(index);
    if (m_table->currentChannel() < 1 || m_document.isHeld())
        return;
    if (severalSelected()) {
        runOnSelection(button);
        return;
    }
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
