#include "app/transfer/transfer_ports.h"

#include "app/common/texts.h"
#include "core/channels/channel_columns.h"
#include "core/channels/channel_rules.h"
#include "core/image/defaults.h"
#include "core/strings/string_ids.h"
#include "transport/serial_link.h"
#include "transport/simulator_link.h"

namespace norvik {

void SerialPortChecker::start(const QVector<NumberedPort>& ports) {
    m_pending = static_cast<int>(ports.size());
    if (m_pending == 0) {
        QMetaObject::invokeMethod(this, &PortChecker::finished, Qt::QueuedConnection);
        return;
    }
    for (const NumberedPort& port : ports) {
        auto* check = new CheckPort(port.device, this);
        const int number = port.number;
        connect(check, &CheckPort::finished, this, [this, check, number](bool ok) {
            check->deleteLater();
            emit portChecked(number, ok);
            if (--m_pending == 0)
                emit finished();
        });
        check->start();
    }
}

TransferPorts::TransferPorts(std::unique_ptr<PortEnumerator> enumerator, CheckerFactory checkers)
    : m_enumerator(std::move(enumerator)), m_checkers(std::move(checkers)), m_simulator(demoRadioImage()) {
    if (!m_enumerator)
        m_enumerator = std::make_unique<SystemPortEnumerator>();
    if (!m_checkers)
        m_checkers = [] { return std::make_unique<SerialPortChecker>(); };
}

TransferPorts::~TransferPorts() = default;

QVector<NumberedPort> TransferPorts::ports() const {
    return numberedPorts(*m_enumerator);
}

std::unique_ptr<PortChecker> TransferPorts::makeChecker() const {
    return m_checkers();
}

std::unique_ptr<ByteLink> TransferPorts::makeLink() const {
    if (m_choice.simulated)
        return std::make_unique<SimulatorLink>(m_simulator, m_paced);
    if (!m_choice.device.isEmpty())
        return std::make_unique<SerialLink>(m_choice.device);
    QString device;
    const QVector<NumberedPort> all = ports();
    if (m_choice.number >= 1 && m_choice.number <= all.size())
        device = all[m_choice.number - 1].device;
    // Nothing behind the number: the COM name itself, which the serial layer reports as missing.
    if (device.isEmpty())
        device = QStringLiteral("COM%1").arg(m_choice.number);
    return std::make_unique<SerialLink>(device);
}

RadioSimulator& TransferPorts::simulator(int index) {
    if (index <= 0)
        return m_simulator;
    while (int(m_moreSimulators.size()) < index)
        m_moreSimulators.push_back(std::make_unique<RadioSimulator>(demoRadioImage()));
    return *m_moreSimulators[std::size_t(index - 1)];
}

std::unique_ptr<ByteLink> TransferPorts::makeSimulatorLink(int index) {
    return std::make_unique<SimulatorLink>(simulator(index), m_paced);
}

QString TransferPorts::choiceName(Language lang) const {
    if (m_choice.simulated)
        return qtext(ids::SimulatedRadio, lang);
    if (!m_choice.device.isEmpty())
        return m_choice.device;
    return QStringLiteral("COM%1").arg(m_choice.number);
}

RadioImage demoRadioImage() {
    const ChannelStyle style;
    RadioImage image;
    writeNewImageDefaults(image, style.bands);
    ChannelRows rows = channelRows(image, style.lang, style.sep);
    struct Channel {
        const char* rx;
        const char* tx; // null: simplex
        const char* encode;
        const char* name;
    };
    const Channel channels[] = {
        {"145.50000", nullptr, nullptr, "CALL"},      {"145.77500", "145.17500", "88.5", "RPT2M"},
        {"438.50000", "430.90000", "123.0", "RPT70"}, {"446.00625", nullptr, nullptr, "PMR1"},
        {"446.01875", nullptr, nullptr, "PMR2"},      {"156.80000", nullptr, nullptr, "CH16"},
    };
    int n = 1;
    for (const Channel& c : channels) {
        ChannelRow& row = rows[static_cast<std::size_t>(n)];
        commitReceive(image, row, n, c.rx, style);
        if (c.tx)
            commitTransmit(image, row, n, c.tx, style);
        if (c.encode)
            commitTone(image, row, n, col::Encode, c.encode);
        commitName(image, row, n, c.name);
        ++n;
    }
    return image;
}

} // namespace norvik
