#pragma once
// Running the CLI as a process, and the file handling its tests share.

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <csignal>
#include <sys/resource.h>

#include "core/datafile/data_file.h"
#include "core/helpers.h"

namespace clitest {

struct Run {
    int exitCode = -1;
    QString out, err;
    QByteArray rawOut;
};

struct RunSetup {
    QByteArray input; // standard input; none gives the null device
    QString workDir;
    // RLIMIT_FSIZE, with SIGXFSZ as a shell leaves it: the program itself must ignore it for a
    // write past the limit to fail as on a full disk rather than kill it.
    rlim_t fileSizeLimit = RLIM_INFINITY;
};

// A test that wants a data folder of its own for a while (an empty history) sets this.
inline QString& dataHomeOverride() {
    static QString folder;
    return folder;
}

// The application data folder every run of the CLI here gets, private to the test run.
inline QString dataHome() {
    if (!dataHomeOverride().isEmpty())
        return dataHomeOverride();
    static const QTemporaryDir dir;
    return dir.path();
}
inline QString defaultBackups() {
    return dataHome() + QStringLiteral("/NORVIK LABS/Norvik R7/backups");
}

inline Run runCli(const QStringList& args, const RunSetup& setup = {}) {
    QProcess p;
    if (setup.input.isNull())
        p.setStandardInputFile(QProcess::nullDevice());
    if (!setup.workDir.isEmpty())
        p.setWorkingDirectory(setup.workDir);
    if (setup.fileSizeLimit != RLIM_INFINITY) {
        p.setChildProcessModifier([limit = setup.fileSizeLimit] {
            const rlimit r{limit, limit};
            ::setrlimit(RLIMIT_FSIZE, &r);
            std::signal(SIGXFSZ, SIG_DFL);
        });
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LANG"), QStringLiteral("C"));
    env.remove(QStringLiteral("LC_ALL"));
    env.remove(QStringLiteral("LC_MESSAGES"));
    // Backups and everything else of the application data go to a folder of the test run's own.
    env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome());
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(NORVIK_CLI), args);
    if (!setup.input.isNull()) {
        p.write(setup.input);
        p.closeWriteChannel();
    }
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    const QByteArray out = p.readAllStandardOutput();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(out),
            QString::fromUtf8(p.readAllStandardError()), out};
}

// The shared helpers, with the QString names and QByteArray contents the process runs use.
inline QByteArray qbytes(const norvik::test::Bytes& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

inline QByteArray readFile(const QString& path) {
    return qbytes(norvik::test::readFile(path.toStdString()));
}

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    return norvik::test::writeFile(path.toStdString(), norvik::test::Bytes(bytes.begin(), bytes.end()));
}

inline QByteArray bytesOf(const norvik::RadioImage& img) {
    return QByteArray(reinterpret_cast<const char*>(img.bytes().data()), norvik::kImageSize);
}

inline norvik::RadioImage imageOf(const QByteArray& bytes) {
    norvik::ImageBytes out{};
    std::copy_n(bytes.begin(), std::min<qsizetype>(bytes.size(), norvik::kImageSize), out.begin());
    return norvik::RadioImage(out);
}

inline QByteArray randomImage(unsigned seed) {
    return bytesOf(norvik::test::randomImage(seed));
}

// What Save writes for an image.
inline QByteArray packed(const norvik::RadioImage& image) {
    return qbytes(norvik::encodeDataFile(image));
}

// The image a data file holds, or empty if it is not one.
inline QByteArray unpacked(const QByteArray& file) {
    const auto result = norvik::decodeDataFile(
        std::span(reinterpret_cast<const std::uint8_t*>(file.constData()), static_cast<std::size_t>(file.size())));
    return result.ok() ? bytesOf(*result.image) : QByteArray();
}

} // namespace clitest
