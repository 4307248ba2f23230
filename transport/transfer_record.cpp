#include "transport/transfer_record.h"

#include <QDateTime>
#include <QStandardPaths>

#include "core/clone/clone_failure.h"
#include "core/image/number_format.h"
#include "core/strings/string_ids.h"
#include "io/history_file.h"
#include "io/path_text.h"

namespace norvik {
namespace {

QString qtextOf(int id, Language lang) {
    return QString::fromStdString(textString(id, lang));
}

} // namespace

std::filesystem::path historyFilePath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return std::filesystem::path(folder.toStdU16String()) / "history.csv";
}

QString differenceSummary(const CloneSession& session, Language lang) {
    const std::vector<ImageDifference>& differences = session.differences();
    if (differences.empty())
        return {};
    QString line = QString::fromStdString(differenceText(differences.front(), lang));
    if (differences.size() > 1)
        line += QStringLiteral("; ") + qtextOf(ids::DiffMore, lang).arg(qsizetype(differences.size() - 1));
    return line;
}

PortOutcome sessionOutcome(const CloneSession& session, CloneOutcome outcome, const RadioImage& sent, double seconds,
                           const QString& linkError, Language lang, const QString& backupPath) {
    PortOutcome result;
    result.ok = outcome == CloneOutcome::Completed;
    result.seconds = seconds;
    result.verification = session.verification();
    result.cancelled = outcome == CloneOutcome::Cancelled;
    result.backupPath = backupPath;
    result.identification = QString::fromStdString(hexText(session.radioIdentification()));
    const bool link = session.isLink();
    const bool reading = session.mode() == CloneMode::Read;
    const int first = link ? clone::kLinkFirstRow : 0;
    const int rows = link ? clone::kLinkRows : reading ? clone::kReadRows : clone::kWriteRows;
    if (!reading || result.ok)
        result.checksum = QString::fromStdString(rowsChecksum(reading ? session.image() : sent, first, rows));
    const auto failure = [&](CloneMode mode) {
        if (!linkError.isEmpty())
            return qtextOf(ids::FailureConnectionLost, lang).arg(linkError);
        return QString::fromStdString(cloneFailureText(mode, session.lastFailure(), lang));
    };
    if (result.cancelled)
        result.reason = qtextOf(ids::ResultCancelled, lang);
    else if (!result.ok)
        result.reason = failure(session.mode());
    else if (result.verification == Verification::NotChecked)
        result.verifyDetail = qtextOf(ids::FailureReadBack, lang).arg(failure(CloneMode::Read));
    else if (result.verification == Verification::Differs)
        result.verifyDetail = differenceSummary(session, lang);
    result.reason.replace(QLatin1Char('\n'), QLatin1Char(' '));
    result.verifyDetail.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return result;
}

HistoryEntry historyEntry(const QString& operation, const QString& port, const QString& dataFile,
                          const PortOutcome& o) {
    HistoryEntry e;
    const QDateTime started = QDateTime::currentDateTime().addMSecs(-qint64(o.seconds * 1000));
    e.time = started.toOffsetFromUtc(started.offsetFromUtc()).toString(Qt::ISODate).toStdString();
    e.operation = operation.toStdString();
    e.port = port.toStdString();
    e.identification = o.identification.toStdString();
    e.dataFile = dataFile.toStdString();
    e.checksum = o.checksum.toStdString();
    e.seconds = o.seconds;
    e.backupPath = o.backupPath.toStdString();
    if (o.cancelled) {
        e.outcome = HistoryOutcome::Cancelled;
    } else if (!o.ok) {
        e.outcome = HistoryOutcome::Failed;
        e.detail = o.reason.toStdString();
    } else if (o.verification == Verification::Verified) {
        e.outcome = HistoryOutcome::Verified;
    } else if (o.verification == Verification::Differs) {
        e.outcome = HistoryOutcome::Differs;
        e.detail = o.verifyDetail.toStdString();
    } else if (o.verification == Verification::NotChecked) {
        // Written, but nobody can say what the radio holds now.
        e.outcome = HistoryOutcome::Failed;
        e.detail = o.verifyDetail.toStdString();
    }
    return e;
}

QString recordTransfer(const HistoryEntry& entry, Language lang, const std::filesystem::path& file) {
    const io::FileProblem problem = io::appendHistory(file, entry);
    if (!problem)
        return {};
    return qtextOf(ids::HistoryNotWritten, lang)
        .arg(QString::fromStdString(io::displayName(file)), QString::fromStdString(io::reasonText(problem, lang)));
}

} // namespace norvik
