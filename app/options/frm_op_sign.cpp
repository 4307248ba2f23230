#include "app/options/frm_op_sign.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QStackedLayout>
#include <QTreeWidget>

#include "app/common/texts.h"
#include "app/options/common_set_page.h"
#include "app/options/dtmf_page.h"
#include "app/options/five_tone_page.h"
#include "app/options/function_setting_page.h"
#include "app/options/msk_page.h"
#include "app/options/option_line_edit.h"
#include "app/options/ptt_id_page.h"
#include "app/options/two_tone_page.h"
#include "core/strings/string_ids.h"

namespace norvik {
namespace {

constexpr int kKeyRole = Qt::UserRole;

struct PageNode {
    const char* key;
    const char* parent;
    int captionId; // 0: the fixed text below
    const char* fixedCaption;
    int page; // -1 for a top node
};
// In the order the nodes are added.
constexpr PageNode kNodes[] = {
    {"B", "", ids::MainSet, nullptr, -1},
    {"B0", "B", ids::FunctionSetting, nullptr, 5},
    {"B1", "B", ids::PttIdSetting, nullptr, 6},
    {"C", "", ids::OptionSignal, nullptr, -1},
    {"C0", "C", ids::CommonSet, nullptr, 0},
    {"C1", "C", ids::Dtmf, nullptr, 1},
    {"C2", "C", 0, "MSK", 2},
    {"C3", "C", ids::TwoTone, nullptr, 3},
    {"C4", "C", ids::FiveTone, nullptr, 4},
};

// The group that loads and saves a page: the PTT ID page belongs to the Function Setting's.
int groupOf(int page) {
    return page == PttIdPage::kPageIndex ? FunctionSettingPage::kPageIndex : page;
}

} // namespace

FrmOpSign::FrmOpSign(RadioDocument& document, Language lang, QWidget* parent)
    : QDialog(parent), m_document(document), m_lang(lang) {
    setObjectName(QStringLiteral("FrmOpSign"));
    setWindowTitle(qtext(ids::OptionalFeaturesCaption, lang));

    TreeOPS = new QTreeWidget(this);
    TreeOPS->setObjectName(QStringLiteral("TreeOPS"));
    TreeOPS->setHeaderHidden(true);
    TreeOPS->setAccessibleName(qtext(ids::AccessibleOptionPages, m_lang));
    for (const PageNode& n : kNodes) {
        const QString caption = n.captionId ? qtext(n.captionId, lang) : QString::fromLatin1(n.fixedCaption);
        QTreeWidgetItem* parentNode = node(QString::fromLatin1(n.parent));
        auto* item = parentNode ? new QTreeWidgetItem(parentNode) : new QTreeWidgetItem(TreeOPS);
        item->setText(0, caption);
        item->setData(0, kKeyRole, QString::fromLatin1(n.key));
    }
    TreeOPS->expandAll();
    TreeOPS->setItemsExpandable(false);
    int widest = 0;
    for (QTreeWidgetItemIterator it(TreeOPS); *it; ++it)
        widest = qMax(widest, TreeOPS->fontMetrics().horizontalAdvance((*it)->text(0)));
    // Room for the widest caption at the children's indent, with a margin either side.
    TreeOPS->setFixedWidth(widest + 4 * TreeOPS->indentation());

    FraOPS = new QGroupBox(qtext(ids::OptionSignal, lang), this);
    FraOPS->setObjectName(QStringLiteral("FraOPS"));
    m_stack = new QStackedLayout(FraOPS);
    for (int i = 0; i < kPageCount; ++i) {
        FraOp[static_cast<std::size_t>(i)] = makePage(i);
        m_stack->addWidget(page(i));
        connect(page(i), &OptionPage::saveFocusRequested, this, [this] { cmdOps(0)->setFocus(Qt::TabFocusReason); });
    }

    const int captions[] = {ids::OptionsSave, ids::OptionsReset, ids::OptionsClose};
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (int i = 0; i < 3; ++i) {
        auto* b = new QPushButton(qtext(captions[i], lang), this);
        b->setObjectName(QStringLiteral("CmdOps"));
        b->setProperty("index", i);
        // No default button: Enter follows each field's own rule and presses a button only when
        // that button has the focus.
        b->setAutoDefault(false);
        b->installEventFilter(this);
        connect(b, &QPushButton::clicked, this, [this, i] { CmdOps_Click(i); });
        buttons->addWidget(b);
        CmdOps[static_cast<std::size_t>(i)] = b;
    }

    auto* body = new QHBoxLayout;
    body->addWidget(TreeOPS);
    body->addWidget(FraOPS, 1);
    auto* top = new QVBoxLayout(this);
    top->addLayout(body, 1);
    top->addLayout(buttons);
    top->setSizeConstraint(QLayout::SetFixedSize);

    for (int i = 0; i < 2; ++i)
        setTabOrder(cmdOps(i), cmdOps(i + 1));

    connect(TreeOPS, &QTreeWidget::itemClicked, this, &FrmOpSign::TreeOPS_NodeClick);
    // The keyboard reaches pages too; a top node it rests on keeps the page shown.
    connect(TreeOPS, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item && item->parent())
            TreeOPS_NodeClick(item);
    });

    for (int group = 0; group < kPageCount; ++group)
        LoadPage(group);
    TreeOPS_NodeClick(node(QStringLiteral("B0")));
    static_cast<FunctionSettingPage*>(page(kFunctionSettingPage))->firstField()->setFocus();
}

OptionPage* FrmOpSign::makePage(int index) {
    switch (index) {
    case CommonSetPage::kPageIndex:
        return new CommonSetPage(m_lang, FraOPS);
    case FunctionSettingPage::kPageIndex:
        return new FunctionSettingPage(m_document, m_lang, FraOPS);
    case PttIdPage::kPageIndex:
        return new PttIdPage(m_lang, FraOPS);
    case DtmfPageWidget::kPageIndex:
        return new DtmfPageWidget(m_lang, FraOPS);
    case MskPageWidget::kPageIndex:
        return new MskPageWidget(m_lang, FraOPS);
    case TwoTonePageWidget::kPageIndex:
        return new TwoTonePageWidget(m_lang, FraOPS);
    case FiveTonePageWidget::kPageIndex:
        return new FiveTonePageWidget(m_lang, FraOPS);
    default:
        return new OptionPage(index, FraOPS);
    }
}

QTreeWidgetItem* FrmOpSign::node(const QString& key) const {
    if (key.isEmpty())
        return nullptr;
    for (QTreeWidgetItemIterator it(TreeOPS); *it; ++it) {
        if ((*it)->data(0, kKeyRole).toString() == key)
            return *it;
    }
    return nullptr;
}

void FrmOpSign::LoadPage(int group) {
    const RadioImage& image = m_document.image();
    for (OptionPage* p : FraOp) {
        if (groupOf(p->index()) == group)
            p->load(image);
    }
}

void FrmOpSign::SavePage(int group, RadioImage& image) {
    for (OptionPage* p : FraOp) {
        if (groupOf(p->index()) == group)
            p->save(image);
    }
}

void FrmOpSign::CmdOps_Click(int index) {
    switch (index) {
    case 0:
        // Alt+S presses Save without taking the focus from the field being typed in: its text is
        // checked as leaving it would check it, so what is stored is what the field then shows.
        if (auto* field = qobject_cast<OptionLineEdit*>(focusWidget()))
            field->commit();
        m_document.edit(ids::OptionalFeaturesCaption, [this](RadioImage& image) {
            for (int group = 0; group < kPageCount; ++group)
                SavePage(group, image);
        });
        emit saved();
        break;
    case 1:
        for (int group = 0; group < kPageCount; ++group)
            LoadPage(group);
        break;
    default:
        close();
        break;
    }
}

void FrmOpSign::TreeOPS_NodeClick(QTreeWidgetItem* item) {
    if (!item)
        return;
    const QString key = item->data(0, kKeyRole).toString();
    QString chosen = key;
    if (!item->parent()) // a top node chooses its first child
        chosen = key == QLatin1String("B") ? QStringLiteral("B0") : QStringLiteral("C0");
    QTreeWidgetItem* target = node(chosen);
    if (target != TreeOPS->currentItem())
        TreeOPS->setCurrentItem(target);
    for (const PageNode& n : kNodes) {
        if (chosen == QLatin1String(n.key))
            showPage(n.page, target->text(0));
    }
}

void FrmOpSign::showPage(int index, const QString& caption) {
    m_pageIndex = index;
    FraOPS->setTitle(caption);
    m_stack->setCurrentIndex(index);
}

bool FrmOpSign::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        auto* button = qobject_cast<QPushButton*>(watched);
        if (button && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            button->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace norvik
