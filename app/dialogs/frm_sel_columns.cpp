#include "app/dialogs/frm_sel_columns.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QPushButton>

#include "app/common/texts.h"
#include "app/common/twips.h"
#include "core/strings/string_ids.h"

namespace norvik {
namespace {

constexpr int kClientHeightTwips = 2955;
constexpr int kBoxesPerColumn = 7;

} // namespace

frmSelColumns::frmSelColumns(ChannelTable& table, Language lang, QWidget* parent) : QDialog(parent), m_table(table) {
    setObjectName(QStringLiteral("frmSelColumns"));
    setWindowTitle(qtext(ids::VisibleColumnsCaption, lang));
    const auto twips = [this](int t) { return twipsToPixels(t, logicalDpiY()); };

    for (int i = 0; i < kTableColumns; ++i) {
        auto* box = new QCheckBox(qtext(columnHeaderId(i), lang), this);
        box->setObjectName(QStringLiteral("ColumnSel"));
        box->setProperty("index", i);
        box->setChecked(i >= 1 && table.isColumnVisible(i));
        box->installEventFilter(this);
        ColumnSel[static_cast<std::size_t>(i)] = box;
    }
    CmdOk = new QPushButton(qtext(ids::Ok, lang), this);
    CmdOk->setObjectName(QStringLiteral("CmdOk"));
    CmdCancel = new QPushButton(qtext(ids::Cancel, lang), this);
    CmdCancel->setObjectName(QStringLiteral("CmdCancel"));
    Command1 = new QPushButton(qtext(ids::SelectAll, lang), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(qtext(ids::Inverse, lang), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    CmdOk->setDefault(true);

    // Fixed places: boxes 2-8 and 9-15 in two columns, the buttons on the right; boxes 0, 1 and
    // 16 lie under the bottom edge, out of sight, where only Select All and Inverse reach them.
    const int margin = twips(180);
    int boxWidth = 0, rowPitch = twips(360);
    for (QCheckBox* b : ColumnSel) {
        boxWidth = qMax(boxWidth, b->sizeHint().width());
        rowPitch = qMax(rowPitch, b->sizeHint().height() + twips(60));
    }
    int buttonWidth = twips(1200);
    for (QPushButton* b : {CmdOk, CmdCancel, Command1, Command2})
        buttonWidth = qMax(buttonWidth, b->sizeHint().width());
    const int clientHeight = qMax(twips(kClientHeightTwips), 2 * margin + kBoxesPerColumn * rowPitch);
    for (int i = 2; i <= kLastBox; ++i) {
        const int column = (i - 2) / kBoxesPerColumn;
        const int row = (i - 2) % kBoxesPerColumn;
        ColumnSel[static_cast<std::size_t>(i)]->setGeometry(margin + column * (boxWidth + margin),
                                                            margin + row * rowPitch, boxWidth, rowPitch);
    }
    const int below = clientHeight + margin;
    int left = margin;
    for (int i : {0, 1, kTableColumns - 1}) {
        QCheckBox* box = ColumnSel[static_cast<std::size_t>(i)];
        box->setGeometry(left, below, boxWidth, rowPitch);
        box->setFocusPolicy(Qt::NoFocus); // Tab must not wander onto a box nobody can see
        left += boxWidth + margin;
    }
    const int buttonsLeft = margin + 2 * (boxWidth + margin);
    int y = margin;
    for (QPushButton* b : {CmdOk, CmdCancel, Command1, Command2}) {
        b->setGeometry(buttonsLeft, y, buttonWidth, b->sizeHint().height());
        y += b->sizeHint().height() + twips(120);
    }
    setFixedSize(buttonsLeft + buttonWidth + margin, clientHeight);

    connect(CmdOk, &QPushButton::clicked, this, &frmSelColumns::CmdOk_Click);
    connect(CmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(Command1, &QPushButton::clicked, this, &frmSelColumns::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmSelColumns::Command2_Click);
}

void frmSelColumns::Command1_Click() {
    for (int i = kFirstBox; i <= kLastBox; ++i)
        columnBox(i)->setChecked(true);
}

void frmSelColumns::Command2_Click() {
    for (int i = kFirstBox; i <= kLastBox; ++i)
        columnBox(i)->setChecked(!columnBox(i)->isChecked());
}

void frmSelColumns::CmdOk_Click() {
    for (int i = kFirstBox; i <= kLastBox; ++i)
        m_table.setColumnVisible(i, columnBox(i)->isChecked());
    accept();
}

bool frmSelColumns::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && qobject_cast<QCheckBox*>(watched)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace norvik
