#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>
#include <functional>

#include "app/common/texts.h"
#include "app/dialogs/frm_emb_msg.h"
#include "app/dialogs/frm_memory_map.h"
#include "app/dialogs/frm_radio.h"
#include "core/auxiliary/embedded_message.h"
#include "core/auxiliary/radio_presets.h"
#include "core/strings/string_ids.h"
#include "support/modal_runner.h"
#include "support/window_fixture.h"

using namespace norvik;
using norvik::test::clickButton;
using norvik::test::runModal;

namespace {

QTableView* mapGrid(frmMemoryMap* d) {
    return d->findChild<QTableView*>(QStringLiteral("msgMemory"));
}

void clickMapCell(frmMemoryMap* d, MapCell cell) {
    QTableView* grid = mapGrid(d);
    const QModelIndex index = grid->model()->index(cell.row - 1, cell.column - 1);
    grid->scrollTo(index);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
}

QWidget* focused() {
    return QApplication::focusWidget();
}

} // namespace

class ImageDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void memoryMapOkWritesEveryByteAsOneStepAfterTheGridEditorIsCommittedAndCancelNothing() {
        test::WindowFixture f;
        f.useChannel(1, 14600000);
        f.start();
        // A half-typed name is committed before the map reads the image.
        f.focusCell(1, col::Name);
        QTest::keyClicks(f.grid(), "ZED");
        QVERIFY(f.editor()->isVisible());
        RadioImage atOpen;
        std::size_t steps = 0;
        runModal<frmMemoryMap>(
            f.window.get(), [&] { f.memoryMapGesture(); },
            [&](frmMemoryMap* d) {
                atOpen = f.doc.image();
                steps = f.doc.undoCount();
                QCOMPARE(d->cellText({141, 1}), QStringLiteral("5A")); // 'Z' at 0x8C0
                clickMapCell(d, {2, 2});
                QTest::keyClicks(focused(), "45");
                QTest::keyClick(focused(), Qt::Key_Return);
                QCOMPARE(d->currentCell(), (MapCell{2, 3}));
                clickButton(d, "cmdOK");
            });
        QCOMPARE(f.doc.image().at(0x011), 0x45);
        QCOMPARE(f.shown(1, col::Rx), QStringLiteral("144.50000")); // the grid follows, no refill by hand
        QCOMPARE(f.doc.undoCount(), steps + 1);
        f.action("mnuEdit_Undo")->trigger(); // every one of the 4096 bytes back as the map found them
        QVERIFY(f.doc.image() == atOpen);
        // Cancel writes nothing.
        runModal<frmMemoryMap>(
            f.window.get(), [&] { f.memoryMapGesture(); },
            [](frmMemoryMap* d) {
                clickMapCell(d, {1, 1});
                QTest::keyClicks(focused(), "12");
                QTest::keyClick(focused(), Qt::Key_Return);
                QCOMPARE(d->cellText({1, 1}), QStringLiteral("12"));
                clickButton(d, "cmdCancel");
            });
        QVERIFY(f.doc.image() == atOpen);
        QCOMPARE(f.doc.undoCount(), steps);
    }

    // What the cell holds after the editor's keys and where Enter goes; neither Enter nor Esc in
    // the editor closes the map, and scrolling drops the edit.
    void memoryMapKeys() {
        struct Case {
            const char* what;
            MapCell cell;
            bool byClick; // else the first key typed on the grid starts the edit
            const char* keys;
            const char* shown;
            MapCell next;
        };
        const Case cases[] = {
            {"emptied is FF, Enter goes on to the next row", {127, 16}, true, "\b\n", "FF", {128, 1}},
            {"typed on the grid, row 128 stays", {128, 16}, false, "c1\n", "C1", {128, 16}},
            {"Esc puts the text back", {200, 16}, true, "00\x1b", "FF", {200, 16}},
        };
        const QHash<char, Qt::Key> special = {
            {'\n', Qt::Key_Return}, {'\x1b', Qt::Key_Escape}, {'\b', Qt::Key_Backspace}};
        RadioDocument doc;
        doc.edit(0, [](RadioImage& img) { img.set(0x7EF, 0x12); });
        frmMemoryMap d(doc);
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        for (const Case& c : cases) {
            if (c.byClick) {
                clickMapCell(&d, c.cell);
            } else {
                mapGrid(&d)->setCurrentIndex(mapGrid(&d)->model()->index(c.cell.row - 1, c.cell.column - 1));
                mapGrid(&d)->setFocus();
            }
            for (const char* k = c.keys; *k; ++k)
                special.contains(*k) ? QTest::keyClick(focused(), special.value(*k)) : QTest::keyClick(focused(), *k);
            QVERIFY2(!d.isEditing() && d.isVisible(), c.what);
            QCOMPARE(d.cellText(c.cell), QString::fromLatin1(c.shown));
            QCOMPARE(d.currentCell(), c.next);
        }
        // Scrolling drops an edit.
        const QString before = d.cellText({2, 1});
        clickMapCell(&d, {2, 1});
        QTest::keyClick(focused(), '1');
        QVERIFY(d.isEditing());
        mapGrid(&d)->verticalScrollBar()->setValue(40);
        QVERIFY(!d.isEditing());
        QCOMPARE(d.cellText({2, 1}), before);
    }

    void radioClampsWithItsMessageOkWritesThePresetsAndCancelNothing() {
        test::WindowFixture f;
        f.doc.edit(0, [](RadioImage& img) { img.set(kRadioSelectedAddress, 0xFF); });
        f.start();
        f.window->setLanguage(Language::Chinese);
        runModal<frmRadio>(
            f.window.get(), [&] { f.action("mnuProgram_ANI")->trigger(); },
            [&f](frmRadio* d) {
                auto* combo = d->findChild<QComboBox*>(QStringLiteral("cboRadioCh"));
                QCOMPARE(combo->currentIndex(), 0);
                QCOMPARE(combo->itemText(24), qtext(ids::HeaderChannel, Language::Chinese) + QStringLiteral("25"));
                auto* grid = d->findChild<QTableWidget*>(QStringLiteral("MSRadioGrid"));
                QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                                  grid->visualItemRect(grid->item(0, 1)).center());
                QTest::keyClicks(focused(), "65x");
                QTest::keyClick(focused(), Qt::Key_Return);
                QCOMPARE(f.prompter.texts(), QStringList{qtext(ids::FrequencyOutOfRange, Language::Chinese)});
                QCOMPARE(f.prompter.asked.value(0).icon, QMessageBox::Warning);
                QCOMPARE(d->cellText({1, 1}), QStringLiteral("70.00000"));
                QCOMPARE(d->currentCell(), (PresetCell{2, 1}));
                QTest::keyClick(grid, '8'); // a digit typed on the grid starts the edit
                QTest::keyClicks(focused(), "8.1");
                QTest::keyClick(focused(), Qt::Key_Return);
                grid->setCurrentCell(4, 5);
                QTest::keyClick(grid, Qt::Key_Return);
                QCOMPARE(focused()->objectName(), QStringLiteral("Command1")); // left the grid after preset 25
                clickButton(d, "Command1");
            });
        QCOMPARE(f.doc.image().at(kRadioSelectedAddress), 0x00);
        QCOMPARE(f.bytesAt(radioPresetAddress(1), 8), QByteArray::fromHex("0700000008810000"));
        const RadioImage saved = f.doc.image();
        runModal<frmRadio>(
            f.window.get(), [&] { f.action("mnuProgram_ANI")->trigger(); },
            [](frmRadio* d) {
                d->findChild<QComboBox*>(QStringLiteral("cboRadioCh"))->setCurrentIndex(7);
                clickButton(d, "Command2");
            });
        QVERIFY(f.doc.image() == saved); // Cancel writes nothing
    }

    void embeddedMessageTypingLimitOkAndCancel() {
        test::WindowFixture f;
        f.doc.edit(0, [](RadioImage& img) {
            img.set(kEmbeddedMessageAddress, 'A');
            img.set(kEmbeddedMessageAddress + 2, 'B');
        });
        f.start();
        runModal<frmEmbMsg>(
            f.window.get(), [&] { f.action("mnuProgram_EmbMsg")->trigger(); },
            [](frmEmbMsg* d) {
                auto* box = d->findChild<QLineEdit*>(QStringLiteral("txtMsg"));
                QCOMPARE(box->text(), QStringLiteral("AB"));
                box->setFocus();
                QCoreApplication::processEvents(); // the selection made on getting the focus
                box->end(false);
                QTest::keyClicks(box, QStringLiteral("CDEFGHIJKLMNOPQR")); // sixteen at most
                QCOMPARE(box->text(), QStringLiteral("ABCDEFGHIJKLMNOP"));
                QApplication::clipboard()->setText(QStringLiteral("xyz"));
                box->setSelection(0, 2);
                QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
                QCOMPARE(box->text(), QStringLiteral("xyCDEFGHIJKLMNOP"));
                clickButton(d, "CmdOk");
            });
        QCOMPARE(f.bytesAt(kEmbeddedMessageAddress, 16), QByteArray("xyCDEFGHIJKLMNOP"));
        runModal<frmEmbMsg>(
            f.window.get(), [&] { f.action("mnuProgram_EmbMsg")->trigger(); },
            [](frmEmbMsg* d) {
                QTest::keyClicks(d->findChild<QLineEdit*>(QStringLiteral("txtMsg")), "Q");
                clickButton(d, "CmdCancel");
            });
        QCOMPARE(f.bytesAt(kEmbeddedMessageAddress, 16), QByteArray("xyCDEFGHIJKLMNOP"));
    }
};

QTEST_MAIN(ImageDialogsTest)
#include "test_image_dialogs.moc"
