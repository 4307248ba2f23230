#include "transport/pty_simulator.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace norvik {

PtySimulatorHost::PtySimulatorHost(RadioSimulator& radio, bool paced, QObject* parent)
    : QObject(parent), m_line(radio, paced) {
    connect(&m_line, &SimulatedLine::toProgram, this, &PtySimulatorHost::writeToClient);
}

PtySimulatorHost::~PtySimulatorHost() {
#ifdef Q_OS_UNIX
    delete m_notifier;
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
#endif
}

bool PtySimulatorHost::open(QString* error) {
#ifdef Q_OS_UNIX
    const auto fail = [&](const char* what) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    };
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0)
        return fail("posix_openpt");
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0)
        return fail("grantpt/unlockpt");
    const char* name = ptsname(m_master);
    if (!name)
        return fail("ptsname");
    m_path = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY);
    if (m_slave < 0)
        return fail("open");
    termios tio{};
    if (tcgetattr(m_slave, &tio) == 0) {
        cfmakeraw(&tio);
        cfsetispeed(&tio, B9600);
        cfsetospeed(&tio, B9600);
        tcsetattr(m_slave, TCSANOW, &tio);
    }
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &PtySimulatorHost::onReadable);
    return true;
#else
    if (error)
        *error = QStringLiteral("pseudo-terminals are not available on this system");
    return false;
#endif
}

void PtySimulatorHost::onReadable() {
#ifdef Q_OS_UNIX
    char buf[512];
    for (;;) {
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n > 0) {
            m_line.fromProgram(QByteArray(buf, int(n)));
            continue;
        }
        break;
    }
#endif
}

void PtySimulatorHost::writeToClient(const QByteArray& bytes) {
#ifdef Q_OS_UNIX
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0)
            break; // a full pty drops the rest, as a line with nobody listening would
        done += n;
    }
#else
    Q_UNUSED(bytes);
#endif
}

} // namespace norvik
