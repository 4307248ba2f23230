#include "stress/view_checks.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <memory>

#include "app/editor/channel_grid.h"
#include "app/editor/frm_main.h"
#include "core/channels/channel_table.h"
#include "core/image/channel_record.h"
#include "core/strings/string_ids.h"

namespace norvik::stress {
namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

// A table filled afresh over a copy of the window's image, in the window's language.
struct FreshFill {
    RadioDocument copy;
    std::unique_ptr<ChannelTable> table;
    explicit FreshFill(frmMain& window) {
        const RadioImage& img = window.document().image();
        copy.edit(0, [&img](RadioImage& i) { i = img; });
        table = std::make_unique<ChannelTable>(copy, window.language(), window.channelTable().decimalSeparator());
    }
    QString text(int channel, int column) const { return q(table->text(channel, column)); }
};

bool isDuplexEntry(const QString& s, Language lang) {
    for (int id : {ids::Off, ids::Plus, ids::Minus}) {
        if (s == q(std::string(text(id, lang))))
            return true;
    }
    return false;
}

bool isOffsetText(const QString& s) {
    const auto f = frequencyFromText(s.toStdString());
    return f && s.size() >= 7 && (s.at(s.size() - 6) == QLatin1Char('.') || s.at(s.size() - 6) == QLatin1Char(','));
}

QString cellFault(int channel, int column, const QString& shown, const QString& fresh) {
    return QStringLiteral("grid channel %1 column %2 shows \"%3\", a fresh fill gives \"%4\"")
        .arg(channel)
        .arg(column)
        .arg(shown, fresh);
}

} // namespace

QString checkGrid(frmMain& window) {
    const FreshFill fresh(window);
    const QAbstractItemModel* model = window.channelGrid()->model();
    const Language lang = window.language();
    for (int c = 1; c < kTableColumns; ++c) {
        const QString header = model->headerData(c - 1, Qt::Horizontal, Qt::DisplayRole).toString();
        if (header != fresh.text(0, c))
            return QStringLiteral("grid header %1 is \"%2\", not \"%3\"").arg(c).arg(header, fresh.text(0, c));
    }
    for (int n = 1; n <= kChannelCount; ++n) {
        for (int c = 1; c < kTableColumns; ++c) {
            const QString shown = model->index(n - 1, c - 1).data(Qt::DisplayRole).toString();
            const QString want = fresh.text(n, c);
            if (shown == want)
                continue;
            const bool chosen = !fresh.text(n, col::Tx).isEmpty() && ((c == col::Offset && isOffsetText(shown)) ||
                                                                      (c == col::Duplex && isDuplexEntry(shown, lang)));
            if (!chosen)
                return cellFault(n, c, shown, want);
        }
    }
    return {};
}

QString checkPanel(frmMain& window) {
    auto* panel = window.findChild<QWidget*>(QStringLiteral("PicGUI"));
    if (!panel || !panel->isVisible())
        return {};
    const QWidget* focused = QApplication::focusWidget();
    auto* channelField = panel->findChild<QLineEdit*>(QStringLiteral("TxtChannelGUI"));
    if (channelField == focused)
        return {};
    const int n = channelField->text().toInt();
    if (n < 1 || n > kChannelCount)
        return QStringLiteral("the panel's channel field holds \"%1\"").arg(channelField->text());
    const FreshFill fresh(window);
    const QAbstractItemModel* model = window.channelGrid()->model();
    const bool empty = fresh.text(n, col::Rx).isEmpty();
    const bool transmits = !fresh.text(n, col::Tx).isEmpty();

    struct Expect {
        const char* name;
        int column;
    };
    // Offset and duplex show what the grid shows (which may be the user's choice, see above).
    const Expect fields[] = {
        {"TxtRxFreqGUI", col::Rx},     {"TxtTxFreqGUI", col::Tx},          {"TxtOffsetFreqGUI", col::Offset},
        {"TxtChNameGUI", col::Name},   {"CboDecodeGUI", col::Decode},      {"CboEncodeGUI", col::Encode},
        {"CboTxPowerGUI", col::Power}, {"CboScanGUI", col::Scan},          {"CboWNGUI", col::Bandwidth},
        {"CboBCLGUI", col::Bcl},       {"CboPttIDGUI", col::PttId},        {"CboVoxGUI", col::Vox},
        {"CboOptionGUI", col::Option}, {"CboSCRGroupGUI", col::Scrambler}, {"CboDuplexGUI", col::Duplex}};
    for (const Expect& e : fields) {
        auto* w = panel->findChild<QWidget*>(QString::fromLatin1(e.name));
        if (!w || w == focused || w->isAncestorOf(focused))
            continue;
        QString shown;
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            shown = edit->text();
        else if (auto* combo = qobject_cast<QComboBox*>(w))
            shown = combo->currentText();
        QString want;
        if (!empty && (e.column != col::Encode || transmits)) {
            want = (e.column == col::Offset || e.column == col::Duplex)
                       ? model->index(n - 1, e.column - 1).data(Qt::DisplayRole).toString()
                       : fresh.text(n, e.column);
        } else if (e.column == col::Rx) {
            want = fresh.text(n, col::Rx);
        }
        if (shown != want)
            return QStringLiteral("panel channel %1 %2 shows \"%3\", expected \"%4\"")
                .arg(n)
                .arg(QLatin1String(e.name), shown, want);
    }
    return {};
}

QString checkTitle(frmMain& window) {
    QString name = QString::fromLatin1(frmMain::kUntitled);
    if (!window.filePath().empty())
        name = QString::fromStdString(window.filePath().filename().string());
    const QString want = QStringLiteral("Norvik R7 [File Name: %1]").arg(name);
    if (window.windowTitle() != want)
        return QStringLiteral("the title reads \"%1\", not \"%2\"").arg(window.windowTitle(), want);
    return {};
}

} // namespace norvik::stress
