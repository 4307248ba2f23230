#include "app/dialogs/help_viewer.h"

#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/common/texts.h"
#include "core/strings/string_ids.h"

namespace norvik {
namespace {

struct Topic {
    int id;
    const char* page;
    const char* anchor;
};

constexpr Topic kTopics[] = {
    {2, "files", ""},           {2100, "files", "new"},      {2200, "files", "open"},     {2300, "files", "save"},
    {2400, "files", "saveas"},  {2600, "files", "exit"},     {1001, "editing", "copy"},   {1002, "editing", "paste"},
    {1003, "editing", "clear"}, {1004, "editing", "delete"}, {1005, "editing", "insert"}, {4, "index", "program"},
    {4100, "index", "program"}, {4300, "index", "program"},  {4400, "index", "program"},  {5, "reading", ""},
    {5100, "reading", ""},      {5200, "writing", ""},       {6, "reading", "port"},      {7, "index", "language"},
    {7007, "editing", "rx"},    {7008, "editing", "tx"},     {7009, "editing", "decode"}, {7010, "editing", "encode"},
    {7011, "editing", "power"}, {7012, "editing", "scan"},
};

} // namespace

QUrl helpUrl(int contextId, Language lang) {
    const char* page = "index";
    const char* anchor = "";
    for (const Topic& t : kTopics) {
        if (t.id == contextId) {
            page = t.page;
            anchor = t.anchor;
            break;
        }
    }
    QUrl url(
        QStringLiteral("qrc:/help/%1/%2.html")
            .arg(lang == Language::Chinese ? QStringLiteral("zh") : QStringLiteral("en"), QString::fromLatin1(page)));
    if (*anchor)
        url.setFragment(QString::fromLatin1(anchor));
    return url;
}

HelpViewer::HelpViewer(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("HelpViewer"));
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    m_browser->setOpenExternalLinks(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(640, 520);
}

void HelpViewer::showTopic(const QUrl& url, Language lang) {
    setWindowTitle(
        QStringLiteral("%1 %2").arg(QString::fromLatin1(kProductName), withoutMnemonic(qtext(ids::MenuHelp, lang))));
    m_browser->setSource(url);
}

QUrl HelpViewer::source() const {
    return m_browser->source();
}

} // namespace norvik
