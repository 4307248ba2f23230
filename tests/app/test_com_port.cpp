#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

#include "app/common/texts.h"
#include "app/settings/reg_keys.h"
#include "app/transfer/frm_com_port.h"
#include "support/window_fixture.h"
#include "transport/pty_simulator.h"

using namespace norvik;

Q_DECLARE_METATYPE(norvik::CloneOutcome)

namespace {

// Five devices behind numbers 1..5; only the first and the third open, and a device outside the
// list. COM2 is in force.
const QStringList kDevices{QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/dev/ttyUSB1"),
                           QStringLiteral("/dev/ttyUSB2"), QStringLiteral("/dev/ttyS0"), QStringLiteral("/dev/ttyS1")};
const QSet<QString> kOpenable{QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/dev/ttyUSB2"),
                              QStringLiteral("/dev/rfcomm0")};

struct Fixture : test::WindowFixture {
    QPointer<frmComPort> dialog;
    bool waitedForTheProbe = false; // every button was disabled as the dialog came up

    Fixture() {
        usePorts(kDevices, kOpenable, 20).setChoice({2, false});
        QObject::connect(window.get(), &frmMain::comPortDialogShown, [this](frmComPort* d) { dialog = d; });
    }
    // Opens the dialog from the menu; its buttons are disabled until their probe answers.
    frmComPort* openDialog() {
        action("mnuSet_COM")->trigger();
        if (dialog) {
            waitedForTheProbe = dialog->probing() && !dialog->portButton(0)->isEnabled();
            QSignalSpy(dialog.data(), &frmComPort::probeFinished).wait(2000);
        }
        return dialog;
    }
};

} // namespace

class ComPortTest : public QObject {
    Q_OBJECT
private slots:
    void onlyPortsThatOpenAreEnabled() {
        for (const Language language : {Language::English, Language::Chinese}) {
            Fixture f;
            f.window->setLanguage(language);
            frmComPort* d = f.openDialog();
            QVERIFY(d && d->isVisible() && !d->probing());
            QVERIFY(f.waitedForTheProbe);
            QCOMPARE(d->windowTitle(), qtext(1140, language));
            QCOMPARE(d->findChildren<QRadioButton*>(QStringLiteral("OptComPort")).size(), 20);
            const QString com = language == Language::English ? QStringLiteral("COM%1") : QStringLiteral("通信口%1");
            for (int i = 0; i < 20; ++i) {
                QRadioButton* b = d->portButton(i);
                QCOMPARE(b->isEnabled(), i == 0 || i == 2);
                // Each device's description follows it.
                QCOMPARE(b->text(),
                         com.arg(i + 1) +
                             (i < kDevices.size() ? QStringLiteral("  %1 (fake port)").arg(kDevices[i]) : QString()));
            }
            // The port in force stays selected although it does not open.
            QVERIFY(d->portButton(1)->isChecked());
            QVERIFY(!d->simulatedButton()->isChecked());
            QVERIFY(d->simulatedButton()->isEnabled());
        }
    }

    void okTakesTheCheckedChoiceAndCancelKeepsTheOldOne() {
        struct Case {
            int click; // button index, -1 for the simulated radio
            bool ok;
            PortChoice choice;
        } const cases[] = {
            {2, true, {3, false}}, {2, false, {2, false}}, {-1, true, {2, true}}, {-1, false, {2, false}}};
        for (const Case& c : cases) {
            Fixture f;
            frmComPort* d = f.openDialog();
            QVERIFY(d);
            QRadioButton* target = c.click >= 0 ? d->portButton(c.click) : d->simulatedButton();
            QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(4, target->height() / 2)); // on its indicator
            QVERIFY(target->isChecked());
            QVERIFY(!d->portButton(1)->isChecked());
            test::clickButton(d, c.ok ? "CmdOk" : "CmdCancel");
            QTRY_VERIFY(!f.dialog); // closed and deleted
            QCOMPARE(f.ports->choice(), c.choice);
        }
    }

    void simulatedChoiceComesBackChecked() {
        Fixture f;
        f.ports->setChoice({4, true});
        frmComPort* d = f.openDialog();
        QVERIFY(d->simulatedButton()->isChecked());
        for (int i = 0; i < 20; ++i)
            QVERIFY(!d->portButton(i)->isChecked());
        // OK with nothing else chosen keeps it.
        test::clickButton(d, "CmdOk");
        QCOMPARE(f.ports->choice(), (PortChoice{4, true}));
    }

    // A device that opens and one that does not: each is chosen, probed and remembered.
    void otherDeviceIsProbedChosenAndRemembered() {
        for (const auto& [path, opens] :
             {std::pair{QStringLiteral("/dev/rfcomm0"), true}, std::pair{QStringLiteral("/dev/ttyUSB3"), false}}) {
            Fixture f;
            frmComPort* d = f.openDialog();
            QVERIFY(d && !d->otherDeviceButton()->isEnabled());
            QSignalSpy checked(d, &frmComPort::otherDeviceChecked);
            // Typing the path chooses it; the probe follows once the typing stops.
            auto* field = d->findChild<QLineEdit*>(QStringLiteral("txtOtherDevice"));
            QTest::keyClicks(field, path);
            QVERIFY(d->otherDeviceButton()->isChecked() && !d->portButton(1)->isChecked());
            QVERIFY(checked.wait(2000));
            QCOMPARE(checked.size(), 1);
            QCOMPARE(d->otherDeviceButton()->isEnabled(), opens);
            test::clickButton(d, "CmdOk");
            QCOMPARE(f.ports->choice(), (PortChoice{2, false, path}));

            // The next start comes back to it.
            const RegKeys::OtherDevice stored = RegKeys(f.settings).readOtherDevice();
            QCOMPARE(stored.path, path);
            QVERIFY(stored.chosen);
            RadioDocument doc;
            test::ScriptedPrompter prompter;
            frmMain restarted(doc, prompter, &f.settings);
            TransferPorts ports(std::make_unique<test::FakeEnumerator>(kDevices));
            restarted.setTransferPorts(ports);
            QCOMPARE(ports.choice().device, path);
        }
    }

    // The device is a simulated radio on a pseudo-terminal: the real probe opens it, then a read.
    void otherDeviceReachesARadioOnAPseudoTerminal() {
        qRegisterMetaType<CloneOutcome>();
        RadioSimulator radio(demoRadioImage()); // records as the program keeps them: nothing to normalise
        PtySimulatorHost host(radio, false);
        QString error;
        QVERIFY2(host.open(&error), qPrintable(error));
        test::WindowFixture f;
        f.ports = std::make_unique<TransferPorts>(std::make_unique<test::FakeEnumerator>(QStringList{}));
        f.window->setTransferPorts(*f.ports);
        f.window->show();
        QPointer<frmComPort> dialog;
        QObject::connect(f.window.get(), &frmMain::comPortDialogShown, [&dialog](frmComPort* d) { dialog = d; });
        f.action("mnuSet_COM")->trigger();
        QVERIFY(dialog);
        QSignalSpy checked(dialog.data(), &frmComPort::otherDeviceChecked);
        QTest::keyClicks(dialog->findChild<QLineEdit*>(QStringLiteral("txtOtherDevice")), host.devicePath());
        QVERIFY(checked.wait(5000));
        QCOMPARE(checked.first().first().toBool(), true);
        test::clickButton(dialog, "CmdOk");
        QCOMPARE(f.ports->choice().device, host.devicePath());

        QSignalSpy done(f.window.get(), &frmMain::transferFinished);
        f.prompter.answers = {QMessageBox::Ok};
        f.action("mnuTransfer_Read")->trigger();
        QVERIFY(done.wait(60000));
        QCOMPARE(done.first().first().value<CloneOutcome>(), CloneOutcome::Completed);
        QVERIFY(f.doc.image() == radio.memory());
    }
};

QTEST_MAIN(ComPortTest)
#include "test_com_port.moc"
