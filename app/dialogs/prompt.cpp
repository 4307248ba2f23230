#include "dialogs/prompt.h"

#include <QFileDialog>

namespace norvik {

QMessageBox::StandardButton DialogPrompter::message(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                                    const QString& text, QMessageBox::StandardButtons buttons,
                                                    QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, title, text, buttons, parent);
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

} // namespace norvik
