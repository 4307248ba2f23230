#include "app/dialogs/prompt.h"

#include <QAbstractButton>
#include <QFileDialog>

#include "app/common/texts.h"
#include "core/strings/string_ids.h"

namespace norvik {

namespace {

QMessageBox::StandardButtons buttonsOf(const Prompter::Captions& answers) {
    QMessageBox::StandardButtons buttons;
    for (const auto& answer : answers)
        buttons |= answer.first;
    return buttons;
}

} // namespace

QMessageBox::StandardButton Prompter::choose(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                             const QString& text, const Captions& answers,
                                             QMessageBox::StandardButton defaultButton) {
    return message(parent, icon, title, text, buttonsOf(answers), defaultButton);
}

QMessageBox::StandardButton DialogPrompter::message(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                                    const QString& text, QMessageBox::StandardButtons buttons,
                                                    QMessageBox::StandardButton defaultButton) {
    return ask(parent, icon, title, text, buttons, {}, defaultButton);
}

QMessageBox::StandardButton DialogPrompter::choose(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                                   const QString& text, const Captions& answers,
                                                   QMessageBox::StandardButton defaultButton) {
    return ask(parent, icon, title, text, buttonsOf(answers), answers, defaultButton);
}

QMessageBox::StandardButton DialogPrompter::ask(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                                const QString& text, QMessageBox::StandardButtons buttons,
                                                const Captions& own, QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, title, text, buttons, parent);
    // Qt captions its standard buttons in English whatever the language in force.
    const std::pair<QMessageBox::StandardButton, int> captions[] = {{QMessageBox::Ok, ids::Ok},
                                                                    {QMessageBox::Cancel, ids::Cancel},
                                                                    {QMessageBox::Yes, ids::Yes},
                                                                    {QMessageBox::No, ids::No},
                                                                    {QMessageBox::Retry, ids::Retry}};
    for (const auto& [button, id] : captions)
        if (QAbstractButton* b = box.button(button))
            b->setText(qtext(id, m_language));
    for (const auto& [button, caption] : own)
        if (QAbstractButton* b = box.button(button))
            b->setText(caption);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString DialogPrompter::openFileName(QWidget* parent, const QString& title, const QString& dir, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, title, dir, filter);
}

QString DialogPrompter::saveFileName(QWidget* parent, const QString& title, const QString& initialPath,
                                     const QString& filter) {
    // The overwrite question is the dialog's own (on by default).
    return QFileDialog::getSaveFileName(parent, title, initialPath, filter);
}

QString DialogPrompter::folderName(QWidget* parent, const QString& title, const QString& dir) {
    return QFileDialog::getExistingDirectory(parent, title, dir);
}

} // namespace norvik
