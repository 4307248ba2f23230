#pragma once

#include <QString>

class QWidget;

namespace norvik {

// What a transfer needs of the window it runs for, and no more: a parent for its questions and
// its progress panel, a place for the Transfer Log and the one-word port state.
class TransferHost {
public:
    virtual ~TransferHost() = default;
    // Disabled while the transfer runs.
    virtual QWidget* transferWindow() = 0;
    // The whole Transfer Log, shown with the caret at its end.
    virtual void showTransferLog(const QString& text) = 0;
    virtual void showComStatus(const QString& text) = 0;
    // One more line under the Transfer Log, such as a history line that could not be kept.
    virtual void appendTransferLogLine(const QString& line) = 0;
    // The data file the open image came from, empty when none.
    virtual QString transferDataFile() const = 0;
    // While radios are written from the open image it is held: the window still shows it, but
    // nothing changes it until the write has ended. Holding commits a half-typed cell first.
    virtual void holdImage(bool held) = 0;
};

} // namespace norvik
