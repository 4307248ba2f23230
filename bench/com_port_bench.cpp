// Time from the Communication Port command to the dialog on screen, and to every one of its 20
// ports probed and enabled.
//   com_port_bench [fake|pty|both] [runs]
// fake: 20 devices whose probe answers "opens" after 200 ms on a timer.
// pty:  20 pseudo-terminals probed by the real CheckPort (open, "ATI1" CR, 200 ms, close).
#include <QApplication>
#include <QElapsedTimer>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <pty.h>
#include <unistd.h>
#include <vector>

#include "app/dialogs/prompt.h"
#include "app/editor/frm_main.h"
#include "app/transfer/frm_com_port.h"
#include "app/transfer/transfer_ports.h"
#include "core/image/radio_document.h"

using namespace norvik;

namespace {

class ListEnumerator : public PortEnumerator {
public:
    explicit ListEnumerator(QStringList devices) : m_devices(std::move(devices)) {}
    QList<AvailablePort> availablePorts() const override {
        QList<AvailablePort> out;
        for (const QString& d : m_devices)
            out.append({d, {}});
        return out;
    }

private:
    QStringList m_devices;
};

// Every port opens; each answer takes 200 ms, like CheckPort's wait.
class SlowChecker : public PortChecker {
public:
    void start(const QVector<NumberedPort>& ports) override {
        m_pending = static_cast<int>(ports.size());
        for (const NumberedPort& p : ports) {
            const int number = p.number;
            QTimer::singleShot(200, Qt::PreciseTimer, this, [this, number] {
                emit portChecked(number, true);
                if (--m_pending == 0)
                    emit finished();
            });
        }
    }

private:
    int m_pending = 0;
};

// Answers nothing: the benchmark never shows a message box.
class SilentPrompter : public Prompter {
public:
    QMessageBox::StandardButton message(QWidget*, QMessageBox::Icon, const QString&, const QString&,
                                        QMessageBox::StandardButtons, QMessageBox::StandardButton) override {
        return QMessageBox::Cancel;
    }
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
};

struct Times {
    double shownMs = 0;
    double readyMs = 0;
    int enabled = 0;
};

Times once(TransferPorts& ports) {
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("lang.ini")), QSettings::IniFormat);
    RadioDocument doc;
    SilentPrompter prompter;
    frmMain window(doc, prompter, &settings);
    window.setTransferPorts(ports);
    window.show();
    while (!window.windowHandle() || !window.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);

    QPointer<frmComPort> dialog;
    QObject::connect(&window, &frmMain::comPortDialogShown, [&](frmComPort* d) { dialog = d; });
    QElapsedTimer clock;
    clock.start();
    window.mnuSet_COM_Click();
    Times t;
    while (!dialog || !dialog->windowHandle() || !dialog->windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    t.shownMs = clock.nsecsElapsed() / 1e6;
    while (dialog->probing())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    t.readyMs = clock.nsecsElapsed() / 1e6;
    for (int i = 0; i < kPortCount; ++i)
        t.enabled += dialog->portButton(i)->isEnabled() ? 1 : 0;
    dialog->reject();
    return t;
}

void run(const char* what, TransferPorts& ports, int runs) {
    std::vector<Times> all;
    for (int i = 0; i < runs; ++i)
        all.push_back(once(ports));
    std::sort(all.begin(), all.end(), [](const Times& a, const Times& b) { return a.readyMs < b.readyMs; });
    const Times& median = all[all.size() / 2];
    std::printf("%-5s median of %d: dialog shown %6.1f ms, all 20 ports probed %6.1f ms (%d enabled); "
                "slowest %6.1f ms\n",
                what, runs, median.shownMs, median.readyMs, median.enabled, all.back().readyMs);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString which = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("both");
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 5;

    if (which == QLatin1String("fake") || which == QLatin1String("both")) {
        QStringList devices;
        for (int i = 0; i < kPortCount; ++i)
            devices << QStringLiteral("/dev/ttyUSB%1").arg(i);
        TransferPorts ports(std::make_unique<ListEnumerator>(devices), [] { return std::make_unique<SlowChecker>(); });
        run("fake", ports, runs);
    }
    if (which == QLatin1String("pty") || which == QLatin1String("both")) {
        std::vector<int> masters;
        QStringList devices;
        for (int i = 0; i < kPortCount; ++i) {
            int master = -1, slave = -1;
            char name[256] = {};
            if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
                std::perror("openpty");
                return 1;
            }
            ::close(slave);
            masters.push_back(master);
            devices << QString::fromLocal8Bit(name);
        }
        TransferPorts ports(std::make_unique<ListEnumerator>(devices));
        run("pty", ports, runs);
        for (int fd : masters)
            ::close(fd);
    }
    return 0;
}
