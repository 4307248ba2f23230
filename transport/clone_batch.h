#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

#include "core/clone/clone_session.h"
#include "core/strings/string_ids.h"
#include "transport/byte_link.h"

namespace norvik {

// What a port of a batch is doing: a write may first back up the radio and afterwards read it back.
enum class PortPhase : std::uint8_t { BackingUp, Writing, Verifying, Reading };

// How one port of a batch ended.
struct PortOutcome {
    bool ok = false;
    double seconds = 0; // from the port's start to its end
    QString reason;     // why it failed, one line in the user's language
    // A write read back: what was found, and for a radio that was not verified, what differs (the
    // first difference and how many more) or why the read-back failed, one line.
    Verification verification = Verification::NotAsked;
    QString verifyDetail;
    QString backupPath;     // where the radio was kept before a write, when it was
    bool cancelled = false; // stopped by cancel() or cancelAll()
    QString identification; // the radio's identification block in hex, when it answered
    QString checksum;       // of the rows the transfer sent, or received when a read completed

    static PortOutcome failed(const QString& why, double seconds = 0) {
        PortOutcome outcome;
        outcome.seconds = seconds;
        outcome.reason = why;
        return outcome;
    }
};

// The same transfer on several ports at once, all on this thread's event loop: each port has its
// own link and CloneRunner, so a failure on one never touches the others. At most `jobs` run
// together; the rest start as earlier ones end. Nobody is asked anything: the settings answer.
class CloneBatch : public QObject {
    Q_OBJECT
public:
    struct Settings {
        CloneMode mode = CloneMode::Write;
        Language language = Language::English;
        int jobs = 0;                   // 0: all at once
        int retries = 0;                // times a port starts over after a failure
        bool acceptRangeChange = false; // write although the radio's frequency range differs
        bool verify = false;            // read each write back
        // Where each radio is kept before it is written (see CloneRunner::startBackedUpWrite);
        // empty: no backup.
        std::filesystem::path backupFolder;
        // How a port whose radio has another frequency range ends when acceptRangeChange is off.
        int rangeDiffersText = ids::FailureRangeDiffers;
    };

    explicit CloneBatch(const Settings& settings, QObject* parent = nullptr);
    ~CloneBatch() override;

    // Adds a port before start(): its link and the image a write sends.
    void add(std::unique_ptr<ByteLink> link, const RadioImage& image = RadioImage());
    void start();

    // Stops one port's transfer, or every one still running or waiting: each ends with an
    // outcome marked cancelled. A waiting port ends at once, without a byte sent.
    void cancel(int index);
    void cancelAll();
    // Runs an ended port again from the start, as a port of this batch: portEnded and, once no
    // port runs, finished follow again. False while the port is running or waiting.
    bool retry(int index);
    bool isRunning(int index) const;
    // Whether any port of a started batch is still running or waiting.
    bool isRunning() const { return m_running > 0 || !m_retries.empty() || (m_started && m_next < m_ports.size()); }

    int size() const { return int(m_ports.size()); }
    // What a port's transfer holds: after a completed read, what the radio sent.
    const RadioImage& image(int index) const;
    // Ports whose latest outcome is a failure.
    int failures() const { return m_failures; }

signals:
    void phaseChanged(int index, norvik::PortPhase phase);
    void portEnded(int index, const norvik::PortOutcome& outcome);
    // A port's transfer moved on (its read-back counts again from 0).
    void progress(int index, int value, int maximum);
    void finished();

private:
    struct Port;
    void startNext();
    void run(Port& port);
    void end(Port& port, PortOutcome outcome);

    Settings m_settings;
    std::vector<std::unique_ptr<Port>> m_ports;
    std::size_t m_next = 0;
    bool m_started = false;
    std::vector<int> m_retries; // ports asked to run again, waiting for a free job
    int m_running = 0;
    int m_failures = 0;
};

} // namespace norvik
