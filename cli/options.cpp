#include "cli/options.h"

#include <QCoreApplication>
#include <cstdio>

#include "cli/commands.h"
#include "io/path_text.h"

namespace norvik::cli {

Args commandLine([[maybe_unused]] int argc, [[maybe_unused]] char** argv) {
    Args args;
#ifdef Q_OS_WIN
    // The wide command line: argv holds the names in the ANSI code page, which may not have them.
    const QStringList all = QCoreApplication::arguments();
    for (qsizetype i = 1; i < all.size(); ++i)
        args.push_back({std::filesystem::path(all[i].toStdWString()), all[i]});
#else
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path path(std::string(argv[i]));
        args.push_back({path, QString::fromStdString(io::displayName(path))});
    }
#endif
    return args;
}

Options::Options(const Args& args, const QSet<QString>& valueNames, const QSet<QString>& flagNames) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const QString& a = args[i].text;
        if (optionsEnded || !a.startsWith(QLatin1Char('-')) || a == QLatin1String("-")) {
            positional.push_back(args[i]);
            m_order.emplace_back(QString(), args[i]);
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
                // What follows "=" as it came: the option's name is ASCII, so `eq` counts its bytes too.
                const auto rest = args[i].path.native().substr(static_cast<std::size_t>(eq) + 1);
                m_files[name] = {std::filesystem::path(rest), a.mid(eq + 1)};
            } else if (i + 1 < args.size()) {
                m_files[name] = args[++i];
            } else {
                error = QStringLiteral("%1 needs a value").arg(a);
                return;
            }
            values[name] = m_files[name].text;
            m_all[name].push_back(m_files[name]);
            m_order.emplace_back(name, m_files[name]);
        }
    }
}

std::vector<std::pair<QString, Arg>> Options::inOrder(const QString& option) const {
    std::vector<std::pair<QString, Arg>> out;
    for (const auto& given : m_order) {
        if (given.first.isEmpty() || given.first == option)
            out.push_back(given);
    }
    return out;
}

std::optional<int> parseCommand(const Syntax& s, const Args& args, Options& o) {
    QSet<QString> values = s.values;
    if (s.language)
        values << QStringLiteral("--lang");
    o = Options(args, values, s.flags);
    const auto fail = [&](const QString& problem) -> int {
        usageError(s.name, s.usage, problem);
        return s.usageStatus;
    };
    if (o.help) {
        s.help();
        return kExitOk;
    }
    if (!o.error.isEmpty())
        return fail(o.error);
    for (const auto& [a, b] : s.excluding) {
        if ((o.has(a) || o.given(a)) && (o.has(b) || o.given(b)))
            return fail(QStringLiteral("%1 and %2 exclude each other").arg(a, b));
    }
    o.lang = cliLanguage();
    if (s.language) {
        const QString lang = o.values.value(QStringLiteral("--lang"), QStringLiteral("en"));
        if (lang != QLatin1String("en") && lang != QLatin1String("zh"))
            return fail(QStringLiteral("unknown language '%1' (use en or zh)").arg(lang));
        o.lang = lang == QLatin1String("zh") ? Language::Chinese : Language::English;
    }
    const std::size_t count = s.operandOption.isEmpty() ? o.positional.size() : o.inOrder(s.operandOption).size();
    if (count != static_cast<std::size_t>(s.positionals)) {
        switch (s.countProblem) {
        case Syntax::CountProblem::FileNames:
            return fail(QStringLiteral("expected %1 file name(s), got %2").arg(s.positionals).arg(count));
        case Syntax::CountProblem::UnexpectedArgument:
            if (count < static_cast<std::size_t>(s.positionals))
                return fail({});
            return fail(QStringLiteral("unexpected argument %1")
                            .arg(o.positional.at(static_cast<std::size_t>(s.positionals)).text));
        case Syntax::CountProblem::UsageOnly:
            return fail({});
        case Syntax::CountProblem::Text:
            return fail(s.countText);
        }
    }
    for (const QString& option : s.required) {
        if (!o.given(option))
            return fail({});
    }
    for (const auto& [option, least] : s.counting) {
        if (!o.given(option))
            continue;
        const QString& value = o.values[option];
        const int n = wholeNumber(value, least);
        if (n < 0)
            return fail(numberProblem(option, value, least));
        o.numbers[option] = n;
    }
    return std::nullopt;
}

Language cliLanguage() {
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QByteArray v = qgetenv(var);
        if (!v.isEmpty())
            return v.startsWith("zh") ? Language::Chinese : Language::English;
    }
    return Language::English;
}

QString cliText(int id, Language lang) {
    return QString::fromStdString(textString(id, lang));
}

QString visibleText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F))
            out += QStringLiteral("\\x") + QString::number(u, 16).toUpper().rightJustified(2, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

void printErr(const QString& line) {
    // A message's own line breaks stay; everything else it quotes is shown, not obeyed.
    QStringList parts = line.split(QLatin1Char('\n'));
    for (QString& part : parts)
        part = visibleText(part);
    std::fputs(parts.join(QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

int wholeNumber(const QString& text, int least) {
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok && n >= least ? n : -1;
}

QString numberProblem(const QString& option, const QString& value, int least) {
    return QStringLiteral("%1 needs a whole number of at least %2, not '%3'").arg(option).arg(least).arg(value);
}

int usageError(const char* command, const QString& usage, const QString& problem) {
    if (!problem.isEmpty())
        printErr(QStringLiteral("norvik-r7-cli: ") + problem);
    printErr(QStringLiteral("usage: ") + usage);
    printErr(QStringLiteral("Run 'norvik-r7-cli %1 --help' for details.").arg(QLatin1String(command)));
    return kExitUsage;
}

} // namespace norvik::cli
