#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class QLineEdit;
class QTableWidget;
class QWidget;

namespace norvik {

// One text box laid over the cell being edited, shared by one or more grids: a click on a value
// cell opens it with the cell's text selected; with keys enabled, Enter opens it the same way and
// a digit opens it holding that digit. Esc puts the text back; Enter commits and moves on; losing
// the focus commits. What a commit does and where Enter goes are the owner's.
class GridCellEditor : public QObject {
    Q_OBJECT
public:
    struct Cell {
        QTableWidget* grid = nullptr;
        int row = -1;
        int column = -1;
    };

    GridCellEditor(const QString& objectName, int maxDigits, QWidget* parent);

    // `openOnKeys`: Enter and digit keys on the grid open the editor too, not only a click.
    void attach(QTableWidget* grid, bool openOnKeys);

    std::function<bool(const Cell&)> canEdit;
    // Called with the text typed; the owner puts what the cell should show into it.
    std::function<void(const Cell&, const QString& text)> commit;
    // Called after a commit by Enter.
    std::function<void(const Cell&)> moveOn;

    bool isOpen() const { return m_cell.grid != nullptr; }
    Cell cell() const { return m_cell; }
    QLineEdit* field() const { return m_field; }
    // Commits an open editor, as before the page is read or switched.
    void finish() { close(true); }
    // The same for a click elsewhere on the page: the focus goes back to the editor's grid.
    void commitAndReturn();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void open(const Cell& cell, const QString& text, bool selectAll);
    void close(bool commitText);
    Cell cellAt(QTableWidget* grid, int row, int column) const;

    QLineEdit* m_field = nullptr;
    struct Attached {
        QTableWidget* grid;
        // Kept apart: a grid being taken down still sends its viewport's events here, when it
        // can no longer be asked for its viewport.
        QWidget* viewport;
        bool openOnKeys;
    };
    std::vector<Attached> m_grids;
    Cell m_cell;
    QString m_previous;
    bool m_closing = false;
};

} // namespace norvik
