#pragma once

#include <QMainWindow>

#include "image/radio_document.h"
#include "strings/strings.h"

namespace norvik {

class Prompter;

// The main window. Placeholder shell: the menus, grid and panes arrive with their issues.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    frmMain(RadioDocument& document, Prompter& prompter, QWidget* parent = nullptr);

    RadioDocument& document() { return m_document; }
    void updateTitle();

private:
    RadioDocument& m_document;
    Prompter& m_prompter;
    Language m_language = Language::English;
    QString m_fileName = QStringLiteral("Untitled");
};

} // namespace norvik
