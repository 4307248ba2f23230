#include "app/editor/channel_grid.h"

#include <QAbstractButton>
#include <QAbstractTableModel>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QStyleOptionHeader>

#include "app/common/cell_editor.h"
#include "app/common/texts.h"
#include "app/common/twips.h"
#include "app/common/typed_key.h"
#include "app/dialogs/prompt.h"
#include "core/channels/frequency_rules.h"

namespace norvik {

// Mirrors the table's texts; it holds none of its own.
class ChannelTableModel : public QAbstractTableModel {
public:
    explicit ChannelTableModel(ChannelTable& table, QObject* parent) : QAbstractTableModel(parent), m_table(table) {}

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : kChannelCount; }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : kTableColumns - 1; }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid())
            return {};
        if (role == Qt::DisplayRole)
            return qstr(m_table.text(index.row() + 1, index.column() + 1));
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
        if (role != Qt::DisplayRole)
            return {};
        return orientation == Qt::Horizontal ? qstr(m_table.text(0, section + 1)) : qstr(m_table.text(section + 1, 0));
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

    void resetAll() {
        beginResetModel();
        endResetModel();
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    }
    void rowChanged(int channel) { rowsChanged(channel, channel); }
    void rowsChanged(int first, int last) { emit dataChanged(index(first - 1, 0), index(last - 1, columnCount() - 1)); }

private:
    ChannelTable& m_table;
};

namespace {

bool isEditShortcut(const QKeyEvent* e) {
    return (e->modifiers() & Qt::ControlModifier) && !(e->modifiers() & Qt::AltModifier) &&
           (e->key() == Qt::Key_C || e->key() == Qt::Key_V || e->key() == Qt::Key_D);
}

} // namespace

ChannelGrid::ChannelGrid(ChannelTable& table, Prompter& prompter, QWidget* parent)
    : QTableView(parent), m_table(table), m_prompter(prompter), m_model(new ChannelTableModel(table, this)),
      m_textEditor(new CellEditor(this, QStringLiteral("txtMemChannel"),
                                  [this](QKeyEvent* e) { return filterTextEditorKey(e); })),
      txtMemChannel(m_textEditor->box()), cboQtDqt(new QComboBox(viewport())), cboPowerScan(new QComboBox(viewport())) {
    setObjectName(QStringLiteral("ChannelGrid"));
    setModel(m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setSectionsClickable(false);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->viewport()->installEventFilter(this);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);

    // The corner cell above the channel numbers is the header of column 0.
    m_corner = findChild<QAbstractButton*>();
    if (m_corner)
        m_corner->installEventFilter(this);

    cboQtDqt->setObjectName(QStringLiteral("cboQtDqt"));
    cboPowerScan->setObjectName(QStringLiteral("cboPowerScan"));
    txtMemChannel->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(txtMemChannel, &QLineEdit::customContextMenuRequested, this,
            [this](const QPoint& pos) { emit editMenuRequested(txtMemChannel->mapToGlobal(pos)); });
    // After the cell editor's own filter, so that this one sees the keys first.
    for (QWidget* w :
         {static_cast<QWidget*>(txtMemChannel), static_cast<QWidget*>(cboQtDqt), static_cast<QWidget*>(cboPowerScan)}) {
        w->hide();
        w->installEventFilter(this);
    }
    for (QComboBox* combo : {cboQtDqt, cboPowerScan}) {
        connect(combo, &QComboBox::activated, this, [this, combo] {
            if (openEditorWidget() == combo && (QApplication::keyboardModifiers() & Qt::ControlModifier))
                commitToSelection();
        });
    }

    m_table.setDecimalSeparator(localeDecimalSeparator());
    fillToneList();
    applyColumnWidths();
    m_subscription = m_table.document().observe([this](const DocumentChange& c) { documentChanged(c); });
    m_currentSubscription = m_table.current().observe([this](CurrentCell::Move) { showCurrent(); });
    showCurrent();
}

void ChannelGrid::documentChanged(const DocumentChange& change) {
    if (change.kind == DocumentChange::Kind::Replace) {
        closeEditorUnsaved();
        // The table has already put the current cell back; a reset loses the view's.
        m_model->resetAll();
        showCurrent();
        return;
    }
    const int first = change.firstChannel();
    if (first == 0)
        return;
    int last = first;
    for (int n = first; n <= kChannelCount; ++n) {
        if (change.channels.test(static_cast<std::size_t>(n)))
            last = n;
    }
    m_model->rowsChanged(first, last);
    if (change.kind == DocumentChange::Kind::Undo || change.kind == DocumentChange::Kind::Redo)
        setCurrentCell(first, qMax(1, currentColumn()));
}

// Every command commits the editor before it changes anything; an editor still open when the
// image changes under it would write into a row that is no longer the one it showed.
void ChannelGrid::closeEditorUnsaved() {
    if (QWidget* editor = openEditorWidget()) {
        m_open = EditorKind::None;
        hideEditor(editor);
    }
}

// An editor with the focus gives it to the grid first: hiding it would pass the focus on as Tab does.
QString ChannelGrid::hideEditor(QWidget* editor) {
    if (editor == txtMemChannel)
        return m_textEditor->close();
    if (editor->hasFocus())
        setFocus(Qt::OtherFocusReason);
    editor->hide();
    return static_cast<QComboBox*>(editor)->currentText();
}

ChannelGrid::~ChannelGrid() {
    // Leaving with an editor open must not commit into a table that may be going away.
    m_open = EditorKind::None;
    for (QObject* o : {static_cast<QObject*>(txtMemChannel), static_cast<QObject*>(cboQtDqt),
                       static_cast<QObject*>(cboPowerScan), static_cast<QObject*>(m_corner)}) {
        if (o)
            o->removeEventFilter(this);
    }
}

QModelIndex ChannelGrid::indexOf(int channel, int column) const {
    return m_model->index(channel - 1, column - 1);
}

QRect ChannelGrid::cellRect(int channel, int column) const {
    return visualRect(indexOf(channel, column));
}

void ChannelGrid::fillToneList() {
    cboQtDqt->clear();
    for (const std::string& t : m_table.listEntries(col::Decode))
        cboQtDqt->addItem(qstr(t));
}

void ChannelGrid::applyColumnWidths() {
    auto px = [this](int twips) { return twipsToPixels(twips, logicalDpiX()); };
    verticalHeader()->setFixedWidth(px(m_table.widthTwips(col::Channel)));
    for (int c = 1; c < kTableColumns; ++c)
        setColumnWidth(c - 1, px(m_table.widthTwips(c)));
}

void ChannelGrid::setLanguage(Language lang) {
    commitEditor();
    m_table.setLanguage(lang);
    fillToneList();
    m_model->resetAll();
    if (m_corner)
        m_corner->update();
    showCurrent();
}

void ChannelGrid::setCurrentCell(int channel, int column) {
    if (!indexOf(channel, column).isValid())
        return;
    // Asked for again, a cell also loses a row selection around it and comes into view.
    if (channel == currentChannel() && column == currentColumn() && !m_table.current().hasSelection())
        showCurrent();
    else
        m_table.current().set(channel, column);
}

void ChannelGrid::showCurrent() {
    if (m_movingCurrent)
        return;
    const CurrentCell& cell = m_table.current();
    const QModelIndex index = indexOf(cell.channel(), cell.column());
    if (!index.isValid())
        return;
    QScopedValueRollback showing(m_showingCurrent, true);
    setCurrentIndex(index);
    if (cell.hasSelection()) {
        QItemSelection rows;
        for (int n = 1; n <= kChannelCount; ++n) {
            if (!cell.selected().test(static_cast<std::size_t>(n)))
                continue;
            int last = n;
            while (last < kChannelCount && cell.selected().test(static_cast<std::size_t>(last + 1)))
                ++last;
            rows.select(indexOf(n, 1), indexOf(last, kTableColumns - 1));
            n = last;
        }
        selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
    }
    scrollTo(index);
}

void ChannelGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (!current.isValid())
        return;
    const int channel = current.row() + 1;
    const int column = current.column() + 1;
    if (!m_showingCurrent) {
        QScopedValueRollback moving(m_movingCurrent, true);
        m_table.current().moveWithin(channel, column);
    }
    // Only the first six columns have topics of their own; elsewhere the last one stays.
    const int context = columnHelpContext(column);
    if (context != 0 && context != m_helpContext) {
        m_helpContext = context;
        emit helpContextChanged(context);
    }
}

QWidget* ChannelGrid::openEditorWidget() const {
    switch (m_open) {
    case EditorKind::Text:
        return txtMemChannel;
    case EditorKind::Tone:
        return cboQtDqt;
    case EditorKind::List:
        return cboPowerScan;
    case EditorKind::None:
        break;
    }
    return nullptr;
}

void ChannelGrid::updateEditorGeometries() {
    QTableView::updateEditorGeometries();
    if (QWidget* w = openEditorWidget())
        w->setGeometry(cellRect(m_editChannel, m_editColumn));
}

void ChannelGrid::setReadOnly(bool on) {
    if (on)
        commitEditor();
    m_readOnly = on;
}

void ChannelGrid::handle(const EditRequest& request) {
    if (m_readOnly && request.action == EditRequest::Action::OpenEditor)
        return;
    switch (request.action) {
    case EditRequest::Action::None:
        return;
    case EditRequest::Action::OpenPanel:
        emit alternatePanelRequested(currentChannel());
        return;
    case EditRequest::Action::OpenEditor:
        openEditor(request.column, request.initialText);
        return;
    }
}

void ChannelGrid::openEditor(int column, std::optional<char> initialText) {
    commitEditor();
    const int channel = currentChannel();
    if (column != currentColumn())
        m_table.current().moveWithin(channel, column);
    const EditorKind kind = editorKind(column);
    if (kind == EditorKind::None)
        return;
    scrollTo(indexOf(channel, column));
    m_editChannel = channel;
    m_editColumn = column;
    const QString remembered = qstr(m_table.text(channel, column));
    const QRect rect = cellRect(channel, column);

    if (kind == EditorKind::Text) {
        txtMemChannel->setMaxLength(column == col::Name ? kNameLength : 32767);
        m_open = kind;
        m_textEditor->open(rect, initialText ? QString(QLatin1Char(*initialText)) : remembered,
                           initialText.has_value());
        return;
    }
    QComboBox* combo = kind == EditorKind::Tone ? cboQtDqt : cboPowerScan;
    if (kind == EditorKind::List) {
        combo->clear();
        for (const std::string& entry : m_table.listEntries(column))
            combo->addItem(qstr(entry));
    }
    combo->setCurrentIndex(combo->findText(remembered));
    combo->setGeometry(rect);
    m_open = kind;
    combo->show();
    combo->setFocus(Qt::OtherFocusReason);
}

void ChannelGrid::commitEditor() {
    if (m_open == EditorKind::None || m_committing)
        return;
    QScopedValueRollback guard(m_committing, true);
    QWidget* editor = openEditorWidget();
    auto* combo = m_open == EditorKind::Text ? nullptr : static_cast<QComboBox*>(editor);
    m_open = EditorKind::None;
    const QString text = hideEditor(editor);
    // A list that opened on a text none of its entries matches was never chosen from.
    if (combo && combo->currentIndex() < 0)
        return;

    const CommitResult result = m_table.commitCell(m_editChannel, m_editColumn, text.toStdString());
    // Some texts change without a byte (an offset typed under duplex "Off"): no notice tells of them.
    if (result.anyChange())
        m_model->rowChanged(m_editChannel);
    if (result.noticeId != 0)
        m_prompter.message(window(), QMessageBox::Warning, QString::fromLatin1(kProductName),
                           qstr(commitNoticeText(result.noticeId, m_table.document().bandLimits(), m_table.language())),
                           QMessageBox::Ok, QMessageBox::Ok);
}

void ChannelGrid::cancelEditor() {
    QWidget* editor = openEditorWidget();
    if (!editor)
        return;
    m_open = EditorKind::None;
    setFocus(Qt::OtherFocusReason);
    hideEditor(editor);
}

bool ChannelGrid::commitToSelection() {
    QWidget* editor = openEditorWidget();
    if (!editor || m_committing || m_table.current().selectedCount() < 2 ||
        !m_table.current().selected().test(static_cast<std::size_t>(m_editChannel)))
        return false;
    QScopedValueRollback guard(m_committing, true);
    auto* combo = m_open == EditorKind::Text ? nullptr : static_cast<QComboBox*>(editor);
    m_open = EditorKind::None;
    const QString text = hideEditor(editor);
    setFocus(Qt::OtherFocusReason);
    if (!combo || combo->currentIndex() >= 0)
        emit selectionCommitRequested(m_editColumn, text);
    return true;
}

bool ChannelGrid::selectByClick(int channel, Qt::KeyboardModifiers modifiers) {
    if (channel < 1 || channel > kChannelCount)
        return false;
    commitEditor();
    if (modifiers & Qt::ShiftModifier)
        m_table.current().extendRows(channel);
    else if (modifiers & Qt::ControlModifier)
        m_table.current().toggleRow(channel);
    else
        m_table.current().selectRows(channel, channel);
    setFocus(Qt::MouseFocusReason);
    return true;
}

QItemSelectionModel::SelectionFlags ChannelGrid::selectionCommand(const QModelIndex& index, const QEvent* event) const {
    // Moving about inside a selection of several channels keeps it (the cell to commit into
    // every one of them is chosen that way); the rules for it are the current cell's.
    const CurrentCell& cell = m_table.current();
    if (index.isValid() && cell.selectedCount() > 1 && cell.selected().test(static_cast<std::size_t>(index.row() + 1)))
        return QItemSelectionModel::NoUpdate;
    return QTableView::selectionCommand(index, event);
}

void ChannelGrid::contextMenuEvent(QContextMenuEvent* e) {
    emit editMenuRequested(e->globalPos());
}

void ChannelGrid::commitAndMoveRight() {
    const int channel = m_editChannel;
    const int column = m_editColumn;
    commitEditor();
    setFocus(Qt::OtherFocusReason);
    setCurrentCell(channel, m_table.columnAfter(channel, column));
}

bool ChannelGrid::handleEditShortcut(const QKeyEvent* e) {
    if (!(e->modifiers() & Qt::ControlModifier) || (e->modifiers() & Qt::AltModifier))
        return false;
    switch (e->key()) {
    case Qt::Key_C:
        commitEditor();
        emit copyRequested();
        return true;
    case Qt::Key_V:
        commitEditor();
        emit pasteRequested();
        return true;
    case Qt::Key_D:
        commitEditor();
        emit clearRequested();
        return true;
    default:
        return false;
    }
}

bool ChannelGrid::event(QEvent* e) {
    // Ctrl+C/V/D belong to the grid's own copy, paste and clear, also when a window shortcut
    // shares the keys.
    if (e->type() == QEvent::ShortcutOverride && isEditShortcut(static_cast<QKeyEvent*>(e))) {
        e->accept();
        return true;
    }
    return QTableView::event(e);
}

bool ChannelGrid::filterTextEditorKey(QKeyEvent* e) {
    const TypedKey key = classifyTypedKey(e);
    if (key.kind != TypedKey::Kind::Character)
        return key.kind == TypedKey::Kind::Drop;
    const auto selected = static_cast<std::size_t>(txtMemChannel->selectedText().size());
    const auto length = static_cast<std::size_t>(txtMemChannel->text().size());
    return !ChannelTable::textEditorAccepts(m_editColumn, length, selected, key.character);
}

bool ChannelGrid::eventFilter(QObject* watched, QEvent* e) {
    if (watched == m_corner && e->type() == QEvent::Paint)
        return paintCorner(m_corner);
    if (watched == verticalHeader()->viewport()) {
        if (e->type() == QEvent::MouseButtonPress) {
            auto* mouse = static_cast<QMouseEvent*>(e);
            if (mouse->button() == Qt::LeftButton)
                return selectByClick(verticalHeader()->logicalIndexAt(mouse->position().toPoint()) + 1,
                                     mouse->modifiers());
        }
        if (e->type() == QEvent::ContextMenu) {
            emit editMenuRequested(static_cast<QContextMenuEvent*>(e)->globalPos());
            return true;
        }
        return QTableView::eventFilter(watched, e);
    }

    const bool isEditor = watched == txtMemChannel || watched == cboQtDqt || watched == cboPowerScan;
    if (!isEditor)
        return QTableView::eventFilter(watched, e);

    switch (e->type()) {
    case QEvent::ShortcutOverride:
        if (isEditShortcut(static_cast<QKeyEvent*>(e))) {
            e->accept();
            return true;
        }
        break;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(e);
        if (handleEditShortcut(key))
            return true;
        if (isEnterKey(key->key())) {
            if (!(key->modifiers() & Qt::ControlModifier) || !commitToSelection())
                commitAndMoveRight();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            cancelEditor();
            return true;
        }
        break;
    }
    case QEvent::FocusOut: {
        // A combo's own popup and a switch to another window are not leaving the editor.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(e)->reason();
        if (watched == openEditorWidget() && reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            commitEditor();
        break;
    }
    default:
        break;
    }
    return QTableView::eventFilter(watched, e);
}

void ChannelGrid::keyPressEvent(QKeyEvent* e) {
    if (handleEditShortcut(e))
        return;
    if (m_open != EditorKind::None) {
        e->ignore(); // keys an open editor passed on (its arrows) do not move the grid under it
        return;
    }
    const QModelIndex current = currentIndex();
    if (!current.isValid()) {
        QTableView::keyPressEvent(e);
        return;
    }
    const int channel = current.row() + 1;
    const int column = current.column() + 1;
    if ((e->modifiers() & Qt::ShiftModifier) && (e->key() == Qt::Key_Up || e->key() == Qt::Key_Down)) {
        m_table.current().extendRows(qBound(1, channel + (e->key() == Qt::Key_Up ? -1 : 1), kChannelCount));
        return;
    }
    if (isEnterKey(e->key())) {
        handle(m_table.enterRequest(channel, column));
        return;
    }
    if (!(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        std::optional<char> typed;
        const bool keypad = e->modifiers() & Qt::KeypadModifier;
        if (e->key() >= Qt::Key_0 && e->key() <= Qt::Key_9)
            typed = static_cast<char>('0' + (e->key() - Qt::Key_0));
        else if (e->key() == Qt::Key_Period || (keypad && e->key() == Qt::Key_Comma))
            typed = '.'; // both decimal keys
        else if (e->text().size() == 1 && e->text().at(0).unicode() >= 32 && e->text().at(0).unicode() <= 122)
            typed = static_cast<char>(e->text().at(0).unicode());
        if (typed) {
            const EditRequest request = m_table.typedRequest(channel, column, *typed);
            if (request.action != EditRequest::Action::None) {
                handle(request);
                return;
            }
        }
    }
    QTableView::keyPressEvent(e);
}

void ChannelGrid::mousePressEvent(QMouseEvent* e) {
    const QModelIndex at = indexAt(e->position().toPoint());
    if (e->button() == Qt::LeftButton && at.isValid() && (e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier))) {
        m_pressed = QModelIndex();
        selectByClick(at.row() + 1, e->modifiers());
        return;
    }
    QTableView::mousePressEvent(e);
    m_pressed = e->button() == Qt::LeftButton ? indexAt(e->position().toPoint()) : QModelIndex();
}

void ChannelGrid::mouseReleaseEvent(QMouseEvent* e) {
    QTableView::mouseReleaseEvent(e);
    const QModelIndex index = indexAt(e->position().toPoint());
    const bool click = e->button() == Qt::LeftButton && index.isValid() && index == m_pressed;
    m_pressed = QModelIndex();
    if (click && m_singleClick)
        handle(m_table.clickRequest(index.row() + 1, index.column() + 1));
}

void ChannelGrid::mouseDoubleClickEvent(QMouseEvent* e) {
    QTableView::mouseDoubleClickEvent(e);
    const QModelIndex index = indexAt(e->position().toPoint());
    if (e->button() == Qt::LeftButton && index.isValid() && !m_singleClick)
        handle(m_table.clickRequest(index.row() + 1, index.column() + 1));
}

bool ChannelGrid::paintCorner(QWidget* corner) {
    QPainter painter(corner);
    QStyleOptionHeader opt;
    opt.initFrom(corner);
    opt.rect = corner->rect();
    opt.text = qstr(m_table.text(0, col::Channel));
    opt.textAlignment = Qt::AlignCenter;
    opt.position = QStyleOptionHeader::OnlyOneSection;
    opt.orientation = Qt::Horizontal;
    // The button is disabled (it would select everything); its caption must not look it.
    opt.state |= QStyle::State_Raised | QStyle::State_Enabled;
    opt.palette.setCurrentColorGroup(QPalette::Active);
    style()->drawControl(QStyle::CE_Header, &opt, &painter, corner);
    return true;
}

} // namespace norvik
