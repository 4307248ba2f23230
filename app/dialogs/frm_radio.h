#pragma once

#include <QDialog>
#include <optional>

#include "core/auxiliary/radio_presets.h"
#include "core/image/radio_document.h"
#include "core/strings/strings.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace norvik {

class CellEditor;
class Prompter;

// Radio: the broadcast receiver's 25 presets in three pairs of columns (number, frequency) and
// the selected preset. Frequencies are typed through one text box laid over the cell; edits stay
// in the dialog until OK writes them, Cancel writes nothing.
class frmRadio : public QDialog {
    Q_OBJECT
public:
    frmRadio(RadioDocument& document, Prompter& prompter, Language lang, QWidget* parent = nullptr);

    // Grid coordinates: row 0 is the header row, rows 1..10 the presets.
    QString cellText(PresetCell cell) const;
    PresetCell currentCell() const;
    bool isEditing() const { return m_editing.has_value(); }

public slots:
    void Command1_Click(); // OK

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillGrid();
    void setCurrentCell(PresetCell cell);
    void startEdit(PresetCell cell, std::optional<char> typed);
    // Rounds or limits the typed frequency into its cell; a limited one is reported.
    void commitEdit();
    void cancelEdit();
    void moveOn(PresetCell from);
    bool gridKey(QKeyEvent* e);
    void editorEnter();

    RadioDocument& m_document;
    Prompter& m_prompter;
    Language m_lang;
    char m_sep;
    RadioPresets m_presets;
    std::optional<PresetCell> m_editing;

    QGroupBox* Frame1;
    QLabel* Label1;
    QComboBox* cboRadioCh;
    QTableWidget* MSRadioGrid;
    CellEditor* m_editor;
    QLineEdit* txtRadio; // the editor's box
    QPushButton* Command1;
    QPushButton* Command2;
};

} // namespace norvik
