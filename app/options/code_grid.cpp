#include "options/code_grid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>

#include "common/cell_editor.h"
#include "common/texts.h"
#include "common/typed_key.h"

namespace norvik {

CodeGrid::CodeGrid(const GridEditorRules& rules, const char* editorName, int editorIndex,
                   const std::vector<Column>& columns, QWidget* parent)
    : QTableWidget(rules.rows - 1, rules.columns, parent), m_rules(rules), m_editor(new QLineEdit(viewport())) {
    setUpCellGrid(this);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalHeader()->hide();
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

    m_editor->setObjectName(QString::fromLatin1(editorName));
    if (editorIndex >= 0)
        m_editor->setProperty("index", editorIndex);
    m_editor->setFrame(false);
    m_editor->setAlignment(Qt::AlignCenter);
    // Codes are typed key by key through the rules: no input method, drops or paste menu.
    m_editor->setAttribute(Qt::WA_InputMethodEnabled, false);
    m_editor->setAcceptDrops(false);
    m_editor->setContextMenuPolicy(Qt::NoContextMenu);
    m_editor->hide();
    m_editor->installEventFilter(this);

    setCurrentCell(0, 1);
}

CodeGrid::~CodeGrid() {
    m_open = false;
    m_editor->removeEventFilter(this);
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
    if (m_open)
        closeEditor();
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
    m_open = true;
    showCellEditor(m_editor, visualRect(currentIndex()), m_savedText, startKey);
}

void CodeGrid::closeEditor() {
    m_open = false;
    if (m_editor->hasFocus())
        setFocus(Qt::OtherFocusReason);
    m_editor->hide();
}

void CodeGrid::cancelEditor() {
    item(m_editRow - 1, m_editColumn)->setText(m_savedText);
    closeEditor();
    setFocus(Qt::OtherFocusReason);
}

void CodeGrid::commitEditor() {
    if (!m_open)
        return;
    const QString typed = m_editor->text();
    closeEditor();
    commit(m_editRow, m_editColumn, typed);
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
    const auto length = static_cast<std::size_t>(m_editor->text().size());
    const auto selected = static_cast<std::size_t>(m_editor->selectedText().size());
    const std::optional<char> taken = gridEditorKey(m_rules, m_editColumn, key.character, length, selected);
    if (taken && *taken != key.character)
        m_editor->insert(QString(QLatin1Char(*taken))); // typed in lower case, goes in upper case
    return !taken || *taken != key.character;
}

bool CodeGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_editor)
        return QTableWidget::eventFilter(watched, event);
    if (isMiddleButton(event))
        return true;
    // Leaving the editor keeps what was typed.
    if (event->type() == QEvent::FocusOut && m_open && leavesField(static_cast<QFocusEvent*>(event)))
        commitEditor();
    if (event->type() != QEvent::KeyPress)
        return QTableWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (isEnterKey(key->key())) {
        const int row = m_editRow;
        const int column = m_editColumn;
        const QString typed = m_editor->text();
        closeEditor();
        commitAndMove(row, column, typed);
        return true;
    }
    if (key->key() == Qt::Key_Escape) {
        cancelEditor();
        return true;
    }
    return filterEditorKey(key);
}

void CodeGrid::keyPressEvent(QKeyEvent* event) {
    if (m_open) {
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
    if (m_open)
        m_editor->setGeometry(visualRect(model()->index(m_editRow - 1, m_editColumn)));
}

} // namespace norvik
