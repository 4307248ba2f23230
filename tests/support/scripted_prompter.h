#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

#include "app/dialogs/prompt.h"

namespace norvik::test {

// Answers prompts from queues and records every question asked. An unexpected message box is
// answered with its first button in `buttons` order of preference: Cancel, No, Ok.
class ScriptedPrompter : public Prompter {
public:
    struct Asked {
        QMessageBox::Icon icon;
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
    };

    QList<QMessageBox::StandardButton> answers;
    QStringList openNames;
    QStringList saveNames;
    QList<Asked> asked;
    QStringList openRequests; // initial dirs
    QStringList saveRequests; // initial paths
    // Called as each prompt comes up, before it is answered.
    enum class Kind { Message, Open, Save };
    std::function<void(Kind)> onPrompt;

    QMessageBox::StandardButton message(QWidget*, QMessageBox::Icon icon, const QString& title, const QString& text,
                                        QMessageBox::StandardButtons buttons, QMessageBox::StandardButton) override;
    QString openFileName(QWidget*, const QString&, const QString& dir, const QString&) override;
    QString saveFileName(QWidget*, const QString&, const QString& initialPath, const QString&) override;

    QStringList texts() const;
};

} // namespace norvik::test
