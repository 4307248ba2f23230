#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

namespace norvik {

// Every message box and file dialog goes through this, so tests answer them by script.
class Prompter {
public:
    virtual ~Prompter() = default;

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
    QMessageBox::StandardButton message(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                        const QString& text, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override;
    QString openFileName(QWidget* parent, const QString& title, const QString& dir, const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& title, const QString& initialPath,
                         const QString& filter) override;
};

} // namespace norvik
