#pragma once

#include <QString>
#include <filesystem>

#include "core/clone/clone_session.h"
#include "core/history/transfer_history.h"
#include "transport/clone_batch.h"

namespace norvik {

// The transfer history file: history.csv in the user's application data folder.
std::filesystem::path historyFilePath();

// What one transfer ended with, as the history keeps it. `operation` is read, write,
// service-read or service-write; the outcome's backupPath is where the radio was kept before a write.
HistoryEntry historyEntry(const QString& operation, const QString& port, const QString& dataFile,
                          const PortOutcome& outcome);
// How a transfer on its own ended, from its session: `sent` is the image a write sent, `linkError`
// the line's own failure when there was one. A Cancelled outcome counts as cancelled by the user.
PortOutcome sessionOutcome(const CloneSession& session, CloneOutcome outcome, const RadioImage& sent, double seconds,
                           const QString& linkError, Language lang, const QString& backupPath = {});

// The first difference a read-back found and how many more, for a one-line report.
QString differenceSummary(const CloneSession& session, Language lang);

// Appends the entry to the history. Empty when it was written; otherwise the line to show in the
// status window (the transfer's own result stands either way).
QString recordTransfer(const HistoryEntry& entry, Language lang, const std::filesystem::path& file = historyFilePath());

} // namespace norvik
