#pragma once

#include <QTableWidget>
#include <optional>
#include <string>
#include <vector>

#include "core/options/grid_editor_rules.h"

class QLineEdit;

namespace norvik {

class CellEditor;

/*
 * A code grid of the signalling pages: a header row, a column of entry numbers and the editable
 * cells, edited through one text box laid over the current cell. Everything the box does (which
 * keys open it and which it takes, what a commit makes of the row, where the focus goes next) is
 * asked of the grid's GridEditorRules. Positions are the rules' own: row 1 is the first entry,
 * column 0 the numbers.
 */
class CodeGrid : public QTableWidget {
    Q_OBJECT
public:
    struct Column {
        QString header;
        int share;       // of the grid's width, against the other columns' shares
        int longestText; // characters a cell must show whole
    };

    // `editorName` (and `editorIndex` for a control array) names the text box.
    CodeGrid(const GridEditorRules& rules, const char* editorName, int editorIndex, const std::vector<Column>& columns,
             QWidget* parent = nullptr);
    ~CodeGrid() override;

    std::string text(int row, int column) const;
    // Shows a loaded text; an open editor closes without committing.
    void setText(int row, int column, const std::string& text);

    QLineEdit* editor() const;
    bool isEditorOpen() const;
    // Takes the open editor's text into its cell (the focus stays where it is), as leaving it does.
    void commitEditor();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    // A commit sent the focus out of the grid: to the Save button or the page's first tone field.
    void focusOutRequested(GridMove::Target target);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void updateEditorGeometries() override;
    void keyboardSearch(const QString&) override {} // typing edits cells; it never jumps rows

private:
    // The current cell's row in the rules' numbering.
    int currentCodeRow() const { return currentRow() + 1; }
    // With a start key the editor holds just that key, otherwise the cell's text, all selected.
    void openEditor(std::optional<char> startKey);
    void cancelEditor();
    // Commits `text` into the cell being edited (or the current one); true when it was taken.
    bool commit(int row, int column, const QString& text);
    // A commit taken moves the focus on as the rules say.
    void commitAndMove(int row, int column, const QString& text);
    bool filterEditorKey(QKeyEvent* event);

    const GridEditorRules& m_rules;
    CellEditor* m_cell;
    int m_editRow = 0;
    int m_editColumn = 0;
    QString m_savedText;
};

} // namespace norvik
