#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "common/texts.h"
#include "dialogs/frm_sel_columns.h"
#include "strings/string_ids.h"
#include "support/window_fixture.h"

using namespace norvik;

namespace {

QList<bool> checks(const frmSelColumns& d) {
    QList<bool> out;
    for (int i = 0; i < kTableColumns; ++i)
        out.append(d.columnBox(i)->isChecked());
    return out;
}

void click(QWidget* dialog, const char* button) {
    QTest::mouseClick(dialog->findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
}

// Opens the dialog from the View menu and works it with `steps` once it is up.
void runDialog(test::WindowFixture& f, std::function<void(frmSelColumns*)> steps) {
    bool ran = false;
    auto* poll = new QTimer(f.window.get());
    QObject::connect(poll, &QTimer::timeout, poll, [&ran, poll, steps] {
        if (auto* d = qobject_cast<frmSelColumns*>(QApplication::activeModalWidget())) {
            poll->stop();
            ran = true;
            steps(d);
            poll->deleteLater();
        }
    });
    poll->start(10);
    f.action("mnuView_Columns")->trigger();
    QVERIFY(ran);
}

struct Fixture : test::WindowFixture {
    int width(int column) { return grid()->columnWidth(column - 1); }
};

} // namespace

class SelColumnsTest : public QObject {
    Q_OBJECT
private slots:
    void boxesCaptionsAndTheOnesNobodySees_data() {
        QTest::addColumn<int>("lang");
        QTest::newRow("English") << 0;
        QTest::newRow("Chinese") << 1;
    }
    void boxesCaptionsAndTheOnesNobodySees() {
        QFETCH(int, lang);
        const Language language = languageFromIndex(lang);
        RadioDocument doc;
        ChannelTable table(doc, language);
        frmSelColumns d(table, language);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QCOMPARE(d.windowTitle(), qtext(ids::VisibleColumnsCaption, language));
        QCOMPARE(d.findChildren<QCheckBox*>(QStringLiteral("ColumnSel")).size(), kTableColumns);
        for (int i = 0; i < kTableColumns; ++i) {
            QCheckBox* box = d.columnBox(i);
            QCOMPARE(box->property("index").toInt(), i);
            QCOMPARE(box->text(), qtext(columnHeaderId(i), language));
            const bool inSight = d.rect().contains(box->geometry());
            QCOMPARE(inSight, i >= 2 && i <= 15);
            QCOMPARE(box->focusPolicy() == Qt::NoFocus, !inSight);
        }
        QCOMPARE(d.columnBox(15)->text(),
                 language == Language::English ? QStringLiteral("Duplex") : qtext(1416, language));
        QCOMPARE(d.findChild<QPushButton*>(QStringLiteral("Command2"))->text(), qtext(ids::Inverse, language));
        QCOMPARE(checks(d).count(true), kTableColumns - 1); // every column shown; box 0 is never set
    }

    void inverseTwiceChangesNothingAndEnterMovesOn() {
        RadioDocument doc;
        ChannelTable table(doc);
        table.setColumnVisible(col::Vox, false);
        frmSelColumns d(table, Language::English);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        const QList<bool> start = checks(d);
        QVERIFY(!start[col::Vox]);
        click(&d, "Command2");
        QCOMPARE(checks(d)[col::Rx], false);
        QCOMPARE(checks(d)[col::Vox], true);
        QCOMPARE(checks(d)[col::More], true); // beyond the boxes Inverse touches
        click(&d, "Command2");
        QCOMPARE(checks(d), start);

        d.columnBox(5)->setFocus();
        QTRY_VERIFY(d.columnBox(5)->hasFocus());
        QTest::keyClick(d.columnBox(5), Qt::Key_Return);
        QVERIFY(d.isVisible()); // Enter is not OK here
        QVERIFY(!d.columnBox(5)->hasFocus());
        click(&d, "CmdOk");
        QVERIFY(!table.isColumnVisible(col::Vox));
        QVERIFY(table.isColumnVisible(col::Rx));
    }

    void inverseAndOkHidesTheReceiveColumnUntilSelectAll() {
        Fixture f;
        f.start();
        const int rx = f.width(col::Rx), more = f.width(col::More), duplex = f.width(col::Duplex);
        QVERIFY(rx > 0);
        runDialog(f, [](frmSelColumns* d) {
            click(d, "Command2");
            click(d, "CmdOk");
        });
        QCOMPARE(f.width(col::Rx), 0);
        QCOMPARE(f.width(col::Duplex), 0);
        QCOMPARE(f.width(col::More), more);
        runDialog(f, [](frmSelColumns* d) {
            click(d, "Command1");
            click(d, "CmdOk");
        });
        QCOMPARE(f.width(col::Rx), rx);
        QCOMPARE(f.width(col::Duplex), duplex);
    }

    void duplexHiddenThenShownAgainAndCancelKeepsAll() {
        Fixture f;
        f.start();
        const int duplex = f.width(col::Duplex);
        runDialog(f, [](frmSelColumns* d) {
            QTest::mouseClick(d->columnBox(col::Duplex), Qt::LeftButton);
            click(d, "CmdOk");
        });
        QCOMPARE(f.width(col::Duplex), 0);
        runDialog(f, [](frmSelColumns* d) {
            QVERIFY(!d->columnBox(col::Duplex)->isChecked());
            click(d, "Command1");
            QTest::mouseClick(d->columnBox(col::Name), Qt::LeftButton);
            click(d, "CmdCancel");
        });
        QCOMPARE(f.width(col::Duplex), 0);
        QVERIFY(f.width(col::Name) > 0);
        runDialog(f, [](frmSelColumns* d) {
            QTest::mouseClick(d->columnBox(col::Duplex), Qt::LeftButton);
            click(d, "CmdOk");
        });
        QCOMPARE(f.width(col::Duplex), duplex);
    }
};

QTEST_MAIN(SelColumnsTest)
#include "test_sel_columns.moc"
