#include "app/dialogs/frm_radio.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/common/cell_editor.h"
#include "app/common/texts.h"
#include "app/common/typed_key.h"
#include "app/dialogs/prompt.h"
#include "core/strings/string_ids.h"

namespace norvik {
namespace {

// Digits, the point and the comma go in; Backspace and the caret keys do their own work.
bool dropPresetKey(QKeyEvent* e) {
    const TypedKey key = classifyTypedKey(e);
    if (key.kind != TypedKey::Kind::Character)
        return key.kind == TypedKey::Kind::Drop;
    return !presetEditorAccepts(key.character);
}

} // namespace

frmRadio::frmRadio(RadioDocument& document, Prompter& prompter, Language lang, QWidget* parent)
    : QDialog(parent), m_document(document), m_prompter(prompter), m_lang(lang), m_sep(localeDecimalSeparator()),
      m_presets(loadRadioPresets(document.image())),
      Frame1(new QGroupBox(qtext(ids::RadioCaption, lang) + qtext(ids::RadioChannel, lang), this)),
      Label1(new QLabel(qtext(ids::RadioChannel, lang), Frame1)), cboRadioCh(new QComboBox(Frame1)),
      MSRadioGrid(new QTableWidget(kPresetGridRows - 1, kPresetGridColumns, this)),
      m_editor(new CellEditor(MSRadioGrid, QStringLiteral("txtRadio"), dropPresetKey)), txtRadio(m_editor->box()),
      Command1(new QPushButton(qtext(ids::Ok, lang), this)), Command2(new QPushButton(qtext(ids::Cancel, lang), this)) {
    setObjectName(QStringLiteral("frmRadio"));
    setWindowTitle(qtext(ids::RadioCaption, lang));
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Label1->setObjectName(QStringLiteral("Label1"));
    cboRadioCh->setObjectName(QStringLiteral("cboRadioCh"));
    MSRadioGrid->setObjectName(QStringLiteral("MSRadioGrid"));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2->setObjectName(QStringLiteral("Command2"));

    for (int k = 1; k <= kRadioPresetCount; ++k)
        cboRadioCh->addItem(qtext(ids::HeaderChannel, lang) + QString::number(k));
    cboRadioCh->setCurrentIndex(m_presets.selected);
    cboRadioCh->installEventFilter(this);
    auto* frameLayout = new QHBoxLayout(Frame1);
    frameLayout->addWidget(Label1);
    frameLayout->addWidget(cboRadioCh, 1);

    MSRadioGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MSRadioGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    MSRadioGrid->setTabKeyNavigation(false);
    MSRadioGrid->setWordWrap(false);
    MSRadioGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MSRadioGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MSRadioGrid->verticalHeader()->hide();
    QHeaderView* header = MSRadioGrid->horizontalHeader();
    header->setSectionsClickable(false);
    header->setSectionResizeMode(QHeaderView::Fixed);
    const QString numberHeader = qtext(ids::RadioCaption, lang) + qtext(ids::HeaderChannel, lang);
    const QString frequencyHeader = qtext(ids::Frequency, lang) + QStringLiteral("(MHz)");
    const QFontMetrics fm = header->fontMetrics();
    const int pad = 2 * fm.averageCharWidth() + 8;
    const int numberWidth = qMax(fm.horizontalAdvance(numberHeader), fm.horizontalAdvance(QStringLiteral("25"))) + pad;
    const int frequencyWidth =
        qMax(fm.horizontalAdvance(frequencyHeader), fm.horizontalAdvance(QStringLiteral("107.97500"))) + pad;
    int width = 2 * MSRadioGrid->frameWidth();
    for (int c = 0; c < kPresetGridColumns; ++c) {
        const bool number = c % 2 == 0;
        MSRadioGrid->setHorizontalHeaderItem(c, new QTableWidgetItem(number ? numberHeader : frequencyHeader));
        MSRadioGrid->setColumnWidth(c, number ? numberWidth : frequencyWidth);
        width += number ? numberWidth : frequencyWidth;
    }
    const int rowHeight = fm.height() + 8;
    MSRadioGrid->verticalHeader()->setDefaultSectionSize(rowHeight);
    header->setFixedHeight(rowHeight);
    MSRadioGrid->setFixedSize(width, (kPresetGridRows)*rowHeight + 2 * MSRadioGrid->frameWidth());
    fillGrid();

    MSRadioGrid->installEventFilter(this);
    connect(m_editor, &CellEditor::enterPressed, this, &frmRadio::editorEnter);
    connect(m_editor, &CellEditor::escapePressed, this, &frmRadio::cancelEdit);
    connect(m_editor, &CellEditor::left, this, &frmRadio::commitEdit);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addWidget(MSRadioGrid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(MSRadioGrid, &QTableWidget::cellClicked, this, [this](int row, int column) {
        const PresetCell cell{row + 1, column};
        if (presetAtFrequencyCell(cell) != 0)
            startEdit(cell, std::nullopt);
    });
    connect(Command1, &QPushButton::clicked, this, &frmRadio::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
}

void frmRadio::fillGrid() {
    for (int row = 1; row < kPresetGridRows; ++row) {
        for (int column = 0; column < kPresetGridColumns; ++column) {
            const PresetCell cell{row, column};
            auto* item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            item->setTextAlignment(Qt::AlignCenter);
            if (const int number = presetAtNumberCell(cell))
                item->setText(QString::number(number));
            else if (const int preset = presetAtFrequencyCell(cell))
                item->setText(qstr(frequencyText(m_presets.frequencies[static_cast<std::size_t>(preset - 1)], m_sep)));
            else if (column % 2 == 0)
                item->setBackground(palette().button());
            MSRadioGrid->setItem(row - 1, column, item);
        }
    }
}

QString frmRadio::cellText(PresetCell cell) const {
    const QTableWidgetItem* item = MSRadioGrid->item(cell.row - 1, cell.column);
    return item ? item->text() : QString();
}

PresetCell frmRadio::currentCell() const {
    return {MSRadioGrid->currentRow() + 1, MSRadioGrid->currentColumn()};
}

void frmRadio::setCurrentCell(PresetCell cell) {
    MSRadioGrid->setCurrentCell(cell.row - 1, cell.column);
}

void frmRadio::startEdit(PresetCell cell, std::optional<char> typed) {
    if (m_editing)
        commitEdit();
    setCurrentCell(cell);
    m_editing = cell;
    m_editor->open(MSRadioGrid->visualItemRect(MSRadioGrid->item(cell.row - 1, cell.column)),
                   typed ? QString(QLatin1Char(*typed)) : cellText(cell), typed.has_value());
}

void frmRadio::commitEdit() {
    if (!m_editing)
        return;
    const PresetCell cell = *m_editing;
    m_editing.reset();
    const PresetEntry entry = presetFromText(m_editor->close().toStdString());
    m_presets.frequencies[static_cast<std::size_t>(presetAtFrequencyCell(cell) - 1)] = entry.value;
    MSRadioGrid->item(cell.row - 1, cell.column)->setText(qstr(frequencyText(entry.value, m_sep)));
    if (entry.outOfRange)
        m_prompter.message(this, QMessageBox::Warning, QString::fromLatin1(kProductName),
                           qtext(ids::FrequencyOutOfRange, m_lang), QMessageBox::Ok, QMessageBox::Ok);
}

void frmRadio::cancelEdit() {
    m_editing.reset();
    m_editor->close();
}

void frmRadio::moveOn(PresetCell from) {
    MSRadioGrid->setFocus(Qt::OtherFocusReason);
    if (const std::optional<PresetCell> next = presetCellAfterEnter(from))
        setCurrentCell(*next);
    else
        focusNextChild();
}

void frmRadio::Command1_Click() {
    commitEdit();
    m_presets.selected = cboRadioCh->currentIndex();
    const RadioPresets presets = m_presets;
    m_document.edit(ids::RadioCaption, [&presets](RadioImage& image) { saveRadioPresets(image, presets); });
    accept();
}

bool frmRadio::gridKey(QKeyEvent* e) {
    if (isEnterKey(e->key())) {
        moveOn(currentCell());
        return true;
    }
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier) || e->text().size() != 1)
        return false;
    const QChar c = e->text().at(0);
    if (c < QLatin1Char('0') || c > QLatin1Char('9') || presetAtFrequencyCell(currentCell()) == 0)
        return false;
    startEdit(currentCell(), c.toLatin1());
    return true;
}

void frmRadio::editorEnter() {
    const PresetCell from = *m_editing;
    commitEdit();
    moveOn(from);
}

bool frmRadio::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* e = static_cast<QKeyEvent*>(event);
    if (watched == MSRadioGrid)
        return gridKey(e);
    if (watched == cboRadioCh && isEnterKey(e->key())) {
        setCurrentCell({1, 1});
        MSRadioGrid->setFocus(Qt::OtherFocusReason);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace norvik
