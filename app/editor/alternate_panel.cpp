#include "app/editor/alternate_panel.h"

#include <algorithm>

#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QShowEvent>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/common/accessible_names.h"
#include "app/common/filtered_line_edit.h"
#include "app/common/texts.h"
#include "app/common/typed_key.h"
#include "app/dialogs/prompt.h"
#include "app/editor/channel_up_down.h"
#include "core/channels/channel_edits.h"
#include "core/channels/frequency_rules.h"
#include "core/strings/string_ids.h"

namespace norvik {

AlternatePanel::AlternatePanel(ChannelTable& table, Prompter& prompter, QWidget* parent)
    : QWidget(parent), m_table(table), m_prompter(prompter), m_language(table.language()) {
    setObjectName(QStringLiteral("PicGUI"));
    // It lies over the grid, which must not show through.
    setAutoFillBackground(true);
    build();
    applyCaptions();
    m_subscription = m_table.document().observe([this](const DocumentChange& c) { documentChanged(c); });
    m_currentSubscription = m_table.current().observe([this](CurrentCell::Move m) { currentMoved(m); });
}

// A new image is shown through the refill of the rows, which the table has told before this.
void AlternatePanel::documentChanged(const DocumentChange& change) {
    if (m_committing || !isVisible() || change.kind == DocumentChange::Kind::Replace)
        return;
    const int c = shownChannel();
    if (change.channels.test(static_cast<std::size_t>(c)))
        showChannel(c);
}

void AlternatePanel::currentMoved(CurrentCell::Move move) {
    if (!isVisible())
        return;
    if (move == CurrentCell::Move::Refilled) {
        // The rows were rebuilt under the panel: it stays on the channel in its field, and the
        // grid under it goes there too.
        const int c = typedChannel();
        m_table.current().set(c, col::Rx);
        showChannel(c);
        return;
    }
    const int c = m_table.currentChannel();
    if (c >= 1 && c != shownChannel())
        showChannel(c);
}

void AlternatePanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A window coming back from the task bar is no new showing: what is typed stays.
    if (event->spontaneous())
        return;
    int c = m_table.currentChannel();
    if (c < 1) {
        c = 1;
        m_table.current().set(c, qMax(1, m_table.currentColumn()));
    }
    showChannel(c);
}

AlternatePanel::~AlternatePanel() {
    // Focus moving away while the widgets go must not commit into a table that may be gone.
    m_committing = true;
}

bool AlternatePanel::focusNextPrevChild(bool next) {
    const auto at = std::find(m_tabOrder.begin(), m_tabOrder.end(), focusWidget());
    if (at == m_tabOrder.end())
        return QWidget::focusNextPrevChild(next);
    const int count = static_cast<int>(m_tabOrder.size());
    int i = static_cast<int>(at - m_tabOrder.begin());
    for (int step = 0; step < count; ++step) {
        i = (i + (next ? 1 : count - 1)) % count;
        QWidget* w = m_tabOrder[static_cast<std::size_t>(i)];
        if (w->isVisible() && w->isEnabled()) {
            w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return true;
}

void AlternatePanel::build() {
    auto label = [this](const char* name, int id) {
        auto* l = new QLabel(this);
        l->setObjectName(QString::fromLatin1(name));
        m_captions.push_back({l, id});
        return l;
    };
    auto lineEdit = [this](const char* name) {
        auto* e = new FilteredLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->selectAllOnEntry();
        e->setKeyRule([this, e](QKeyEvent* key) { return filterTextKey(e, key); });
        e->installEventFilter(this);
        return e;
    };
    auto combo = [this](const char* name) {
        auto* c = new QComboBox(this);
        c->setObjectName(QString::fromLatin1(name));
        c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        c->installEventFilter(this);
        return c;
    };

    LblChannelGUI = label("LblChannelGUI", columnHeaderId(col::Channel));
    TxtChannelGUI = lineEdit("TxtChannelGUI");
    TxtChannelGUI->setMaxLength(3);
    UDChannelGUI = new ChannelUpDown(this);
    UDChannelGUI->setObjectName(QStringLiteral("UDChannelGUI"));
    for (auto* arrow : UDChannelGUI->findChildren<QToolButton*>())
        setSteppedField(arrow, TxtChannelGUI, arrow->objectName().endsWith(QLatin1String("_Up")));
    LblRxFreqGUI = label("LblRxFreqGUI", columnHeaderId(col::Rx));
    TxtRxFreqGUI = lineEdit("TxtRxFreqGUI");
    LblTxFreqGUI = label("LblTxFreqGUI", columnHeaderId(col::Tx));
    TxtTxFreqGUI = lineEdit("TxtTxFreqGUI");
    LblOffsetFreqGUI = label("LblOffsetFreqGUI", columnHeaderId(col::Offset));
    TxtOffsetFreqGUI = lineEdit("TxtOffsetFreqGUI");
    LblChNameGUI = label("LblChNameGUI", columnHeaderId(col::Name));
    TxtChNameGUI = lineEdit("TxtChNameGUI");
    TxtChNameGUI->setMaxLength(kNameLength);

    fraQtDqtGUI = new QGroupBox(QStringLiteral("QT/DQT"), this); // the same in both languages
    fraQtDqtGUI->setObjectName(QStringLiteral("fraQtDqtGUI"));
    LblDecodeGUI = label("LblDecodeGUI", columnHeaderId(col::Decode));
    CboDecodeGUI = combo("CboDecodeGUI");
    LblEncodeGUI = label("LblEncodeGUI", columnHeaderId(col::Encode));
    CboEncodeGUI = combo("CboEncodeGUI");

    CboTxPowerGUI = combo("CboTxPowerGUI");
    CboScanGUI = combo("CboScanGUI");
    CboWNGUI = combo("CboWNGUI");
    CboBCLGUI = combo("CboBCLGUI");
    CboPttIDGUI = combo("CboPttIDGUI");
    CboVoxGUI = combo("CboVoxGUI");
    CboOptionGUI = combo("CboOptionGUI");
    CboSCRGroupGUI = combo("CboSCRGroupGUI");
    CboDuplexGUI = combo("CboDuplexGUI");
    m_lists = {
        {CboTxPowerGUI, col::Power, std::nullopt},        {CboScanGUI, col::Scan, std::nullopt},
        {CboWNGUI, col::Bandwidth, std::nullopt},         {CboBCLGUI, col::Bcl, RecordField::Bcl},
        {CboPttIDGUI, col::PttId, RecordField::PttId},    {CboVoxGUI, col::Vox, RecordField::Vox},
        {CboOptionGUI, col::Option, RecordField::Option}, {CboSCRGroupGUI, col::Scrambler, RecordField::ScramblerGroup},
    };

    fraSignalGUI = new QGroupBox(this);
    fraSignalGUI->setObjectName(QStringLiteral("fraSignalGUI"));
    m_captions.push_back({fraSignalGUI, ids::OptionSignal});
    const int signalLabelIds[4] = {ids::SignalType, columnHeaderId(col::Encode), columnHeaderId(col::Decode),
                                   ids::AutoResponse};
    for (int i = 0; i < 4; ++i) {
        QLabel* l = label("LblSignalGUI", signalLabelIds[i]);
        l->setProperty("index", i);
        LblSignalGUI[static_cast<std::size_t>(i)] = l;
    }
    for (int i = 0; i < 3; ++i) {
        QComboBox* c = combo("CboSignalGUI");
        c->setProperty("index", i);
        CboSignalGUI[static_cast<std::size_t>(i)] = c;
    }
    // The encode/decode pair of the signal frame has no use on this panel.
    for (QWidget* w : {static_cast<QWidget*>(LblSignalGUI[1]), static_cast<QWidget*>(LblSignalGUI[2]),
                       static_cast<QWidget*>(CboSignalGUI[2])})
        w->hide();

    CmdClearGUI = new QPushButton(this);
    CmdClearGUI->setObjectName(QStringLiteral("CmdClearGUI"));
    CmdCloseGUI = new QPushButton(QStringLiteral(">>"), this);
    CmdCloseGUI->setObjectName(QStringLiteral("CmdCloseGUI"));

    // Layout: the channel and its frequencies on the left, the list settings in the middle,
    // the tone and signalling frames with the two buttons on the right.
    auto* channelRow = new QHBoxLayout;
    channelRow->setSpacing(0);
    channelRow->addWidget(TxtChannelGUI);
    channelRow->addWidget(UDChannelGUI);

    auto* left = new QGridLayout;
    int row = 0;
    left->addWidget(LblChannelGUI, row, 0);
    left->addLayout(channelRow, row++, 1);
    auto addRow = [](QGridLayout* grid, int& r, QWidget* l, QWidget* field) {
        grid->addWidget(l, r, 0);
        grid->addWidget(field, r++, 1);
    };
    addRow(left, row, LblRxFreqGUI, TxtRxFreqGUI);
    addRow(left, row, LblTxFreqGUI, TxtTxFreqGUI);
    addRow(left, row, LblOffsetFreqGUI, TxtOffsetFreqGUI);
    addRow(left, row, label("LblDuplexGUI", columnHeaderId(col::Duplex)), CboDuplexGUI);
    addRow(left, row, LblChNameGUI, TxtChNameGUI);

    auto* middle = new QGridLayout;
    row = 0;
    addRow(middle, row, label("LblTxPowerGUI", columnHeaderId(col::Power)), CboTxPowerGUI);
    addRow(middle, row, label("LblScanGUI", columnHeaderId(col::Scan)), CboScanGUI);
    addRow(middle, row, label("LblWNGUI", columnHeaderId(col::Bandwidth)), CboWNGUI);
    addRow(middle, row, label("LblBCLGUI", columnHeaderId(col::Bcl)), CboBCLGUI);
    addRow(middle, row, label("LblPttIDGUI", columnHeaderId(col::PttId)), CboPttIDGUI);
    addRow(middle, row, label("LblVoxGUI", columnHeaderId(col::Vox)), CboVoxGUI);
    addRow(middle, row, label("LblOptionGUI", columnHeaderId(col::Option)), CboOptionGUI);
    addRow(middle, row, label("LblSCRGroupGUI", columnHeaderId(col::Scrambler)), CboSCRGroupGUI);

    auto* tones = new QGridLayout(fraQtDqtGUI);
    row = 0;
    addRow(tones, row, LblDecodeGUI, CboDecodeGUI);
    addRow(tones, row, LblEncodeGUI, CboEncodeGUI);

    auto* signal = new QGridLayout(fraSignalGUI);
    row = 0;
    addRow(signal, row, LblSignalGUI[0], CboSignalGUI[0]);
    addRow(signal, row, LblSignalGUI[1], CboSignalGUI[2]);
    addRow(signal, row, LblSignalGUI[3], CboSignalGUI[1]);
    signal->addWidget(LblSignalGUI[2], row, 0);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CmdClearGUI);
    buttons->addWidget(CmdCloseGUI);

    auto* right = new QVBoxLayout;
    right->setSpacing(12);
    right->addWidget(fraQtDqtGUI);
    right->addWidget(fraSignalGUI);
    right->addLayout(buttons);
    right->addStretch(1);

    // Child layouts would take over the wide gap between the columns as their own spacing.
    for (QGridLayout* g : {left, middle, tones, signal}) {
        g->setHorizontalSpacing(12);
        g->setVerticalSpacing(8);
    }
    auto* columns = new QHBoxLayout;
    columns->setSpacing(32);
    for (QLayout* l : {static_cast<QLayout*>(left), static_cast<QLayout*>(middle)}) {
        auto* column = new QVBoxLayout;
        column->addLayout(l);
        column->addStretch(1);
        columns->addLayout(column);
    }
    columns->addLayout(right);
    columns->addStretch(1);
    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(16, 16, 16, 16);
    top->addLayout(columns);
    top->addStretch(1);
    UDChannelGUI->setFixedHeight(TxtChannelGUI->sizeHint().height());

    // Column by column, top to bottom, as the controls stand.
    m_tabOrder = {TxtChannelGUI,   TxtRxFreqGUI,   TxtTxFreqGUI, TxtOffsetFreqGUI, CboDuplexGUI,    TxtChNameGUI,
                  CboTxPowerGUI,   CboScanGUI,     CboWNGUI,     CboBCLGUI,        CboPttIDGUI,     CboVoxGUI,
                  CboOptionGUI,    CboSCRGroupGUI, CboDecodeGUI, CboEncodeGUI,     CboSignalGUI[0], CboSignalGUI[2],
                  CboSignalGUI[1], CmdClearGUI,    CmdCloseGUI};
    for (std::size_t i = 1; i < m_tabOrder.size(); ++i)
        setTabOrder(m_tabOrder[i - 1], m_tabOrder[i]);

    connect(UDChannelGUI, &ChannelUpDown::valueChanged, this, &AlternatePanel::selectorChanged);
    for (const ListControl& l : m_lists)
        connect(l.combo, &QComboBox::activated, this, [this, l] { listChosen(l); });
    connect(CboDuplexGUI, &QComboBox::activated, this, &AlternatePanel::duplexChosen);
    connect(CboDecodeGUI, &QComboBox::activated, this, [this] { toneChosen(CboDecodeGUI, col::Decode); });
    connect(CboEncodeGUI, &QComboBox::activated, this, [this] { toneChosen(CboEncodeGUI, col::Encode); });
    connect(CboSignalGUI[0], &QComboBox::activated, this, &AlternatePanel::signalTypeChosen);
    connect(CboSignalGUI[1], &QComboBox::activated, this, &AlternatePanel::autoResponseChosen);
    connect(CmdClearGUI, &QPushButton::clicked, this, &AlternatePanel::clearRequested);
    connect(CmdCloseGUI, &QPushButton::clicked, this, &AlternatePanel::closeRequested);
}

void AlternatePanel::applyCaptions() {
    m_language = m_table.language();
    for (const Caption& c : m_captions) {
        if (auto* l = qobject_cast<QLabel*>(c.widget))
            l->setText(qtext(c.id, m_language));
        else if (auto* g = qobject_cast<QGroupBox*>(c.widget))
            g->setTitle(qtext(c.id, m_language));
    }
    CmdClearGUI->setText(qtext(ids::ClearChannel, m_language));
    fillLists();
}

void AlternatePanel::recaption() {
    // Shown, the panel has already taken the language with the rebuilt rows.
    if (m_language != m_table.language())
        applyCaptions();
}

void AlternatePanel::fillLists() {
    auto refill = [](QComboBox* combo, const std::vector<std::string>& entries) {
        combo->clear();
        for (const std::string& e : entries)
            combo->addItem(qstr(e));
        combo->setCurrentIndex(-1);
    };
    refill(CboDecodeGUI, m_table.listEntries(col::Decode));
    refill(CboEncodeGUI, m_table.listEntries(col::Encode));
    refill(CboDuplexGUI, m_table.listEntries(col::Duplex));
    for (const ListControl& l : m_lists)
        refill(l.combo, m_table.listEntries(l.column));
    refill(CboSignalGUI[0], fieldEntries(RecordField::SignalType, m_language));
    refill(CboSignalGUI[1], fieldEntries(RecordField::AutoResponse, m_language));
}

int AlternatePanel::typedChannel() const {
    bool ok = false;
    const int n = TxtChannelGUI->text().toInt(&ok);
    if (!ok)
        return UDChannelGUI->value();
    return qBound(1, n, kChannelCount);
}

void AlternatePanel::setComboText(QComboBox* combo, const std::string& text) {
    combo->setCurrentIndex(combo->findText(qstr(text)));
}

void AlternatePanel::setComboEntry(QComboBox* combo, int entry) {
    combo->setCurrentIndex(entry < combo->count() ? entry : -1);
}

void AlternatePanel::setReadOnly(bool on) {
    if (on)
        commitFocusedField();
    m_readOnly = on;
    showChannel(m_shown);
}

void AlternatePanel::setControlsEnabled(bool enabled) {
    TxtRxFreqGUI->setReadOnly(m_readOnly);
    for (QWidget* w : findChildren<QWidget*>()) {
        if (w == TxtChannelGUI || w == UDChannelGUI || w == TxtRxFreqGUI || w == CmdCloseGUI ||
            w->parentWidget() == UDChannelGUI || qobject_cast<QLabel*>(w) || qobject_cast<QGroupBox*>(w))
            continue;
        // Read-only text stays readable and selectable; a list or a button is simply off.
        if (auto* field = qobject_cast<QLineEdit*>(w)) {
            field->setReadOnly(m_readOnly);
            w->setEnabled(enabled);
        } else {
            w->setEnabled(enabled && !m_readOnly);
        }
    }
}

void AlternatePanel::showChannel(int c) {
    m_shown = c;
    if (m_language != m_table.language())
        applyCaptions();
    {
        const QSignalBlocker block(UDChannelGUI);
        UDChannelGUI->setValue(c);
    }
    TxtChannelGUI->setText(QString::number(c));
    TxtRxFreqGUI->setText(qstr(m_table.text(c, col::Rx)));

    if (m_table.isEmpty(c)) {
        disableChannel();
    } else {
        setControlsEnabled(true);
        setComboText(CboDecodeGUI, m_table.text(c, col::Decode));
        refreshTransmitControls();
        TxtChNameGUI->setText(qstr(m_table.text(c, col::Name)));
        // Showing a channel writes nothing: the lists only take the values the record holds.
        const RadioImage& image = m_table.document().image();
        for (const ListControl& l : m_lists) {
            if (l.field)
                setComboEntry(l.combo, fieldEntryIndex(*l.field, fieldValue(image, c, *l.field)));
            else
                setComboText(l.combo, m_table.text(c, l.column));
        }
        setComboEntry(CboSignalGUI[0], signalTypeEntry(image, c));
        showAutoResponse(isFiveTone(signalTypeEntry(image, c)));
    }
    TxtRxFreqGUI->selectAll();
    // What Esc puts back is this channel's text, not the one a field showed before the selector
    // moved under it.
    for (QLineEdit* field :
         std::initializer_list<QLineEdit*>{TxtRxFreqGUI, TxtTxFreqGUI, TxtOffsetFreqGUI, TxtChNameGUI})
        static_cast<FilteredLineEdit*>(field)->rememberText();
}

void AlternatePanel::disableChannel() {
    setControlsEnabled(false);
    for (QLineEdit* e : {TxtTxFreqGUI, TxtOffsetFreqGUI, TxtChNameGUI})
        e->clear();
    for (QComboBox* c : findChildren<QComboBox*>())
        c->setCurrentIndex(-1);
    showAutoResponse(false);
}

void AlternatePanel::refreshTransmitControls() {
    const int c = shownChannel();
    TxtTxFreqGUI->setText(qstr(m_table.text(c, col::Tx)));
    const bool transmits = m_table.hasTransmit(c);
    CboEncodeGUI->setEnabled(transmits && !m_readOnly);
    if (transmits)
        setComboText(CboEncodeGUI, m_table.text(c, col::Encode));
    else
        CboEncodeGUI->setCurrentIndex(-1);
    TxtOffsetFreqGUI->setText(qstr(m_table.text(c, col::Offset)));
    setComboEntry(CboDuplexGUI, duplexEntry(m_table.duplex(c)));
}

void AlternatePanel::showAutoResponse(bool fiveTone) {
    LblSignalGUI[3]->setVisible(fiveTone);
    CboSignalGUI[1]->setVisible(fiveTone);
    if (!fiveTone)
        return;
    const QSignalBlocker block(CboSignalGUI[1]);
    CboSignalGUI[1]->clear();
    for (const std::string& e : fieldEntries(RecordField::AutoResponse, m_language))
        CboSignalGUI[1]->addItem(qstr(e));
    setComboEntry(CboSignalGUI[1], fieldValue(m_table.document().image(), shownChannel(), RecordField::AutoResponse));
}

void AlternatePanel::notice(const CommitResult& result) {
    if (result.noticeId != 0)
        m_prompter.message(window(), QMessageBox::Warning, QString::fromLatin1(kProductName),
                           qstr(commitNoticeText(result.noticeId, m_table.document().bandLimits(), m_language)),
                           QMessageBox::Ok, QMessageBox::Ok);
}

// --- Commits ----------------------------------------------------------------------------------

void AlternatePanel::commitFocusedField() {
    QWidget* focus = focusWidget();
    if (!focus || !focus->hasFocus())
        return;
    if (focus == TxtChannelGUI)
        commitChannelField();
    else if (auto* field = qobject_cast<QLineEdit*>(focus))
        commitField(field);
}

void AlternatePanel::commitField(QLineEdit* field) {
    const int c = shownChannel();
    if (m_committing || m_readOnly || c < 1 || c > kChannelCount)
        return;
    QScopedValueRollback guard(m_committing, true);
    const std::string text = field->text().toStdString();
    CommitResult result;
    const int label = ids::ChangePanelEdit;
    if (field == TxtRxFreqGUI) {
        if (text != m_table.text(c, col::Rx))
            result = m_table.commitReceive(c, text, label);
        if (m_table.isEmpty(c))
            disableChannel();
        else
            showChannel(c);
    } else if (field == TxtTxFreqGUI) {
        if (text != m_table.text(c, col::Tx))
            result = m_table.commitTransmit(c, text, label);
        refreshTransmitControls();
    } else if (field == TxtOffsetFreqGUI) {
        if (text != m_table.text(c, col::Offset))
            result = m_table.commitOffset(c, text, label);
        refreshTransmitControls();
    } else if (field == TxtChNameGUI) {
        if (field->text() != qstr(m_table.text(c, col::Name)))
            result = m_table.commitName(c, text, label);
        TxtChNameGUI->setText(qstr(m_table.text(c, col::Name)));
    } else {
        return;
    }
    notice(result);
}

void AlternatePanel::commitChannelField() {
    bool ok = false;
    const int typed = TxtChannelGUI->text().toInt(&ok);
    // No number at all: the field shows the channel it had.
    const int n = ok ? qBound(1, typed, kChannelCount) : UDChannelGUI->value();
    TxtChannelGUI->setText(QString::number(n));
    UDChannelGUI->setValue(n);
}

void AlternatePanel::selectorChanged(int n) {
    // The up-down never takes the focus, so a field typed into is still open on the old channel.
    if (QWidget* focus = focusWidget(); focus && focus != TxtChannelGUI && focus->hasFocus())
        commitFocusedField();
    m_table.current().set(n, qMax(1, m_table.currentColumn()));
}

void AlternatePanel::listChosen(const ListControl& control) {
    const int c = shownChannel();
    const QString text = control.combo->currentText();
    if (text.isEmpty() || m_table.isEmpty(c))
        return;
    QScopedValueRollback guard(m_committing, true);
    m_table.commitList(c, control.column, text.toStdString(), ids::ChangePanelEdit);
}

void AlternatePanel::duplexChosen() {
    const int c = shownChannel();
    const std::optional<Duplex> duplex = duplexOfEntry(CboDuplexGUI->currentIndex());
    if (!duplex || m_table.isEmpty(c))
        return;
    CommitResult result;
    {
        QScopedValueRollback guard(m_committing, true);
        result = m_table.commitDuplex(c, *duplex, ids::ChangePanelEdit);
    }
    refreshTransmitControls();
    notice(result);
}

void AlternatePanel::toneChosen(QComboBox* combo, int column) {
    const int c = shownChannel();
    const QString text = combo->currentText();
    if (text.isEmpty() || m_table.isEmpty(c))
        return;
    QScopedValueRollback guard(m_committing, true);
    m_table.commitTone(c, column, text.toStdString(), ids::ChangePanelEdit);
}

void AlternatePanel::signalTypeChosen() {
    const int c = shownChannel();
    const int entry = CboSignalGUI[0]->currentIndex();
    if (entry < 0 || m_table.isEmpty(c))
        return;
    {
        QScopedValueRollback guard(m_committing, true);
        m_table.edit(ids::ChangePanelEdit, [&](RadioImage& img) { setSignalType(img, c, entry); });
    }
    showAutoResponse(isFiveTone(entry));
}

void AlternatePanel::autoResponseChosen() {
    const int c = shownChannel();
    const int entry = CboSignalGUI[1]->currentIndex();
    if (entry < 0 || m_table.isEmpty(c) || !isFiveTone(CboSignalGUI[0]->currentIndex()))
        return;
    QScopedValueRollback guard(m_committing, true);
    m_table.edit(ids::ChangePanelEdit, [&](RadioImage& img) { setAutoResponse(img, c, entry); });
}

// --- Keys and focus ---------------------------------------------------------------------------

bool AlternatePanel::filterTextKey(QLineEdit* field, QKeyEvent* key) {
    const TypedKey typed = classifyTypedKey(key);
    if (typed.kind != TypedKey::Kind::Character)
        return typed.kind == TypedKey::Kind::Drop;
    const char c = typed.character;
    if (field == TxtChannelGUI)
        return c < '0' || c > '9';
    const int column = field == TxtRxFreqGUI   ? col::Rx
                       : field == TxtTxFreqGUI ? col::Tx
                       : field == TxtChNameGUI ? col::Name
                                               : col::Offset;
    const auto selected = static_cast<std::size_t>(field->selectedText().size());
    const auto length = static_cast<std::size_t>(field->text().size());
    return !ChannelTable::panelFieldAccepts(column, length, selected, c);
}

bool AlternatePanel::eventFilter(QObject* watched, QEvent* event) {
    auto* field = qobject_cast<QLineEdit*>(watched);
    auto* combo = qobject_cast<QComboBox*>(watched);
    if (!field && !combo)
        return QWidget::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (isEnterKey(key->key())) {
            focusNextChild();
            return true;
        }
        if (!field)
            break;
        if (key->key() == Qt::Key_Escape) {
            static_cast<FilteredLineEdit*>(field)->restoreEntered();
            return true;
        }
        if (field == TxtChannelGUI && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
            bool ok = false;
            int shown = TxtChannelGUI->text().toInt(&ok);
            if (!ok)
                shown = UDChannelGUI->value();
            const int next = ChannelUpDown::wrapped(shown + (key->key() == Qt::Key_Up ? 1 : -1));
            TxtChannelGUI->setText(QString::number(next));
            UDChannelGUI->setValue(next);
            TxtChannelGUI->selectAll();
            return true;
        }
        break;
    }
    case QEvent::FocusOut: {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (field && reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            if (field == TxtChannelGUI)
                commitChannelField();
            else
                commitField(field);
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace norvik
