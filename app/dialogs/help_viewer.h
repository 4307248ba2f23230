#pragma once

#include <QDialog>
#include <QUrl>

#include "core/strings/strings.h"

class QTextBrowser;

namespace norvik {

// The bundled help page (qrc:/help/<en|zh>/<page>.html#anchor) for a help context id: the
// menu items' ids and 7007..7012 for the grid's first six columns. Unknown ids give the index.
QUrl helpUrl(int contextId, Language lang);

// The in-program help browser, used when the help file is not installed beside the program.
class HelpViewer : public QDialog {
    Q_OBJECT
public:
    explicit HelpViewer(QWidget* parent = nullptr);

    void showTopic(const QUrl& url, Language lang);
    QUrl source() const;

private:
    QTextBrowser* m_browser;
};

} // namespace norvik
