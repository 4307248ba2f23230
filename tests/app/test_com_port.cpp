#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "common/texts.h"
#include "editor/frm_main.h"
#include "image/radio_document.h"
#include "support/fake_ports.h"
#include "support/scripted_prompter.h"
#include "transfer/frm_com_port.h"
#include "transfer/transfer_ports.h"

using namespace norvik;

namespace {

// Five devices behind numbers 1..5; only the first and the third open.
const QStringList kDevices{QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/dev/ttyUSB1"),
                           QStringLiteral("/dev/ttyUSB2"), QStringLiteral("/dev/ttyS0"), QStringLiteral("/dev/ttyS1")};
const QSet<QString> kOpenable{QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/dev/ttyUSB2")};

std::unique_ptr<TransferPorts> fakePorts() {
    return std::make_unique<TransferPorts>(std::make_unique<test::FakeEnumerator>(kDevices),
                                           [] { return std::make_unique<test::FakeChecker>(kOpenable, 20); });
}

struct Fixture {
    QTemporaryDir dir;
    QSettings settings{dir.filePath(QStringLiteral("lang.ini")), QSettings::IniFormat};
    RadioDocument doc;
    test::ScriptedPrompter prompter;
    std::unique_ptr<TransferPorts> ports = fakePorts();
    std::unique_ptr<frmMain> window;
    QPointer<frmComPort> dialog;

    Fixture() {
        window = std::make_unique<frmMain>(doc, prompter, &settings);
        window->setTransferPorts(*ports);
        QObject::connect(window.get(), &frmMain::comPortDialogShown, [this](frmComPort* d) { dialog = d; });
    }
    frmComPort* openDialog() {
        window->mnuSet_COM_Click();
        if (dialog)
            QSignalSpy(dialog.data(), &frmComPort::probeFinished).wait(2000);
        return dialog;
    }
};

} // namespace

class ComPortTest : public QObject {
    Q_OBJECT
private slots:
    void onlyPortsThatOpenAreEnabled() {
        Fixture f;
        f.ports->setChoice({2, false});
        frmComPort* d = f.openDialog();
        QVERIFY(d && d->isVisible());
        QVERIFY(!d->probing());
        QCOMPARE(d->windowTitle(), QStringLiteral("Communication Port"));
        const auto buttons = d->findChildren<QRadioButton*>(QStringLiteral("OptComPort"));
        QCOMPARE(buttons.size(), 20);
        for (int i = 0; i < 20; ++i) {
            QRadioButton* b = d->portButton(i);
            QCOMPARE(b->isEnabled(), i == 0 || i == 2);
            const QString caption = QStringLiteral("COM%1").arg(i + 1);
            if (i < kDevices.size())
                QCOMPARE(b->text(), caption + QStringLiteral("  ") + kDevices[i]);
            else
                QCOMPARE(b->text(), caption);
        }
        // The port in force stays selected although it does not open.
        QVERIFY(d->portButton(1)->isChecked());
        QVERIFY(!d->simulatedButton()->isChecked());
        QVERIFY(d->simulatedButton()->isEnabled());
    }

    void okTakesTheCheckedChoiceAndCancelKeepsTheOldOne_data() {
        QTest::addColumn<int>("click"); // button index, -1 for the simulated radio
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("simulated");
        QTest::newRow("OK on COM3") << 2 << true << 3 << false;
        QTest::newRow("Cancel after choosing COM3") << 2 << false << 2 << false;
        QTest::newRow("OK on the simulated radio") << -1 << true << 2 << true;
        QTest::newRow("Cancel after choosing the simulated radio") << -1 << false << 2 << false;
    }
    void okTakesTheCheckedChoiceAndCancelKeepsTheOldOne() {
        QFETCH(int, click);
        QFETCH(bool, ok);
        QFETCH(int, number);
        QFETCH(bool, simulated);
        Fixture f;
        f.ports->setChoice({2, false});
        frmComPort* d = f.openDialog();
        QVERIFY(d);
        QRadioButton* target = click >= 0 ? d->portButton(click) : d->simulatedButton();
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(4, target->height() / 2)); // on its indicator
        QVERIFY(target->isChecked());
        QVERIFY(!d->portButton(1)->isChecked());
        QTest::mouseClick(d->findChild<QPushButton*>(QString::fromLatin1(ok ? "CmdOk" : "CmdCancel")), Qt::LeftButton);
        QTRY_VERIFY(!f.dialog); // closed and deleted
        QCOMPARE(f.ports->choice(), (PortChoice{number, simulated}));
    }

    void simulatedChoiceComesBackChecked() {
        Fixture f;
        f.ports->setChoice({4, true});
        frmComPort* d = f.openDialog();
        QVERIFY(d->simulatedButton()->isChecked());
        for (int i = 0; i < 20; ++i)
            QVERIFY(!d->portButton(i)->isChecked());
        // OK with nothing else chosen keeps it.
        QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("CmdOk")), Qt::LeftButton);
        QCOMPARE(f.ports->choice(), (PortChoice{4, true}));
    }

    void captionsFollowTheLanguage() {
        Fixture f;
        f.window->setLanguage(Language::Chinese);
        frmComPort* d = f.openDialog();
        QCOMPARE(d->windowTitle(), qtext(1140, Language::Chinese));
        QVERIFY(d->portButton(19)->text().startsWith(QStringLiteral("通信口20")));
        QCOMPARE(d->findChild<QPushButton*>(QStringLiteral("CmdOk"))->text(), qtext(1102, Language::Chinese));
        QCOMPARE(d->simulatedButton()->text(), qtext(1719, Language::Chinese));
    }

    void buttonsWaitForTheirProbe() {
        auto ports = fakePorts();
        frmComPort d(Language::English, ports->ports(), ports->makeChecker(), ports->choice());
        QVERIFY(d.probing());
        for (int i = 0; i < 20; ++i)
            QVERIFY(!d.portButton(i)->isEnabled());
        QSignalSpy done(&d, &frmComPort::probeFinished);
        QVERIFY(done.wait(2000));
        QVERIFY(d.portButton(0)->isEnabled());
        QVERIFY(!d.portButton(1)->isEnabled());
    }
};

QTEST_MAIN(ComPortTest)
#include "test_com_port.moc"
