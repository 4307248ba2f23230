#include "support/scripted_prompter.h"

namespace norvik::test {

QMessageBox::StandardButton ScriptedPrompter::message(QWidget*, QMessageBox::Icon icon, const QString& title,
                                                      const QString& text, QMessageBox::StandardButtons buttons,
                                                      QMessageBox::StandardButton) {
    if (onPrompt)
        onPrompt(Kind::Message);
    asked.append({icon, title, text, buttons});
    if (!answers.isEmpty())
        return answers.takeFirst();
    for (auto b : {QMessageBox::Cancel, QMessageBox::No, QMessageBox::Ok}) {
        if (buttons.testFlag(b))
            return b;
    }
    return QMessageBox::NoButton;
}

QString ScriptedPrompter::openFileName(QWidget*, const QString&, const QString& dir, const QString&) {
    if (onPrompt)
        onPrompt(Kind::Open);
    openRequests.append(dir);
    return openNames.isEmpty() ? QString() : openNames.takeFirst();
}

QString ScriptedPrompter::saveFileName(QWidget*, const QString&, const QString& initialPath, const QString&) {
    if (onPrompt)
        onPrompt(Kind::Save);
    saveRequests.append(initialPath);
    return saveNames.isEmpty() ? QString() : saveNames.takeFirst();
}

QStringList ScriptedPrompter::texts() const {
    QStringList out;
    for (const Asked& a : asked)
        out.append(a.text);
    return out;
}

} // namespace norvik::test
