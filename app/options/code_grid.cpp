#include "app/options/code_grid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>

#include "app/common/cell_editor.h"
#include "app/common/texts.h"
#include "app/common/typed_key.h"

namespace norvik {

CodeGrid::CodeGrid(const GridEditorRules& rules, const char* editorName, int editorIndex,
                   const std::vector<Column>& columns, QWidget* parent)
    : QTableWidget(rules.rows - 1, rules.columns, parent), m_rules(rules),
      m_cell(
          new CellEditor(this, QString::fromLatin1(editorName), [this](QKeyEvent* e) { return filterEditorKey(e); })) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    QStringList headers;
    for (const Column& c : columns)
        headers << c.header;
    setHorizontalHeaderLabels(headers);
    // The entry numbers look like a header and can never become the current cell.
    const QBrush headerFace = palette().button();
    const QBrush headerText = palette().buttonText();
    for (int r = 0; r < rowCount(); ++r) {
        for (int c = 0; c < columnCount(); ++c) {
            auto* item = new QTableWidgetItem(c == 0 ? QString::number(r) : QString());
            item->setTextAlignment(Qt::AlignCenter);
            if (c == 0) {
                item->setFlags(Qt::NoItemFlags);
                item->setBackground(headerFace);
                item->setForeground(headerText);
            } else {
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            }
            setItem(r, c, item);
        }
    }

    // The editable columns keep their shares of the width, as narrow as their texts allow; the
    // number column takes its share or what its header needs.
    const int pad = 2 * fontMetrics().horizontalAdvance(QLatin1Char('0'));
    std::vector<int> needed;
    double perShare = 0;
    for (const Column& c : columns) {
        needed.push_back(qMax(horizontalHeader()->fontMetrics().horizontalAdvance(c.header),
                              fontMetrics().horizontalAdvance(QString(c.longestText, QLatin1Char('0')))) +
                         pad);
        if (needed.size() > 1)
            perShare = qMax(perShare, double(needed.back()) / c.share);
    }
    for (std::size_t c = 0; c < columns.size(); ++c)
        setColumnWidth(static_cast<int>(c), qMax(needed[c], qRound(perShare * columns[c].share)));

    if (editorIndex >= 0)
        editor()->setProperty("index", editorIndex);
    editor()->setFrame(false);
    connect(m_cell, &CellEditor::enterPressed, this, [this] {
        const QString typed = m_cell->close();
        commitAndMove(m_editRow, m_editColumn, typed);
    });
    connect(m_cell, &CellEditor::escapePressed, this, &CodeGrid::cancelEditor);
    connect(m_cell, &CellEditor::left, this, &CodeGrid::commitEditor);

    setCurrentCell(0, 1);
}

CodeGrid::~CodeGrid() {
    // The editor losing the focus as the window goes must not commit into a grid being destroyed.
    disconnect(m_cell, nullptr, this, nullptr);
}

QLineEdit* CodeGrid::editor() const {
    return m_cell->box();
}

bool CodeGrid::isEditorOpen() const {
    return m_cell->isOpen();
}

QSize CodeGrid::sizeHint() const {
    int width = 2 * frameWidth();
    for (int c = 0; c < columnCount(); ++c)
        width += columnWidth(c);
    const int height = 2 * frameWidth() + horizontalHeader()->sizeHint().height() +
                       rowCount() * verticalHeader()->defaultSectionSize();
    return {width, height};
}

std::string CodeGrid::text(int row, int column) const {
    const QTableWidgetItem* cell = item(row - 1, column);
    return cell ? cell->text().toStdString() : std::string();
}

void CodeGrid::setText(int row, int column, const std::string& text) {
    if (isEditorOpen())
        m_cell->close();
    if (QTableWidgetItem* cell = item(row - 1, column))
        cell->setText(qstr(text));
}

void CodeGrid::openEditor(std::optional<char> startKey) {
    const int row = currentCodeRow();
    const int column = currentColumn();
    if (!isEditableCell(m_rules, row, column))
        return;
    m_editRow = row;
    m_editColumn = column;
    m_savedText = item(row - 1, column)->text();
    scrollTo(currentIndex());
    m_cell->open(visualRect(currentIndex()), startKey ? QString(QLatin1Char(*startKey)) : m_savedText,
                 startKey.has_value());
}

void CodeGrid::cancelEditor() {
    item(m_editRow - 1, m_editColumn)->setText(m_savedText);
    m_cell->close();
    setFocus(Qt::OtherFocusReason);
}

void CodeGrid::commitEditor() {
    if (isEditorOpen())
        commit(m_editRow, m_editColumn, m_cell->close());
}

bool CodeGrid::commit(int row, int column, const QString& text) {
    std::vector<std::string> cells(static_cast<std::size_t>(columnCount()));
    for (int c = 0; c < columnCount(); ++c)
        cells[static_cast<std::size_t>(c)] = this->text(row, c);
    if (!gridCommit(m_rules, cells, row, column, text.toStdString(), localeDecimalSeparator()))
        return false;
    for (int c = 1; c < columnCount(); ++c)
        item(row - 1, c)->setText(qstr(cells[static_cast<std::size_t>(c)]));
    return true;
}

void CodeGrid::commitAndMove(int row, int column, const QString& text) {
    if (!commit(row, column, text))
        return; // the cell stays as it was, the grid keeps the focus
    const GridMove move = gridMoveAfterCommit(m_rules, row, column);
    if (move.target != GridMove::Target::Cell) {
        emit focusOutRequested(move.target);
        return;
    }
    setCurrentCell(move.row - 1, move.column);
    if (move.scrollIntoView)
        scrollTo(currentIndex());
    setFocus(Qt::OtherFocusReason);
}

bool CodeGrid::filterEditorKey(QKeyEvent* event) {
    const TypedKey key = classifyTypedKey(event);
    if (key.kind != TypedKey::Kind::Character)
        return key.kind == TypedKey::Kind::Drop;
    const auto length = static_cast<std::size_t>(editor()->text().size());
    const auto selected = static_cast<std::size_t>(editor()->selectedText().size());
    const std::optional<char> taken = gridEditorKey(m_rules, m_editColumn, key.character, length, selected);
    if (taken && *taken != key.character)
        editor()->insert(QString(QLatin1Char(*taken))); // typed in lower case, goes in upper case
    return !taken || *taken != key.character;
}

void CodeGrid::keyPressEvent(QKeyEvent* event) {
    if (isEditorOpen()) {
        event->ignore(); // keys the open editor passed on (its arrows) do not move the grid under it
        return;
    }
    const int row = currentCodeRow();
    const int column = currentColumn();
    if (!isEditableCell(m_rules, row, column)) {
        QTableWidget::keyPressEvent(event);
        return;
    }
    if (isEnterKey(event->key())) {
        commitAndMove(row, column, item(row - 1, column)->text());
        return;
    }
    if (event->key() == Qt::Key_Backspace && m_rules.backspaceEmptiesCell) {
        item(row - 1, column)->setText(QString());
        return;
    }
    const TypedKey key = classifyTypedKey(event);
    if (key.kind == TypedKey::Kind::Character) {
        if (const std::optional<char> start = gridStartKey(m_rules, column, key.character)) {
            openEditor(start);
            return;
        }
    }
    QTableWidget::keyPressEvent(event);
}

void CodeGrid::mousePressEvent(QMouseEvent* event) {
    QTableWidget::mousePressEvent(event);
    const QModelIndex pressed = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && pressed.isValid() && pressed == currentIndex())
        openEditor(std::nullopt);
}

void CodeGrid::updateEditorGeometries() {
    QTableWidget::updateEditorGeometries();
    if (isEditorOpen())
        editor()->setGeometry(visualRect(model()->index(m_editRow - 1, m_editColumn)));
}

} // namespace norvik
