#include <QCheckBox>
#include <QtTest>
#include <functional>

#include "app/common/texts.h"
#include "app/dialogs/frm_sel_columns.h"
#include "core/strings/string_ids.h"
#include "support/modal_runner.h"
#include "support/window_fixture.h"

using namespace norvik;
using norvik::test::clickButton;

namespace {

QList<bool> checks(const frmSelColumns& d) {
    QList<bool> out;
    for (int i = 0; i < kTableColumns; ++i)
        out.append(d.columnBox(i)->isChecked());
    return out;
}

// Opens the dialog from the View menu and works it with `steps` once it is up.
void runDialog(test::WindowFixture& f, std::function<void(frmSelColumns*)> steps) {
    test::runModal<frmSelColumns>(
        f.window.get(), [&f] { f.action("mnuView_Columns")->trigger(); }, std::move(steps));
}

} // namespace

class SelColumnsTest : public QObject {
    Q_OBJECT
private slots:
    void enterMovesOnAndOkTakesTheBoxes() {
        RadioDocument doc;
        ChannelTable table(doc);
        table.setColumnVisible(col::Vox, false);
        frmSelColumns d(table, Language::English);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QVERIFY(!checks(d)[col::Vox]);

        d.columnBox(5)->setFocus();
        QTRY_VERIFY(d.columnBox(5)->hasFocus());
        QTest::keyClick(d.columnBox(5), Qt::Key_Return);
        QVERIFY(d.isVisible()); // Enter is not OK here
        QVERIFY(!d.columnBox(5)->hasFocus());
        clickButton(&d, "CmdOk");
        QVERIFY(!table.isColumnVisible(col::Vox));
        QVERIFY(table.isColumnVisible(col::Rx));
    }

    void inverseAndOkHidesTheReceiveColumnCancelKeepsSelectAllRestores() {
        test::WindowFixture f;
        f.start();
        auto width = [&f](int column) { return f.grid()->columnWidth(column - 1); };
        const int rx = width(col::Rx), more = width(col::More), duplex = width(col::Duplex);
        QVERIFY(rx > 0);
        runDialog(f, [](frmSelColumns* d) {
            clickButton(d, "Command2");
            clickButton(d, "CmdOk");
        });
        QCOMPARE(width(col::Rx), 0);
        QCOMPARE(width(col::Duplex), 0);
        QCOMPARE(width(col::More), more);
        runDialog(f, [](frmSelColumns* d) {
            QVERIFY(!d->columnBox(col::Duplex)->isChecked());
            clickButton(d, "Command1");
            clickButton(d, "CmdCancel");
        });
        QCOMPARE(width(col::Rx), 0);
        runDialog(f, [](frmSelColumns* d) {
            clickButton(d, "Command1");
            QTest::mouseClick(d->columnBox(col::Duplex), Qt::LeftButton);
            clickButton(d, "CmdOk");
        });
        QCOMPARE(width(col::Rx), rx);
        QCOMPARE(width(col::Duplex), 0);
        runDialog(f, [](frmSelColumns* d) {
            QTest::mouseClick(d->columnBox(col::Duplex), Qt::LeftButton);
            clickButton(d, "CmdOk");
        });
        QCOMPARE(width(col::Duplex), duplex);
    }
};

QTEST_MAIN(SelColumnsTest)
#include "test_sel_columns.moc"
