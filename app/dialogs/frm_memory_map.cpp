#include "app/dialogs/frm_memory_map.h"

#include <QAbstractTableModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include "app/common/cell_editor.h"
#include "app/common/typed_key.h"
#include "core/strings/string_ids.h"

namespace norvik {

// Shows the dialog's copy of the image; view row r is image row r, view column c is byte c.
class MemoryMapModel : public QAbstractTableModel {
public:
    MemoryMapModel(const RadioImage& copy, QObject* parent) : QAbstractTableModel(parent), m_copy(copy) {}

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : kRowCount; }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : kRowSize; }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid())
            return {};
        if (role == Qt::DisplayRole)
            return QString::fromStdString(hexByteText(m_copy.byte(index.row(), index.column())));
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter); // the header reads an int
        if (role != Qt::DisplayRole)
            return {};
        return QString::fromStdString(orientation == Qt::Horizontal ? memoryMapColumnLabel(section)
                                                                    : memoryMapRowLabel(section));
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

    void byteChanged(int address) {
        const QModelIndex i = index(address / kRowSize, address % kRowSize);
        emit dataChanged(i, i);
    }

private:
    const RadioImage& m_copy;
};

namespace {

constexpr int kVisibleRows = 17; // the header and 16 image rows
constexpr int kWidthUnits = 19;  // two for the row labels, one per byte, one for the scroll bar

} // namespace

frmMemoryMap::frmMemoryMap(RadioDocument& document, QWidget* parent)
    : QDialog(parent), m_document(document), m_copy(document.image()), m_model(new MemoryMapModel(m_copy, this)),
      msgMemory(new QTableView(this)),
      m_editor(new CellEditor(msgMemory, QStringLiteral("txtMemory"), [this](QKeyEvent* e) { return editorKey(e); })),
      txtMemory(m_editor->box()), lblAddr(new QLabel(this)), lblEquals(new QLabel(QStringLiteral("="), this)),
      LblValue(new QLabel(this)), cmdOK(new QPushButton(QStringLiteral("&OK"), this)),
      cmdCancel(new QPushButton(QStringLiteral("&Cancel"), this)) {
    setObjectName(QStringLiteral("frmMemoryMap"));
    setWindowTitle(QStringLiteral("Memory Map"));
    msgMemory->setObjectName(QStringLiteral("msgMemory"));
    lblAddr->setObjectName(QStringLiteral("lblAddr"));
    LblValue->setObjectName(QStringLiteral("LblValue"));
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    msgMemory->setModel(m_model);
    msgMemory->setEditTriggers(QAbstractItemView::NoEditTriggers);
    msgMemory->setSelectionMode(QAbstractItemView::SingleSelection);
    msgMemory->setTabKeyNavigation(false);
    msgMemory->setCornerButtonEnabled(false);
    msgMemory->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    msgMemory->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    msgMemory->setWordWrap(false);
    for (QHeaderView* h : {msgMemory->horizontalHeader(), msgMemory->verticalHeader()}) {
        h->setSectionsClickable(false);
        h->setSectionResizeMode(QHeaderView::Fixed);
        h->setDefaultAlignment(Qt::AlignCenter);
        h->setMinimumSectionSize(0);
    }
    const QFontMetrics fm = msgMemory->fontMetrics();
    const int frame = msgMemory->frameWidth();
    const int scrollBar = msgMemory->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, msgMemory);
    const int unit = qMax(fm.horizontalAdvance(QStringLiteral("FF")) + 12, scrollBar + 2);
    const int rowHeight = fm.height() + 6;
    msgMemory->verticalHeader()->setFixedWidth(2 * unit);
    msgMemory->verticalHeader()->setDefaultSectionSize(rowHeight);
    msgMemory->horizontalHeader()->setDefaultSectionSize(unit);
    msgMemory->horizontalHeader()->setFixedHeight(rowHeight);
    msgMemory->setFixedSize(kWidthUnits * unit + 2 * frame, kVisibleRows * rowHeight + 2 * frame);

    msgMemory->installEventFilter(this);
    connect(m_editor, &CellEditor::enterPressed, this, &frmMemoryMap::editorEnter);
    connect(m_editor, &CellEditor::escapePressed, this, &frmMemoryMap::cancelEdit);
    connect(m_editor, &CellEditor::left, this, &frmMemoryMap::leaveEditor);

    lblAddr->setText(QStringLiteral("0000"));
    lblAddr->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("0000")) + 8);
    lblAddr->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LblValue->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("0000")) + 8);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblAddr);
    bottom->addWidget(lblEquals);
    bottom->addWidget(LblValue);
    bottom->addStretch();
    bottom->addWidget(cmdOK);
    bottom->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(msgMemory);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(msgMemory->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex&, const QModelIndex&) { showCurrentCell(); });
    connect(msgMemory, &QTableView::clicked, this, [this](const QModelIndex& index) {
        startEdit({index.row() + 1, index.column() + 1}, std::nullopt);
    });
    // Scrolling leaves the editor over a cell it no longer belongs to: the edit is dropped.
    connect(msgMemory->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (m_editing)
            cancelEdit();
    });
    connect(cmdOK, &QPushButton::clicked, this, &frmMemoryMap::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    setCurrentCell({1, 1});
    msgMemory->setFocus();
}

QString frmMemoryMap::cellText(MapCell cell) const {
    return m_model->index(cell.row - 1, cell.column - 1).data().toString();
}

MapCell frmMemoryMap::currentCell() const {
    const QModelIndex i = msgMemory->currentIndex();
    return {i.row() + 1, i.column() + 1};
}

void frmMemoryMap::setCurrentCell(MapCell cell) {
    msgMemory->setCurrentIndex(m_model->index(cell.row - 1, cell.column - 1));
}

void frmMemoryMap::showCurrentCell() {
    const int address = memoryMapAddress(currentCell());
    lblAddr->setText(QString::fromStdString(memoryMapAddressText(address)));
    LblValue->setText(QString::number(m_copy.at(address)));
}

void frmMemoryMap::startEdit(MapCell cell, std::optional<char> typed) {
    if (m_editing)
        leaveEditor();
    setCurrentCell(cell);
    const QModelIndex index = m_model->index(cell.row - 1, cell.column - 1);
    msgMemory->scrollTo(index);
    m_editing = cell;
    m_editor->open(msgMemory->visualRect(index), typed ? QString(QLatin1Char(*typed)) : cellText(cell),
                   typed.has_value());
}

void frmMemoryMap::leaveEditor() {
    if (!m_editing)
        return;
    const int address = memoryMapAddress(*m_editing);
    m_editing.reset();
    m_copy.set(address, hexCellValue(m_editor->close().toStdString()));
    m_model->byteChanged(address);
    showCurrentCell();
}

void frmMemoryMap::cancelEdit() {
    m_editing.reset();
    m_editor->close();
    msgMemory->setFocus(Qt::OtherFocusReason);
}

void frmMemoryMap::cmdOK_Click() {
    leaveEditor();
    const RadioImage copy = m_copy;
    m_document.edit(ids::MemoryMapChange, [&copy](RadioImage& image) { image = copy; });
    accept();
}

bool frmMemoryMap::gridKey(QKeyEvent* e) {
    if (isEnterKey(e->key())) {
        startEdit(currentCell(), std::nullopt);
        return true;
    }
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier) || e->text().size() != 1)
        return false;
    const char16_t u = e->text().at(0).unicode();
    const std::optional<char> digit = u < 0x80 ? hexDigitKey(static_cast<char>(u)) : std::nullopt;
    if (!digit)
        return false;
    startEdit(currentCell(), digit);
    return true;
}

void frmMemoryMap::editorEnter() {
    const MapCell from = *m_editing;
    leaveEditor();
    setCurrentCell(memoryMapCellAfterEnter(from));
}

bool frmMemoryMap::editorKey(QKeyEvent* e) {
    const TypedKey key = classifyTypedKey(e);
    if (key.kind != TypedKey::Kind::Character)
        return key.kind == TypedKey::Kind::Drop;
    const auto length = static_cast<std::size_t>(txtMemory->text().size());
    const auto selected = static_cast<std::size_t>(txtMemory->selectedText().size());
    if (const std::optional<char> digit = hexEditorKey(key.character, length, selected))
        txtMemory->insert(QString(QLatin1Char(*digit)));
    return true;
}

bool frmMemoryMap::eventFilter(QObject* watched, QEvent* event) {
    if (watched == msgMemory && event->type() == QEvent::KeyPress)
        return gridKey(static_cast<QKeyEvent*>(event));
    return QDialog::eventFilter(watched, event);
}

} // namespace norvik
