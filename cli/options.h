#pragma once

#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

#include "strings/strings.h"

namespace norvik::cli {

// The arguments of one command: "--name value" (or "--name=value") pairs, bare flags and the
// positional arguments. "--" ends the options; a lone "-" is positional. Parsing stops at the
// first problem, which `error` then names.
struct Options {
    QStringList positional;
    QMap<QString, QString> values;
    QSet<QString> flags;
    bool help = false; // -h or --help
    QString error;

    Options(const QStringList& args, const QSet<QString>& valueNames, const QSet<QString>& flagNames);
    bool has(const QString& flag) const { return flags.contains(flag); }
};

// A text of the string table as a QString.
QString cliText(int id, Language lang);
// One line on stderr.
void printErr(const QString& line);
// A usage problem: the problem (when there is one), the usage and where to read more.
int usageError(const char* command, const QString& usage, const QString& problem);

} // namespace norvik::cli
