#include "stress/stress_driver.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QtTest>
#include <cstdio>

#include "app/common/texts.h"
#include "app/editor/channel_grid.h"
#include "app/editor/frm_main.h"
#include "app/transfer/frm_clone.h"
#include "core/channels/channel_csv.h"
#include "core/channels/channel_ranges.h"
#include "core/channels/channel_table.h"
#include "core/datafile/data_file.h"
#include "core/service/service_code.h"
#include "core/strings/string_ids.h"
#include "io/image_files.h"
#include "stress/random_image.h"
#include "stress/view_checks.h"

namespace norvik::stress {
namespace {

// No serial devices: the simulated radio is the only place transfers reach.
class NoPorts : public PortEnumerator {
public:
    QList<AvailablePort> availablePorts() const override { return {}; }
};

class NoChecks : public PortChecker {
public:
    void start(const QVector<NumberedPort>& ports) override {
        QTimer::singleShot(0, this, [this, ports] {
            for (const NumberedPort& p : ports)
                emit portChecked(p.number, false);
            emit finished();
        });
    }
};

// Where a click lands: only on a widget the user can see, inside every widget around it.
bool reachable(QWidget* w) {
    if (!w || !w->isVisible() || !w->isEnabled() || w->width() < 2 || w->height() < 2)
        return false;
    for (QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
        const QPoint c = w->mapTo(p, w->rect().center());
        if (!p->rect().contains(c))
            return false;
        if (p->isWindow())
            break;
    }
    return true;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

QByteArray bytesOf(const ByteVector& v) {
    return QByteArray(reinterpret_cast<const char*>(v.data()), static_cast<qsizetype>(v.size()));
}

// Main-window commands with their weights. Exit is left out: the closing question is asked by
// its own step, which keeps the window.
struct Command {
    const char* action;
    int weight;
};
constexpr Command kCommands[] = {
    {"mnuEdit_Undo", 16},       {"mnuEdit_Redo", 10},       {"mnuEdit_Copy", 10},     {"mnuEdit_Paste", 10},
    {"mnuEdit_Clear", 6},       {"mnuEdit_Delete", 6},      {"tlbActions_Insert", 6}, {"tlbActions_MoveUp", 6},
    {"tlbActions_MoveDown", 6}, {"mnuSet_LanE", 4},         {"mnuSet_LanC", 4},       {"mnuSet_GUI", 10},
    {"mnuView_Columns", 4},     {"mnuProgram_OPSign", 5},   {"mnuProgram_ANI", 4},    {"mnuProgram_EmbMsg", 4},
    {"memoryMap", 4},           {"mnuProgram_Advanced", 3}, {"mnuFile_New", 3},       {"mnuFile_Open", 4},
    {"mnuFile_Save", 3},        {"mnuFile_SaveAs", 3},      {"mnuSet_Manual", 3},     {"mnuSet_SingleClick", 2},
    {"mnuView_Status", 1},      {"mnuView_Buttons", 1},     {"mnuSet_COM", 1},        {"mnuHelp_About", 1},
    {"mnuTransfer_Read", 1},    {"mnuTransfer_Write", 1},   {"cmdButton", 8},         {"mnuFile_ImportCsv", 5},
    {"mnuFile_ExportCsv", 1},   {"mnuFile_Print", 1},       {"mnuFile_ExportPdf", 1}, {"mnuFile_Compare", 2},
    {"mnuSet_Verify", 1},       {"mnuEdit_Cut", 4},         {"mnuEdit_SelectAll", 2}, {"selectChannels", 14},
    {"setOnSelection", 8},      {"pasteSpreadsheet", 4},    {"mnuEdit_Fill", 3},      {"mnuEdit_SortRx", 2},
    {"mnuEdit_SortName", 2},    {"mnuEdit_Find", 2},        {"mnuEdit_FindNext", 2},
};

bool replacesImage(const char* action) {
    const QString a = QString::fromLatin1(action);
    return a == QLatin1String("mnuFile_New") || a == QLatin1String("mnuFile_Open") ||
           a == QLatin1String("mnuTransfer_Read");
}

const QString kDigits = QStringLiteral("0123456789");
const QString kAnyText = QStringLiteral("0123456789.,ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefxyz *#-+/ ");

} // namespace

StressDriver::StressDriver(const StressOptions& options) : m_options(options), m_rng(options.seed) {
    // One run in three as a user whose numbers are written with a decimal comma.
    if (m_rng.chance(1.0 / 3))
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    m_files = m_dir.filePath(QStringLiteral("files"));
    QDir().mkpath(m_files);
    m_settings = std::make_unique<QSettings>(m_dir.filePath(QStringLiteral("language.ini")), QSettings::IniFormat);
    m_prompter = std::make_unique<StressPrompter>(m_rng, m_files);
    m_prompter->trace = options.trace;
    m_ports = std::make_unique<TransferPorts>(std::make_unique<NoPorts>(), [] { return std::make_unique<NoChecks>(); });
    m_ports->setChoice({1, true});
    m_ports->setSimulatorPaced(false);
    m_checks = std::make_unique<DocumentChecks>(m_doc);
    m_window = std::make_unique<frmMain>(m_doc, *m_prompter, m_settings.get());
    m_window->setTransferPorts(*m_ports);
    m_window->resize(1200, 700);
    QObject::connect(m_window.get(), &frmMain::transferFinished,
                     [this](CloneOutcome outcome) { m_transferOutcome = outcome; });
}

StressDriver::~StressDriver() = default;

void StressDriver::setUpFiles() {
    const RadioImage other = randomImage(m_rng, m_doc.newImage());
    const QByteArray good = bytesOf(encodeDataFile(other));
    writeFile(m_files + QStringLiteral("/other.dat"), good);
    writeFile(m_files + QStringLiteral("/cut-short.dat"), good.left(good.size() / 2));
    writeFile(m_files + QStringLiteral("/empty.dat"), {});
    QByteArray junk;
    for (int i = m_rng.between(1, 6000); i > 0; --i)
        junk.append(static_cast<char>(m_rng.byte()));
    writeFile(m_files + QStringLiteral("/junk.dat"), junk);
    // Channel lists: one as exported, and the same with lines and fields changed at random.
    const std::string csv = exportChannelsCsv(randomImage(m_rng, m_doc.newImage()));
    writeFile(m_files + QStringLiteral("/channels.csv"), QByteArray::fromStdString(csv));
    QByteArray bent = QByteArray::fromStdString(csv);
    for (int i = m_rng.between(1, 40); i > 0 && !bent.isEmpty(); --i)
        bent[m_rng.below(static_cast<int>(bent.size()))] =
            m_rng.pick(std::vector<char>{',', '"', '\n', '9', '.', 'x', ' '});
    writeFile(m_files + QStringLiteral("/bent.csv"), bent);
    QDir(m_files).mkdir(QStringLiteral("a-folder"));
    m_ports->simulator().memory() = randomImage(m_rng, m_doc.newImage());
}

void StressDriver::loadStartImage() {
    // As Open puts an image in place: no history, nothing changed.
    m_doc.replace(randomImage(m_rng, m_doc.newImage()), 0, RadioDocument::SavedImage::Take);
}

int StressDriver::run() {
    m_start = std::chrono::steady_clock::now();
    setUpFiles();
    loadStartImage();
    m_window->show();
    m_window->activateWindow();
    if (!QTest::qWaitForWindowActive(m_window.get()))
        fail(QStringLiteral("the main window never became active"));
    verify();
    while (m_step < m_options.steps)
        step();
    // Wind down: the image let go, dialogs closed, then the whole history walked once more and the
    // closing question.
    m_window->holdImage(false);
    for (int guard = 0; QApplication::activeModalWidget() && guard < 20; ++guard) {
        QApplication::activeModalWidget()->close();
        settle();
    }
    m_action = QStringLiteral("final undo walk");
    undoAllTheWay();
    verify();
    const auto files = fileTimes();
    m_action = QStringLiteral("final closing question");
    closeCheck();
    settle();
    noteSaves(files);
    verify();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
    std::printf("stress: %d steps clean, seed %llu, %.1f s, numbers as in %s\n", m_step,
                static_cast<unsigned long long>(m_options.seed), seconds, qPrintable(QLocale().name()));
    std::printf("  prompts answered %d, dialogs worked %d, transfers %d (%d completed), saves %d\n",
                m_prompter->asked(), m_summary.dialogs, m_summary.transfers, m_summary.transfersCompleted,
                m_summary.saves);
    const auto& notices = m_checks->notices();
    std::printf("  document changes %d, whole new images %d, undos %d, redos %d\n", notices[0], notices[1], notices[2],
                notices[3]);
    std::printf("  undo walks %d (%d back to the last New or Open, the rest as far as the %zu-step history "
                "went; it was cut %d times), closing questions %d\n",
                m_summary.undoWalks, m_summary.undoWalksToBaseline, RadioDocument::kUndoLimit, m_checks->truncations(),
                m_summary.closeChecks);
    std::fflush(stdout);
    m_window.reset();
    return 0;
}

// --- Steps ------------------------------------------------------------------------------------

void StressDriver::step() {
    ++m_step;
    if (m_options.stepStarted)
        m_options.stepStarted(m_step);
    const auto files = fileTimes();
    const int takes = m_checks->takes();
    m_transferOutcome.reset();
    // Fifty of every 250 steps with the image held, as a write to several radios holds it: the
    // window must keep showing it, and nothing may change it.
    if (const bool hold = m_step % 250 >= 200; hold != m_doc.isHeld()) {
        m_window->holdImage(hold);
        m_heldImage = m_doc.image();
    }
    if (QWidget* popup = QApplication::activePopupWidget()) {
        onPopup(popup);
    } else if (QWidget* modal = QApplication::activeModalWidget()) {
        onDialog(modal);
    } else {
        m_lastDialog = nullptr;
        auto* panel = m_window->findChild<QWidget*>(QStringLiteral("PicGUI"));
        if (panel && panel->isVisible() && m_rng.chance(0.7))
            onPanel(panel);
        else
            onMainWindow();
    }
    settle();
    if (m_window->clone())
        waitForTransfer();
    waitForServiceLink();
    // A save made in the same step as an Open or New came first (the question before them):
    // the image they put in place is the saved one.
    if (m_checks->takes() == takes)
        noteSaves(files);
    verify();
    if (m_options.trace) {
        const auto& n = m_checks->notices();
        QWidget* f = QApplication::focusWidget();
        auto* shown = m_window->findChild<QLineEdit*>(QStringLiteral("TxtChannelGUI"));
        std::printf("%*s  -> changes %d, history %zu; channel %d (panel %s); focus %s %s, active %s\n", m_depth * 2, "",
                    n[0] + n[1] + n[2] + n[3], m_doc.undoCount(), m_window->channelTable().currentChannel(),
                    shown ? qPrintable(shown->text()) : "none", f ? f->metaObject()->className() : "none",
                    f ? qPrintable(f->objectName()) : "",
                    QApplication::activeWindow() ? qPrintable(QApplication::activeWindow()->objectName()) : "none");
    }
}

void StressDriver::perform(const QString& what, const std::function<void()>& action) {
    m_action = what;
    if (m_options.trace) {
        std::printf("%*s%d: %s\n", m_depth * 2, "", m_step, qPrintable(what));
        std::fflush(stdout);
    }
    auto running = std::make_shared<bool>(true);
    armNested(running);
    action();
    *running = false;
}

// Until the action returns: if it sits in a dialog's own event loop, the steps go on in there.
void StressDriver::armNested(std::shared_ptr<bool> running) {
    QTimer::singleShot(1, qApp, [this, running] {
        if (!*running)
            return;
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            armNested(running);
            return;
        }
        *running = false; // this dialog is ours; one opened later arms its own step
        driveNested(modal);
    });
}

void StressDriver::driveNested(QWidget* modal) {
    QPointer<QWidget> dialog = modal;
    ++m_depth;
    while (dialog && dialog->isVisible()) {
        if (m_step >= m_options.steps) {
            dialog->close();
            break;
        }
        step();
    }
    --m_depth;
}

void StressDriver::settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // What a window manager does when a dialog goes: the window under it becomes active again.
        if (!QApplication::activeWindow() && !QApplication::activePopupWidget()) {
            QWidget* top = QApplication::activeModalWidget();
            (top ? top : m_window.get())->activateWindow();
        }
    }
}

void StressDriver::verify() {
    QString fault = QString::fromStdString(m_checks->check());
    if (fault.isEmpty())
        fault = checkGrid(*m_window);
    if (fault.isEmpty())
        fault = checkPanel(*m_window);
    if (fault.isEmpty())
        fault = checkTitle(*m_window);
    if (fault.isEmpty() && !m_window->clone() && !m_window->isEnabled())
        fault = QStringLiteral("the main window stays disabled with no transfer running");
    if (fault.isEmpty() && m_doc.isHeld() && !(m_doc.image() == m_heldImage))
        fault = QStringLiteral("the image changed while it was held");
    if (!fault.isEmpty())
        fail(fault);
}

void StressDriver::fail(const QString& what) {
    std::fflush(stdout);
    std::fprintf(stderr,
                 "stress: FAULT at step %d (seed %llu)\n  %s\n  during: %s\n  replay: norvik-stress --seed %llu "
                 "--steps %d --trace\n",
                 m_step, static_cast<unsigned long long>(m_options.seed), qPrintable(what), qPrintable(m_action),
                 static_cast<unsigned long long>(m_options.seed), m_step);
    std::fflush(stderr);
    std::_Exit(1);
}

// --- Keys and text ----------------------------------------------------------------------------

QWidget* StressDriver::keyTarget(QWidget* top) const {
    QWidget* f = QApplication::focusWidget();
    if (f && f->window() == top->window())
        return f;
    return top;
}

QString StressDriver::randomText(const QString& alphabet, int maxLength) {
    QString s;
    for (int i = m_rng.below(maxLength + 1); i > 0; --i)
        s += alphabet.at(m_rng.below(static_cast<int>(alphabet.size())));
    if (m_rng.chance(0.03))
        s += m_rng.chance(0.5) ? QStringLiteral("\u00e9") : QStringLiteral("\u4e2d");
    return s;
}

QString StressDriver::frequencyText() {
    switch (m_rng.below(6)) {
    case 0: // in the default bands, on or off the rasters
        return QString::number(m_rng.pick(std::vector<int>{136, 145, 150, 173, 174, 400, 446, 469, 470, 519, 520}) +
                                   m_rng.below(100000) / 100000.0,
                               'f', m_rng.between(0, 6));
    case 1:
        return QString::number(m_rng.between(0, 999));
    case 2:
        return randomText(QStringLiteral("0123456789.,"), 12);
    case 3:
        return QString::number(m_rng.between(0, 99)) + QLatin1Char('.') + randomText(kDigits, 6);
    case 4: // an offset
        return QString::number(m_rng.between(0, 12) / 2.0 + m_rng.below(100) / 1000.0, 'f', 3);
    default:
        return QString();
    }
}

void StressDriver::typeText(QWidget* target, const QString& text) {
    if (m_options.trace && !text.isEmpty())
        std::printf("%*s  type \"%s\"\n", m_depth * 2, "", qPrintable(text));
    for (const QChar c : text) {
        QWidget* to = keyTarget(target->window());
        if (c.unicode() < 128)
            QTest::keyClick(to, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, to, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void StressDriver::pressKey(QWidget* target) {
    static const std::vector<int> weights = {30, 5, 12, 10, 5, 5, 10, 4, 6, 8, 2};
    QWidget* to = keyTarget(target);
    Qt::Key key = Qt::Key_unknown;
    Qt::KeyboardModifiers mods = Qt::NoModifier;
    switch (m_rng.weighted(weights)) {
    case 0: {
        typeText(to, QString(QChar('0' + m_rng.below(10))));
        return;
    }
    case 1:
        typeText(to, m_rng.chance(0.8) ? QStringLiteral(".") : QStringLiteral(","));
        return;
    case 2:
        typeText(to, randomText(kAnyText, 1));
        return;
    case 3:
        key = m_rng.chance(0.5) ? Qt::Key_Return : Qt::Key_Enter;
        mods = m_rng.chance(0.2) ? Qt::ControlModifier : Qt::NoModifier; // into every selected channel
        break;
    case 4:
        key = Qt::Key_Escape;
        break;
    case 5:
        key = Qt::Key_Tab;
        mods = m_rng.chance(0.3) ? Qt::ShiftModifier : Qt::NoModifier;
        break;
    case 6:
        key = m_rng.pick(std::vector<Qt::Key>{Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right});
        mods = m_rng.chance(0.25) ? Qt::ShiftModifier : Qt::NoModifier; // Shift+Up/Down grow a selection
        break;
    case 7:
        key = m_rng.pick(std::vector<Qt::Key>{Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End});
        mods = m_rng.chance(0.3) ? Qt::ControlModifier : Qt::NoModifier;
        break;
    case 8:
        key = m_rng.chance(0.7) ? Qt::Key_Backspace : Qt::Key_Delete;
        break;
    case 9: // the edit keys; Ctrl+X (Exit) is the closing question's step
        key = m_rng.pick(std::vector<Qt::Key>{Qt::Key_C, Qt::Key_V, Qt::Key_D, Qt::Key_Z, Qt::Key_Y, Qt::Key_I});
        mods = m_rng.chance(0.2) ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier;
        break;
    default:
        key = quietPhase() ? m_rng.pick(std::vector<Qt::Key>{Qt::Key_S, Qt::Key_A, Qt::Key_M})
                           : m_rng.pick(std::vector<Qt::Key>{Qt::Key_S, Qt::Key_A, Qt::Key_N, Qt::Key_O, Qt::Key_M});
        mods = Qt::ControlModifier;
        break;
    }
    if (m_options.trace)
        std::printf("%*s  key %s\n", m_depth * 2, "", qPrintable(QKeySequence(mods | key).toString()));
    QTest::keyClick(to, key, mods);
}

void StressDriver::pressKeys(QWidget* target, int count) {
    for (int i = 0; i < count; ++i) {
        // A key may have brought up a dialog or a popup: the rest would go to the wrong window.
        QWidget* modal = QApplication::activeModalWidget();
        if (QApplication::activePopupWidget() || (modal && modal != target->window()))
            return;
        pressKey(target);
    }
}

// --- The main window --------------------------------------------------------------------------

void StressDriver::onMainWindow() {
    static const std::vector<int> weights = {30, 20, 12, 25, 3, 2, 3};
    switch (m_rng.weighted(weights)) {
    case 0: {
        const int count = m_rng.between(1, 6);
        perform(QStringLiteral("%1 keys").arg(count), [this, count] { pressKeys(m_window.get(), count); });
        break;
    }
    case 1:
        typeIntoCell();
        break;
    case 2: {
        const int n = m_rng.chance(0.7)
                          ? qBound(1, m_window->channelGrid()->currentChannel() + m_rng.between(-3, 3), kChannelCount)
                          : m_rng.between(1, kChannelCount);
        const int c = m_rng.between(1, kTableColumns - 1);
        const bool twice = m_rng.chance(0.2);
        perform(QStringLiteral("%1 channel %2 column %3").arg(twice ? "double-click" : "click").arg(n).arg(c),
                [this, n, c, twice] { clickCell(n, c, twice); });
        break;
    }
    case 3:
        command();
        break;
    case 4:
        perform(QStringLiteral("undo all the way, redo all the way"), [this] { undoAllTheWay(); });
        break;
    case 5:
        perform(QStringLiteral("close the window"), [this] { closeCheck(); });
        break;
    default:
        perform(QStringLiteral("right-click the focused field"), [this] {
            QWidget* to = keyTarget(m_window.get());
            QTest::mouseClick(to, Qt::RightButton, {}, to->rect().center());
        });
        break;
    }
}

void StressDriver::clickCell(int channel, int column, bool twice) {
    ChannelGrid* grid = m_window->channelGrid();
    if (!grid->isVisible() || m_window->alternatePanelShown())
        return; // the panel lies over it
    grid->scrollTo(grid->model()->index(channel - 1, column - 1));
    const QRect r = grid->cellRect(channel, column);
    if (r.width() < 3 || !grid->viewport()->rect().contains(r.center()))
        return; // a hidden column
    if (twice)
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, r.center());
    else
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, r.center());
}

// A value typed into a cell the way users do: click, type, and leave it one way or another.
void StressDriver::typeIntoCell() {
    const int n = m_rng.chance(0.5) ? m_rng.between(1, 8) : m_rng.between(1, kChannelCount);
    const int column = m_rng.pick(std::vector<int>{col::Rx, col::Rx, col::Tx, col::Offset, col::Name, col::Decode,
                                                   col::Power, col::Duplex, col::Scrambler});
    const bool text = column == col::Rx || column == col::Tx || column == col::Offset;
    const QString value = column == col::Name ? randomText(kAnyText, 9) : text ? frequencyText() : QString();
    const int leave = m_rng.below(5);
    perform(QStringLiteral("type \"%1\" into channel %2 column %3 (leave %4)").arg(value).arg(n).arg(column).arg(leave),
            [=, this] {
                clickCell(n, column, !m_window->singleClickEdit());
                QWidget* to = keyTarget(m_window.get());
                if (text || column == col::Name) {
                    if (auto* edit = qobject_cast<QLineEdit*>(to))
                        edit->selectAll();
                    typeText(to, value);
                } else {
                    for (int i = m_rng.below(6); i > 0; --i)
                        QTest::keyClick(keyTarget(m_window.get()), m_rng.chance(0.5) ? Qt::Key_Down : Qt::Key_Up);
                }
                switch (leave) {
                case 0:
                case 1:
                    QTest::keyClick(keyTarget(m_window.get()), Qt::Key_Return);
                    break;
                case 2:
                    QTest::keyClick(keyTarget(m_window.get()), Qt::Key_Escape);
                    break;
                case 3:
                    clickCell(m_rng.between(1, kChannelCount), m_rng.between(1, kTableColumns - 1), false);
                    break;
                default: // left open: the next command commits it
                    break;
                }
            });
}

void StressDriver::command() {
    std::vector<int> weights;
    for (const Command& c : kCommands)
        weights.push_back(replacesImage(c.action) && quietPhase() ? 0 : c.weight);
    const Command& chosen = kCommands[m_rng.weighted(weights)];
    const QString name = QString::fromLatin1(chosen.action);
    perform(name, [this, chosen] { runAction(chosen.action); });
}

void StressDriver::runAction(const char* name) {
    const QString key = QString::fromLatin1(name);
    if (key == QLatin1String("memoryMap")) {
        auto* tools = m_window->findChild<QToolBar*>(QStringLiteral("tlbActions"));
        QTest::mouseClick(tools, Qt::RightButton, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier,
                          QPoint(tools->width() - 3, tools->height() / 2));
        return;
    }
    if (key == QLatin1String("cmdButton")) {
        QPushButton* b = m_window->cmdButton(m_rng.below(frmMain::kButtonCount));
        if (reachable(b))
            QTest::mouseClick(b, Qt::LeftButton);
        return;
    }
    if (key == QLatin1String("selectChannels")) {
        selectChannels();
        return;
    }
    if (key == QLatin1String("setOnSelection")) {
        setOnSelection();
        return;
    }
    if (key == QLatin1String("pasteSpreadsheet")) {
        putSpreadsheetText();
        name = "mnuEdit_Paste";
    }
    if (key == QLatin1String("mnuProgram_Advanced")) {
        // The command shows only after Ctrl+Alt and a click on the status bar.
        QAction* advanced = m_window->action(name);
        if (!advanced->isVisible()) {
            auto* bar = m_window->findChild<QStatusBar*>(QStringLiteral("staDateTime"));
            QTest::mouseClick(bar, Qt::LeftButton, Qt::ControlModifier | Qt::AltModifier, QPoint(3, bar->height() / 2));
        }
    }
    if (key == QLatin1String("mnuTransfer_Read") || key == QLatin1String("mnuTransfer_Write"))
        prepareSimulator();
    QAction* a = m_window->action(name);
    if (!a || !a->isEnabled())
        return;
    // As a user reaches it: the tool button, else the menu item (or its key, which is the same).
    auto* tools = m_window->findChild<QToolBar*>(QStringLiteral("tlbActions"));
    QWidget* button = tools->widgetForAction(a);
    if (button && reachable(button) && m_rng.chance(0.5))
        QTest::mouseClick(button, Qt::LeftButton);
    else if (a->isVisible() || key.startsWith(QLatin1String("tlbActions")))
        a->trigger();
}

// Row numbers clicked alone, with Shift or with Ctrl, mostly near the current channel.
void StressDriver::selectChannels() {
    ChannelGrid* grid = m_window->channelGrid();
    if (!grid->isVisible() || m_window->alternatePanelShown())
        return;
    const int n = m_rng.chance(0.7) ? qBound(1, grid->currentChannel() + m_rng.between(-6, 6), kChannelCount)
                                    : m_rng.between(1, kChannelCount);
    const Qt::KeyboardModifiers mods = m_rng.pick(
        std::vector<Qt::KeyboardModifiers>{Qt::NoModifier, Qt::ShiftModifier, Qt::ShiftModifier, Qt::ControlModifier});
    grid->scrollTo(grid->model()->index(n - 1, 0));
    QHeaderView* numbers = grid->verticalHeader();
    const int y = numbers->sectionViewportPosition(n - 1) + numbers->sectionSize(n - 1) / 2;
    if (y < 0 || y >= numbers->viewport()->height())
        return;
    if (m_options.trace)
        std::printf("%*s  number %d (%d)\n", m_depth * 2, "", n, int(mods));
    QTest::mouseClick(numbers->viewport(), Qt::LeftButton, mods, QPoint(numbers->width() / 2, y));
}

// A cell of a selected channel edited and left with Ctrl+Enter, or a list value chosen with Ctrl.
void StressDriver::setOnSelection() {
    ChannelGrid* grid = m_window->channelGrid();
    const CurrentCell& cell = m_window->channelTable().current();
    if (!grid->isVisible() || m_window->alternatePanelShown() || cell.selectedCount() < 2)
        return;
    std::vector<int> selected;
    for (int n = 1; n <= kChannelCount; ++n) {
        if (cell.selected().test(static_cast<std::size_t>(n)))
            selected.push_back(n);
    }
    const int n = m_rng.pick(selected);
    const int column = m_rng.pick(
        std::vector<int>{col::Rx, col::Tx, col::Offset, col::Name, col::Decode, col::Power, col::Duplex, col::Scan});
    clickCell(n, column, !m_window->singleClickEdit());
    QWidget* to = keyTarget(m_window.get());
    if (auto* edit = qobject_cast<QLineEdit*>(to)) {
        edit->selectAll();
        typeText(to, column == col::Name ? randomText(kAnyText, 7) : frequencyText());
    } else {
        for (int i = m_rng.below(4); i > 0; --i)
            QTest::keyClick(keyTarget(m_window.get()), m_rng.chance(0.5) ? Qt::Key_Down : Qt::Key_Up);
    }
    QTest::keyClick(keyTarget(m_window.get()), Qt::Key_Return, Qt::ControlModifier);
}

// What a spreadsheet puts on the clipboard: the program's own text of some channels, changed a
// little, or lines that are partly junk.
void StressDriver::putSpreadsheetText() {
    ChannelSet some;
    const int first = m_rng.between(1, kChannelCount);
    for (int n = first; n <= std::min(kChannelCount, first + m_rng.below(8)); ++n)
        some.set(static_cast<std::size_t>(n));
    QString text = QString::fromStdString(channelsClipboardText(m_doc.image(), some));
    if (m_rng.chance(0.3))
        text.remove(0, text.indexOf(QLatin1Char('\n')) + 1); // without the header
    if (m_rng.chance(0.3))
        text += frequencyText() + QLatin1Char('\t') + randomText(kAnyText, 9) + QLatin1Char('\n');
    if (m_rng.chance(0.2))
        text = randomText(kAnyText + QStringLiteral("\t\n\""), 40);
    QGuiApplication::clipboard()->setText(text);
}

// --- The single-channel panel -----------------------------------------------------------------

void StressDriver::onPanel(QWidget* panel) {
    if (m_rng.chance(0.3)) {
        const int count = m_rng.between(1, 5);
        perform(QStringLiteral("%1 keys on the panel").arg(count), [this, count] { pressKeys(m_window.get(), count); });
        return;
    }
    std::vector<QWidget*> widgets;
    for (QWidget* w : panel->findChildren<QWidget*>()) {
        if (reachable(w) &&
            (qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractButton*>(w)))
            widgets.push_back(w);
    }
    if (widgets.empty())
        return;
    QWidget* w = m_rng.pick(widgets);
    perform(QStringLiteral("panel %1").arg(w->objectName()), [this, w] { pokeWidget(w); });
}

// --- Dialogs and popups -----------------------------------------------------------------------

void StressDriver::onDialog(QWidget* dialog) {
    if (qobject_cast<QMessageBox*>(dialog) || qobject_cast<QFileDialog*>(dialog))
        fail(QStringLiteral("a %1 came up outside the prompt interface")
                 .arg(QLatin1String(dialog->metaObject()->className())));
    if (dialog != m_lastDialog) {
        m_lastDialog = dialog;
        m_dialogAge = 0;
        ++m_summary.dialogs;
    }
    ++m_dialogAge;
    const QString name = dialog->objectName();
    // Qt's own print dialogs are not this program's to test: they are closed. The preview is
    // paged with keys, and closed.
    const QString kind = QLatin1String(dialog->metaObject()->className());
    if (kind == QLatin1String("QPrintDialog") || kind == QLatin1String("QPageSetupDialog") ||
        (name == QLatin1String("dlgPrintPreview") && m_rng.chance(0.5))) {
        perform(QStringLiteral("%1: Esc").arg(kind),
                [this, dialog] { QTest::keyClick(keyTarget(dialog), Qt::Key_Escape); });
        return;
    }
    if (name == QLatin1String("dlgPrintPreview")) {
        perform(QStringLiteral("print preview: page"), [this, dialog] {
            QTest::keyClick(keyTarget(dialog), m_rng.chance(0.5) ? Qt::Key_PageDown : Qt::Key_PageUp);
        });
        return;
    }
    if (name == QLatin1String("frmLogin") && m_rng.chance(0.7)) {
        perform(QStringLiteral("log in"), [this, dialog] {
            auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("txtPassword"));
            QTest::mouseClick(field, Qt::LeftButton);
            field->selectAll();
            typeText(field, QString::fromLatin1(kServiceCode.data(), static_cast<qsizetype>(kServiceCode.size())));
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("CmdOk")), Qt::LeftButton);
        });
        return;
    }
    // The longer a dialog is up, the likelier the user closes it.
    if (m_rng.chance(qMin(0.5, m_dialogAge / 40.0))) {
        perform(QStringLiteral("%1: Esc").arg(name),
                [this, dialog] { QTest::keyClick(keyTarget(dialog), Qt::Key_Escape); });
        return;
    }
    if (m_rng.chance(0.15)) {
        const int count = m_rng.between(1, 5);
        perform(QStringLiteral("%1: %2 keys").arg(name).arg(count),
                [this, dialog, count] { pressKeys(dialog, count); });
        return;
    }
    std::vector<QWidget*> widgets;
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        if (w->window() != dialog || !reachable(w))
            continue;
        const bool itemView = qobject_cast<QAbstractItemView*>(w) && !qobject_cast<QComboBox*>(w->parentWidget());
        if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
            qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QTabBar*>(w) || itemView)
            widgets.push_back(w);
    }
    if (widgets.empty())
        return;
    QWidget* w = m_rng.pick(widgets);
    perform(QStringLiteral("%1: %2 %3").arg(name, QLatin1String(w->metaObject()->className()), w->objectName()),
            [this, w] { pokeWidget(w); });
}

void StressDriver::onPopup(QWidget* popup) {
    const int downs = m_rng.below(8);
    const bool choose = m_rng.chance(0.7);
    perform(QStringLiteral("popup %1: %2 down, %3")
                .arg(QLatin1String(popup->metaObject()->className()))
                .arg(downs)
                .arg(choose ? "Enter" : "Esc"),
            [this, popup, downs, choose] {
                QPointer<QWidget> p = popup;
                for (int i = 0; i < downs && p && p->isVisible(); ++i)
                    QTest::keyClick(keyTarget(p), Qt::Key_Down);
                if (p && p->isVisible())
                    QTest::keyClick(keyTarget(p), choose ? Qt::Key_Return : Qt::Key_Escape);
            });
}

void StressDriver::pokeWidget(QWidget* w) {
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        if (m_rng.chance(0.5)) {
            QTest::mouseClick(combo, Qt::LeftButton); // the list pops up; the next step works it
        } else {
            combo->setFocus(Qt::TabFocusReason);
            for (int i = m_rng.between(1, 4); i > 0; --i)
                QTest::keyClick(combo, m_rng.chance(0.6) ? Qt::Key_Down : Qt::Key_Up);
            if (m_rng.chance(0.5))
                QTest::keyClick(combo, Qt::Key_Tab);
        }
        return;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        QTest::mouseClick(edit, Qt::LeftButton);
        if (m_rng.chance(0.6))
            edit->selectAll();
        typeText(edit, m_rng.chance(0.5) ? frequencyText() : randomText(kAnyText, 10));
        switch (m_rng.below(4)) {
        case 0:
            QTest::keyClick(keyTarget(edit->window()), Qt::Key_Return);
            break;
        case 1:
            QTest::keyClick(keyTarget(edit->window()), Qt::Key_Tab);
            break;
        case 2:
            QTest::keyClick(keyTarget(edit->window()), Qt::Key_Escape);
            break;
        default:
            break;
        }
        return;
    }
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(w)) {
        QTest::mouseClick(spin, Qt::LeftButton);
        if (m_rng.chance(0.5))
            typeText(spin, randomText(kDigits, 4));
        else
            QTest::keyClick(spin, m_rng.chance(0.5) ? Qt::Key_Up : Qt::Key_Down);
        return;
    }
    if (qobject_cast<QAbstractItemView*>(w)) {
        pokeItemView(w);
        return;
    }
    if (auto* tabs = qobject_cast<QTabBar*>(w)) {
        const QRect r = tabs->tabRect(m_rng.below(tabs->count()));
        QTest::mouseClick(tabs, Qt::LeftButton, {}, r.center());
        return;
    }
    QTest::mouseClick(w, Qt::LeftButton);
}

void StressDriver::pokeItemView(QWidget* widget) {
    auto* view = qobject_cast<QAbstractItemView*>(widget);
    QAbstractItemModel* model = view->model();
    if (!model || model->rowCount() == 0)
        return;
    QModelIndex index;
    if (auto* tree = qobject_cast<QTreeView*>(view)) {
        std::vector<QModelIndex> shown;
        for (QModelIndex i = model->index(0, 0); i.isValid(); i = tree->indexBelow(i))
            shown.push_back(i);
        index = m_rng.pick(shown);
    } else {
        index = model->index(m_rng.below(model->rowCount()), m_rng.below(qMax(1, model->columnCount())));
    }
    view->scrollTo(index);
    const QRect r = view->visualRect(index);
    if (!r.isValid() || r.width() < 3 || !view->viewport()->rect().contains(r.center()))
        return;
    if (m_rng.chance(0.15))
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, r.center());
    else
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
    if (m_rng.chance(0.6)) {
        typeText(view, randomText(QStringLiteral("0123456789ABCDEFabcdef.*#"), 4));
        if (m_rng.chance(0.7))
            QTest::keyClick(keyTarget(view->window()), m_rng.chance(0.8) ? Qt::Key_Return : Qt::Key_Escape);
    }
}

// --- Whole-history and closing checks ---------------------------------------------------------

void StressDriver::undoAllTheWay() {
    ++m_summary.undoWalks;
    // Undo commits an open editor first: a step of its own, which the walk starts from.
    if (m_window->alternatePanelShown())
        m_window->action("mnuSet_GUI")->trigger();
    m_window->channelGrid()->commitEditor();
    settle();
    QAction* undo = m_window->action("mnuEdit_Undo");
    QAction* redo = m_window->action("mnuEdit_Redo");
    if (m_doc.isHeld()) {
        if (undo->isEnabled() || redo->isEnabled())
            fail(QStringLiteral("Undo or Redo is on while the image is held"));
        return;
    }
    const RadioImage newest = m_checks->newestReachable();
    for (std::size_t guard = 0; undo->isEnabled() && guard <= RadioDocument::kUndoLimit + 1; ++guard)
        undo->trigger();
    if (m_doc.canUndo())
        fail(QStringLiteral("Undo was still possible after every press the history allows"));
    if (!(m_doc.image() == m_checks->oldestReachable()))
        fail(QStringLiteral("undoing all the way did not give back the image of the last New or Open"));
    if (!m_checks->historyTruncated())
        ++m_summary.undoWalksToBaseline;
    for (std::size_t guard = 0; redo->isEnabled() && guard <= RadioDocument::kUndoLimit + 1; ++guard)
        redo->trigger();
    if (!(m_doc.image() == newest))
        fail(QStringLiteral("redoing all the way did not give back the newest image of the history"));
}

// The closing question: asked exactly when the image differs from the saved one. The event goes
// to the window's handler, so a "close" that is allowed does not take the window away.
void StressDriver::closeCheck() {
    ++m_summary.closeChecks;
    const QString question = qtext(ids::FileNotSaved, m_window->language());
    int asked = 0;
    bool changedWhenAsked = false;
    m_prompter->onMessage = [&](const QString& text) {
        if (text != question)
            return; // a notice of the editor's commit, which closing makes first
        ++asked;
        changedWhenAsked = !(m_doc.image() == m_doc.savedImage());
    };
    QCloseEvent event;
    QCoreApplication::sendEvent(m_window.get(), &event);
    m_prompter->onMessage = nullptr;
    if (asked > 1)
        fail(QStringLiteral("closing asked %1 times").arg(asked));
    if (asked == 1 && !changedWhenAsked)
        fail(QStringLiteral("closing without changes asked to save them"));
    if (asked == 0 && !(m_doc.image() == m_doc.savedImage()))
        fail(QStringLiteral("closing with changes asked nothing"));
    if (event.isAccepted() && m_doc.isModified() && m_prompter->lastAnswer() != QMessageBox::No)
        fail(QStringLiteral("the window would close with unsaved changes"));
}

// --- Transfers --------------------------------------------------------------------------------

void StressDriver::prepareSimulator() {
    SimulatorFaults& faults = m_ports->simulator().faults();
    faults = {};
    faults.once = m_rng.chance(0.7);
    const int address = m_rng.below(kRowCount) * kRowSize;
    switch (m_rng.below(10)) {
    case 0:
        faults.silentAt = address;
        break;
    case 1:
        faults.shortReplyAt = address;
        break;
    case 2:
        faults.refuseWriteAt = address;
        break;
    case 3:
        faults.junkBeforeHandshakeAck = {0x00, 0x55, 0xFF};
        break;
    case 4: {
        Row other = m_ports->simulator().memory().row(clone::kIdentRow);
        other[static_cast<std::size_t>(m_rng.below(kRowSize))] ^= 0x01;
        faults.identification = other;
        break;
    }
    default:
        break;
    }
}

void StressDriver::waitForTransfer() {
    ++m_summary.transfers;
    const bool reading = m_window->clone()->mode() == CloneMode::Read;
    const RadioImage before = m_doc.image();
    const int cancelAt = m_rng.chance(0.2) ? m_rng.below(240) : -1;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(3);
    while (m_window->clone()) {
        if (std::chrono::steady_clock::now() > deadline)
            fail(QStringLiteral("a transfer never ended"));
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (cancelAt < 0)
            continue;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->objectName() != QLatin1String("TransferProgress") || !top->isVisible())
                continue;
            auto* bar = top->findChild<QProgressBar*>(QStringLiteral("prgPercent"));
            auto* cancel = top->findChild<QPushButton*>(QStringLiteral("CmdCancel"));
            if (bar && cancel && cancel->isEnabled() && bar->value() >= cancelAt)
                QTest::mouseClick(cancel, Qt::LeftButton);
        }
    }
    settle();
    if (m_transferOutcome == CloneOutcome::Completed)
        ++m_summary.transfersCompleted;
    if (m_options.trace)
        std::printf("%*s  transfer: %s\n", m_depth * 2, "",
                    !m_transferOutcome                              ? "no outcome"
                    : *m_transferOutcome == CloneOutcome::Completed ? "completed"
                    : *m_transferOutcome == CloneOutcome::Failed    ? "failed"
                                                                    : "cancelled");
    if (reading && m_transferOutcome != CloneOutcome::Completed && !(m_doc.image() == before))
        fail(QStringLiteral("a read that did not complete changed the image"));
}

// The service window's link, as the user waits for it (or cancels it half way).
void StressDriver::waitForServiceLink() {
    QWidget* modal = QApplication::activeModalWidget();
    auto* cancel = modal ? modal->findChild<QPushButton*>(QStringLiteral("CmdLinkCancel")) : nullptr;
    if (!cancel || !cancel->isVisible())
        return;
    const bool stop = m_rng.chance(0.2);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (cancel->isVisible()) {
        if (std::chrono::steady_clock::now() > deadline)
            fail(QStringLiteral("the service link never ended"));
        if (stop && cancel->isEnabled())
            QTest::mouseClick(cancel, Qt::LeftButton);
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    settle();
}

// --- Saves ------------------------------------------------------------------------------------

std::map<std::filesystem::path, std::filesystem::file_time_type> StressDriver::fileTimes() const {
    std::map<std::filesystem::path, std::filesystem::file_time_type> times;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(m_files.toStdString(), ec)) {
        if (entry.is_regular_file(ec))
            times[entry.path()] = entry.last_write_time(ec);
    }
    return times;
}

// A file the document is named after that was written in this step holds what was saved.
void StressDriver::noteSaves(const std::map<std::filesystem::path, std::filesystem::file_time_type>& before) {
    const std::filesystem::path& file = m_window->filePath();
    if (file.empty())
        return;
    std::error_code ec;
    const auto now = std::filesystem::last_write_time(file, ec);
    if (ec)
        return;
    const auto was = before.find(file);
    if (was != before.end() && was->second == now)
        return;
    const io::ImageLoad loaded = io::loadImage(file, io::ImageFormat::DataFile);
    if (!loaded.image) {
        // A channel list the user exported over the document's own file is not a save.
        if (!m_action.contains(QLatin1String("Export")))
            fail(QStringLiteral("a saved file does not open again"));
        return;
    }
    ++m_summary.saves;
    m_checks->saved(*loaded.image);
}

} // namespace norvik::stress
