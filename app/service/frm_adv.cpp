#include "app/service/frm_adv.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>

#include "app/common/screen_fit.h"
#include "app/common/texts.h"
#include "app/dialogs/prompt.h"
#include "app/service/freq_set_page.h"
#include "app/service/gain_settings_page.h"
#include "app/service/grid_cell_editor.h"
#include "app/service/tuning_pages.h"
#include "app/transfer/transfer_host.h"
#include "app/transfer/transfer_ports.h"
#include "core/service/gain_page.h"
#include "core/service/tuning_page.h"
#include "core/strings/string_ids.h"
#include "transport/byte_link.h"
#include "transport/clone_runner.h"
#include "transport/transfer_record.h"

namespace norvik {
namespace {

constexpr int kKeyRole = Qt::UserRole;
constexpr int kButtonCaptions[4] = {ids::ServiceRead, ids::ServiceWrite, ids::ServiceClose, ids::ServiceApply};
// The undo step an Apply of each group makes.
constexpr int kGroupLabels[frmAdv::kGroupCount] = {ids::ServiceFreqSet, ids::ServiceGain, ids::ServiceTuning};

QTreeWidgetItem* node(QTreeWidgetItem* parent, const QString& key, const QString& caption) {
    auto* item = new QTreeWidgetItem(parent, {caption});
    item->setData(0, kKeyRole, key);
    return item;
}

} // namespace

frmAdv::frmAdv(RadioDocument& document, Prompter& prompter, TransferPorts& ports, Language lang, QWidget* parent)
    : QDialog(parent), m_document(document), m_prompter(prompter), m_ports(ports), m_language(lang) {
    setObjectName(QStringLiteral("frmAdv"));
    setWindowTitle(qtext(ids::ServiceCaption, lang));
    setWindowIcon(QApplication::windowIcon());

    TreeAdv = new QTreeWidget(this);
    TreeAdv->setObjectName(QStringLiteral("TreeAdv"));
    TreeAdv->setHeaderHidden(true);
    TreeAdv->setAccessibleName(qtext(ids::AccessibleOptionPages, lang));
    buildTree();

    PicSet = new QWidget(this);
    PicSet->setObjectName(QStringLiteral("PicSet"));
    fraFreq = new FreqSetPage(lang, PicSet);
    fraAnalogue = new GainSettingsPage(lang, PicSet);
    auto* set = new QVBoxLayout(PicSet);
    set->setContentsMargins(0, 0, 0, 0);
    set->addWidget(fraFreq);
    set->addWidget(fraAnalogue);
    PicDev = new TuningPages(lang, this);

    auto* pages = new QWidget(this);
    auto* pagesLayout = new QVBoxLayout(pages);
    pagesLayout->setContentsMargins(0, 0, 0, 0);
    pagesLayout->addWidget(PicSet);
    pagesLayout->addWidget(PicDev);
    ImgSplit = new QSplitter(Qt::Horizontal, this);
    ImgSplit->setObjectName(QStringLiteral("ImgSplit"));
    ImgSplit->addWidget(TreeAdv);
    ImgSplit->addWidget(pages);
    ImgSplit->setStretchFactor(1, 1);
    TreeAdv->resizeColumnToContents(0);
    const int treeWidth = TreeAdv->columnWidth(0) + 2 * TreeAdv->frameWidth() + 8;
    ImgSplit->setSizes({treeWidth, 940 - treeWidth});

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    prgLink = new QProgressBar(this);
    prgLink->setObjectName(QStringLiteral("prgLink"));
    CmdLinkCancel = new QPushButton(qtext(ids::Cancel, lang), this);
    CmdLinkCancel->setObjectName(QStringLiteral("CmdLinkCancel"));
    connect(CmdLinkCancel, &QPushButton::clicked, this, [this] {
        CmdLinkCancel->setEnabled(false); // one request is enough; the link winds down by itself
        m_runner->cancel();
    });
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Label2);
    bottom->addWidget(prgLink, 1);
    bottom->addWidget(CmdLinkCancel);
    bottom->addStretch(1);
    for (int i = 0; i < 4; ++i) {
        auto* b = new QPushButton(qtext(kButtonCaptions[i], lang), this);
        b->setObjectName(QStringLiteral("CmdAdv"));
        b->setProperty("index", i);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, i] { CmdAdv_Click(i); });
        bottom->addWidget(b);
        CmdAdv[static_cast<std::size_t>(i)] = b;
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ImgSplit, 1);
    layout->addLayout(bottom);
    showLinkRunning(false);

    connect(fraFreq, &FreqSetPage::changed, this, [this] { markChanged(Group::BandLimits); });
    connect(fraAnalogue, &GainSettingsPage::changed, this, [this] { markChanged(Group::Gains); });
    connect(PicDev, &TuningPages::changed, this, [this] { markChanged(Group::Tuning); });
    connect(fraAnalogue, &GainSettingsPage::toneLevelEntered, this, [this] { CmdAdv[Apply]->setFocus(); });
    connect(PicDev, &TuningPages::lastCellEntered, this, [this] { CmdAdv[Apply]->setFocus(); });
    connect(TreeAdv, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        if (!m_switching && current)
            TreeAdv_NodeClick(current);
    });
    // A click on a parent node makes its child current while the press is still selecting the
    // parent; once the press is done the highlight follows the current item.
    connect(TreeAdv, &QTreeWidget::itemPressed, this, [this] {
        if (QTreeWidgetItem* current = TreeAdv->currentItem(); current && !current->isSelected())
            TreeAdv->setCurrentItem(current);
    });

    loadAllPages();
    m_subscription = m_document.observe([this](const DocumentChange& change) { documentChanged(change); });
    m_switching = true;
    TreeAdv->setCurrentItem(TreeAdv->topLevelItem(0)->child(0));
    m_switching = false;
    showPage(Group::BandLimits);
    resizeWithinScreen(this, QSize(940, 680));
}

frmAdv::~frmAdv() = default;

void frmAdv::buildTree() {
    auto* root = new QTreeWidgetItem(TreeAdv, {qtext(ids::ServiceTreeRoot, m_language)});
    root->setData(0, kKeyRole, QStringLiteral("Root"));
    node(root, QStringLiteral("A"), qtext(ids::ServiceFreqSet, m_language));
    node(root, QStringLiteral("C"), qtext(ids::ServiceGain, m_language));
    QTreeWidgetItem* tuning = node(root, QStringLiteral("B"), qtext(ids::ServiceTuning, m_language));
    for (int b = 0; b < kBandCount; ++b)
        node(tuning, QStringLiteral("B%1").arg(b), {});
    TreeAdv->expandAll();
}

// The band nodes are named by their limits, as the tuning frames are.
void frmAdv::captionBands() {
    QTreeWidgetItem* tuning = TreeAdv->topLevelItem(0)->child(2);
    const BandLimits& limits = m_document.bandLimits();
    for (int b = 0; b < kBandCount; ++b)
        tuning->child(b)->setText(0, qstr(rangeText(limits[b].lower, limits[b].upper)));
}

bool frmAdv::pageChanged() const {
    return std::find(m_changed.begin(), m_changed.end(), true) != m_changed.end();
}

frmAdv::Group frmAdv::groupInView() const {
    if (PicDev->isVisibleTo(this))
        return Group::Tuning;
    return fraAnalogue->isVisibleTo(this) ? Group::Gains : Group::BandLimits;
}

bool frmAdv::linkRunning() const {
    return m_runner && m_runner->isRunning();
}

void frmAdv::showPage(Group group, int band) {
    PicSet->setVisible(group != Group::Tuning);
    fraFreq->setVisible(group == Group::BandLimits);
    fraAnalogue->setVisible(group == Group::Gains);
    PicDev->setVisible(group == Group::Tuning);
    if (group == Group::Tuning)
        PicDev->showBand(band);
}

// The page in view is checked first; then the node's page is shown.
void frmAdv::TreeAdv_NodeClick(QTreeWidgetItem* item) {
    runPageCheck();
    const QString key = item->data(0, kKeyRole).toString();
    QTreeWidgetItem* select = nullptr;
    if (key == QLatin1String("Root") || key == QLatin1String("A")) {
        select = TreeAdv->topLevelItem(0)->child(0);
        showPage(Group::BandLimits);
    } else if (key == QLatin1String("C")) {
        showPage(Group::Gains);
    } else if (key == QLatin1String("B")) {
        select = item->child(0);
        showPage(Group::Tuning, 0);
    } else {
        showPage(Group::Tuning, key.mid(1).toInt());
    }
    if (select && select != item) {
        m_switching = true;
        TreeAdv->setCurrentItem(select);
        m_switching = false;
    }
}

// A key (Alt+A) can press a button without taking the focus from a field being edited: its text
// is committed as if it had been left.
void frmAdv::commitEditors() {
    fraFreq->editor()->finish();
    fraAnalogue->leaveFocusedBox();
    PicDev->commitEditors();
}

void frmAdv::runPageCheck() {
    commitEditors();
    const Group group = groupInView();
    if (!groupChanged(group))
        return;
    const auto answer = m_prompter.message(this, QMessageBox::Question, QString::fromLatin1(kProductName),
                                           qtext(ids::DataChangedQuestion, m_language),
                                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes)
        applyGroups({group}, kGroupLabels[static_cast<int>(group)]);
    else if (answer == QMessageBox::No)
        loadGroup(group);
}

void frmAdv::loadGroup(Group group) {
    switch (group) {
    case Group::BandLimits:
        fraFreq->load(m_document.bandLimits());
        captionBands();
        break;
    case Group::Gains:
        fraAnalogue->load(GainPage::load(m_document.image()));
        break;
    case Group::Tuning:
        PicDev->load(TuningPage::load(m_document.image(), m_document.bandLimits()), m_document.bandLimits());
        break;
    }
    m_changed[static_cast<std::size_t>(group)] = false;
}

void frmAdv::loadAllPages() {
    for (Group g : {Group::BandLimits, Group::Gains, Group::Tuning})
        loadGroup(g);
}

// One undoable step however many groups go in.
void frmAdv::applyGroups(std::initializer_list<Group> groups, int labelId) {
    const BandLimitPage limits = fraFreq->page();
    const GainPage gains = fraAnalogue->page();
    const TuningPage tuning = PicDev->page();
    m_document.edit(labelId, [&](RadioImage& image) {
        for (Group g : groups) {
            if (g == Group::BandLimits)
                limits.apply(image);
            else if (g == Group::Gains)
                gains.apply(image);
            else
                tuning.apply(image);
        }
    });
    for (Group g : groups)
        m_changed[static_cast<std::size_t>(g)] = false;
}

// Pages with no edits of their own follow the document; the deviation columns and the band
// captions follow the band limits.
void frmAdv::documentChanged(const DocumentChange& change) {
    if (change.touches(area::BandLimits)) {
        captionBands();
        if (!groupChanged(Group::BandLimits))
            loadGroup(Group::BandLimits);
    }
    if (change.touches(area::Service) && !groupChanged(Group::Gains))
        loadGroup(Group::Gains);
    if (change.touches(area::Service | area::BandLimits) && !groupChanged(Group::Tuning))
        loadGroup(Group::Tuning);
}

void frmAdv::CmdAdv_Click(int index) {
    switch (index) {
    case Read:
        startLink(CloneMode::Read);
        break;
    case Write:
        commitEditors();
        if (pageChanged()) {
            const auto answer = m_prompter.message(this, QMessageBox::Question, QString::fromLatin1(kProductName),
                                                   qtext(ids::ApplyChangesQuestion, m_language),
                                                   QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            if (answer == QMessageBox::Cancel)
                return;
            if (answer == QMessageBox::Yes)
                applyGroups({Group::BandLimits, Group::Gains, Group::Tuning}, ids::ServiceSettingsApplied);
            else
                loadAllPages();
        }
        startLink(CloneMode::Write);
        break;
    case Close:
        reject();
        break;
    case Apply:
        runPageCheck();
        break;
    default:
        break;
    }
}

void frmAdv::startLink(CloneMode mode) {
    if (linkRunning())
        return;
    m_linkMode = mode;
    m_runner.reset();
    m_link = m_ports.makeLink();
    m_runner = std::make_unique<CloneRunner>(*m_link, m_language);
    connect(m_runner.get(), &CloneRunner::progress, this, [this](int value, int maximum) {
        if (m_runner->session().verifying())
            Label2->setText(qtext(ids::StatusVerifying, m_language));
        prgLink->setMaximum(maximum);
        prgLink->setValue(value);
    });
    connect(m_runner.get(), &CloneRunner::question, this, &frmAdv::onLinkQuestion);
    connect(m_runner.get(), &CloneRunner::done, this, &frmAdv::onLinkDone);
    m_linkError.clear();
    connect(m_runner.get(), &CloneRunner::linkError, this, [this](const QString& message) {
        if (m_linkError.isEmpty())
            m_linkError = message;
    });
    m_linkClock.start();
    m_linkSent = m_document.image();
    QString openError;
    const auto failedOpen =
        connect(m_runner.get(), &CloneRunner::openFailed, this, [&openError](const QString& m) { openError = m; });
    const bool started = m_runner->startLink(mode, m_document.image(), mode == CloneMode::Write && m_verifyAfterWrite);
    disconnect(failedOpen);
    if (!started) {
        recordLink(PortOutcome::failed(openError));
        m_prompter.message(this, QMessageBox::Warning, QString::fromLatin1(kProductName),
                           qtext(ids::CannotOpenPort, m_language) + QLatin1Char('\n') + openError, QMessageBox::Ok);
        return;
    }
    prgLink->setRange(0, clone::kLinkRows);
    prgLink->setValue(0);
    showLinkRunning(true);
}

void frmAdv::showLinkRunning(bool running) {
    Label2->setText(running ? qtext(m_linkMode == CloneMode::Read ? ids::NowReading : ids::NowWriting, m_language)
                            : QString());
    Label2->setVisible(running);
    prgLink->setVisible(running);
    CmdLinkCancel->setVisible(running);
    CmdLinkCancel->setEnabled(running);
    for (QPushButton* b : CmdAdv)
        b->setEnabled(!running);
    // Nothing may be applied while the link reads or sends the rows.
    ImgSplit->setEnabled(!running);
}

void frmAdv::onLinkQuestion(CloneQuestion question, const QString& text) {
    if (question == CloneQuestion::IdentificationChanged) {
        const auto answer = m_prompter.message(this, QMessageBox::Critical, qtext(ids::WarningTitle, m_language), text,
                                               QMessageBox::Ok | QMessageBox::Cancel);
        m_runner->answer(answer == QMessageBox::Ok);
        return;
    }
    const auto answer = m_prompter.message(this, QMessageBox::Critical, qtext(ids::ErrorTitle, m_language), text,
                                           QMessageBox::Retry | QMessageBox::Cancel);
    m_runner->answer(answer == QMessageBox::Retry);
}

// The history gets every link transfer; a line it cannot take is said in the main window's status
// window, and the transfer's own result stands.
void frmAdv::recordLink(const PortOutcome& outcome) {
    const QString operation =
        m_linkMode == CloneMode::Read ? QStringLiteral("service-read") : QStringLiteral("service-write");
    const QString problem =
        recordTransfer(historyEntry(operation, m_ports.choiceName(m_language), {}, outcome), m_language);
    if (problem.isEmpty())
        return;
    if (auto* host = dynamic_cast<TransferHost*>(parentWidget()))
        host->appendTransferLogLine(problem);
}

void frmAdv::onLinkDone(CloneOutcome outcome) {
    showLinkRunning(false);
    recordLink(sessionOutcome(m_runner->session(), outcome, m_linkSent, m_linkClock.nsecsElapsed() / 1e9, m_linkError,
                              m_language));
    if (outcome == CloneOutcome::Completed) {
        const bool read = m_linkMode == CloneMode::Read;
        if (read) {
            const RadioImage& rows = m_runner->session().image();
            m_document.edit(ids::ServiceValuesRead, [&rows](RadioImage& image) { takeLinkRead(rows, image); });
            loadAllPages();
            m_prompter.message(this, QMessageBox::Information, QString::fromLatin1(kProductName),
                               qtext(ids::ReadingCompleted, m_language), QMessageBox::Ok);
        } else {
            reportWrite();
        }
    }
    emit linkFinished(outcome);
}

// A write whose read-back found other values, or could not finish, is no "Writing completed!".
void frmAdv::reportWrite() {
    const CloneSession& session = m_runner->session();
    QString warning;
    if (session.verification() == Verification::Differs) {
        QStringList rows;
        for (const ImageDifference& d : session.differences())
            rows << QString::number(d.first / kRowSize);
        warning = qtext(ids::LinkVerifyDiffers, m_language).arg(rows.join(QStringLiteral(", ")));
    } else if (session.verification() == Verification::NotChecked) {
        warning = qtext(ids::VerifyNotChecked, m_language);
    }
    if (warning.isEmpty())
        m_prompter.message(this, QMessageBox::Information, QString::fromLatin1(kProductName),
                           qtext(ids::WritingCompleted, m_language), QMessageBox::Ok);
    else
        m_prompter.message(this, QMessageBox::Warning, QString::fromLatin1(kProductName), warning, QMessageBox::Ok);
}

void frmAdv::reject() {
    if (linkRunning()) {
        CmdLinkCancel->click();
        return;
    }
    QDialog::reject();
}

void frmAdv::closeEvent(QCloseEvent* event) {
    if (linkRunning()) {
        CmdLinkCancel->click();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace norvik
