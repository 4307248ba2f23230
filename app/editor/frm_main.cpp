#include "app/editor/frm_main.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDate>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTime>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <map>
#include <string_view>

#include "app/channel_list/frm_fill.h"
#include "app/common/accessible_names.h"
#include "app/common/path_names.h"
#include "app/common/texts.h"
#include "app/common/twips.h"
#include "app/dialogs/frm_compare.h"
#include "app/dialogs/help_viewer.h"
#include "app/dialogs/prompt.h"
#include "app/editor/alternate_panel.h"
#include "app/editor/channel_grid.h"
#include "app/settings/reg_keys.h"
#include "app/transfer/frm_com_port.h"
#include "app/transfer/transfer_commands.h"
#include "core/strings/string_ids.h"

namespace norvik {
namespace {

constexpr int kSplitterTwips = 60;
constexpr int kStartButtonsTwips = 2000;
constexpr int kStartStatusTwips = 6000;

QKeySequence keys(QKeyCombination k) {
    return k.key() == Qt::Key_unknown ? QKeySequence() : QKeySequence(k);
}

// The menus, in order; a menu with a parent is placed where the action table names it.
struct MenuSpec {
    const char* name;
    const char* parent; // null: the menu bar
    int captionId;
    int helpId;
    bool hidden;
};

constexpr MenuSpec kMenus[] = {
    {"mnuFile", nullptr, ids::MenuFile, 2, false},
    {"mnuFile_Recent", "mnuFile", ids::MenuFileRecent, 0, false},
    {"mnuModel", nullptr, ids::MenuModel, 3, true}, // model information has no content on this radio
    {"mnuEdit", nullptr, ids::MenuEdit, 0, false},
    {"mnuProgram", nullptr, ids::MenuProgram, 4, false},
    {"mnuTransfer", nullptr, ids::MenuTransfer, 5, false},
    {"mnuSet", nullptr, ids::MenuSetup, 0, false},
    {"mnuSet_Lan", "mnuSet", ids::MenuSetupLanguage, 7, false},
    {"mnuView", nullptr, ids::MenuView, 0, false},
    {"mnuHelp", nullptr, ids::MenuHelp, 0, false},
};

// One action: where it sits, its caption, key, help topic, and what it runs. An entry without
// caption and handler is a separator; one without a menu sits only on the toolbar.
// ChangesImage: the command changes the image or opens a window that does, so it is off while the
// image is held (a write to several radios is sending it); viewing, copying and saving stay.
enum ActionFlag : unsigned { Checkable = 1U << 0, Hidden = 1U << 1, ChangesImage = 1U << 2 };
struct ActionSpec {
    const char* menu;
    const char* name;
    int captionId;            // 0: the fixed caption
    const char* fixedCaption; // null with captionId 0: a separator
    QKeyCombination shortcut;
    int helpId;
    unsigned flags;
    void (frmMain::*handler)();
};

constexpr QKeyCombination kNoKey{};
constexpr QKeyCombination ctrl(Qt::Key k) {
    return Qt::CTRL | k;
}

constexpr ActionSpec kActions[] = {
    {"mnuFile", "mnuFile_New", ids::MenuFileNew, nullptr, ctrl(Qt::Key_N), 2100, ChangesImage,
     &frmMain::mnuFile_New_Click},
    {"mnuFile", "mnuFile_Open", ids::MenuFileOpen, nullptr, ctrl(Qt::Key_O), 2200, ChangesImage,
     &frmMain::mnuFile_Open_Click},
    {"mnuFile", "mnuFile_Recent", 0, nullptr, kNoKey, 0, 0, nullptr}, // the submenu
    {"mnuFile", "mnuFile_Save", ids::MenuFileSave, nullptr, ctrl(Qt::Key_S), 2300, 0, &frmMain::mnuFile_Save_Click},
    {"mnuFile", "mnuFile_SaveAs", ids::MenuFileSaveAs, nullptr, ctrl(Qt::Key_A), 2400, 0,
     &frmMain::mnuFile_SaveAs_Click},
    {"mnuFile", "mnuFile_Compare", ids::MenuFileCompare, nullptr, kNoKey, 0, 0, &frmMain::mnuFile_Compare_Click},
    {"mnuFile", "mnuFile_Backups", ids::MenuFileBackups, nullptr, kNoKey, 0, ChangesImage,
     &frmMain::mnuFile_Backups_Click},
    {"mnuFile", "mnuFile_Bar2", 0, nullptr, kNoKey, 0, 0, nullptr},
    {"mnuFile", "mnuFile_ImportCsv", ids::MenuFileImportCsv, nullptr, kNoKey, 0, ChangesImage,
     &frmMain::mnuFile_ImportCsv_Click},
    {"mnuFile", "mnuFile_ExportCsv", ids::MenuFileExportCsv, nullptr, kNoKey, 0, 0, &frmMain::mnuFile_ExportCsv_Click},
    {"mnuFile", "mnuFile_Bar3", 0, nullptr, kNoKey, 0, 0, nullptr},
    {"mnuFile", "mnuFile_Print", ids::MenuFilePrint, nullptr, ctrl(Qt::Key_P), 0, 0, &frmMain::mnuFile_Print_Click},
    {"mnuFile", "mnuFile_ExportPdf", ids::MenuFileExportPdf, nullptr, kNoKey, 0, 0, &frmMain::mnuFile_ExportPdf_Click},
    {"mnuFile", "mnuFile_Bar1", 0, nullptr, kNoKey, 0, 0, nullptr},
    {"mnuFile", "mnuFile_Exit", ids::MenuFileExit, nullptr, ctrl(Qt::Key_X), 2600, 0, &frmMain::mnuFile_Exit_Click},
    {"mnuModel", "mnuModel_Info", ids::MenuModelInfo, nullptr, ctrl(Qt::Key_M), 3100, 0, nullptr},
    {"mnuEdit", "mnuEdit_Undo", ids::MenuEditUndo, nullptr, ctrl(Qt::Key_Z), 0, ChangesImage,
     &frmMain::mnuEdit_Undo_Click},
    {"mnuEdit", "mnuEdit_Redo", ids::MenuEditRedo, nullptr, ctrl(Qt::Key_Y), 0, ChangesImage,
     &frmMain::mnuEdit_Redo_Click},
    {"mnuEdit", "mnuEdit_Bar1", 0, nullptr, kNoKey, 0, 0, nullptr},
    {"mnuEdit", "mnuEdit_Cut", ids::MenuEditCut, nullptr, Qt::SHIFT | Qt::Key_Delete, 0, ChangesImage,
     &frmMain::mnuEdit_Cut_Click},
    {"mnuEdit", "mnuEdit_Copy", ids::MenuEditCopy, nullptr, ctrl(Qt::Key_C), 1001, 0, &frmMain::mnuEdit_Copy_Click},
    {"mnuEdit", "mnuEdit_Paste", ids::MenuEditPaste, nullptr, ctrl(Qt::Key_V), 1002, ChangesImage,
     &frmMain::mnuEdit_Paste_Click},
    {"mnuEdit", "mnuEdit_Bar2", 0, nullptr, kNoKey, 0, Hidden, nullptr},
    {"mnuEdit", "mnuEdit_Clear", ids::MenuEditClear, nullptr, ctrl(Qt::Key_D), 1003, ChangesImage,
     &frmMain::mnuEdit_Clear_Click},
    {"mnuEdit", "mnuEdit_Delete", ids::MenuEditDelete, nullptr, kNoKey, 1004, ChangesImage,
     &frmMain::mnuEdit_Delete_Click},
    {"mnuEdit", "mnuEdit_Insert", 0, "&Insert", ctrl(Qt::Key_I), 1005, Hidden | ChangesImage,
     &frmMain::mnuEdit_Insert_Click},
    {"mnuEdit", "mnuEdit_Bar3", 0, nullptr, kNoKey, 0, 0, nullptr},
    {"mnuEdit", "mnuEdit_SelectAll", ids::MenuEditSelectAll, nullptr, Qt::CTRL | Qt::SHIFT | Qt::Key_Space, 0, 0,
     &frmMain::mnuEdit_SelectAll_Click},
    {"mnuEdit", "mnuEdit_Fill", ids::MenuEditFill, nullptr, kNoKey, 0, ChangesImage, &frmMain::mnuEdit_Fill_Click},
    {"mnuEdit", "mnuEdit_SortRx", ids::MenuEditSortRx, nullptr, kNoKey, 0, ChangesImage,
     &frmMain::mnuEdit_SortRx_Click},
    {"mnuEdit", "mnuEdit_SortName", ids::MenuEditSortName, nullptr, kNoKey, 0, ChangesImage,
     &frmMain::mnuEdit_SortName_Click},
    {"mnuEdit", "mnuEdit_Find", ids::MenuEditFind, nullptr, ctrl(Qt::Key_F), 0, 0, &frmMain::mnuEdit_Find_Click},
    {"mnuEdit", "mnuEdit_FindNext", ids::MenuEditFindNext, nullptr, QKeyCombination(Qt::Key_F3), 0, 0,
     &frmMain::mnuEdit_FindNext_Click},
    {"mnuProgram", "mnuProgram_OptFeatures", 0, "&Optional Features", kNoKey, 4100, Hidden, nullptr},
    {"mnuProgram", "mnuProgram_OPSign", ids::MenuProgramOptionalFeatures, nullptr, kNoKey, 4100, ChangesImage,
     &frmMain::mnuProgram_OPSign_Click},
    {"mnuProgram", "mnuProgram_KeyAssign", ids::MenuProgramKeyAssignment, nullptr, kNoKey, 0, Hidden, nullptr},
    {"mnuProgram", "mnuProgram_Debug", ids::MenuProgramTuning, nullptr, kNoKey, 0, Hidden, nullptr},
    {"mnuProgram", "mnuProgram_Advanced", ids::MenuProgramAdvanced, nullptr, kNoKey, 0, Hidden | ChangesImage,
     &frmMain::mnuProgram_Advanced_Click},
    {"mnuProgram", "mnuProgram_Deviation", ids::MenuProgramDeviation, nullptr, kNoKey, 0, Hidden, nullptr},
    {"mnuProgram", "mnuProgram_Bar1", 0, nullptr, kNoKey, 0, 0, nullptr},
    {"mnuProgram", "mnuProgram_ANI", ids::MenuProgramRadio, nullptr, kNoKey, 4300, ChangesImage,
     &frmMain::mnuProgram_ANI_Click},
    {"mnuProgram", "mnuProgram_Bar2", 0, nullptr, kNoKey, 0, 0, nullptr},
    {"mnuProgram", "mnuProgram_EmbMsg", ids::MenuProgramEmbeddedMessage, nullptr, kNoKey, 4400, ChangesImage,
     &frmMain::mnuProgram_EmbMsg_Click},
    {"mnuTransfer", "mnuTransfer_Read", ids::MenuTransferRead, nullptr, ctrl(Qt::Key_R), 5100, ChangesImage,
     &frmMain::mnuTransfer_Read_Click},
    {"mnuTransfer", "mnuTransfer_Write", ids::MenuTransferWrite, nullptr, ctrl(Qt::Key_W), 5200, ChangesImage,
     &frmMain::mnuTransfer_Write_Click},
    {"mnuTransfer", "mnuTransfer_Bar1", 0, nullptr, kNoKey, 0, 0, nullptr},
    {"mnuTransfer", "mnuTransfer_WriteSeveral", ids::MenuTransferWriteSeveral, nullptr, kNoKey, 0, 0,
     &frmMain::mnuTransfer_WriteSeveral_Click},
    {"mnuTransfer", "mnuTransfer_ReadSeveral", ids::MenuTransferReadSeveral, nullptr, kNoKey, 0, 0,
     &frmMain::mnuTransfer_ReadSeveral_Click},
    {"mnuTransfer", "mnuTransfer_Bar2", 0, nullptr, kNoKey, 0, 0, nullptr},
    {"mnuTransfer", "mnuTransfer_History", ids::MenuTransferHistory, nullptr, kNoKey, 0, 0,
     &frmMain::mnuTransfer_History_Click},
    {"mnuSet", "mnuSet_GUI", ids::MenuSetupAlternateGui, nullptr, kNoKey, 0, Checkable, &frmMain::mnuSet_GUI_Click},
    {"mnuSet", "mnuSet_SingleClick", ids::MenuSetupSingleClick, nullptr, kNoKey, 0, Checkable,
     &frmMain::mnuSet_SingleClick_Click},
    {"mnuSet", "mnuSet_Manual", ids::MenuSetupManual, nullptr, kNoKey, 0, Checkable | ChangesImage,
     &frmMain::mnuSet_Manual_Click},
    {"mnuSet", "mnuSet_Bar", 0, nullptr, kNoKey, 0, 0, nullptr},
    {"mnuSet", "mnuSet_COM", ids::MenuSetupComPort, nullptr, kNoKey, 6, 0, &frmMain::mnuSet_COM_Click},
    {"mnuSet", "mnuSet_Verify", ids::MenuSetupVerify, nullptr, kNoKey, 0, Checkable, &frmMain::mnuSet_Verify_Click},
    {"mnuSet", "mnuSet_Backup", ids::MenuSetupBackup, nullptr, kNoKey, 0, Checkable, &frmMain::mnuSet_Backup_Click},
    {"mnuSet", "mnuSet_Lan", 0, nullptr, kNoKey, 0, 0, nullptr}, // the submenu
    {"mnuSet_Lan", "mnuSet_LanE", ids::MenuSetupEnglish, nullptr, kNoKey, 7, Checkable, &frmMain::mnuSet_LanE_Click},
    {"mnuSet_Lan", "mnuSet_LanC", ids::MenuSetupChinese, nullptr, kNoKey, 7, Checkable, &frmMain::mnuSet_LanC_Click},
    {"mnuView", "mnuView_Status", ids::MenuViewStatus, nullptr, kNoKey, 0, Checkable, &frmMain::mnuView_Status_Click},
    {"mnuView", "mnuView_Buttons", ids::MenuViewButtons, nullptr, kNoKey, 0, Checkable,
     &frmMain::mnuView_Buttons_Click},
    {"mnuView", "mnuView_Columns", ids::MenuViewColumns, nullptr, kNoKey, 0, 0, &frmMain::mnuView_Columns_Click},
    {"mnuHelp", "mnuHelp_Contents", ids::MenuHelpContents, nullptr, kNoKey, 0, 0, &frmMain::mnuHelp_Contents_Click},
    {"mnuHelp", "mnuHelp_About", ids::MenuHelpAbout, nullptr, kNoKey, 0, 0, &frmMain::mnuHelp_About_Click},
    // The button column's moves on the toolbar; Insert there also answers Ctrl+I, which the
    // hidden menu item cannot.
    {nullptr, "tlbActions_MoveUp", 0, nullptr, kNoKey, 0, ChangesImage, nullptr},
    {nullptr, "tlbActions_MoveDown", 0, nullptr, kNoKey, 0, ChangesImage, nullptr},
    {nullptr, "tlbActions_Insert", 0, nullptr, ctrl(Qt::Key_I), 0, ChangesImage, &frmMain::mnuEdit_Insert_Click},
};

struct ToolSpec {
    const char* key;
    const char* action;
    int tipId;
    const char* themeIcon;
    const char* fallback;
    bool separatorBefore;
};

constexpr ToolSpec kToolButtons[] = {
    {"New", "mnuFile_New", ids::TipNew, "document-new", "new", false},
    {"Open", "mnuFile_Open", ids::TipOpen, "document-open", "open", false},
    {"Save", "mnuFile_Save", ids::TipSave, "document-save", "save", false},
    {"Print", "mnuFile_Print", ids::TipPrint, "document-print", "print", false},
    {"Copy", "mnuEdit_Copy", ids::MenuEditCopy, "edit-copy", "copy", true},
    {"Paste", "mnuEdit_Paste", ids::MenuEditPaste, "edit-paste", "paste", false},
    {"Clear", "mnuEdit_Clear", ids::MenuEditClear, "edit-clear", "clear", false},
    {"Undo", "mnuEdit_Undo", ids::MenuEditUndo, "edit-undo", "undo", true},
    {"Redo", "mnuEdit_Redo", ids::MenuEditRedo, "edit-redo", "redo", false},
    {"MoveUp", "tlbActions_MoveUp", ids::ChannelUp, "go-up", "up", true},
    {"MoveDown", "tlbActions_MoveDown", ids::ChannelDown, "go-down", "down", false},
    {"Insert", "tlbActions_Insert", ids::InsertChannel, "list-add", "insert", false},
    {"Delete", "mnuEdit_Delete", ids::DeleteChannel, "list-remove", "delete", false},
    {"Read", "mnuTransfer_Read", ids::TipRead, "document-import", "read", true},
    {"Write", "mnuTransfer_Write", ids::TipWrite, "document-export", "write", false},
    {"About", "mnuHelp_About", ids::TipAbout, "help-about", "about", true},
};

// The property naming a key that the window, not the action, answers.
constexpr const char* kShownKey = "shownKey";

// Everything the single-channel panel turns off while it covers the grid.
constexpr const char* kEditActions[] = {
    "mnuEdit_Undo",        "mnuEdit_Redo",     "mnuEdit_Cut",    "mnuEdit_Copy",      "mnuEdit_Paste",
    "mnuEdit_Clear",       "mnuEdit_Delete",   "mnuEdit_Insert", "mnuEdit_SelectAll", "mnuEdit_Fill",
    "mnuEdit_SortRx",      "mnuEdit_SortName", "mnuEdit_Find",   "mnuEdit_FindNext",  "tlbActions_MoveUp",
    "tlbActions_MoveDown", "tlbActions_Insert"};

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
    m_storedLanguage = m_language;
    m_table = std::make_unique<ChannelTable>(m_document, m_language, localeDecimalSeparator());
    m_help = new MainWindowHelp(*this, [this] { return m_language; });
    m_transfers = new TransferCommands(*this, m_document, m_prompter, *m_settings, this);
    m_backupFolder = m_transfers->backupFolder();
    m_transfers->setBeforeReadReplaces([this] { return keepUnsavedEdits(); });
    connect(m_transfers, &TransferCommands::finished, this, [this](CloneOutcome outcome) {
        focusGrid();
        emit transferFinished(outcome);
    });
    connect(m_transfers, &TransferCommands::comPortDialogShown, this, [this](frmComPort* dialog) {
        // Once the dialog has let go of the window.
        connect(dialog, &QDialog::finished, this, &frmMain::focusGrid, Qt::QueuedConnection);
        emit comPortDialogShown(dialog);
    });

    buildActions();
    buildToolBar();
    buildPanes();
    buildStatusBar();
    setUpEditOperations();
    m_subscription = m_document.observe([this](const DocumentChange& change) { documentChanged(change); });

    setPasteAvailable(false);
    m_holdsCopy = false;
    m_singleClick = true;
    action("mnuSet_SingleClick")->setChecked(true);
    action("mnuView_Buttons")->setChecked(true);
    action("mnuView_Status")->setChecked(true);
    action("mnuSet_Verify")->setChecked(RegKeys(*m_settings).readVerifyAfterWrite());
    action("mnuSet_Backup")->setChecked(RegKeys(*m_settings).readBackupBeforeWrite());

    if (const QScreen* screen = QApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        resize(avail.width() * 3 / 4, avail.height() * 3 / 4);
    }
    setLanguage(m_language);
    syncManualCheck();
    updateUndoActions();
    action("mnuProgram_Advanced")->setVisible(false);
    m_filePath.clear();
    updateTitle();
    m_document.takeSavedImage();
    m_recentFiles = RegKeys(*m_settings).readRecentFiles();
    fillRecentMenu();
    setAcceptDrops(true);
}

frmMain::~frmMain() {
    // The grid and the panel read the channel table, a member that would be gone before the
    // base class takes its child widgets down (and hiding them still asks for header texts).
    delete m_altPanel;
    delete m_channelGrid;
}

void frmMain::buildActions() {
    std::map<QString, QMenu*> menus;
    for (const MenuSpec& m : kMenus) {
        QMenu* menu = m.parent ? new QMenu(this) : menuBar()->addMenu(QString());
        const QString name = QString::fromLatin1(m.name);
        menu->setObjectName(name);
        menu->menuAction()->setObjectName(name);
        if (m.helpId)
            menu->menuAction()->setProperty(kHelpContextProperty, m.helpId);
        menu->menuAction()->setVisible(!m.hidden);
        m_help->watchMenu(menu);
        m_captions.push_back({menu->menuAction(), m.captionId, 0});
        menus[name] = menu;
        if (m.name == std::string_view("mnuEdit"))
            mnuEdit = menu;
        if (m.name == std::string_view("mnuFile_Recent"))
            mnuFile_Recent = menu;
    }
    for (const ActionSpec& item : kActions) {
        const QString name = QString::fromLatin1(item.name);
        QMenu* menu = item.menu ? menus.at(QString::fromLatin1(item.menu)) : nullptr;
        if (const auto sub = menus.find(name); sub != menus.end()) {
            menu->addMenu(sub->second);
            continue;
        }
        if (item.captionId == 0 && !item.fixedCaption && !item.handler && menu) {
            QAction* bar = menu->addSeparator();
            bar->setObjectName(name);
            bar->setVisible(!(item.flags & Hidden));
            continue;
        }
        auto* a = new QAction(this);
        a->setObjectName(name);
        a->setShortcut(keys(item.shortcut));
        a->setCheckable(item.flags & Checkable);
        a->setVisible(!(item.flags & Hidden));
        if (item.helpId)
            a->setProperty(kHelpContextProperty, item.helpId);
        if (item.fixedCaption)
            a->setText(QString::fromLatin1(item.fixedCaption));
        if (menu)
            menu->addAction(a);
        if (item.handler) {
            const auto handler = item.handler;
            connect(a, &QAction::triggered, this,
                    [this, handler] { runCommand([this, handler] { (this->*handler)(); }); });
        }
        if (item.captionId)
            m_captions.push_back({a, item.captionId, 0});
    }
    action("mnuHelp_Contents")->setProperty(kShownKey, QStringLiteral("F1"));
    // Redo answers both usual keys.
    action("mnuEdit_Redo")
        ->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    // The toolbar's moves are the button column's.
    connect(action("tlbActions_MoveUp"), &QAction::triggered, this,
            [this] { runCommand([this] { CmdButtons_Click(0); }); });
    connect(action("tlbActions_MoveDown"), &QAction::triggered, this,
            [this] { runCommand([this] { CmdButtons_Click(1); }); });
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
        QAction* a = action(tool.action);
        const QIcon fallback(QStringLiteral(":/icons/%1.svg").arg(QString::fromLatin1(tool.fallback)));
        a->setIcon(QIcon::fromTheme(QString::fromLatin1(tool.themeIcon), fallback));
        a->setProperty("key", QString::fromLatin1(tool.key));
        tlbActions->addAction(a);
        const auto captioned =
            std::find_if(m_captions.begin(), m_captions.end(), [a](const Captioned& c) { return c.action == a; });
        if (captioned != m_captions.end())
            captioned->tipId = tool.tipId;
        else
            m_captions.push_back({a, 0, tool.tipId});
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
        connect(b, &QPushButton::clicked, this, [this, i] { runCommand([this, i] { CmdButtons_Click(i); }); });
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
    connect(m_channelGrid, &ChannelGrid::copyRequested, this, [this] { runCommand([this] { mnuEdit_Copy_Click(); }); });
    connect(m_channelGrid, &ChannelGrid::pasteRequested, this,
            [this] { runCommand([this] { mnuEdit_Paste_Click(); }); });
    connect(m_channelGrid, &ChannelGrid::clearRequested, this,
            [this] { runCommand([this] { mnuEdit_Clear_Click(); }); });
    if (auto* editor = m_channelGrid->findChild<QLineEdit*>(QStringLiteral("txtMemChannel")))
        giveMenuKeysToTheMenu(editor);
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

    // A resized window keeps the button column's width and the status window's height; the grid
    // takes up the difference, so a maximised window shows more channels.
    ImgSplit0->setStretchFactor(0, 0);
    ImgSplit0->setStretchFactor(1, 1);
    ImgSplit1->setStretchFactor(0, 1);
    ImgSplit1->setStretchFactor(1, 0);
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
    m_notice = new QLabel(staDateTime);
    m_notice->setObjectName(QStringLiteral("staNotice"));
    m_notice->setContentsMargins(6, 0, 6, 0);
    staDateTime->addWidget(m_notice);
    m_heldNotice = new QLabel(staDateTime);
    m_heldNotice->setObjectName(QStringLiteral("staHeld"));
    m_heldNotice->setContentsMargins(6, 0, 6, 0);
    m_heldNotice->hide();
    staDateTime->addWidget(m_heldNotice);
    m_selectionCount = new QLabel(staDateTime);
    m_selectionCount->setObjectName(QStringLiteral("staSelection"));
    m_selectionCount->setContentsMargins(6, 0, 6, 0);
    staDateTime->addWidget(m_selectionCount);
    m_noticeTimer = new QTimer(this);
    m_noticeTimer->setSingleShot(true);
    m_noticeTimer->setInterval(8000);
    connect(m_noticeTimer, &QTimer::timeout, m_notice, &QLabel::clear);
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
    m_transfers->setLanguage(lang);
    action("mnuSet_LanE")->setChecked(lang == Language::English);
    action("mnuSet_LanC")->setChecked(lang == Language::Chinese);
    m_channelGrid->setLanguage(lang);
    recaption();
    emit languageChanged(lang);
    // After the views have re-captioned their labels.
    nameControlsFromLabels(this, lang);
}

void frmMain::recaption() {
    for (const Captioned& c : m_captions) {
        const int id = c.captionId ? c.captionId : c.tipId;
        QString text = qtext(id, m_language);
        // A key the window answers itself (not through the action) is shown beside the caption.
        if (const QString key = c.action->property(kShownKey).toString(); !key.isEmpty())
            text += QLatin1Char('\t') + key;
        c.action->setText(text);
        if (c.tipId)
            c.action->setToolTip(withoutMnemonic(qtext(c.tipId, m_language)));
    }
    for (int i = 0; i < kButtonCount; ++i)
        cmdButton(i)->setText(qtext(ids::ChannelUp + i, m_language));
    m_channelGrid->setAccessibleName(qtext(ids::ChannelListTitle, m_language));
    TxtStatus->setAccessibleName(nameFromCaption(qtext(ids::MenuViewStatus, m_language)));
    if (m_document.isHeld())
        m_heldNotice->setText(qtext(ids::ImageHeld, m_language));
    updateUndoActions();
    updateTitle();
}

void frmMain::updateTitle() {
    const QString name = m_filePath.empty() ? QString::fromLatin1(kUntitled) : shownFileName(m_filePath);
    setWindowTitle(QStringLiteral("%1 [File Name: %2]").arg(QString::fromLatin1(kProductName), name));
}

void frmMain::setFilePath(const std::filesystem::path& path) {
    m_filePath = path;
    m_fileStamp.reset(); // whoever names a file stamps it
    updateTitle();
}

void frmMain::documentChanged(const DocumentChange& change) {
    if (change.touches(area::Options))
        syncManualCheck();
    updateUndoActions();
    updateTitle();
}

void frmMain::syncManualCheck() {
    action("mnuSet_Manual")->setChecked(m_table->manualChecked());
}

void frmMain::updateUndoActions() {
    struct Side {
        QAction* action;
        bool can;
        int labelId;
        int labelArg;
        int plainId;
        int namedId;
    };
    const Side sides[] = {
        {action("mnuEdit_Undo"), m_document.canUndo(), m_document.undoLabelId(), m_document.undoLabelArg(),
         ids::MenuEditUndo, ids::MenuEditUndoNamed},
        {action("mnuEdit_Redo"), m_document.canRedo(), m_document.redoLabelId(), m_document.redoLabelArg(),
         ids::MenuEditRedo, ids::MenuEditRedoNamed},
    };
    for (const Side& side : sides) {
        QString label = side.labelId ? qtext(side.labelId, m_language) : QString();
        if (side.labelArg)
            label = label.arg(side.labelArg);
        const QString text =
            side.labelId ? qtext(side.namedId, m_language).arg(label) : qtext(side.plainId, m_language);
        side.action->setText(text);
        side.action->setToolTip(withoutMnemonic(text));
        side.action->setEnabled(side.can && !changesOff());
    }
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

void frmMain::setPasteAvailable(bool available) {
    if (available)
        m_holdsCopy = true;
    action("mnuEdit_Paste")->setEnabled(available && !changesOff());
}

void frmMain::enableEditActions() {
    const bool on = !editMenuOff();
    const bool held = m_document.isHeld();
    mnuEdit->menuAction()->setEnabled(on);
    for (const char* name : kEditActions)
        action(name)->setEnabled(on);
    action("mnuEdit_Paste")->setEnabled(on && m_holdsCopy);
    // The edit items were just set as the panel allows; a held image turns them off too, and the
    // rest of what would change it is on again once let go.
    for (const ActionSpec& item : kActions) {
        if (!(item.flags & ChangesImage))
            continue;
        const bool editItem = !item.menu || item.menu == std::string_view("mnuEdit");
        if (held || !editItem)
            action(item.name)->setEnabled(!held);
    }
    mnuFile_Recent->menuAction()->setEnabled(!held && !m_recentFiles.empty());
    for (QPushButton* b : CmdButtons)
        b->setEnabled(!held);
    updateUndoActions();
}

bool frmMain::changesOff() const {
    return editMenuOff() || m_document.isHeld();
}

void frmMain::holdImage(bool held) {
    if (held == m_document.isHeld())
        return;
    if (held)
        commitOpenEditor();
    m_document.setHeld(held);
    m_channelGrid->setReadOnly(held);
    if (m_altPanel)
        m_altPanel->setReadOnly(held);
    // A window of a command open over this one (Optional Features, the memory map, a question)
    // could change the image too: it stays on screen, off, until the write has ended. Those that
    // only show something stay as they are.
    if (held) {
        for (QDialog* window : findChildren<QDialog*>()) {
            const bool onlyShows = qobject_cast<HelpViewer*>(window) || qobject_cast<frmCompare*>(window) ||
                                   qobject_cast<frmFind*>(window);
            if (window->isVisible() && window->isEnabled() && !onlyShows) {
                window->setEnabled(false);
                m_heldWindows.emplace_back(window);
            }
        }
    } else {
        for (const QPointer<QWidget>& window : m_heldWindows) {
            if (window)
                window->setEnabled(true);
        }
        m_heldWindows.clear();
    }
    m_heldNotice->setText(held ? qtext(ids::ImageHeld, m_language) : QString());
    m_heldNotice->setVisible(held);
    enableEditActions();
}

void frmMain::appendStatus(const QString& line) {
    TxtStatus->appendPlainText(line);
}

void frmMain::showComStatus(const QString& text) {
    m_comStatus->setText(text);
}

void frmMain::showTransferLog(const QString& text) {
    TxtStatus->setPlainText(text);
    TxtStatus->moveCursor(QTextCursor::End);
    TxtStatus->ensureCursorVisible();
}

void frmMain::appendTransferLogLine(const QString& line) {
    appendStatus(line);
}

QString frmMain::transferDataFile() const {
    return m_filePath.empty() ? QString() : shownPath(std::filesystem::absolute(m_filePath));
}

QAction* frmMain::action(const char* objectName) const {
    return findChild<QAction*>(QString::fromLatin1(objectName));
}

QAction* frmMain::toolButton(const QString& key) const {
    for (QAction* a : tlbActions->actions()) {
        if (a->property("key").toString() == key)
            return a;
    }
    return nullptr;
}

void frmMain::commitOpenEditor() {
    if (m_commitEditor)
        m_commitEditor();
}

void frmMain::runCommand(const std::function<void()>& command) {
    commitOpenEditor();
    command();
    focusGrid();
}

void frmMain::focusGrid() {
    // A modal dialog of a command may still be closing; the grid takes the focus when it has.
    if (!alternatePanelShown() && isEnabled() && !QApplication::activeModalWidget())
        m_channelGrid->setFocus(Qt::OtherFocusReason);
}

void frmMain::giveMenuKeysToTheMenu(QWidget* field) {
    field->installEventFilter(this);
}

// --- File (New, Open, Save and Save As live in frm_main_file.cpp) -----------------------------

void frmMain::mnuFile_Exit_Click() {
    close();
}

// --- Transfer ---------------------------------------------------------------------------------

void frmMain::mnuTransfer_Read_Click() {
    m_transfers->read();
}

void frmMain::mnuTransfer_Write_Click() {
    m_transfers->write();
}

void frmMain::mnuTransfer_WriteSeveral_Click() {
    m_transfers->severalRadios(CloneMode::Write);
}

void frmMain::mnuTransfer_ReadSeveral_Click() {
    m_transfers->severalRadios(CloneMode::Read);
}

void frmMain::mnuTransfer_History_Click() {
    m_transfers->history();
}

void frmMain::mnuSet_COM_Click() {
    m_transfers->chooseComPort();
}

void frmMain::setTransferPorts(TransferPorts& ports) {
    m_transfers->setPorts(ports);
}

TransferPorts& frmMain::transferPorts() {
    return m_transfers->ports();
}

frmClone* frmMain::clone() const {
    return m_transfers->clone();
}

// --- Setup ------------------------------------------------------------------------------------

void frmMain::mnuSet_GUI_Click() {
    showAlternatePanel(action("mnuSet_GUI")->isChecked());
}

void frmMain::mnuSet_SingleClick_Click() {
    m_singleClick = action("mnuSet_SingleClick")->isChecked();
    m_channelGrid->setSingleClick(m_singleClick);
}

void frmMain::mnuSet_Manual_Click() {
    m_table->setManualChecked(action("mnuSet_Manual")->isChecked());
    syncManualCheck(); // no change at all when the bit already stood so
}

void frmMain::mnuSet_Verify_Click() {
    RegKeys(*m_settings).writeVerifyAfterWrite(action("mnuSet_Verify")->isChecked());
}

void frmMain::mnuSet_Backup_Click() {
    RegKeys(*m_settings).writeBackupBeforeWrite(action("mnuSet_Backup")->isChecked());
}

void frmMain::mnuSet_LanE_Click() {
    setLanguage(Language::English);
}

void frmMain::mnuSet_LanC_Click() {
    setLanguage(Language::Chinese);
}

// --- View -------------------------------------------------------------------------------------

void frmMain::mnuView_Status_Click() {
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

// --- Toolbar ----------------------------------------------------------------------------------

void frmMain::tlbActions_ButtonClick(const QString& key) {
    if (QAction* a = toolButton(key))
        a->trigger();
}

// --- Window events ----------------------------------------------------------------------------

void frmMain::closeEvent(QCloseEvent* event) {
    // A transfer runs to its end (or its Cancel) first: the port and the image are in use. The
    // several-radios window comes forward to show what is still running.
    if (clone() || m_transfers->raiseBusyWindow()) {
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
    // A store that cannot be written (a full disk, a read-only folder) loses the choice only when
    // it differs from the one stored; then the user hears why the next start is in the old one.
    if (!RegKeys(*m_settings).writeLanguage(m_language) && m_language != m_storedLanguage)
        m_prompter.message(
            this, QMessageBox::Warning, QString::fromLatin1(kProductName),
            qtext(ids::LanguageNotStored, m_language).arg(QDir::toNativeSeparators(m_settings->fileName())),
            QMessageBox::Ok);
    emit unloading();
    m_help->close();
    m_transfers->closeWindows();
    event->accept();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && qobject_cast<QLineEdit*>(watched)) {
        // A text field would keep Ctrl+A (select all) and Ctrl+X (cut) to itself: they are the
        // menu's Save As and Exit here, wherever the focus is.
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        for (const char* name : {"mnuFile_SaveAs", "mnuFile_Exit"}) {
            if (action(name)->shortcut() == pressed) {
                event->ignore();
                return true;
            }
        }
        return QMainWindow::eventFilter(watched, event);
    }
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
            if (!m_document.isHeld())
                runCommand([this] { toggleMemoryMap(); });
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
        // Typing a digit edits a cell at once, without a click into the grid first.
        focusGrid();
    }
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    placeAlternatePanel();
}

} // namespace norvik
