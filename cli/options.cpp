#include "options.h"

#include <cstdio>

#include "commands.h"

namespace norvik::cli {

Options::Options(const QStringList& args, const QSet<QString>& valueNames, const QSet<QString>& flagNames) {
    bool optionsEnded = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (optionsEnded || !a.startsWith(QLatin1Char('-')) || a == QLatin1String("-")) {
            positional << a;
        } else if (a == QLatin1String("--")) {
            optionsEnded = true;
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            help = true;
        } else if (flagNames.contains(a)) {
            flags.insert(a);
        } else {
            const qsizetype eq = a.indexOf(QLatin1Char('='));
            const QString name = eq < 0 ? a : a.left(eq);
            if (!valueNames.contains(name)) {
                error = QStringLiteral("unknown option '%1'").arg(a);
                return;
            }
            if (eq >= 0) {
                values[name] = a.mid(eq + 1);
            } else if (i + 1 < args.size()) {
                values[name] = args[++i];
            } else {
                error = QStringLiteral("%1 needs a value").arg(a);
                return;
            }
        }
    }
}

QString cliText(int id, Language lang) {
    return QString::fromStdString(textString(id, lang));
}

void printErr(const QString& line) {
    std::fputs(line.toLocal8Bit().constData(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

int usageError(const char* command, const QString& usage, const QString& problem) {
    if (!problem.isEmpty())
        printErr(QStringLiteral("norvik-r7-cli: ") + problem);
    printErr(QStringLiteral("usage: ") + usage);
    printErr(QStringLiteral("Run 'norvik-r7-cli %1 --help' for details.").arg(QLatin1String(command)));
    return kExitUsage;
}

} // namespace norvik::cli
