#include <QDir>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTreeWidget>
#include <QtTest>

#include "app/channel_list/channel_list_sheet.h"
#include "app/channel_list/frm_csv_import.h"
#include "app/common/texts.h"
#include "app/dialogs/frm_about.h"
#include "app/dialogs/frm_compare.h"
#include "app/dialogs/frm_emb_msg.h"
#include "app/dialogs/frm_memory_map.h"
#include "app/dialogs/frm_radio.h"
#include "app/dialogs/frm_sel_columns.h"
#include "app/dialogs/help_viewer.h"
#include "app/dialogs/prompt.h"
#include "app/options/frm_op_sign.h"
#include "app/service/frm_adv.h"
#include "app/service/frm_login.h"
#include "app/settings/reg_keys.h"
#include "app/transfer/frm_clone.h"
#include "app/transfer/frm_com_port.h"
#include "app/transfer/frm_history.h"
#include "app/transfer/frm_several_radios.h"
#include "app/transfer/transfer_commands.h"
#include "app/transfer/transfer_progress.h"
#include "core/auxiliary/embedded_message.h"
#include "core/backups/backup_rules.h"
#include "core/options/function_setting.h"
#include "core/strings/string_ids.h"
#include "io/backups.h"
#include "io/image_files.h"
#include "support/window_fixture.h"
#include "transport/clone_runner.h"
#include "transport/transfer_record.h"

using namespace norvik;

// Every window the user sees, saved as a PNG per language into NORVIK_SCREENSHOT_DIR, so that
// clipped captions and cramped dialogs can be looked at and docs/ shows the program as it is.
// Needs a real display (scripts/screenshots.sh runs it under xvfb-run with QT_QPA_PLATFORM=xcb);
// QT_SCALE_FACTOR=1.5 adds "-144dpi" to the names. Slot names on the command line pick pictures.
namespace {

QString shotDir() {
    return qEnvironmentVariable("NORVIK_SCREENSHOT_DIR");
}

QString shotPath(const char* window, Language lang) {
    const bool scaled = qEnvironmentVariableIsSet("QT_SCALE_FACTOR") && qEnvironmentVariable("QT_SCALE_FACTOR") != "1";
    return shotDir() + QLatin1Char('/') + QString::fromLatin1(window) +
           (lang == Language::English ? QStringLiteral("-en") : QStringLiteral("-zh")) +
           (scaled ? QStringLiteral("-144dpi") : QString()) + QStringLiteral(".png");
}

// Prints the Tab order of a window's controls, to be read beside its picture.
void printTabOrder(QWidget* w, const char* window) {
    QStringList names;
    QWidget* next = w->nextInFocusChain();
    for (int guard = 0; next != w && guard < 200; ++guard, next = next->nextInFocusChain())
        if (next->isVisible() && next->isEnabled() && (next->focusPolicy() & Qt::TabFocus) && w->isAncestorOf(next))
            names << (next->objectName().isEmpty() ? QString::fromLatin1(next->metaObject()->className())
                                                   : next->objectName());
    qInfo("%s tab order: %s", window, qPrintable(names.join(QStringLiteral(", "))));
}

// Lets the window settle on screen, then saves it.
bool save(QWidget* w, const char* window, Language lang) {
    if (!QTest::qWaitForWindowExposed(w))
        return false;
    QTest::qWait(300);
    printTabOrder(w, window);
    return w->grab().save(shotPath(window, lang));
}

// The same with the title bar a window manager put round it, and whatever stands over it.
bool saveFramed(QWidget* w, const char* window, Language lang) {
    if (!QTest::qWaitForWindowExposed(w))
        return false;
    QTest::qWait(300);
    const QRect frame = w->frameGeometry();
    return w->screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height()).save(shotPath(window, lang));
}

struct Fixture : test::WindowFixture {
    explicit Fixture(Language lang) {
        window->setLanguage(lang);
        // 1200 x 700 does not fit the screen at 1.5 times.
        window->resize(window->size().boundedTo(QGuiApplication::primaryScreen()->availableSize() * 0.9));
        window->openDataFile(NORVIK_TEST_DATA "/demo.dat");
        start();
    }
};

} // namespace

class Screenshots : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY2(!shotDir().isEmpty(), "NORVIK_SCREENSHOT_DIR names the folder for the pictures");
        QVERIFY(QDir().mkpath(shotDir()));
    }
    void mainWindow_data() {
        QTest::addColumn<int>("lang");
        QTest::newRow("English") << 0;
        QTest::newRow("Chinese") << 1;
    }
    void mainWindow() {
        QFETCH(int, lang);
        const Language language = languageFromIndex(lang);
        Fixture f(language);
        QVERIFY(saveFramed(f.window.get(), "main-window", language));
    }

    // A few channels typed into an empty grid.
    void channelGrid_data() { mainWindow_data(); }
    void channelGrid() {
        QFETCH(int, lang);
        test::WindowFixture f;
        f.window->resize(1380, 500);
        const char* rx[] = {"145.5", "146.52", "438.5", "439.00625", "462.5625", "156.8"};
        for (int i = 0; i < 6; ++i)
            f.table().commitCell(i + 2, col::Rx, rx[i]);
        f.table().commitCell(1, col::Name, "REPEAT");
        f.table().commitCell(3, col::Name, "SIMPLEX");
        f.table().commitCell(4, col::Tx, "430.9");
        f.table().commitCell(4, col::Decode, "D023N");
        f.table().commitCell(4, col::Encode, "88.5");
        f.table().commitCell(5, col::Power, "Low");
        f.table().commitCell(6, col::Bandwidth, "Narrow");
        f.table().commitCell(7, col::Tx, "");
        f.window->setLanguage(languageFromIndex(lang));
        f.start();
        QVERIFY(save(f.grid(), "channel-grid", languageFromIndex(lang)));
    }

    // The panel on a duplex channel with tones and 5-tone signalling.
    void alternatePanel_data() { mainWindow_data(); }
    void alternatePanel() {
        QFETCH(int, lang);
        test::WindowFixture f;
        f.useChannel(1, 14500000, 14560000);
        f.change([](RadioImage& img) {
            img.set(channelAddress(1) + 8, 0x85);
            img.set(channelAddress(1) + 9, 0x08);
            img.set(channelAddress(1) + 13, 0x80);
        });
        f.window->setLanguage(languageFromIndex(lang));
        f.start();
        f.grid()->setCurrentCell(1, col::Rx);
        f.action("mnuSet_GUI")->trigger();
        QVERIFY(save(f.window.get(), "alternate-panel", languageFromIndex(lang)));
    }

    void windows_data() { mainWindow_data(); }
    void windows() {
        QFETCH(int, lang);
        const Language language = languageFromIndex(lang);
        Fixture f(language);

        frmAbout about(language, f.window.get());
        about.show();
        QVERIFY(save(&about, "about", language));
        about.close();

        frmSelColumns columns(f.table(), language, f.window.get());
        columns.show();
        QVERIFY(save(&columns, "columns", language));
        columns.close();

        // demo.dat has no presets and no message: a few, so the dialogs show what they hold.
        f.doc.edit(0, [](RadioImage& img) {
            RadioPresets presets = loadRadioPresets(img);
            presets.selected = 2;
            presets.frequencies = {8750000, 8810500, 9120000, 9580000, 10110000, 10797500, 7000000};
            presets.frequencies[12] = 9990000;
            saveRadioPresets(img, presets);
            encodeEmbeddedMessage(img, "NORVIK R7 DEMO");
        });
        frmRadio radio(f.doc, f.prompter, language, f.window.get());
        radio.show();
        QVERIFY(save(&radio, "radio", language));
        radio.close();

        frmEmbMsg message(f.doc, language, f.window.get());
        message.show();
        QVERIFY(save(&message, "embedded-message", language));
        message.close();

        // What a data file with two channels changed and one setting holds differently.
        RadioImage other = f.doc.image();
        other.set(channelAddress(1) + rec::Rx + 1, 0x60);
        encodeName(other, 2, "BASE");
        FunctionSetting setting = loadFunctionSetting(other);
        setting.lamp = (setting.lamp + 1) % 3;
        saveFunctionSetting(setting, other);
        frmCompare compare(compareImages(f.doc.image(), other, language, localeDecimalSeparator()),
                           QStringLiteral("site.dat"), language, f.window.get());
        compare.show();
        QVERIFY(save(&compare, "compare", language));
        compare.close();

        frmMemoryMap map(f.doc, f.window.get());
        map.show();
        QVERIFY(save(&map, "memory-map", language));
        map.close();

        f.window->showHelp(0);
        auto* help = f.window->findChild<HelpViewer*>();
        QVERIFY(help);
        QVERIFY(save(help, "help", language));
        help->close();
    }

    // The Backups window over one of each kind.
    void backups_data() { mainWindow_data(); }
    void backups() {
        QFETCH(int, lang);
        const Language language = languageFromIndex(lang);
        Fixture f(language);
        const ByteVector image = io::encodeImage(f.doc.image(), io::ImageFormat::DataFile);
        const struct {
            BackupTime time;
            BackupOrigin origin;
        } kept[] = {
            {{2026, 12, 8, 9, 41, 5}, {BackupKind::Radio, "ttyUSB0", identificationHex(f.doc.image()), {}}},
            {{2026, 12, 8, 9, 40, 12}, {BackupKind::UnsavedEdits, {}, {}, "customer-b.dat"}},
            {{2026, 12, 7, 16, 2, 48}, {BackupKind::FileReplaced, {}, {}, "customer-a.dat"}},
            {{2026, 12, 7, 15, 58, 30}, {BackupKind::Radio, "ttyUSB1", identificationHex(f.doc.image()), {}}},
        };
        for (const auto& k : kept)
            QVERIFY(!io::saveBackup(f.backups(), k.time, k.origin, image).problem);
        f.window->mnuFile_Backups_Click();
        auto* dialog = f.window->findChild<QDialog*>(QStringLiteral("frmBackups"));
        QVERIFY(dialog);
        QVERIFY(save(dialog, "backups", language));
        dialog->close();
    }

    // The import preview of a spreadsheet's plan with one wrong line, the print preview, and a
    // printed page: the exported PDF as pdftoppm renders it.
    void channelLists_data() { mainWindow_data(); }
    void channelLists() {
        QFETCH(int, lang);
        const Language language = languageFromIndex(lang);
        Fixture f(language);
        const std::string plan = "CH,RX Freq,TX Freq,Decode,CH.Name\n2,145.525,145.525,88.5,CALL\n"
                                 "7,446.10625,,None,PMR 2\n8,520.5,,None,FAR\n";
        frmCsvImport preview(f.doc, plan, language, f.table().decimalSeparator(), f.window.get());
        preview.show();
        QVERIFY(save(&preview, "csv-import", language));
        preview.close();

        f.action("mnuFile_Print")->trigger();
        auto* print = f.window->findChild<QPrintPreviewDialog*>();
        QVERIFY(print && save(print, "print-preview", language));
        print->reject();

        const QString pdf =
            QString(shotPath("channel-list", language)).replace(QStringLiteral(".png"), QStringLiteral(".pdf"));
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(channelListPdf(channelListSheet(f.table(), QStringLiteral("demo.dat"))));
        file.close();
        QString page = shotPath("channel-list-page", language);
        page.chop(4); // pdftoppm adds ".png"
        QCOMPARE(QProcess::execute(QStringLiteral("pdftoppm"),
                                   {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("70"),
                                    QStringLiteral("-singlefile"), pdf, page}),
                 0);
    }

    // On a 1024×600 screen (scripts/screenshots.sh runs this on one): the import preview and the
    // print preview as their commands open them, and the main window maximised, with frames.
    void smallScreen_data() { mainWindow_data(); }
    void smallScreen() {
        if (QGuiApplication::primaryScreen()->size().width() > 1024)
            QSKIP("taken on a 1024x600 screen only");
        QFETCH(int, lang);
        const Language language = languageFromIndex(lang);
        Fixture f(language);
        const QString plan = f.path("plan.csv");
        QFile file(plan);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("CH,RX Freq,TX Freq,Decode,CH.Name\n2,145.525,145.525,88.5,CALL\n"
                   "7,446.10625,,None,PMR 2\n8,520.5,,None,FAR\n");
        file.close();
        f.prompter.openNames = {plan};
        f.action("mnuFile_ImportCsv")->trigger();
        auto* preview = f.window->findChild<frmCsvImport*>();
        QVERIFY(preview && saveFramed(preview, "small-screen-csv-import", language));
        preview->reject();
        QTest::qWait(100);

        f.action("mnuFile_Print")->trigger();
        auto* print = f.window->findChild<QPrintPreviewDialog*>();
        QVERIFY(print && saveFramed(print, "small-screen-print-preview", language));
        print->reject();
        QTest::qWait(100);

        f.window->showMaximized();
        QTest::qWait(500);
        QVERIFY(saveFramed(f.window.get(), "small-screen-main-window", language));
    }

    void comPort_data() { mainWindow_data(); }
    void comPort() {
        QFETCH(int, lang);
        const Language language = languageFromIndex(lang);
        Fixture f(language);
        f.usePorts({QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/dev/ttyUSB1"), QStringLiteral("/dev/ttyACM0")},
                   {QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/dev/ttyACM0")})
            .setChoice({1, false});
        QPointer<frmComPort> dialog;
        connect(f.window.get(), &frmMain::comPortDialogShown, this, [&dialog](frmComPort* d) { dialog = d; });
        f.action("mnuSet_COM")->trigger();
        QVERIFY(dialog);
        if (dialog->probing())
            QVERIFY(QSignalSpy(dialog.data(), &frmComPort::probeFinished).wait(2000));
        QVERIFY(save(dialog, "com-port", language));
        dialog->reject();
    }

    void transfer_data() { mainWindow_data(); }
    void transfer() {
        QFETCH(int, lang);
        const Language language = languageFromIndex(lang);
        Fixture f(language);
        f.usePorts({}).setChoice({1, true});
        f.ports->setSimulatorPaced(true);
        QSignalSpy done(f.window.get(), &frmMain::transferFinished);
        f.prompter.answers = {QMessageBox::Ok};
        f.action("mnuTransfer_Read")->trigger();
        QVERIFY(f.window->clone());
        TransferProgress* panel = f.window->clone()->progressPanel();
        QVERIFY(panel);
        QTRY_VERIFY_WITH_TIMEOUT(panel->value() >= 80, 10000);
        QVERIFY(save(panel, "transfer-panel", language));
        // Where the panel stands over the main window.
        QVERIFY(saveFramed(f.window.get(), "transfer", language));
        QTest::mouseClick(panel->findChild<QPushButton*>(QStringLiteral("CmdCancel")), Qt::LeftButton);
        QVERIFY(done.wait(5000));

        // A write being read back.
        f.ports->setSimulatorPaced(false);
        f.ports->simulator().memory().setRow(clone::kIdentRow, f.doc.image().row(clone::kIdentRow));
        f.prompter.answers = {QMessageBox::Ok};
        f.action("mnuTransfer_Write")->trigger();
        QVERIFY(f.window->clone());
        panel = f.window->clone()->progressPanel();
        QTRY_VERIFY_WITH_TIMEOUT(f.window->clone()->runner().session().verifying() && panel->value() >= 100, 20000);
        QVERIFY(save(panel, "transfer-verify-panel", language));
        QTest::mouseClick(panel->findChild<QPushButton*>(QStringLiteral("CmdCancel")), Qt::LeftButton);
        QVERIFY(done.wait(5000));
    }

    // Four radios on their way: two simulated ones writing, one that refused, a port that is not
    // there; then the history those runs left.
    void severalRadios_data() { mainWindow_data(); }
    void severalRadios() {
        QFETCH(int, lang);
        const Language language = languageFromIndex(lang);
        std::filesystem::remove(historyFilePath());
        Fixture f(language);
        f.usePorts({QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/dev/ttyUSB1")});
        f.ports->setSimulatorPaced(true);
        for (int i = 0; i < TransferPorts::kSimulatedRadios; ++i)
            f.ports->simulator(i).memory().setRow(clone::kIdentRow, f.doc.image().row(clone::kIdentRow));
        f.ports->simulator(1).faults().refuseWriteAt = 0x300;
        RegKeys(f.settings)
            .writeSeveralRadios({QStringLiteral("port:/dev/ttyUSB0"), QStringLiteral("sim:1"), QStringLiteral("sim:2"),
                                 QStringLiteral("sim:3")});
        f.action("mnuTransfer_WriteSeveral")->trigger();
        frmSeveralRadios* w = f.window->transferCommands().severalRadiosWindow();
        QVERIFY(w);
        QSignalSpy finished(w, &frmSeveralRadios::finished);
        w->cmdStart_Click();
        QTRY_VERIFY_WITH_TIMEOUT(w->rowBar(2)->value() >= 100, 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!w->rowText(3, frmSeveralRadios::ColResult).isEmpty(), 20000);
        QVERIFY(saveFramed(w, "several-radios", language));
        // The main window meanwhile: it shows the image, and says why nothing changes it.
        f.window->raise();
        QVERIFY(saveFramed(f.window.get(), "several-radios-main", language));
        w->cmdCancelAll_Click();
        QVERIFY(finished.wait(10000));
        // The next radios on the same cables, at full speed.
        f.ports->setSimulatorPaced(false);
        w->cmdStart_Click();
        QVERIFY(finished.wait(60000));
        w->close();

        f.action("mnuTransfer_History")->trigger();
        frmHistory* history = f.window->transferCommands().historyWindow();
        QVERIFY(history && history->table()->rowCount() == 8);
        QVERIFY(saveFramed(history, "history", language));
        history->close();
    }

    void service_data() { mainWindow_data(); }
    void service() {
        QFETCH(int, lang);
        const Language language = languageFromIndex(lang);
        Fixture f(language);
        f.usePorts({}).setChoice({1, true});
        frmLogin login(f.doc, f.prompter, *f.ports, language, f.window.get());
        login.show();
        QVERIFY(save(&login, "service-login", language));
        login.close();

        // Tuning values as a radio might hold them, a few of them 0 to show the red cells.
        f.doc.edit(0, [](RadioImage& image) {
            for (int a = 0xF00; a < 0x1000; ++a)
                image.set(a, static_cast<std::uint8_t>(a % 7 == 0 ? 0 : (a * 37) % 200 + 20));
            for (int a = 0xF00; a < 0xF10; ++a)
                image.set(a, static_cast<std::uint8_t>(a % 8));
        });
        frmAdv service(f.doc, f.prompter, *f.ports, language, f.window.get());
        service.show();
        auto* tree = service.findChild<QTreeWidget*>(QStringLiteral("TreeAdv"));
        const std::pair<const char*, QTreeWidgetItem*> pages[] = {
            {"service-band-limits", tree->topLevelItem(0)->child(0)},
            {"service-gains", tree->topLevelItem(0)->child(1)},
            {"service-tuning-band1", tree->topLevelItem(0)->child(2)->child(0)},
            {"service-tuning-band3", tree->topLevelItem(0)->child(2)->child(2)},
        };
        for (const auto& [name, node] : pages) {
            tree->setCurrentItem(node);
            QVERIFY(save(&service, name, language));
        }
        // The live link on its way, with its progress and Cancel.
        f.ports->setSimulatorPaced(true);
        QSignalSpy done(&service, &frmAdv::linkFinished);
        service.CmdAdv_Click(frmAdv::Read);
        auto* progress = service.findChild<QProgressBar*>(QStringLiteral("prgLink"));
        QTRY_VERIFY_WITH_TIMEOUT(progress->value() >= 6, 10000);
        QVERIFY(save(&service, "service-link", language));
        service.findChild<QPushButton*>(QStringLiteral("CmdLinkCancel"))->click();
        QVERIFY(done.wait(5000));
        service.close();
    }

    void optionalFeatures_data() { mainWindow_data(); }
    void optionalFeatures() {
        QFETCH(int, lang);
        const Language language = languageFromIndex(lang);
        Fixture f(language);
        f.action("mnuProgram_OPSign")->trigger();
        auto* dialog = f.window->findChild<FrmOpSign*>();
        QVERIFY(dialog);
        QVERIFY(save(dialog, "options-function-setting", language));
        auto* tree = dialog->findChild<QTreeWidget*>(QStringLiteral("TreeOPS"));
        for (const auto& [key, name] :
             {std::pair{"B1", "options-ptt-id"}, std::pair{"C0", "options-common-set"}, std::pair{"C1", "options-dtmf"},
              std::pair{"C2", "options-msk"}, std::pair{"C3", "options-2-tone"}, std::pair{"C4", "options-5-tone"}}) {
            const auto found = tree->findItems(QStringLiteral("*"), Qt::MatchWildcard | Qt::MatchRecursive);
            for (QTreeWidgetItem* item : found) {
                if (item->data(0, Qt::UserRole).toString() == QLatin1String(key))
                    dialog->TreeOPS_NodeClick(item);
            }
            QVERIFY(save(dialog, name, language));
        }
        dialog->close();
    }

    void messages_data() { mainWindow_data(); }
    void messages() {
        QFETCH(int, lang);
        const Language language = languageFromIndex(lang);
        Fixture f(language);
        // The real prompter, with the texts the windows pass it; each box is saved, then closed.
        DialogPrompter prompter;
        prompter.setLanguage(language);
        auto shoot = [&](const char* name) {
            QTimer::singleShot(0, this, [name, language] {
                QWidget* box = QApplication::activeModalWidget();
                QVERIFY(box && save(box, name, language));
                box->close();
            });
        };
        shoot("message-file-type");
        prompter.message(f.window.get(), QMessageBox::Critical, qtext(ids::ErrorTitle, language),
                         qtext(ids::IncorrectFileType, language) + QLatin1Char('\n') +
                             qtext(ids::IncorrectFileTypeHint, language),
                         QMessageBox::Ok, QMessageBox::Ok);
        shoot("message");
        prompter.message(f.window.get(), QMessageBox::Question, QString::fromLatin1(kProductName),
                         qtext(ids::InsertLosesLastChannel, language), QMessageBox::Yes | QMessageBox::No,
                         QMessageBox::Yes);
        shoot("message-retry");
        prompter.message(f.window.get(), QMessageBox::Warning, QString::fromLatin1(kProductName),
                         qtext(ids::ConnectionLost, language).arg(QStringLiteral("Timeout")),
                         QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::Retry);
    }
};

QTEST_MAIN(Screenshots)
#include "screenshots.moc"
