#include "app/editor/main_window_help.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QShortcut>
#include <QTimer>
#include <QUrl>

#include "app/common/accessible_names.h"
#include "app/dialogs/help_viewer.h"

namespace norvik {

MainWindowHelp::MainWindowHelp(QWidget& window, std::function<Language()> language)
    : QObject(&window), m_window(window), m_language(std::move(language)) {
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), &window);
    connect(f1, &QShortcut::activated, this, [this] {
        int id = 0;
        for (QWidget* w = QApplication::focusWidget(); w && id == 0; w = w->parentWidget())
            id = w->property(kProperty).toInt();
        showHelp(id);
    });
}

void MainWindowHelp::watchMenu(QMenu* menu) {
    menu->installEventFilter(this);
}

bool MainWindowHelp::eventFilter(QObject* watched, QEvent* event) {
    auto* menu = qobject_cast<QMenu*>(watched);
    if (menu && event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
        int id = 0;
        if (QAction* a = menu->activeAction())
            id = a->property(kProperty).toInt();
        if (id == 0)
            id = menu->menuAction()->property(kProperty).toInt();
        while (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        QTimer::singleShot(0, this, [this, id] { showHelp(id); });
        return true;
    }
    return QObject::eventFilter(watched, event);
}

QString MainWindowHelp::helpFilePath() const {
    QString dir = QCoreApplication::applicationDirPath();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir + QStringLiteral("RADHELP_e.chm");
}

void MainWindowHelp::showHelp(int contextId) {
    const QString chm = helpFilePath();
    if (QFileInfo::exists(chm) && QDesktopServices::openUrl(QUrl::fromLocalFile(chm)))
        return;
    const Language lang = m_language();
    if (!m_viewer) {
        m_viewer = new HelpViewer(&m_window);
        m_viewer->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_viewer->showTopic(helpUrl(contextId, lang), lang);
    nameControlsFromLabels(m_viewer, lang);
    m_viewer->show();
    m_viewer->raise();
    m_viewer->activateWindow();
}

void MainWindowHelp::close() {
    if (m_viewer)
        m_viewer->close();
}

} // namespace norvik
