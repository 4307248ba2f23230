#pragma once

#include <QWidget>

#include "core/strings/strings.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace norvik {

// The small window that follows a transfer: the progress caption, the bar with its percentage,
// what the transfer is doing when it has more than one part (a write, then its read-back) and a
// Cancel button. It is a window of its own, so it stays usable while the main window is
// disabled for the transfer.
class TransferProgress : public QWidget {
    Q_OBJECT
public:
    TransferProgress(Language lang, const QString& caption);

    void setProgress(int value, int maximum);
    void setPercentCaption(const QString& caption);
    // Empty hides the line.
    void setPhaseText(const QString& text);
    // Puts the panel in the middle of the window it reports on.
    void showOver(QWidget* owner);

    int value() const;
    int maximum() const;
    QString percentText() const;

signals:
    void cancelRequested();

protected:
    // Closing the panel is the Cancel button; the panel itself goes when the transfer ends.
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* lblPercent;
    QLabel* lblPhase;
    QProgressBar* prgPercent;
    QPushButton* CmdCancel;
};

} // namespace norvik
