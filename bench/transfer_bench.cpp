// Paced read and write against the simulated radio, timed against the floor: the line time of
// every byte exchanged at 9600 bit/s plus the 20 ms pauses the exchange takes. Each transfer
// runs `repeats` times; the median ratio is the figure to quote. The backed-up write (the whole
// radio read and kept, then written and read back) is timed against the sum of its three
// transfers' floors.
//   transfer_bench [inprocess|pty|both] [repeats]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <vector>

#include "core/clone/radio_simulator.h"
#include "core/helpers.h"
#include "transport/clone_runner.h"
#include "transport/pty_simulator.h"
#include "transport/serial_link.h"
#include "transport/simulator_link.h"

using namespace norvik;

namespace {

using test::randomImage;

struct Result {
    bool ok = false;
    double wallMs = 0;
    double floorMs = 0;
    double ratio() const { return floorMs > 0 ? wallMs / floorMs : 0.0; }
};

// backupFolder: a write that backs up first and reads back (CloneRunner::startBackedUpWrite).
Result timeTransfer(ByteLink& link, const SimulatedLine& line, RadioImage& image, CloneMode mode,
                    const QString& backupFolder = {}) {
    CloneRunner runner(link, Language::English);
    QEventLoop loop;
    CloneOutcome outcome = CloneOutcome::Failed;
    QObject::connect(&runner, &CloneRunner::question, &loop,
                     [&](CloneQuestion, const QString&) { runner.answer(false); });
    QObject::connect(&runner, &CloneRunner::done, &loop, [&](CloneOutcome o) {
        outcome = o;
        loop.quit();
    });
    const qint64 bytesBefore = line.bytesFromProgram() + line.bytesFromRadio();
    QElapsedTimer clock;
    clock.start();
    const bool started =
        backupFolder.isEmpty()
            ? runner.start(mode, image)
            : runner.startBackedUpWrite(image, true, {std::filesystem::path(backupFolder.toStdString()), link.name()});
    if (!started)
        return {};
    loop.exec();
    Result r;
    r.wallMs = clock.nsecsElapsed() / 1e6;
    const qint64 bytes = line.bytesFromProgram() + line.bytesFromRadio() - bytesBefore;
    r.floorMs = RadioSimulator::lineTimeNs(bytes) / 1e6 + runner.pausesTaken() * double(clone::kPauseMs);
    r.ok = outcome == CloneOutcome::Completed &&
           (backupFolder.isEmpty() ||
            (!runner.backupPath().isEmpty() && runner.session().verification() == Verification::Verified));
    if (mode == CloneMode::Read)
        image = runner.session().image();
    return r;
}

void report(const std::string& what, const Result& r) {
    std::printf("%-24s %s  wall %9.1f ms  floor %9.1f ms  ratio %.4f\n", what.c_str(), r.ok ? "ok    " : "FAILED",
                r.wallMs, r.floorMs, r.ratio());
    std::fflush(stdout);
}

void reportMedian(const std::string& what, std::vector<double> ratios) {
    std::sort(ratios.begin(), ratios.end());
    std::printf("%-24s median ratio %.4f of %zu (min %.4f, max %.4f)\n", what.c_str(), ratios[ratios.size() / 2],
                ratios.size(), ratios.front(), ratios.back());
    std::fflush(stdout);
}

bool runBoth(const char* where, ByteLink& link, const SimulatedLine& line, RadioSimulator& radio, int repeats) {
    const std::string readName = std::string(where) + " read", writeName = std::string(where) + " write";
    const std::string backedUpName = std::string(where) + " backed-up write";
    std::vector<double> reads, writes, backedUp;
    QTemporaryDir backups;
    bool ok = true;
    for (int i = 0; i < repeats; ++i) {
        const RadioImage held = radio.memory();
        RadioImage image;
        const Result read = timeTransfer(link, line, image, CloneMode::Read);
        report(readName, read);
        RadioImage edited = randomImage(2);
        edited.setRow(clone::kIdentRow, radio.memory().row(clone::kIdentRow));
        const Result write = timeTransfer(link, line, edited, CloneMode::Write);
        report(writeName, write);
        RadioImage again = randomImage(3);
        again.setRow(clone::kIdentRow, radio.memory().row(clone::kIdentRow));
        const Result backed = timeTransfer(link, line, again, CloneMode::Write, backups.path());
        report(backedUpName, backed);
        ok = ok && read.ok && write.ok && backed.ok && image == held;
        reads.push_back(read.ratio());
        writes.push_back(write.ratio());
        backedUp.push_back(backed.ratio());
    }
    reportMedian(readName, reads);
    reportMedian(writeName, writes);
    reportMedian(backedUpName, backedUp);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString which = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("both");
    const int repeats = std::max(1, argc > 2 ? std::atoi(argv[2]) : 1);
    bool ok = true;
    if (which == QLatin1String("inprocess") || which == QLatin1String("both")) {
        RadioSimulator radio(randomImage(1));
        SimulatorLink link(radio, true);
        ok = runBoth("in-process", link, link.line(), radio, repeats) && ok;
    }
    if (which == QLatin1String("pty") || which == QLatin1String("both")) {
        RadioSimulator radio(randomImage(1));
        PtySimulatorHost host(radio, true);
        QString error;
        if (!host.open(&error)) {
            std::fprintf(stderr, "pty: %s\n", error.toLocal8Bit().constData());
            return 1;
        }
        SerialLink link(host.devicePath());
        ok = runBoth("pty + serial port", link, host.line(), radio, repeats) && ok;
    }
    return ok ? 0 : 1;
}
