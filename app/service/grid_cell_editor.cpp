#include "app/service/grid_cell_editor.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTableWidget>

#include "app/common/filtered_line_edit.h"

namespace norvik {

GridCellEditor::GridCellEditor(const QString& objectName, int maxDigits, QWidget* parent) : QObject(parent) {
    auto* field = new FilteredLineEdit(parent);
    field->takeDigitsOnly(maxDigits);
    m_field = field;
    m_field->setObjectName(objectName);
    m_field->setFrame(false);
    m_field->setAlignment(Qt::AlignCenter);
    m_field->hide();
    m_field->installEventFilter(this);
}

void GridCellEditor::attach(QTableWidget* grid, bool openOnKeys) {
    m_grids.push_back({grid, grid->viewport(), openOnKeys});
    grid->viewport()->installEventFilter(this);
    grid->installEventFilter(this);
}

GridCellEditor::Cell GridCellEditor::cellAt(QTableWidget* grid, int row, int column) const {
    Cell c{grid, row, column};
    if (row < 0 || column < 0 || !grid->item(row, column) || (canEdit && !canEdit(c)))
        return {};
    return c;
}

void GridCellEditor::open(const Cell& cell, const QString& text, bool selectAll) {
    if (isOpen())
        close(true);
    m_cell = cell;
    m_previous = cell.grid->item(cell.row, cell.column)->text();
    cell.grid->setCurrentCell(cell.row, cell.column);
    m_field->setParent(cell.grid->viewport());
    m_field->setGeometry(cell.grid->visualItemRect(cell.grid->item(cell.row, cell.column)));
    m_field->setText(text);
    m_field->show();
    m_field->setFocus(Qt::OtherFocusReason);
    if (selectAll)
        m_field->selectAll();
    else
        m_field->end(false);
}

void GridCellEditor::close(bool commitText) {
    if (!isOpen() || m_closing)
        return;
    m_closing = true;
    const Cell cell = m_cell;
    m_cell = {};
    // Hiding a focused editor would pass the focus on through the grid, which moves its current
    // cell as a Tab does: the grid takes the focus back first, its current cell as it was.
    if (m_field->hasFocus())
        cell.grid->setFocus(Qt::OtherFocusReason);
    m_field->hide();
    if (commitText && commit)
        commit(cell, m_field->text());
    else if (!commitText)
        cell.grid->item(cell.row, cell.column)->setText(m_previous);
    m_closing = false;
}

void GridCellEditor::commitAndReturn() {
    if (!isOpen())
        return;
    QTableWidget* grid = m_cell.grid;
    close(true);
    grid->setFocus();
}

bool GridCellEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_field) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Escape) {
                QTableWidget* grid = m_cell.grid;
                close(false);
                if (grid)
                    grid->setFocus();
                return true;
            }
            if (isEnterKey(key)) {
                const Cell cell = m_cell;
                close(true);
                if (cell.grid && moveOn)
                    moveOn(cell);
                return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            // A menu or another window taking the focus for a moment is not the user leaving the cell.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
                close(true);
        }
        return QObject::eventFilter(watched, event);
    }
    for (const auto& [grid, viewport, openOnKeys] : m_grids) {
        if (watched == viewport && event->type() == QEvent::MouseButtonPress) {
            auto* me = static_cast<QMouseEvent*>(event);
            if (me->button() != Qt::LeftButton)
                break;
            const QModelIndex index = grid->indexAt(me->position().toPoint());
            const Cell cell = cellAt(grid, index.row(), index.column());
            if (!cell.grid)
                break;
            open(cell, grid->item(cell.row, cell.column)->text(), true);
            return true;
        }
        if (watched == grid && openOnKeys && event->type() == QEvent::KeyPress) {
            auto* ke = static_cast<QKeyEvent*>(event);
            const Cell cell = cellAt(grid, grid->currentRow(), grid->currentColumn());
            if (!cell.grid)
                break;
            if (isEnterKey(ke->key())) {
                open(cell, grid->item(cell.row, cell.column)->text(), true);
                return true;
            }
            const QString t = ke->text();
            if (t.size() == 1 && t.at(0).isDigit() && t.at(0).unicode() < 0x80) {
                open(cell, t, false);
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace norvik
