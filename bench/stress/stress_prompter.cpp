#include "stress/stress_prompter.h"

#include <cstdio>
#include <vector>

namespace norvik::stress {

QMessageBox::StandardButton StressPrompter::message(QWidget*, QMessageBox::Icon, const QString& title,
                                                    const QString& text, QMessageBox::StandardButtons buttons,
                                                    QMessageBox::StandardButton) {
    ++m_asked;
    if (onMessage)
        onMessage(text);
    m_lastText = title + QStringLiteral(": ") + text;
    std::vector<QMessageBox::StandardButton> offered;
    for (auto b : {QMessageBox::Ok, QMessageBox::Cancel, QMessageBox::Yes, QMessageBox::No, QMessageBox::Retry,
                   QMessageBox::Abort, QMessageBox::Ignore, QMessageBox::Close}) {
        if (buttons.testFlag(b))
            offered.push_back(b);
    }
    const QMessageBox::StandardButton answer = offered.empty() ? QMessageBox::Ok : m_rng.pick(offered);
    m_lastAnswer = answer;
    if (trace)
        std::printf("    asked \"%s\" -> %d\n",
                    qPrintable(QString(m_lastText).replace(QLatin1Char('\n'), QLatin1Char(' '))),
                    static_cast<int>(answer));
    return answer;
}

QString StressPrompter::openFileName(QWidget*, const QString&, const QString&, const QString& filter) {
    QStringList names = m_folder.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    names << QStringLiteral("missing.dat");
    // Mostly a file of the kind the dialog asks for, as users pick them; now and then any other.
    const bool csv = filter.contains(QLatin1String("*.csv"));
    QStringList fitting;
    for (const QString& n : names) {
        if (n.endsWith(csv ? QLatin1String(".csv") : QLatin1String(".dat")))
            fitting << n;
    }
    const QStringList& from = fitting.isEmpty() || m_rng.chance(0.3) ? names : fitting;
    m_lastFile =
        m_rng.chance(0.2) ? QString() : m_folder.filePath(m_rng.pick(std::vector<QString>(from.begin(), from.end())));
    if (trace)
        std::printf("    open \"%s\"\n", qPrintable(m_lastFile));
    return m_lastFile;
}

QString StressPrompter::saveFileName(QWidget*, const QString&, const QString&, const QString&) {
    static const std::vector<QString> names = {
        QStringLiteral("saved-1.dat"),
        QStringLiteral("saved-2.dat"),
        QStringLiteral("saved-3.dat"),
        QStringLiteral("no-such-folder/saved.dat"), // fails: the folder is not there
        QStringLiteral("a-folder"),                 // fails: not a regular file
    };
    m_lastFile = m_rng.chance(0.15) ? QString() : m_folder.filePath(m_rng.pick(names));
    if (trace)
        std::printf("    save as \"%s\"\n", qPrintable(m_lastFile));
    return m_lastFile;
}

} // namespace norvik::stress
