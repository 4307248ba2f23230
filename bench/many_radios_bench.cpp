// Several simulated radios, paced at 9600 bit/s on pseudo-terminals, written at once and timed
// against one radio alone. The radios run in this process too, on the same event loop. Each round
// times the plain write, then the write with the backup before it and the read-back after it.
//   many_radios_bench [radios] [repeats]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "core/clone/radio_simulator.h"
#include "core/helpers.h"
#include "transport/clone_batch.h"
#include "transport/pty_simulator.h"
#include "transport/serial_link.h"

using namespace norvik;

namespace {

// Wall time of writing `image` to every radio at once, in seconds; negative when any failed.
// backups: where each radio is kept first (the write then also reads back); empty: a plain write.
double timeWrite(std::vector<std::unique_ptr<PtySimulatorHost>>& hosts, std::size_t count, const RadioImage& image,
                 const QString& backups = {}) {
    CloneBatch::Settings settings;
    settings.mode = CloneMode::Write;
    settings.language = Language::English;
    if (!backups.isEmpty()) {
        settings.verify = true;
        settings.backupFolder = std::filesystem::path(backups.toStdString());
    }
    CloneBatch batch(settings);
    bool allKept = true;
    QObject::connect(&batch, &CloneBatch::portEnded, &batch, [&](int, const PortOutcome& outcome) {
        allKept = allKept && (backups.isEmpty() ||
                              (!outcome.backupPath.isEmpty() && outcome.verification == Verification::Verified));
    });
    for (std::size_t i = 0; i < count; ++i)
        batch.add(std::make_unique<SerialLink>(hosts[i]->devicePath()), image);
    QEventLoop loop;
    QObject::connect(&batch, &CloneBatch::finished, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    batch.start();
    loop.exec();
    const double seconds = clock.nsecsElapsed() / 1e9;
    return batch.failures() == 0 && allKept ? seconds : -1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const std::size_t radios = std::size_t(std::max(2, argc > 1 ? std::atoi(argv[1]) : 8));
    const int repeats = std::max(1, argc > 2 ? std::atoi(argv[2]) : 1);
    const RadioImage start = test::randomImage(1);
    RadioImage image = test::randomImage(2);
    image.setRow(clone::kIdentRow, start.row(clone::kIdentRow));

    std::vector<std::unique_ptr<RadioSimulator>> memories;
    std::vector<std::unique_ptr<PtySimulatorHost>> hosts;
    for (std::size_t i = 0; i < radios; ++i) {
        memories.push_back(std::make_unique<RadioSimulator>(start));
        hosts.push_back(std::make_unique<PtySimulatorHost>(*memories.back(), true));
        QString error;
        if (!hosts.back()->open(&error)) {
            std::fprintf(stderr, "pty: %s\n", error.toLocal8Bit().constData());
            return 1;
        }
    }
    QTemporaryDir backups;
    for (const bool backedUp : {false, true}) {
        const char* what = backedUp ? "backup + write + verify" : "write";
        std::vector<double> ratios;
        for (int r = 0; r < repeats; ++r) {
            const QString folder = backedUp ? backups.path() : QString();
            const double one = timeWrite(hosts, 1, image, folder);
            const double all = timeWrite(hosts, radios, image, folder);
            if (one <= 0 || all <= 0) {
                std::fprintf(stderr, "a write failed\n");
                return 1;
            }
            ratios.push_back(all / one);
            std::printf("%-24s one radio %7.2f s   %zu radios %7.2f s   ratio %.4f\n", what, one, radios, all,
                        all / one);
            std::fflush(stdout);
        }
        std::sort(ratios.begin(), ratios.end());
        std::printf("%-24s median ratio %.4f of %zu (min %.4f, max %.4f)\n", what, ratios[ratios.size() / 2],
                    ratios.size(), ratios.front(), ratios.back());
    }
    for (const auto& m : memories) {
        for (int row = 0; row < clone::kWriteRows; ++row) {
            if (m->memory().row(row) != image.row(row)) {
                std::fprintf(stderr, "a radio does not hold what was written\n");
                return 1;
            }
        }
    }
    return 0;
}
