#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

#include "core/strings/strings.h"

class QMenu;
class QWidget;

namespace norvik {

class HelpViewer;

// F1 in the main window: the topic of the highlighted item of an open menu, else the one named
// by the focused control or its nearest parent (the kProperty int property). The help file
// beside the program opens when there is one, else the bundled pages in a viewer of our own.
class MainWindowHelp : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kProperty = "helpContextId";

    MainWindowHelp(QWidget& window, std::function<Language()> language);

    // F1 on this menu explains its highlighted item (or the menu itself).
    void watchMenu(QMenu* menu);
    void showHelp(int contextId);
    QString helpFilePath() const;
    // Closes the viewer with the window.
    void close();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_window;
    std::function<Language()> m_language;
    QPointer<HelpViewer> m_viewer;
};

} // namespace norvik
