#include "editor/frm_main.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDate>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QTime>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include "common/path_names.h"
#include "common/texts.h"
#include "common/twips.h"
#include "dialogs/frm_about.h"
#include "dialogs/help_viewer.h"
#include "dialogs/prompt.h"
#include "editor/channel_grid.h"
#include "editor/pic_gui.h"
#include "options/frm_op_sign.h"
#include "settings/reg_keys.h"
#include "strings/string_ids.h"
#include "transfer/frm_clone.h"
#include "transfer/transfer_ports.h"

namespace norvik {
namespace {

constexpr int kSplitterTwips = 60;
constexpr int kStartButtonsTwips = 2000;
constexpr int kStartStatusTwips = 6000;

// Tooltips never show mnemonics: "&Read" reads "Read", "读取(&R)" reads "读取".
QString withoutMnemonic(QString s) {
    static const QRegularExpression bracketed(QStringLiteral("\\(&.\\)"));
    s.remove(bracketed);
    s.remove(QLatin1Char('&'));
    return s;
}

struct ToolSpec {
    const char* key;
    int tipId;
    const char* themeIcon;
    const char* fallback;
    bool separatorBefore;
};

constexpr ToolSpec kToolButtons[] = {
    {"New", ids::TipNew, "document-new", "new", false},
    {"Open", ids::TipOpen, "document-open", "open", false},
    {"Save", ids::TipSave, "document-save", "save", false},
    {"Copy", ids::MenuEditCopy, "edit-copy", "copy", true},
    {"Paste", ids::MenuEditPaste, "edit-paste", "paste", false},
    {"Clear", ids::MenuEditClear, "edit-clear", "clear", false},
    {"MoveUp", ids::ChannelUp, "go-up", "up", true},
    {"MoveDown", ids::ChannelDown, "go-down", "down", false},
    {"Insert", ids::InsertChannel, "list-add", "insert", false},
    {"Delete", ids::DeleteChannel, "list-remove", "delete", false},
    {"Read", ids::TipRead, "document-import", "read", true},
    {"Write", ids::TipWrite, "document-export", "write", false},
    {"About", ids::TipAbout, "help-about", "about", true},
};

// The toolbar keys greyed out while the single-channel panel covers the grid.
bool coveredByPanel(const QString& key) {
    static const QStringList keys{QStringLiteral("Copy"),   QStringLiteral("Paste"),    QStringLiteral("Clear"),
                                  QStringLiteral("MoveUp"), QStringLiteral("MoveDown"), QStringLiteral("Insert"),
                                  QStringLiteral("Delete")};
    return keys.contains(key);
}

} // namespace

frmMain::frmMain(RadioDocument& document, Prompter& prompter, QWidget* parent)
    : frmMain(document, prompter, nullptr, parent) {}

frmMain::frmMain(RadioDocument& document, Prompter& prompter, QSettings* settings, QWidget* parent)
    : QMainWindow(parent), m_document(document), m_prompter(prompter) {
    setObjectName(QStringLiteral("frmMain"));
    if (!settings) {
        m_ownSettings = RegKeys::openDefault();
        settings = m_ownSettings.get();
    }
    m_settings = settings;

    // Read the language before anything is captioned, so the window comes up in it.
    m_language = RegKeys(*m_settings).readLanguage();
    m_holdsCopy = false;
    m_table = std::make_unique<ChannelTable>(m_document, m_language, localeDecimalSeparator());

    buildMenus();
    buildToolBar();
    buildPanes();
    buildStatusBar();
    setUpEditOperations();

    setPasteAvailable(false);
    m_holdsCopy = false;
    m_singleClick = true;
    action("mnuSet_SingleClick")->setChecked(true);
    action("mnuView_Buttons")->setChecked(true);
    action("mnuView_Status")->setChecked(true);

    if (const QScreen* screen = QApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        resize(avail.width() * 3 / 4, avail.height() * 3 / 4);
    }
    setLanguage(m_language);
    syncManualCheck();
    action("mnuProgram_Advanced")->setVisible(false);
    m_filePath.clear();
    updateTitle();
    m_document.takeSavedImage();

    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] {
        int id = 0;
        for (QWidget* w = QApplication::focusWidget(); w && id == 0; w = w->parentWidget())
            id = w->property(frmMain::kHelpContextProperty).toInt();
        showHelp(id);
    });
}

frmMain::~frmMain() {
    // The grid and the panel read the channel table, a member that would be gone before the
    // base class takes its child widgets down (and hiding them still asks for header texts).
    delete m_altPanel;
    delete m_channelGrid;
}

QAction* frmMain::addItem(QMenu* menu, const char* name, int captionId, const QKeySequence& shortcut, int helpContext) {
    auto* a = new QAction(this);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcut(shortcut);
    if (helpContext)
        a->setProperty(frmMain::kHelpContextProperty, helpContext);
    menu->addAction(a);
    if (captionId)
        m_captions.push_back({a, captionId});
    return a;
}

QAction* frmMain::addBar(QMenu* menu, const char* name) {
    QAction* a = menu->addSeparator();
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

void frmMain::buildMenus() {
    QMenuBar* bar = menuBar();
    auto topMenu = [&](QMenu*& member, const char* name, int captionId, int helpContext = 0) {
        member = bar->addMenu(QString());
        member->setObjectName(QString::fromLatin1(name));
        member->menuAction()->setObjectName(QString::fromLatin1(name));
        if (helpContext)
            member->menuAction()->setProperty(frmMain::kHelpContextProperty, helpContext);
        member->installEventFilter(this);
        m_captions.push_back({member->menuAction(), captionId});
    };

    topMenu(mnuFile, "mnuFile", ids::MenuFile, 2);
    connect(addItem(mnuFile, "mnuFile_New", ids::MenuFileNew, QKeySequence(Qt::CTRL | Qt::Key_N), 2100),
            &QAction::triggered, this, &frmMain::mnuFile_New_Click);
    connect(addItem(mnuFile, "mnuFile_Open", ids::MenuFileOpen, QKeySequence(Qt::CTRL | Qt::Key_O), 2200),
            &QAction::triggered, this, &frmMain::mnuFile_Open_Click);
    connect(addItem(mnuFile, "mnuFile_Save", ids::MenuFileSave, QKeySequence(Qt::CTRL | Qt::Key_S), 2300),
            &QAction::triggered, this, &frmMain::mnuFile_Save_Click);
    connect(addItem(mnuFile, "mnuFile_SaveAs", ids::MenuFileSaveAs, QKeySequence(Qt::CTRL | Qt::Key_A), 2400),
            &QAction::triggered, this, &frmMain::mnuFile_SaveAs_Click);
    addBar(mnuFile, "mnuFile_Bar1");
    connect(addItem(mnuFile, "mnuFile_Exit", ids::MenuFileExit, QKeySequence(Qt::CTRL | Qt::Key_X), 2600),
            &QAction::triggered, this, &frmMain::mnuFile_Exit_Click);

    // Model information has no content on this radio; the menu stays as a hidden, inert item.
    topMenu(mnuModel, "mnuModel", ids::MenuModel, 3);
    addItem(mnuModel, "mnuModel_Info", ids::MenuModelInfo, QKeySequence(Qt::CTRL | Qt::Key_M), 3100);
    mnuModel->menuAction()->setVisible(false);

    topMenu(mnuEdit, "mnuEdit", ids::MenuEdit);
    connect(addItem(mnuEdit, "mnuEdit_Copy", ids::MenuEditCopy, QKeySequence(Qt::CTRL | Qt::Key_C), 1001),
            &QAction::triggered, this, &frmMain::mnuEdit_Copy_Click);
    connect(addItem(mnuEdit, "mnuEdit_Paste", ids::MenuEditPaste, QKeySequence(Qt::CTRL | Qt::Key_V), 1002),
            &QAction::triggered, this, &frmMain::mnuEdit_Paste_Click);
    addBar(mnuEdit, "mnuEdit_Bar2")->setVisible(false);
    connect(addItem(mnuEdit, "mnuEdit_Clear", ids::MenuEditClear, QKeySequence(Qt::CTRL | Qt::Key_D), 1003),
            &QAction::triggered, this, &frmMain::mnuEdit_Clear_Click);
    addItem(mnuEdit, "mnuEdit_Delete", ids::MenuEditDelete, {}, 1004);
    QAction* insert = addItem(mnuEdit, "mnuEdit_Insert", 0, QKeySequence(Qt::CTRL | Qt::Key_I), 1005);
    insert->setText(QStringLiteral("&Insert"));
    insert->setVisible(false);

    topMenu(mnuProgram, "mnuProgram", ids::MenuProgram, 4);
    QAction* optFeatures = addItem(mnuProgram, "mnuProgram_OptFeatures", 0, {}, 4100);
    optFeatures->setText(QStringLiteral("&Optional Features"));
    optFeatures->setVisible(false);
    connect(addItem(mnuProgram, "mnuProgram_OPSign", ids::MenuProgramOptionalFeatures, {}, 4100), &QAction::triggered,
            this, &frmMain::mnuProgram_OPSign_Click);
    addItem(mnuProgram, "mnuProgram_KeyAssign", ids::MenuProgramKeyAssignment)->setVisible(false);
    addItem(mnuProgram, "mnuProgram_Debug", ids::MenuProgramTuning)->setVisible(false);
    connect(addItem(mnuProgram, "mnuProgram_Advanced", ids::MenuProgramAdvanced), &QAction::triggered, this,
            &frmMain::mnuProgram_Advanced_Click);
    addItem(mnuProgram, "mnuProgram_Deviation", ids::MenuProgramDeviation)->setVisible(false);
    addBar(mnuProgram, "mnuProgram_Bar1");
    connect(addItem(mnuProgram, "mnuProgram_ANI", ids::MenuProgramRadio, {}, 4300), &QAction::triggered, this,
            &frmMain::mnuProgram_ANI_Click);
    addBar(mnuProgram, "mnuProgram_Bar2");
    connect(addItem(mnuProgram, "mnuProgram_EmbMsg", ids::MenuProgramEmbeddedMessage, {}, 4400), &QAction::triggered,
            this, &frmMain::mnuProgram_EmbMsg_Click);

    topMenu(mnuTransfer, "mnuTransfer", ids::MenuTransfer, 5);
    connect(addItem(mnuTransfer, "mnuTransfer_Read", ids::MenuTransferRead, QKeySequence(Qt::CTRL | Qt::Key_R), 5100),
            &QAction::triggered, this, &frmMain::mnuTransfer_Read_Click);
    connect(addItem(mnuTransfer, "mnuTransfer_Write", ids::MenuTransferWrite, QKeySequence(Qt::CTRL | Qt::Key_W), 5200),
            &QAction::triggered, this, &frmMain::mnuTransfer_Write_Click);

    topMenu(mnuSet, "mnuSet", ids::MenuSetup);
    QAction* gui = addItem(mnuSet, "mnuSet_GUI", ids::MenuSetupAlternateGui);
    gui->setCheckable(true);
    connect(gui, &QAction::triggered, this, &frmMain::mnuSet_GUI_Click);
    QAction* single = addItem(mnuSet, "mnuSet_SingleClick", ids::MenuSetupSingleClick);
    single->setCheckable(true);
    connect(single, &QAction::triggered, this, &frmMain::mnuSet_SingleClick_Click);
    QAction* manual = addItem(mnuSet, "mnuSet_Manual", ids::MenuSetupManual);
    manual->setCheckable(true);
    connect(manual, &QAction::triggered, this, &frmMain::mnuSet_Manual_Click);
    addBar(mnuSet, "mnuSet_Bar");
    connect(addItem(mnuSet, "mnuSet_COM", ids::MenuSetupComPort, {}, 6), &QAction::triggered, this,
            &frmMain::mnuSet_COM_Click);
    mnuSet_Lan = mnuSet->addMenu(QString());
    mnuSet_Lan->setObjectName(QStringLiteral("mnuSet_Lan"));
    mnuSet_Lan->menuAction()->setObjectName(QStringLiteral("mnuSet_Lan"));
    mnuSet_Lan->menuAction()->setProperty(frmMain::kHelpContextProperty, 7);
    mnuSet_Lan->installEventFilter(this);
    m_captions.push_back({mnuSet_Lan->menuAction(), ids::MenuSetupLanguage});
    QAction* lanE = addItem(mnuSet_Lan, "mnuSet_LanE", ids::MenuSetupEnglish, {}, 7);
    lanE->setCheckable(true);
    connect(lanE, &QAction::triggered, this, &frmMain::mnuSet_LanE_Click);
    QAction* lanC = addItem(mnuSet_Lan, "mnuSet_LanC", ids::MenuSetupChinese, {}, 7);
    lanC->setCheckable(true);
    connect(lanC, &QAction::triggered, this, &frmMain::mnuSet_LanC_Click);

    topMenu(mnuView, "mnuView", ids::MenuView);
    QAction* status = addItem(mnuView, "mnuView_Status", ids::MenuViewStatus);
    status->setCheckable(true);
    connect(status, &QAction::triggered, this, &frmMain::mnuView_Status_Click);
    QAction* buttons = addItem(mnuView, "mnuView_Buttons", ids::MenuViewButtons);
    buttons->setCheckable(true);
    connect(buttons, &QAction::triggered, this, &frmMain::mnuView_Buttons_Click);
    connect(addItem(mnuView, "mnuView_Columns", ids::MenuViewColumns), &QAction::triggered, this,
            &frmMain::mnuView_Columns_Click);

    topMenu(mnuHelp, "mnuHelp", ids::MenuHelp);
    connect(addItem(mnuHelp, "mnuHelp_About", ids::MenuHelpAbout), &QAction::triggered, this,
            &frmMain::mnuHelp_About_Click);
}

void frmMain::buildToolBar() {
    tlbActions = new QToolBar(this);
    tlbActions->setObjectName(QStringLiteral("tlbActions"));
    tlbActions->setMovable(false);
    tlbActions->setFloatable(false);
    tlbActions->setToolButtonStyle(Qt::ToolButtonIconOnly);
    // The right click belongs to the memory-map gesture, not to the toolbar-visibility menu.
    tlbActions->setContextMenuPolicy(Qt::PreventContextMenu);
    tlbActions->installEventFilter(this);
    addToolBar(Qt::TopToolBarArea, tlbActions);

    for (const ToolSpec& tool : kToolButtons) {
        if (tool.separatorBefore)
            tlbActions->addSeparator();
        const QString key = QString::fromLatin1(tool.key);
        const QIcon fallback(QStringLiteral(":/icons/%1.svg").arg(QString::fromLatin1(tool.fallback)));
        auto* a = new QAction(QIcon::fromTheme(QString::fromLatin1(tool.themeIcon), fallback), QString(), this);
        a->setObjectName(QStringLiteral("tlbActions_") + key);
        a->setProperty("key", key);
        tlbActions->addAction(a);
        connect(a, &QAction::triggered, this, [this, key] { tlbActions_ButtonClick(key); });
        m_toolKeys.push_back({key, tool.tipId, a});
    }
}

void frmMain::buildPanes() {
    Picture1 = new QWidget(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->installEventFilter(this);
    auto* workLayout = new QVBoxLayout(Picture1);
    workLayout->setContentsMargins(0, 0, 0, 0);
    workLayout->setSpacing(0);

    ImgSplit0 = new QSplitter(Qt::Horizontal, Picture1);
    ImgSplit0->setObjectName(QStringLiteral("ImgSplit0"));
    ImgSplit0->setHandleWidth(twipsToPixelsX(kSplitterTwips));
    workLayout->addWidget(ImgSplit0);

    PicButtons = new QWidget(ImgSplit0);
    PicButtons->setObjectName(QStringLiteral("PicButtons"));
    auto* buttonLayout = new QVBoxLayout(PicButtons);
    buttonLayout->setContentsMargins(6, 6, 6, 6);
    for (int i = 0; i < kButtonCount; ++i) {
        auto* b = new QPushButton(PicButtons);
        b->setObjectName(QStringLiteral("CmdButtons"));
        b->setProperty("index", i);
        b->setMinimumWidth(0);
        b->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        buttonLayout->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, i] { CmdButtons_Click(i); });
        CmdButtons[static_cast<std::size_t>(i)] = b;
    }
    buttonLayout->addStretch(1);
    PicButtons->setMinimumWidth(0);
    ImgSplit0->addWidget(PicButtons);

    ImgSplit1 = new QSplitter(Qt::Vertical, ImgSplit0);
    ImgSplit1->setObjectName(QStringLiteral("ImgSplit1"));
    ImgSplit1->setHandleWidth(twipsToPixelsY(kSplitterTwips));
    ImgSplit0->addWidget(ImgSplit1);

    picMain = new QWidget(ImgSplit1);
    picMain->setObjectName(QStringLiteral("picMain"));
    picMain->installEventFilter(this);
    auto* mainLayout = new QVBoxLayout(picMain);
    mainLayout->setContentsMargins(0, 0, 0, 0);
    m_channelGrid = new ChannelGrid(*m_table, m_prompter, picMain);
    m_channelGrid->setObjectName(QStringLiteral("ChannelGrid"));
    mainLayout->addWidget(m_channelGrid);
    m_commitEditor = [this] { m_channelGrid->commitEditor(); };
    connect(m_channelGrid, &ChannelGrid::helpContextChanged, this,
            [this](int context) { m_channelGrid->setProperty(kHelpContextProperty, context); });
    connect(m_channelGrid, &ChannelGrid::copyRequested, this, &frmMain::mnuEdit_Copy_Click);
    connect(m_channelGrid, &ChannelGrid::pasteRequested, this, &frmMain::mnuEdit_Paste_Click);
    connect(m_channelGrid, &ChannelGrid::clearRequested, this, &frmMain::mnuEdit_Clear_Click);
    connect(m_channelGrid, &ChannelGrid::editMenuRequested, this, [this](const QPoint& at) { mnuEdit->popup(at); });
    ImgSplit1->addWidget(picMain);

    PicStatus = new QWidget(ImgSplit1);
    PicStatus->setObjectName(QStringLiteral("PicStatus"));
    auto* statusLayout = new QVBoxLayout(PicStatus);
    statusLayout->setContentsMargins(0, 0, 0, 0);
    TxtStatus = new QPlainTextEdit(PicStatus);
    TxtStatus->setObjectName(QStringLiteral("TxtStatus"));
    TxtStatus->setReadOnly(true);
    TxtStatus->clear();
    statusLayout->addWidget(TxtStatus);
    ImgSplit1->addWidget(PicStatus);

    // A resized window keeps the button column's width and the grid's height; the status
    // window takes up the difference.
    ImgSplit0->setStretchFactor(0, 0);
    ImgSplit0->setStretchFactor(1, 1);
    ImgSplit1->setStretchFactor(0, 0);
    ImgSplit1->setStretchFactor(1, 1);
    for (QSplitter* s : {ImgSplit0, ImgSplit1}) {
        s->setChildrenCollapsible(true);
        s->setOpaqueResize(true);
    }

    setCentralWidget(Picture1);
}

void frmMain::buildStatusBar() {
    staDateTime = new QStatusBar(this);
    staDateTime->setObjectName(QStringLiteral("staDateTime"));
    staDateTime->setSizeGripEnabled(true);
    m_datePanel = new QLabel(staDateTime);
    m_datePanel->setObjectName(QStringLiteral("staDateTime_Date"));
    m_timePanel = new QLabel(staDateTime);
    m_timePanel->setObjectName(QStringLiteral("staDateTime_Time"));
    m_comStatus = new QLabel(staDateTime);
    m_comStatus->setObjectName(QStringLiteral("ComStatus"));
    for (QLabel* l : {m_datePanel, m_timePanel, m_comStatus}) {
        l->setContentsMargins(6, 0, 6, 0);
        l->installEventFilter(this);
    }
    staDateTime->addWidget(m_datePanel);
    staDateTime->addWidget(m_timePanel);
    staDateTime->addWidget(m_comStatus, 1);
    staDateTime->installEventFilter(this);
    setStatusBar(staDateTime);

    m_clock = new QTimer(this);
    m_clock->setInterval(1000);
    connect(m_clock, &QTimer::timeout, this, &frmMain::updateClock);
    m_clock->start();
    updateClock();
}

void frmMain::updateClock() {
    const QLocale locale;
    const QDateTime now = QDateTime::currentDateTime();
    m_datePanel->setText(locale.toString(now.date(), QLocale::ShortFormat));
    m_timePanel->setText(locale.toString(now.time(), QLocale::ShortFormat));
}

int frmMain::twipsToPixelsX(int twips) const {
    return twipsToPixels(twips, logicalDpiX());
}

int frmMain::twipsToPixelsY(int twips) const {
    return twipsToPixels(twips, logicalDpiY());
}

void frmMain::layOutStartPanes() {
    PicButtons->show();
    PicStatus->show();
    const int buttons = twipsToPixelsX(kStartButtonsTwips);
    // On a small or scaled screen 6000 twips can be the whole work area; the status window
    // must not start out of sight, so it then starts at the View toggle's three quarters.
    const int grid = qMin(twipsToPixelsY(kStartStatusTwips), Picture1->height() * 3 / 4);
    ImgSplit0->setSizes({buttons, qMax(0, Picture1->width() - buttons - ImgSplit0->handleWidth())});
    ImgSplit1->setSizes({grid, qMax(0, Picture1->height() - grid - ImgSplit1->handleWidth())});
}

void frmMain::setLanguage(Language lang) {
    m_language = lang;
    m_prompter.setLanguage(lang);
    action("mnuSet_LanE")->setChecked(lang == Language::English);
    action("mnuSet_LanC")->setChecked(lang == Language::Chinese);
    recaption();
    m_channelGrid->setLanguage(lang);
    syncManualCheck();
    emit languageChanged(lang);
}

void frmMain::recaption() {
    for (const Captioned& c : m_captions)
        c.action->setText(qtext(c.id, m_language));
    for (const ToolKey& t : m_toolKeys) {
        const QString tip = withoutMnemonic(qtext(t.tipId, m_language));
        t.action->setText(tip);
        t.action->setToolTip(tip);
    }
    for (int i = 0; i < kButtonCount; ++i)
        cmdButton(i)->setText(qtext(ids::ChannelUp + i, m_language));
    updateTitle();
}

void frmMain::updateTitle() {
    QString name = QString::fromLatin1(kUntitled);
    if (!m_filePath.empty()) {
        name = shownPath(m_filePath);
        const qsizetype cut = qMax(name.lastIndexOf(QLatin1Char('\\')), name.lastIndexOf(QLatin1Char('/')));
        if (cut >= 0)
            name = name.mid(cut + 1);
    }
    setWindowTitle(QStringLiteral("%1 [File Name: %2]").arg(QString::fromLatin1(kProductName), name));
}

void frmMain::setFilePath(const std::filesystem::path& path) {
    m_filePath = path;
    updateTitle();
}

void frmMain::fillChannelTable() {
    m_channelGrid->refill();
    syncManualCheck();
}

void frmMain::setAlternatePanel(QWidget* panel) {
    if (PicGUI && PicGUI != panel)
        PicGUI->hide();
    PicGUI = panel;
    if (!panel)
        return;
    panel->setParent(Picture1);
    panel->setVisible(alternatePanelShown());
    placeAlternatePanel();
}

void frmMain::placeAlternatePanel() {
    if (!PicGUI)
        return;
    // Top left of the work area, as wide as the work area, as high as the grid's pane.
    PicGUI->setGeometry(0, 0, Picture1->width(), picMain->isVisible() ? picMain->height() : Picture1->height());
    PicGUI->raise();
}

bool frmMain::alternatePanelShown() const {
    return action("mnuSet_GUI")->isChecked();
}

void frmMain::syncManualCheck() {
    action("mnuSet_Manual")->setChecked(m_table->manualChecked());
}

void frmMain::setPasteAvailable(bool available) {
    if (available)
        m_holdsCopy = true;
    const bool panel = alternatePanelShown();
    action("mnuEdit_Paste")->setEnabled(available);
    toolButton(QStringLiteral("Paste"))->setEnabled(available && !panel);
}

void frmMain::appendStatus(const QString& line) {
    TxtStatus->appendPlainText(line);
}

void frmMain::setComStatus(const QString& text) {
    m_comStatus->setText(text);
}

QAction* frmMain::action(const char* objectName) const {
    return findChild<QAction*>(QString::fromLatin1(objectName));
}

QAction* frmMain::toolButton(const QString& key) const {
    for (const ToolKey& t : m_toolKeys) {
        if (t.key == key)
            return t.action;
    }
    return nullptr;
}

void frmMain::commitOpenEditor() {
    if (m_commitEditor)
        m_commitEditor();
}

// --- File (New, Open, Save and Save As live in frm_main_file.cpp) -----------------------------

void frmMain::mnuFile_Exit_Click() {
    close();
}

// --- Program (Read and Write from Radio live in frm_main_file.cpp) ---------------------------

void frmMain::mnuProgram_OPSign_Click() {
    commitOpenEditor();
    emit optionalFeaturesRequested();
    // Window-modal and returning at once: the main window takes no input while it is up.
    auto* dialog = new FrmOpSign(m_document, m_language, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &FrmOpSign::saved, this, &frmMain::syncManualCheck);
    dialog->open();
}

void frmMain::mnuProgram_Advanced_Click() {
    commitOpenEditor();
    emit advancedRequested();
}

void frmMain::mnuProgram_ANI_Click() {
    commitOpenEditor();
    emit radioRequested();
}

void frmMain::mnuProgram_EmbMsg_Click() {
    commitOpenEditor();
    emit embeddedMessageRequested();
}

// --- Setup ------------------------------------------------------------------------------------

void frmMain::mnuSet_GUI_Click() {
    commitOpenEditor();
    QAction* gui = action("mnuSet_GUI");
    // The check is the state; a menu click has already flipped it, a direct call has not.
    const bool show = sender() == gui ? gui->isChecked() : !alternatePanelShown();
    gui->setChecked(show);
    mnuEdit->menuAction()->setEnabled(!show);
    for (const char* name : {"mnuEdit_Copy", "mnuEdit_Clear", "mnuEdit_Delete"})
        action(name)->setEnabled(!show);
    action("mnuEdit_Paste")->setEnabled(!show && m_holdsCopy);
    for (const ToolKey& t : m_toolKeys) {
        if (coveredByPanel(t.key))
            t.action->setEnabled(!show && (t.key != QLatin1String("Paste") || m_holdsCopy));
    }
    if (PicGUI) {
        PicGUI->setVisible(show);
        placeAlternatePanel();
    }
    if (!show)
        m_channelGrid->setFocus();
    emit alternatePanelToggled(show);
}

void frmMain::mnuSet_SingleClick_Click() {
    commitOpenEditor();
    QAction* single = action("mnuSet_SingleClick");
    m_singleClick = sender() == single ? single->isChecked() : !m_singleClick;
    single->setChecked(m_singleClick);
    m_channelGrid->setSingleClick(m_singleClick);
    emit singleClickChanged(m_singleClick);
}

void frmMain::mnuSet_Manual_Click() {
    commitOpenEditor();
    QAction* manual = action("mnuSet_Manual");
    const bool on = sender() == manual ? manual->isChecked() : !m_table->manualChecked();
    m_table->setManualChecked(on);
    manual->setChecked(on);
    emit manualChanged(on);
}

void frmMain::mnuSet_LanE_Click() {
    commitOpenEditor();
    setLanguage(Language::English);
}

void frmMain::mnuSet_LanC_Click() {
    commitOpenEditor();
    setLanguage(Language::Chinese);
}

// --- View -------------------------------------------------------------------------------------

void frmMain::mnuView_Status_Click() {
    commitOpenEditor();
    const bool show = PicStatus->isHidden();
    if (show) {
        PicStatus->show();
        const int h = Picture1->height();
        const int top = h * 3 / 4;
        ImgSplit1->setSizes({top, qMax(0, h - top - ImgSplit1->handleWidth())});
    } else {
        PicStatus->hide();
    }
    action("mnuView_Status")->setChecked(show);
    placeAlternatePanel();
}

void frmMain::mnuView_Buttons_Click() {
    commitOpenEditor();
    const bool show = PicButtons->isHidden();
    if (show) {
        PicButtons->show();
        const int w = Picture1->width();
        const int left = w / 6;
        ImgSplit0->setSizes({left, qMax(0, w - left - ImgSplit0->handleWidth())});
    } else {
        PicButtons->hide();
    }
    action("mnuView_Buttons")->setChecked(show);
    placeAlternatePanel();
}

// --- Help -------------------------------------------------------------------------------------

void frmMain::mnuHelp_About_Click() {
    commitOpenEditor();
    frmAbout about(m_language, this);
    about.exec();
}

QString frmMain::helpFilePath() const {
    QString dir = QCoreApplication::applicationDirPath();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir + QStringLiteral("RADHELP_e.chm");
}

void frmMain::showHelp(int contextId) {
    const QString chm = helpFilePath();
    if (QFileInfo::exists(chm) && QDesktopServices::openUrl(QUrl::fromLocalFile(chm)))
        return;
    if (!m_help) {
        m_help = new HelpViewer(this);
        m_help->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_help->showTopic(helpUrl(contextId, m_language), m_language);
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

// --- Buttons and toolbar ----------------------------------------------------------------------

void frmMain::tlbActions_ButtonClick(const QString& key) {
    commitOpenEditor();
    if (key == QLatin1String("New"))
        mnuFile_New_Click();
    else if (key == QLatin1String("Open"))
        mnuFile_Open_Click();
    else if (key == QLatin1String("Save"))
        mnuFile_Save_Click();
    else if (key == QLatin1String("Copy"))
        mnuEdit_Copy_Click();
    else if (key == QLatin1String("Paste"))
        mnuEdit_Paste_Click();
    else if (key == QLatin1String("Clear"))
        mnuEdit_Clear_Click();
    else if (key == QLatin1String("Read"))
        mnuTransfer_Read_Click();
    else if (key == QLatin1String("Write"))
        mnuTransfer_Write_Click();
    else if (key == QLatin1String("About"))
        mnuHelp_About_Click();
    else if (key == QLatin1String("MoveUp"))
        CmdButtons_Click(0);
    else if (key == QLatin1String("MoveDown"))
        CmdButtons_Click(1);
    else if (key == QLatin1String("Insert"))
        CmdButtons_Click(2);
    else if (key == QLatin1String("Delete"))
        CmdButtons_Click(3);
}

// --- Window events ----------------------------------------------------------------------------

void frmMain::closeEvent(QCloseEvent* event) {
    // A transfer runs to its end (or its Cancel) first: the port and the image are in use.
    if (m_clone) {
        event->ignore();
        return;
    }
    commitOpenEditor();
    if (m_document.isModified()) {
        const auto answer = m_prompter.message(
            this, QMessageBox::Warning, QString::fromLatin1(kProductName), qtext(ids::FileNotSaved, m_language),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
        if (answer != QMessageBox::Yes && answer != QMessageBox::No) {
            event->ignore();
            return;
        }
        if (answer == QMessageBox::Yes) {
            mnuFile_Save_Click();
            // A cancelled or failed save must not take the unsaved channels with it.
            if (m_document.isModified()) {
                event->ignore();
                return;
            }
        }
    }
    RegKeys(*m_settings).writeLanguage(m_language);
    emit unloading();
    if (m_help)
        m_help->close();
    event->accept();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        auto* me = static_cast<QMouseEvent*>(event);
        const Qt::KeyboardModifiers mods =
            me->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier | Qt::MetaModifier);
        const bool onStatusBar =
            watched == staDateTime || watched == m_datePanel || watched == m_timePanel || watched == m_comStatus;
        if (onStatusBar && me->button() == Qt::LeftButton && mods == (Qt::ControlModifier | Qt::AltModifier)) {
            QAction* advanced = action("mnuProgram_Advanced");
            advanced->setVisible(!advanced->isVisible());
            return true;
        }
        if (watched == tlbActions && me->button() == Qt::RightButton &&
            mods == (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier)) {
            emit memoryMapRequested();
            return true;
        }
    } else if (event->type() == QEvent::KeyPress) {
        auto* menu = qobject_cast<QMenu*>(watched);
        if (menu && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
            int id = 0;
            if (QAction* a = menu->activeAction())
                id = a->property(frmMain::kHelpContextProperty).toInt();
            if (id == 0)
                id = menu->menuAction()->property(frmMain::kHelpContextProperty).toInt();
            while (QWidget* popup = QApplication::activePopupWidget())
                popup->close();
            QTimer::singleShot(0, this, [this, id] { showHelp(id); });
            return true;
        }
    } else if (event->type() == QEvent::Resize && (watched == picMain || watched == Picture1)) {
        placeAlternatePanel();
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The start positions need the real work area, which exists only once the window is laid out.
    if (!m_startLaidOut) {
        m_startLaidOut = true;
        layOutStartPanes();
    }
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    placeAlternatePanel();
}

} // namespace norvik
