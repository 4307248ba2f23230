#pragma once

#include <QDialog>
#include <optional>

#include "core/auxiliary/memory_map.h"
#include "core/image/radio_document.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace norvik {

class CellEditor;
class MemoryMapModel;

// Memory Map: every byte of a copy of the image as two hex digits, one grid row per image row,
// edited in place through one text box laid over the cell. OK writes the whole copy back as one
// change; Cancel writes nothing. Its captions are the same in both languages.
class frmMemoryMap : public QDialog {
    Q_OBJECT
public:
    explicit frmMemoryMap(RadioDocument& document, QWidget* parent = nullptr);

    // Grid coordinates: row 1 is image row 0, column 1 is byte 0 of the row.
    QString cellText(MapCell cell) const;
    MapCell currentCell() const;
    bool isEditing() const { return m_editing.has_value(); }

public slots:
    void cmdOK_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setCurrentCell(MapCell cell);
    void startEdit(MapCell cell, std::optional<char> typed);
    // The editor's text goes into its cell by the leave rules ("" is FF, "7" is 70).
    void leaveEditor();
    void cancelEdit();
    void showCurrentCell();
    bool gridKey(QKeyEvent* e);
    // The editor's own rule for a typed key: hex digits, two at the most.
    bool editorKey(QKeyEvent* e);
    void editorEnter();

    RadioDocument& m_document;
    RadioImage m_copy;
    MemoryMapModel* m_model;
    std::optional<MapCell> m_editing;

    QTableView* msgMemory;
    CellEditor* m_editor;
    QLineEdit* txtMemory; // the editor's box
    QLabel* lblAddr;
    QLabel* lblEquals;
    QLabel* LblValue;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
};

} // namespace norvik
