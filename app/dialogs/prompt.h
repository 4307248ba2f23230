#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>
#include <utility>

#include "core/strings/strings.h"

class QWidget;

namespace norvik {

// Every message box and file dialog goes through this, so tests answer them by script.
class Prompter {
public:
    virtual ~Prompter() = default;

    // The language message box buttons are captioned in; the main window passes on every switch.
    virtual void setLanguage(Language) {}

    virtual QMessageBox::StandardButton message(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                                const QString& text, QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton = QMessageBox::NoButton) = 0;
    // A question whose answers need words of their own: each standard button stands for one answer
    // and shows its caption, and the answer is that button, so a script answers it as any message.
    using Captions = QList<std::pair<QMessageBox::StandardButton, QString>>;
    virtual QMessageBox::StandardButton choose(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                               const QString& text, const Captions& answers,
                                               QMessageBox::StandardButton defaultButton);
    // Empty string when the user cancels.
    virtual QString openFileName(QWidget* parent, const QString& title, const QString& dir, const QString& filter) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& title, const QString& initialPath,
                                 const QString& filter) = 0;
    // A folder; empty when the user cancels (and wherever nobody can be asked).
    virtual QString folderName(QWidget*, const QString& /*title*/, const QString& /*dir*/) { return {}; }
};

// The real thing: QMessageBox and QFileDialog.
class DialogPrompter : public Prompter {
public:
    void setLanguage(Language lang) override { m_language = lang; }
    QMessageBox::StandardButton message(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                        const QString& text, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override;
    QMessageBox::StandardButton choose(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                       const QString& text, const Captions& answers,
                                       QMessageBox::StandardButton defaultButton) override;
    QString openFileName(QWidget* parent, const QString& title, const QString& dir, const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& title, const QString& initialPath,
                         const QString& filter) override;
    QString folderName(QWidget* parent, const QString& title, const QString& dir) override;

private:
    QMessageBox::StandardButton ask(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
                                    QMessageBox::StandardButtons buttons, const Captions& captions,
                                    QMessageBox::StandardButton defaultButton);
    Language m_language = Language::English;
};

} // namespace norvik
