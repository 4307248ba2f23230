#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTreeWidget>
#include <QtTest>

#include "app/service/frm_adv.h"
#include "app/service/frm_login.h"
#include "app/service/grid_cell_editor.h"
#include "core/helpers.h"
#include "core/service/gain_page.h"
#include "core/strings/string_ids.h"
#include "io/history_file.h"
#include "support/window_fixture.h"
#include "transport/clone_runner.h"
#include "transport/transfer_record.h"

using namespace norvik;

Q_DECLARE_METATYPE(norvik::CloneOutcome)

namespace {

using Button = QMessageBox::StandardButton;

// The service window over the main window's document and the simulated radio (answering at once).
struct Fixture : test::WindowFixture {
    std::unique_ptr<frmAdv> service;

    Fixture() {
        usePorts({}).setSimulatorPaced(false);
        ports->setChoice({1, true});
        window->show();
        service = std::make_unique<frmAdv>(doc, prompter, *ports, Language::English, window.get());
        service->show();
        QVERIFY(QTest::qWaitForWindowExposed(service.get()));
    }
    template <class T> T* find(const char* name, int index = -1) const {
        return test::indexedChild<T>(service.get(), name, index);
    }
    QPushButton* button(int index) const { return find<QPushButton>("CmdAdv", index); }
    QTreeWidgetItem* node(const QString& key) const { return test::treeNode(find<QTreeWidget>("TreeAdv"), key); }
    void clickNode(const QString& key) { test::clickTreeNode(find<QTreeWidget>("TreeAdv"), key); }
    // Types into a cell through the grid's editor: click, type, Enter.
    void typeIntoCell(QTableWidget* grid, int row, int column, const QString& text) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(row, column)).center());
        QWidget* editor = QApplication::focusWidget();
        QVERIFY(qobject_cast<QLineEdit*>(editor));
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
    }
    CloneOutcome runLink(int button, QList<Button> answers = {}) {
        QSignalSpy done(service.get(), &frmAdv::linkFinished);
        prompter.answers = answers;
        QTest::mouseClick(this->button(button), Qt::LeftButton);
        if (!done.wait(20000))
            return CloneOutcome::Failed;
        return done.first().first().value<CloneOutcome>();
    }
    RadioSimulator& radio() { return ports->simulator(); }
};

} // namespace

class ServiceWindowTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dataHome; // the history of these tests, never the user's

    static std::vector<HistoryEntry> history() {
        io::FileProblem problem;
        return io::readHistory(historyFilePath(), problem);
    }

private slots:
    void initTestCase() {
        qRegisterMetaType<CloneOutcome>();
        qputenv("XDG_DATA_HOME", m_dataHome.path().toLocal8Bit());
    }
    void init() { std::filesystem::remove(historyFilePath()); }

    void loginRefusesAnyOtherTextAndSelectsIt() {
        for (const QString& typed : {QStringLiteral("482917 "), QStringLiteral("48291")}) {
            test::WindowFixture f;
            usePortsOf(f);
            frmLogin login(f.doc, f.prompter, *f.ports, Language::English);
            login.show();
            QVERIFY(QTest::qWaitForWindowActive(&login));
            QSignalSpy opened(&login, &frmLogin::serviceWindowOpened);
            auto* field = login.findChild<QLineEdit*>(QStringLiteral("txtPassword"));
            QTest::keyClicks(field, typed + QStringLiteral("x"));
            QTest::keyClick(field, Qt::Key_Backspace);
            test::clickButton(&login, "CmdOk");
            QCOMPARE(f.prompter.asked.size(), 1);
            QCOMPARE(f.prompter.asked[0].icon, QMessageBox::NoIcon);
            QCOMPARE(f.prompter.asked[0].title, QStringLiteral("LOGIN"));
            QCOMPARE(f.prompter.asked[0].text, QStringLiteral("Wrong Password,Please try again!"));
            QCOMPARE(f.prompter.asked[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
            QVERIFY(login.isVisible());
            QCOMPARE(opened.size(), 0);
            QTRY_VERIFY(field->hasFocus());
            QCOMPARE(field->selectedText(), typed);
            // Typing replaces the selected text.
            QTest::keyClicks(field, QStringLiteral("482917"));
            QCOMPARE(field->text(), QStringLiteral("482917"));
        }
    }

    void enterTwiceLogsInAndCancelDoesNot() {
        test::WindowFixture f;
        usePortsOf(f);
        f.window->show();
        f.window->action("mnuSet_Verify")->trigger(); // off: the service window's Write follows it
        f.window->action("mnuProgram_Advanced")->setVisible(true);
        f.window->action("mnuProgram_Advanced")->trigger();
        auto* login = f.window->findChild<frmLogin*>();
        QVERIFY(login);
        QVERIFY(QTest::qWaitForWindowActive(login));
        QSignalSpy opened(login, &frmLogin::serviceWindowOpened);
        auto* field = login->findChild<QLineEdit*>(QStringLiteral("txtPassword"));
        QTest::keyClicks(field, QStringLiteral("482917"));
        QTest::keyClick(field, Qt::Key_Return);
        QVERIFY(login->findChild<QPushButton*>(QStringLiteral("CmdOk"))->hasFocus());
        QVERIFY(opened.isEmpty());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(opened.size(), 1);
        QVERIFY(login->loggedIn());
        QVERIFY(!login->isVisible());
        auto* service = qobject_cast<frmAdv*>(opened.first().first().value<QDialog*>());
        QVERIFY(service && service->isVisible());
        QCOMPARE(service->windowTitle(), QStringLiteral("Advanded"));
        QVERIFY(!service->verifyAfterWrite());
        QPointer<frmLogin> gone(login);
        service->findChildren<QPushButton*>(QStringLiteral("CmdAdv"))[frmAdv::Close]->click();
        QTRY_VERIFY(gone.isNull()); // the login goes with the window; the next use asks again

        f.window->action("mnuProgram_Advanced")->trigger();
        login = f.window->findChild<frmLogin*>();
        QVERIFY(login);
        test::clickButton(login, "CmdCancel");
        QVERIFY(!login->loggedIn());
        QVERIFY(f.window->findChild<frmAdv*>() == nullptr);
    }

    void applyIsOneUndoableStepPerGroup() {
        Fixture f;
        const RadioImage before = f.doc.image();
        const std::size_t steps = f.doc.undoCount();
        f.clickNode(QStringLiteral("C"));
        f.find<QComboBox>("Cbooutput", 1)->setCurrentIndex(5);
        test::WindowFixture::typeInto(f.find<QLineEdit>("Text1", 1), QStringLiteral("300"));
        QVERIFY(f.service->groupChanged(frmAdv::Group::Gains));

        f.prompter.answers = {Button::Yes};
        QTest::mouseClick(f.button(frmAdv::Apply), Qt::LeftButton);
        QCOMPARE(f.prompter.texts(), QStringList{QStringLiteral("Data has been changed,Save?")});
        QCOMPARE(f.prompter.asked[0].buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(f.doc.undoCount(), steps + 1);
        QCOMPARE(f.doc.undoLabelId(), ids::ServiceGain);
        QCOMPARE(f.doc.image().at(0x0F03), 5);
        QVERIFY(!f.service->pageChanged());
        f.doc.undo();
        QCOMPARE(f.doc.image(), before);
        QCOMPARE(f.find<QComboBox>("Cbooutput", 1)->currentIndex(), int(before.at(0x0F03))); // the page follows

        // With nothing changed Apply asks nothing.
        QTest::mouseClick(f.button(frmAdv::Apply), Qt::LeftButton);
        QCOMPARE(f.prompter.asked.size(), 1);
    }

    // Leaving a changed page asks first; the page switches whatever the answer.
    void treeClickChecksThePageInView() {
        struct Case {
            Button answer;
            bool applied, stillChanged;
        };
        for (const Case c :
             {Case{Button::Yes, true, false}, Case{Button::No, false, false}, Case{Button::Cancel, false, true}}) {
            Fixture f;
            auto* grid = f.find<QTableWidget>("GridFreqSet");
            f.typeIntoCell(grid, 0, 1, QStringLiteral("180"));
            QCOMPARE(grid->item(0, 2)->text(), QStringLiteral("181"));
            f.prompter.answers = {c.answer};
            f.clickNode(QStringLiteral("B"));
            QCOMPARE(f.prompter.texts(), QStringList{QStringLiteral("Data has been changed,Save?")});
            QCOMPARE(f.service->groupInView(), frmAdv::Group::Tuning);
            auto* tree = f.find<QTreeWidget>("TreeAdv");
            QCOMPARE(tree->currentItem(), f.node(QStringLiteral("B0")));
            QCOMPARE(tree->selectedItems(), QList<QTreeWidgetItem*>{f.node(QStringLiteral("B0"))});
            QVERIFY(f.doc.bandLimits()[0] == (c.applied ? Band{180, 181} : Band{136, 174}));
            QCOMPARE(f.service->groupChanged(frmAdv::Group::BandLimits), c.stillChanged);
            QCOMPARE(grid->item(0, 1)->text(),
                     c.stillChanged || c.applied ? QStringLiteral("180") : QStringLiteral("136"));
            // The tuning frame and its deviation columns follow the limits in force.
            QCOMPARE(f.find<QTableWidget>("QTDevGrid", 0)->columnCount(), c.applied ? 1 : 5);
            QCOMPARE(f.node(QStringLiteral("B0"))->text(0),
                     c.applied ? QStringLiteral("180-181") : QStringLiteral("136-174"));
            QTest::keyClick(tree, Qt::Key_Down); // on to the next band, none skipped
            QCOMPARE(tree->currentItem(), f.node(QStringLiteral("B1")));
            // The tuning page has no edits of its own: leaving it asks nothing.
            f.clickNode(QStringLiteral("Root"));
            QCOMPARE(f.prompter.asked.size(), 1);
            QCOMPARE(tree->selectedItems(), QList<QTreeWidgetItem*>{f.node(QStringLiteral("A"))});
        }
    }

    void tuningCellCommitsAndMovesOn() {
        Fixture f;
        f.clickNode(QStringLiteral("B1"));
        auto* tun = f.find<QTableWidget>("TunGrid", 1);
        f.typeIntoCell(tun, 2, 2, QStringLiteral("300"));
        QCOMPARE(tun->item(2, 2)->text(), QStringLiteral("255"));
        // From the tuning grid's last cell Enter goes on into the band's deviation grid.
        auto* deviation = f.find<QTableWidget>("QTDevGrid", 1);
        QVERIFY(deviation->hasFocus());
        QCOMPARE(deviation->currentRow(), 0);
        QCOMPARE(deviation->currentColumn(), 0);
        QTest::keyClick(deviation, Qt::Key_0);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(deviation->item(0, 0)->background().color(), QColor(255, 0, 0));
        QCOMPARE(deviation->currentColumn(), 1);
        QVERIFY(f.service->groupChanged(frmAdv::Group::Tuning));

        // The power rows of a receive-only band open no editor.
        f.clickNode(QStringLiteral("B2"));
        auto* locked = f.find<QTableWidget>("TunGrid", 2);
        QTest::mouseClick(locked->viewport(), Qt::LeftButton, {}, locked->visualItemRect(locked->item(0, 0)).center());
        QVERIFY(!qobject_cast<QLineEdit*>(QApplication::focusWidget()));
    }

    void escapeKeepsTheCurrentCell() {
        struct Case {
            const char* node;
            const char* grid;
            int index, row, column;
            bool opensOnKeys;
        };
        for (const Case c : {Case{"B0", "TunGrid", 0, 0, 0, true}, Case{"A", "GridFreqSet", -1, 0, 1, false}}) {
            Fixture f;
            f.clickNode(QString::fromLatin1(c.node));
            auto* grid = f.find<QTableWidget>(c.grid, c.index);
            const QString before = grid->item(c.row, c.column)->text();
            const QString neighbour = grid->item(c.row, c.column + 1)->text();
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                              grid->visualItemRect(grid->item(c.row, c.column)).center());
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("5"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            QVERIFY(grid->hasFocus());
            QCOMPARE(grid->item(c.row, c.column)->text(), before);
            QCOMPARE(grid->currentRow(), c.row);
            QCOMPARE(grid->currentColumn(), c.column);
            if (!c.opensOnKeys)
                continue;
            QTest::keyClick(grid, Qt::Key_7);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(grid->item(c.row, c.column)->text(), QStringLiteral("7"));
            QCOMPARE(grid->item(c.row, c.column + 1)->text(), neighbour);
        }
    }

    void linkReadTouchesTheServiceRowsAsOneStep() {
        Fixture f;
        const RadioImage radio = test::randomImage(5);
        f.radio().memory() = radio;
        const RadioImage before = f.doc.image();
        const std::size_t steps = f.doc.undoCount();
        QCOMPARE(f.runLink(frmAdv::Read), CloneOutcome::Completed);
        QCOMPARE(f.prompter.texts(), QStringList{QStringLiteral("Reading completed!")});
        QCOMPARE(f.prompter.asked[0].icon, QMessageBox::Information);
        QCOMPARE(f.doc.undoCount(), steps + 1);
        QCOMPARE(f.doc.undoLabelId(), ids::ServiceValuesRead);
        QCOMPARE(f.doc.image().row(255), radio.row(255));
        QCOMPARE(f.doc.image().row(0), before.row(0));
        QCOMPARE(f.find<QLineEdit>("Text1", 2)->text(),
                 QString::number(GainPage::load(radio).fine[2])); // the pages show what was read
        QVERIFY(f.button(frmAdv::Read)->isEnabled());
        QVERIFY(!f.find<QLabel>("Label2")->isVisible());
        const std::vector<HistoryEntry> lines = history();
        QCOMPARE(lines.size(), 1U);
        QCOMPARE(lines[0].operation + " " + historyResult(lines[0]), "service-read completed");
        QCOMPARE(lines[0].checksum, rowsChecksum(radio, 240, 16));
    }

    void cancelledLinkReadChangesNothing() {
        Fixture f;
        f.radio().memory() = test::randomImage(6);
        f.ports->setSimulatorPaced(true);
        const RadioImage before = f.doc.image();
        const std::size_t steps = f.doc.undoCount();
        QSignalSpy done(f.service.get(), &frmAdv::linkFinished);
        QTest::mouseClick(f.button(frmAdv::Read), Qt::LeftButton);
        QCOMPARE(f.find<QLabel>("Label2")->text(), QStringLiteral("Now Reading !"));
        QVERIFY(!f.button(frmAdv::Apply)->isEnabled());
        QTRY_VERIFY(f.find<QProgressBar>("prgLink")->value() >= 3);
        QTest::mouseClick(f.find<QPushButton>("CmdLinkCancel"), Qt::LeftButton);
        QVERIFY(done.wait(5000));
        QCOMPARE(done.first().first().value<CloneOutcome>(), CloneOutcome::Cancelled);
        QCOMPARE(f.doc.image(), before);
        QCOMPARE(f.doc.undoCount(), steps);
        QVERIFY(f.prompter.asked.isEmpty());
        QCOMPARE(history().size(), 1U);
        QCOMPARE(historyResult(history()[0]), "cancelled");
    }

    void linkWriteAsksToApplyFirstAndSendsTheServiceRows() {
        Fixture f;
        RadioImage radio = test::randomImage(7);
        radio.setRow(208, f.doc.image().row(208));
        f.radio().memory() = radio;
        f.clickNode(QStringLiteral("C"));
        f.find<QComboBox>("Cboinput", 0)->setCurrentIndex(3);
        const std::size_t steps = f.doc.undoCount();
        QCOMPARE(f.runLink(frmAdv::Write, {Button::Yes}), CloneOutcome::Completed);
        QCOMPARE(f.prompter.texts(),
                 (QStringList{QStringLiteral("Apply changes?"), QStringLiteral("Writing completed!")}));
        QCOMPARE(f.doc.undoCount(), steps + 1);
        QCOMPARE(f.doc.image().at(0x0F00), 3);
        QCOMPARE(f.radio().writeCommands(), 16);
        QCOMPARE(f.radio().readCommands(), 16); // read back by default
        QCOMPARE(f.radio().memory().row(240), f.doc.image().row(240));
    }

    // Read back, the row is named; without the read-back the write is told as completed.
    void linkWriteTheRadioDidNotStoreWarnsWithItsRow() {
        for (const auto& [verify, message] :
             {std::pair{true, QStringLiteral("The radio does not hold the service values written to it; "
                                             "these rows differ: 243.")},
              std::pair{false, QStringLiteral("Writing completed!")}}) {
            Fixture f;
            RadioImage radio = f.doc.image();
            radio.setRow(243, Row{}); // what a write that is not stored leaves
            f.radio().memory() = radio;
            f.radio().faults().dropWriteAt = 0x0F30;
            f.service->setVerifyAfterWrite(verify);
            QCOMPARE(f.runLink(frmAdv::Write), CloneOutcome::Completed);
            QCOMPARE(f.prompter.asked.size(), 1);
            QVERIFY2(f.prompter.asked[0].text.startsWith(message), qPrintable(f.prompter.asked[0].text));
            QCOMPARE(f.prompter.asked[0].icon, verify ? QMessageBox::Warning : QMessageBox::Information);
            QCOMPARE(f.radio().readCommands(), verify ? 16 : 0);
        }
    }

    void refusedLinkWriteEndsInRetryOrCancel() {
        Fixture f;
        RadioImage radio = test::randomImage(8);
        radio.setRow(208, f.doc.image().row(208));
        f.radio().memory() = radio;
        f.radio().faults().refuseWriteAt = 0x0FA0;
        QCOMPARE(f.runLink(frmAdv::Write, {Button::Cancel}), CloneOutcome::Failed);
        QCOMPARE(f.prompter.texts(), QStringList{QStringLiteral("Check Connection. Retry or Cancel?")});
        QCOMPARE(f.prompter.asked[0].buttons, QMessageBox::Retry | QMessageBox::Cancel);
        QCOMPARE(f.prompter.asked[0].title, QStringLiteral("Error"));
        QVERIFY(f.button(frmAdv::Write)->isEnabled());
    }

    // A grid taken down before its cell editor (the editor is the grid's own child, as on the
    // band limits page) must not be asked for anything half way; the sanitizer run sees it.
    void aGridGoingBeforeItsCellEditorIsLeftAlone() {
        QWidget page;
        auto* grid = new QTableWidget(2, 2, &page);
        auto* editor = new GridCellEditor(QStringLiteral("TxtTest"), 3, grid);
        editor->attach(grid, true);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        delete grid;
        QVERIFY(page.findChildren<QWidget*>().isEmpty());
    }

private:
    static void usePortsOf(test::WindowFixture& f) { f.usePorts({}).setChoice({1, true}); }
};

QTEST_MAIN(ServiceWindowTest)
#include "test_service_window.moc"
