#pragma once

#include <QObject>
#include <QString>
#include <QVector>
#include <functional>
#include <memory>
#include <vector>

#include "core/clone/radio_simulator.h"
#include "core/strings/strings.h"
#include "transport/serial_ports.h"

namespace norvik {

class ByteLink;

// Where transfers go: serial port number 1..20, the simulated radio, or any serial device by its
// path (the "Other device…" choice, when `device` is not empty).
struct PortChoice {
    PortChoice(int n = 1, bool sim = false, QString path = {}) : number(n), simulated(sim), device(std::move(path)) {}
    int number;
    bool simulated;
    QString device;
    friend bool operator==(const PortChoice&, const PortChoice&) = default;
};

// Finds out which numbered ports can be opened. Results come from the event loop, in any order.
class PortChecker : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Checks every port at once: portChecked(number, ok) for each, then finished().
    virtual void start(const QVector<NumberedPort>& ports) = 0;

signals:
    void portChecked(int number, bool ok);
    void finished();
};

// CheckPort on all devices at the same time, so twenty ports cost one probe's 200 ms.
class SerialPortChecker : public PortChecker {
    Q_OBJECT
public:
    using PortChecker::PortChecker;
    void start(const QVector<NumberedPort>& ports) override;

private:
    int m_pending = 0;
};

// The program's port state, owned by the application and lent to the windows: the port chosen,
// where the list of ports comes from, and the simulated radio, which keeps its memory for the
// whole session so that what a Write puts there a later Read gets back.
class TransferPorts {
public:
    using CheckerFactory = std::function<std::unique_ptr<PortChecker>()>;

    // Null arguments mean the machine's own ports and CheckPort.
    explicit TransferPorts(std::unique_ptr<PortEnumerator> enumerator = nullptr, CheckerFactory checkers = {});
    ~TransferPorts();

    PortChoice choice() const { return m_choice; }
    void setChoice(const PortChoice& choice) { m_choice = choice; }

    QVector<NumberedPort> ports() const;
    std::unique_ptr<PortChecker> makeChecker() const;

    RadioSimulator& simulator() { return m_simulator; }
    // The simulated radios the several-radios window offers; number 0 is simulator().
    static constexpr int kSimulatedRadios = 3;
    RadioSimulator& simulator(int index);
    std::unique_ptr<ByteLink> makeSimulatorLink(int index);
    // Paced, the simulated radio answers at the cable's 9600 bit/s (the default, for a demo that
    // looks like the real thing); unpaced, at once.
    void setSimulatorPaced(bool paced) { m_paced = paced; }

    // A link over the chosen port for one transfer. A number with no device behind it gives a
    // link whose open() reports the port as not found.
    std::unique_ptr<ByteLink> makeLink() const;
    // The chosen port as the user knows it: "COM3", a device path, or the simulated radio's caption.
    QString choiceName(Language lang) const;

private:
    std::unique_ptr<PortEnumerator> m_enumerator;
    CheckerFactory m_checkers;
    PortChoice m_choice;
    mutable RadioSimulator m_simulator;
    std::vector<std::unique_ptr<RadioSimulator>> m_moreSimulators;
    bool m_paced = true;
};

// What the simulated radio holds when the program starts: the new-image defaults and a handful
// of channels, the way a dealer's radio might come in.
RadioImage demoRadioImage();

} // namespace norvik
