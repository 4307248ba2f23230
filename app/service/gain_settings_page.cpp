#include "app/service/gain_settings_page.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>
#include <algorithm>

#include "app/common/accessible_names.h"
#include "app/common/filtered_line_edit.h"
#include "app/common/texts.h"
#include "core/service/value_entry.h"
#include "core/strings/string_ids.h"

namespace norvik {
namespace {

constexpr int kFrames = 4;
constexpr int kFrameCaptions[kFrames] = {ids::Wide, ids::Narrow, ids::CompandWide, ids::CompandNarrow};
constexpr int kColumnLabels[4] = {ids::DiscInputGain, ids::AudioOutputGain, ids::MicInputGain, ids::ModOutputGain};
constexpr int kFineLabels[kFineValueCount] = {
    ids::FineOutputGain,  ids::FineOutputGainAudio, ids::OutputOffsetAudio,       ids::FineOutputGainMod,
    ids::OutputOffsetMod, ids::ToneTxLevel,         ids::FineOutputGainModCompand};

QStringList entries(GainList list, Language lang) {
    QStringList out;
    for (const std::string& e : gainListEntries(list, lang, localeDecimalSeparator()))
        out << qstr(e);
    return out;
}

} // namespace

GainSettingsPage::GainSettingsPage(Language lang, QWidget* parent) : QGroupBox(qtext(ids::ServiceGain, lang), parent) {
    setObjectName(QStringLiteral("fraAnalogue"));
    const QStringList inputs = entries(GainList::Input, lang);
    const QStringList outputs = entries(GainList::Output, lang);

    auto* lists = new QVBoxLayout;
    for (int f = 0; f < kFrames; ++f) {
        auto* frame = new QGroupBox(qtext(kFrameCaptions[f], lang), this);
        frame->setObjectName(QStringLiteral("fraGain"));
        auto* grid = new QGridLayout(frame);
        for (int c = 0; c < 4; ++c) {
            grid->addWidget(new QLabel(qtext(kColumnLabels[c], lang), frame), 0, c);
            // Left to right: disc input, audio output, mic input, mod output.
            const bool input = c % 2 == 0;
            const int k = 2 * f + c / 2;
            auto* combo = new QComboBox(frame);
            combo->setObjectName(QLatin1String(input ? "Cboinput" : "Cbooutput"));
            combo->setProperty("index", k);
            combo->addItems(input ? inputs : outputs);
            (input ? Cboinput : Cbooutput)[static_cast<std::size_t>(k)] = combo;
            grid->addWidget(combo, 1, c);
            connect(combo, &QComboBox::currentIndexChanged, this, [this] {
                if (!m_loading)
                    emit changed();
            });
        }
        lists->addWidget(frame);
    }
    lists->addStretch(1);

    auto* fine = new QGridLayout;
    for (int box = 0; box < kFineValueCount; ++box) {
        fine->addWidget(new QLabel(qtext(kFineLabels[box], lang), this), box, 0);
        auto* field = new FilteredLineEdit(this);
        field->setObjectName(QStringLiteral("Text1"));
        field->setProperty("index", box);
        field->takeDigitsOnly(kFineValueDigits);
        field->selectAllOnEntry();
        field->setFixedWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("0000000")));
        field->installEventFilter(this);
        Text1[static_cast<std::size_t>(box)] = field;
        connect(field, &QLineEdit::textChanged, this, [this] {
            if (!m_loading)
                emit changed();
        });
        auto* spin = makeUpDown(box);
        for (auto* arrow : spin->findChildren<QToolButton*>())
            setSteppedField(arrow, field, arrow->objectName() == QLatin1String("up"));
        auto* pair = new QHBoxLayout;
        pair->setSpacing(0);
        pair->addWidget(field);
        pair->addWidget(spin);
        fine->addLayout(pair, box, 1);
    }
    fine->setRowStretch(kFineValueCount, 1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(lists, 3);
    layout->addSpacing(12);
    layout->addLayout(fine, 2);

    // Tab goes through the lists frame by frame, then down the fine values.
    QWidget* previous = nullptr;
    for (int f = 0; f < kFrames; ++f) {
        for (QWidget* w : {static_cast<QWidget*>(Cboinput[2 * f]), static_cast<QWidget*>(Cbooutput[2 * f]),
                           static_cast<QWidget*>(Cboinput[2 * f + 1]), static_cast<QWidget*>(Cbooutput[2 * f + 1])}) {
            if (previous)
                setTabOrder(previous, w);
            previous = w;
        }
    }
    for (QLineEdit* field : Text1) {
        setTabOrder(previous, field);
        previous = field;
    }
}

QWidget* GainSettingsPage::makeUpDown(int box) {
    auto* spin = new QWidget(this);
    spin->setObjectName(QStringLiteral("UpDown1"));
    spin->setProperty("index", box);
    auto* column = new QVBoxLayout(spin);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    for (const auto& [arrow, delta] : {std::pair{Qt::UpArrow, 1}, std::pair{Qt::DownArrow, -1}}) {
        auto* b = new QToolButton(spin);
        b->setObjectName(QLatin1String(delta > 0 ? "up" : "down"));
        b->setArrowType(arrow);
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedSize(16, 11);
        column->addWidget(b);
        connect(b, &QToolButton::clicked, this, [this, box, delta] { Text1_Spin(box, delta); });
    }
    UpDown1[static_cast<std::size_t>(box)] = spin;
    return spin;
}

void GainSettingsPage::load(const GainPage& page) {
    m_loading = true;
    for (int i = 0; i < kGainListCount; ++i)
        (gainListAt(i) == GainList::Input ? Cboinput : Cbooutput)[static_cast<std::size_t>(i / 2)]->setCurrentIndex(
            page.lists[i]);
    for (int box = 0; box < kFineValueCount; ++box) {
        Text1[box]->setText(QString::number(page.fine[box]));
        UpDown1[box]->setProperty("value", page.fine[box]);
    }
    m_loading = false;
}

GainPage GainSettingsPage::page() const {
    GainPage page;
    for (int i = 0; i < kGainListCount; ++i)
        page.lists[i] = (gainListAt(i) == GainList::Input ? Cboinput : Cbooutput)[i / 2]->currentIndex();
    for (int box = 0; box < kFineValueCount; ++box)
        page.fine[box] = valueOfDigits(Text1[box]->text().toStdString());
    return page;
}

void GainSettingsPage::Text1_LostFocus(int box) {
    QLineEdit* field = Text1[static_cast<std::size_t>(box)];
    const int value = valueOfDigits(field->text().toStdString());
    const int left = fineOnLeave(box, value);
    if (left != value)
        field->setText(QString::number(left));
    UpDown1[static_cast<std::size_t>(box)]->setProperty("value", left);
}

void GainSettingsPage::leaveFocusedBox() {
    for (int box = 0; box < kFineValueCount; ++box) {
        if (Text1[static_cast<std::size_t>(box)]->hasFocus())
            Text1_LostFocus(box);
    }
}

void GainSettingsPage::Text1_Spin(int box, int delta) {
    QLineEdit* field = Text1[static_cast<std::size_t>(box)];
    const int value = fineSpin(box, valueOfDigits(field->text().toStdString()), delta);
    field->setText(QString::number(value));
    UpDown1[static_cast<std::size_t>(box)]->setProperty("value", value);
    field->selectAll();
}

bool GainSettingsPage::eventFilter(QObject* watched, QEvent* event) {
    const auto it = std::find(Text1.begin(), Text1.end(), watched);
    if (it == Text1.end())
        return QGroupBox::eventFilter(watched, event);
    const int box = static_cast<int>(it - Text1.begin());
    switch (event->type()) {
    case QEvent::FocusOut:
        Text1_LostFocus(box);
        break;
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (isEnterKey(key)) {
            if (box == kToneTxLevelBox)
                emit toneLevelEntered();
            else
                focusNextChild();
            return true;
        }
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Text1_Spin(box, key == Qt::Key_Up ? 1 : -1);
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QGroupBox::eventFilter(watched, event);
}

} // namespace norvik
