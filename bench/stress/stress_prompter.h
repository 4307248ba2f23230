#pragma once

#include <QDir>
#include <QStringList>
#include <functional>

#include "app/dialogs/prompt.h"
#include "stress/rng.h"

namespace norvik::stress {

// Answers every question with one of its buttons at random, and file dialogs with a cancel, a
// file of the run's folder, or a name that cannot be read or written.
class StressPrompter : public Prompter {
public:
    StressPrompter(Rng& rng, const QString& folder) : m_rng(rng), m_folder(folder) {}

    QMessageBox::StandardButton message(QWidget*, QMessageBox::Icon, const QString& title, const QString& text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override;
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override;
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override;

    // Questions asked so far, and the last one with the button it got.
    int asked() const { return m_asked; }
    QString lastText() const { return m_lastText; }
    QMessageBox::StandardButton lastAnswer() const { return m_lastAnswer; }
    bool trace = false; // print every question and its answer
    // Called with each question's text as it comes, before it is answered.
    std::function<void(const QString&)> onMessage;
    // What the last file dialog was answered with (empty: cancelled).
    QString lastFileName() const { return m_lastFile; }

private:
    Rng& m_rng;
    QDir m_folder;
    int m_asked = 0;
    QString m_lastText;
    QMessageBox::StandardButton m_lastAnswer = QMessageBox::NoButton;
    QString m_lastFile;
};

} // namespace norvik::stress
