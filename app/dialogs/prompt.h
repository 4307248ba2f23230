#pragma once

#include <QMessageBox>
#include <QString>

#include "strings/strings.h"

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
    // Empty string when the user cancels.
    virtual QString openFileName(QWidget* parent, const QString& title, const QString& dir, const QString& filter) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& title, const QString& initialPath,
                                 const QString& filter) = 0;
};

// The real thing: QMessageBox and QFileDialog.
class DialogPrompter : public Prompter {
public:
    void setLanguage(Language lang) override { m_language = lang; }
    QMessageBox::StandardButton message(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                        const QString& text, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override;
    QString openFileName(QWidget* parent, const QString& title, const QString& dir, const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& title, const QString& initialPath,
                         const QString& filter) override;

private:
    Language m_language = Language::English;
};

} // namespace norvik
