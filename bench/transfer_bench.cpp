// Paced read and write against the simulated radio, timed against the floor: the line time of
// every byte exchanged at 9600 bit/s plus the 20 ms pauses the exchange takes.
//   transfer_bench [inprocess|pty|both]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <cstdio>
#include <random>

#include "clone/radio_simulator.h"
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
};

Result timeTransfer(ByteLink& link, const SimulatedLine& line, RadioImage& image, CloneMode mode) {
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
    if (!runner.start(mode, image))
        return {};
    loop.exec();
    Result r;
    r.wallMs = clock.nsecsElapsed() / 1e6;
    const qint64 bytes = line.bytesFromProgram() + line.bytesFromRadio() - bytesBefore;
    r.floorMs = RadioSimulator::lineTimeNs(bytes) / 1e6 + runner.pausesTaken() * double(clone::kPauseMs);
    r.ok = outcome == CloneOutcome::Completed;
    if (mode == CloneMode::Read)
        image = runner.session().image();
    return r;
}

void report(const char* what, const Result& r) {
    std::printf("%-22s %s  wall %9.1f ms  floor %9.1f ms  ratio %.4f\n", what, r.ok ? "ok    " : "FAILED", r.wallMs,
                r.floorMs, r.floorMs > 0 ? r.wallMs / r.floorMs : 0.0);
    std::fflush(stdout);
}

bool runBoth(const char* where, ByteLink& link, const SimulatedLine& line, RadioSimulator& radio) {
    RadioImage image;
    const Result read = timeTransfer(link, line, image, CloneMode::Read);
    report((std::string(where) + " read").c_str(), read);
    RadioImage edited = randomImage(2);
    edited.setRow(clone::kIdentRow, radio.memory().row(clone::kIdentRow));
    const Result write = timeTransfer(link, line, edited, CloneMode::Write);
    report((std::string(where) + " write").c_str(), write);
    return read.ok && write.ok && image == randomImage(1);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString which = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("both");
    bool ok = true;
    if (which == QLatin1String("inprocess") || which == QLatin1String("both")) {
        RadioSimulator radio(randomImage(1));
        SimulatorLink link(radio, true);
        ok = runBoth("in-process", link, link.line(), radio) && ok;
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
        ok = runBoth("pty + serial port", link, host.line(), radio) && ok;
    }
    return ok ? 0 : 1;
}
