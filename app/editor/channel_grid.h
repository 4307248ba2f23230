#pragma once

#include <QPersistentModelIndex>
#include <QTableView>
#include <optional>
#include <string>

#include "core/channels/channel_table.h"

class QComboBox;
class QLineEdit;

namespace norvik {

class CellEditor;
class Prompter;
class ChannelTableModel;

// The channel grid: a view over ChannelTable, edited through three editors laid over the
// current cell. It follows the document's notices: the rows of changed channels are redrawn, a
// new image redraws everything, and an undo or redo moves the current cell to the first channel
// it changed. Its current cell and row selection are the table's current cell: the grid moves
// it when the user does and shows it wherever it is moved from (the single-channel panel). Channel n is view row n - 1
// under the vertical header that shows its number; table column c (1..16) is view column c - 1. Public functions speak
// in channels and table columns.
class ChannelGrid : public QTableView {
    Q_OBJECT
    Q_PROPERTY(int helpContext READ helpContext NOTIFY helpContextChanged)
public:
    ChannelGrid(ChannelTable& table, Prompter& prompter, QWidget* parent = nullptr);
    ~ChannelGrid() override;

    ChannelTable& table() { return m_table; }

    // Commits an open editor as if the user had left it; every command calls this first.
    void commitEditor();
    bool isEditorOpen() const { return m_open != EditorKind::None; }
    // Re-captions the headers and lists and refills.
    void setLanguage(Language lang);
    void setSingleClick(bool on) { m_singleClick = on; }
    // Read-only, the grid still moves, selects and copies, but opens no editor.
    void setReadOnly(bool on);
    bool isReadOnly() const { return m_readOnly; }
    bool singleClick() const { return m_singleClick; }
    // Widths from the table's visible flags (hidden columns get width 0).
    void applyColumnWidths();
    // The channel's row as the current row with every cell highlighted, after a button-bar
    // operation.
    void selectChannelRow(int channel) { m_table.current().selectRows(channel, channel); }

    int currentChannel() const { return m_table.currentChannel(); }
    int currentColumn() const { return m_table.currentColumn(); }
    void setCurrentCell(int channel, int column);
    // Cell rectangle in viewport coordinates.
    QRect cellRect(int channel, int column) const;

    int helpContext() const { return m_helpContext; }

signals:
    // Ctrl+C, Ctrl+V and Ctrl+D, in the grid or one of its editors, after the editor is committed.
    void copyRequested();
    void pasteRequested();
    void clearRequested();
    // Column 16 of a used channel was clicked or Enter was pressed on it.
    void alternatePanelRequested(int channel);
    void helpContextChanged(int context);
    // Right mouse button on the text editor or the grid: the window shows its Edit menu there.
    void editMenuRequested(const QPoint& globalPos);
    // An editor committed with Ctrl+Enter (or a list value chosen with Ctrl held) while several
    // channels are selected: the window writes the text into each of them.
    void selectionCommitRequested(int column, const QString& text);

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void updateEditorGeometries() override;
    void keyboardSearch(const QString&) override {} // typing edits cells; it never jumps rows

private:
    void documentChanged(const DocumentChange& change);
    // Puts the view's current cell and selection where the table's current cell is.
    void showCurrent();
    void closeEditorUnsaved();
    // Hides an open editor and returns its text.
    QString hideEditor(QWidget* editor);
    QModelIndex indexOf(int channel, int column) const;
    QWidget* openEditorWidget() const;
    void handle(const EditRequest& request);
    void openEditor(int column, std::optional<char> initialText);
    void cancelEditor();
    void commitAndMoveRight();
    // Ctrl+Enter or a Ctrl-chosen list value: true when several channels are selected and the
    // editor's text went to all of them.
    bool commitToSelection();
    // Row-number clicks and Shift/Ctrl clicks select whole channels; true when taken.
    bool selectByClick(int channel, Qt::KeyboardModifiers modifiers);
    // Ctrl+C/V/D: true when the key was one of them (and its signal went out).
    bool handleEditShortcut(const QKeyEvent* e);
    bool filterTextEditorKey(QKeyEvent* e);
    void fillToneList();
    bool paintCorner(QWidget* corner);

    ChannelTable& m_table;
    Prompter& m_prompter;
    ChannelTableModel* m_model;
    CellEditor* m_textEditor;
    QLineEdit* txtMemChannel;
    QComboBox* cboQtDqt;
    QComboBox* cboPowerScan;
    QWidget* m_corner = nullptr;

    EditorKind m_open = EditorKind::None;
    int m_editChannel = 0;
    int m_editColumn = 0;
    bool m_committing = false;
    bool m_singleClick = true;
    bool m_readOnly = false;
    int m_helpContext = 0;
    bool m_showingCurrent = false; // the view follows the current cell: nothing to tell back
    bool m_movingCurrent = false;  // the user moved the view: it is already there
    QPersistentModelIndex m_pressed;
    RadioDocument::Subscription m_subscription;
    CurrentCell::Subscription m_currentSubscription;
};

} // namespace norvik
