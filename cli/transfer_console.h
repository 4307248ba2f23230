#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <vector>

#include "core/strings/strings.h"
#include "transport/clone_batch.h"
#include "transport/clone_runner.h"

namespace norvik::cli {

// Whether standard error is a terminal: progress is drawn there only.
bool stderrIsTerminal();

// Shows a transfer on stderr: a progress bar on a terminal, the Transfer Log lines otherwise.
class TransferConsole : public QObject {
public:
    TransferConsole(CloneRunner& runner, const QString& title, Language lang);

    void endBar();
    const QStringList& log() const { return m_log; }
    bool isTerminal() const { return m_tty; }

    // On a terminal the log was not shown: give its error line now. Then what went wrong, as the
    // several-ports line says it: a refused block at its address is no silent radio.
    void reportFailure();

private:
    void drawBar(int value, int maximum);

    CloneRunner& m_runner;
    QString m_title;
    Language m_lang;
    bool m_tty;
    bool m_barShown = false;
    bool m_verifyBar = false;
    QStringList m_log;
};

// The ports of a batch on a terminal: one line, at most once a second, with each port's
// percentage ("Progress: ttyUSB0 45%, ttyUSB1 50%"). Nothing when standard error is no terminal,
// where a script reads the lines a port ends with.
class BatchProgress : public QObject {
public:
    BatchProgress(CloneBatch& batch, const QStringList& ports, Language lang, bool terminal = stderrIsTerminal());

private:
    QStringList m_ports;
    std::vector<int> m_percent;
    Language m_lang;
    QElapsedTimer m_sinceLine;
};

} // namespace norvik::cli
