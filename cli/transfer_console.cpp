#include "cli/transfer_console.h"

#include <cstdio>

#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#else
#include <unistd.h>
#endif

#include "cli/options.h"
#include "core/clone/clone_failure.h"
#include "core/strings/string_ids.h"

namespace norvik::cli {

bool stderrIsTerminal() {
    return isatty(2) != 0;
}

TransferConsole::TransferConsole(CloneRunner& runner, const QString& title, Language lang)
    : m_runner(runner), m_title(title), m_lang(lang), m_tty(stderrIsTerminal()) {
    connect(&runner, &CloneRunner::logReset, this, [this] { m_log.clear(); });
    connect(&runner, &CloneRunner::logLine, this, [this](const QString& line) {
        m_log.append(line);
        if (!m_tty)
            printErr(line);
    });
    connect(&runner, &CloneRunner::progress, this, [this](int value, int maximum) {
        if (!m_tty)
            return;
        // The write's bar stays at 100% on its line; the read-back gets a bar of its own.
        if (m_runner.session().verifying() && !m_verifyBar) {
            m_verifyBar = true;
            endBar();
            m_title = cliText(ids::StatusVerifying, m_lang);
        }
        drawBar(value, maximum);
    });
}

void TransferConsole::endBar() {
    if (m_tty && m_barShown) {
        std::fputc('\n', stderr);
        m_barShown = false;
    }
}

void TransferConsole::reportFailure() {
    endBar();
    const QString refused = cliText(ids::LinkRefused, m_lang).arg(clone::kLinkRepeatLimit + 1);
    if (m_log.contains(refused)) {
        if (m_tty)
            printErr(refused);
        return;
    }
    const QString errorLine = cliText(ids::LogTimeout, m_lang);
    if (m_tty && m_log.contains(errorLine))
        printErr(errorLine);
    const CloneSession& session = m_runner.session();
    if (session.isLink()) {
        printErr(cliText(ids::RadioDidNotAnswer, m_lang));
        return;
    }
    // A read-back that failed is a read.
    const CloneMode mode = session.verifying() ? CloneMode::Read : session.mode();
    printErr(QString::fromStdString(cloneFailureMessage(mode, session.lastFailure(), m_lang)));
}

void TransferConsole::drawBar(int value, int maximum) {
    constexpr int width = 40;
    const int filled = maximum > 0 ? value * width / maximum : 0;
    const QString bar = QString(filled, QLatin1Char('#')) + QString(width - filled, QLatin1Char('.'));
    const QString line = QStringLiteral("\r%1 [%2] %3%").arg(m_title, bar).arg(clonePercent(value, maximum), 3);
    std::fputs(line.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    m_barShown = true;
}

BatchProgress::BatchProgress(CloneBatch& batch, const QStringList& ports, Language lang, bool terminal)
    : m_ports(ports), m_percent(static_cast<std::size_t>(ports.size()), 0), m_lang(lang) {
    if (!terminal)
        return;
    connect(&batch, &CloneBatch::progress, this, [this](int index, int value, int maximum) {
        if (index < 0 || index >= m_ports.size())
            return;
        m_percent[static_cast<std::size_t>(index)] = clonePercent(value, maximum);
        if (m_sinceLine.isValid() && m_sinceLine.elapsed() < 1000)
            return;
        m_sinceLine.start();
        QStringList parts;
        for (qsizetype i = 0; i < m_ports.size(); ++i)
            parts << QStringLiteral("%1 %2%").arg(m_ports[i]).arg(m_percent[static_cast<std::size_t>(i)]);
        printErr(cliText(ids::TransferProgress, m_lang).arg(parts.join(QStringLiteral(", "))));
    });
}

} // namespace norvik::cli
