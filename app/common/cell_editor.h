#pragma once

#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <optional>

namespace norvik {

// A grid of values edited only through editors laid over its cells: one current cell, no editing
// of its own, Tab leaves it, headers that only label, rows of one fixed height.
inline void setUpCellGrid(QTableView* grid) {
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid->setTabKeyNavigation(false);
    grid->setWordWrap(false);
    grid->setCornerButtonEnabled(false);
    grid->horizontalHeader()->setSectionsClickable(false);
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 8);
}

// Lays a grid's text editor over a cell and gives it the keyboard: opened by a typed key it holds
// just that key with the caret behind it, otherwise the cell's text, all selected.
inline void showCellEditor(QLineEdit* editor, const QRect& cell, const QString& cellText, std::optional<char> typed) {
    editor->setText(typed ? QString(QLatin1Char(*typed)) : cellText);
    editor->setGeometry(cell);
    editor->show();
    editor->setFocus(Qt::OtherFocusReason);
    if (typed)
        editor->end(false);
    else
        editor->selectAll();
}

} // namespace norvik
