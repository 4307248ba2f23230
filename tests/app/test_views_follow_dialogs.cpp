#include <QApplication>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include "dialogs/frm_memory_map.h"
#include "support/modal_runner.h"
#include "support/window_fixture.h"

using namespace norvik;

// The main window's views follow what a dialog's OK wrote, with no refill by hand.
class ViewsFollowDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void gridShowsTheBytesTheMemoryMapWrote() {
        test::WindowFixture f;
        f.useChannel(1, 14600000);
        f.start();
        QCOMPARE(f.shown(1, col::Rx), QStringLiteral("146.00000"));
        test::runModal<frmMemoryMap>(
            f.window.get(), [&] { f.memoryMapGesture(); },
            [](frmMemoryMap* map) {
                auto* grid = map->findChild<QTableView*>(QStringLiteral("msgMemory"));
                grid->setCurrentIndex(grid->model()->index(1, 1)); // 0x011, the second digit pair of channel 1
                grid->setFocus();
                QTest::keyClick(grid, '5'); // starts the edit
                QTest::keyClick(QApplication::focusWidget(), '0');
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                QTest::mouseClick(map->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
            });
        QCOMPARE(f.doc.image().at(0x011), 0x50);
        QCOMPARE(f.shown(1, col::Rx), QStringLiteral("145.00000"));
    }
};

QTEST_MAIN(ViewsFollowDialogsTest)
#include "test_views_follow_dialogs.moc"
