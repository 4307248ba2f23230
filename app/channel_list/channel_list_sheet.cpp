#include "app/channel_list/channel_list_sheet.h"

#include <QBuffer>
#include <QDate>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>

#include "app/common/texts.h"
#include "core/channels/channel_table.h"
#include "core/strings/string_ids.h"

namespace norvik {
namespace {

constexpr double kLargestPoints = 9.0;
constexpr double kSmallestPoints = 5.0;

struct Layout {
    QFont body;
    QFont bold;
    QFont heading;
    QList<double> widths; // of each column, filling the page's width
    double rowHeight = 0;
    double headingHeight = 0;
    double footHeight = 0;
    int rowsPerPage = 1;
};

// The largest type at which every column fits the width; spare width is shared out in
// proportion, so the table always spans the page.
Layout layOut(QPagedPaintDevice& device, const ChannelListSheet& sheet, const QSizeF& area) {
    Layout l;
    l.body = QGuiApplication::font();
    for (double points = kLargestPoints; points >= kSmallestPoints; points -= 0.5) {
        l.body.setPointSizeF(points);
        l.bold = l.body;
        l.bold.setBold(true);
        const QFontMetricsF fm(l.body, &device), fb(l.bold, &device);
        const double pad = fm.averageCharWidth() * 1.2;
        l.widths.clear();
        for (qsizetype c = 0; c < sheet.headers.size(); ++c) {
            double w = fb.horizontalAdvance(sheet.headers[c]);
            for (const QStringList& row : sheet.rows)
                w = std::max(w, fm.horizontalAdvance(row.value(c)));
            l.widths.append(w + 2 * pad);
        }
        double total = 0;
        for (double w : l.widths)
            total += w;
        if (total <= area.width() || points <= kSmallestPoints) {
            for (double& w : l.widths)
                w *= area.width() / std::max(total, 1.0);
            l.rowHeight = fm.height() * 1.5;
            break;
        }
    }
    l.heading = l.bold;
    l.heading.setPointSizeF(l.body.pointSizeF() + 4);
    l.headingHeight = QFontMetricsF(l.heading, &device).height() * 1.8;
    l.footHeight = l.rowHeight * 1.5;
    const double tableHeight = area.height() - l.headingHeight - l.footHeight - l.rowHeight;
    l.rowsPerPage = std::max(1, static_cast<int>(std::floor(tableHeight / l.rowHeight)));
    return l;
}

void paintRow(QPainter& p, const QStringList& cells, const Layout& l, double top, const QBrush& fill) {
    const QPen rule(QColor(0x90, 0x90, 0x90), 0), ink(Qt::black);
    double left = 0;
    for (qsizetype c = 0; c < l.widths.size(); ++c) {
        const QRectF cell(left, top, l.widths[c], l.rowHeight);
        p.fillRect(cell, fill);
        p.setPen(rule);
        p.drawRect(cell);
        p.setPen(ink);
        p.drawText(cell, Qt::AlignCenter, cells.value(c));
        left += l.widths[c];
    }
}

} // namespace

ChannelListSheet channelListSheet(const ChannelTable& table, const QString& fileName) {
    ChannelListSheet sheet;
    sheet.language = table.language();
    sheet.fileName = fileName;
    const QLocale locale(sheet.language == Language::Chinese ? QLocale::Chinese : QLocale::English,
                         QLocale().territory());
    sheet.date = locale.toString(QDate::currentDate(), QLocale::LongFormat);
    for (int c = col::Channel; c <= col::Duplex; ++c)
        sheet.headers << qstr(table.text(0, c));
    for (int n = 1; n <= kChannelCount; ++n) {
        if (table.isEmpty(n))
            continue;
        QStringList row;
        for (int c = col::Channel; c <= col::Duplex; ++c)
            row << qstr(table.text(n, c));
        sheet.rows << row;
    }
    return sheet;
}

QPageLayout channelListPageLayout() {
    const QLocale locale;
    const bool letter = locale.measurementSystem() == QLocale::ImperialUSSystem ||
                        locale.territory() == QLocale::Canada || locale.territory() == QLocale::Mexico;
    return QPageLayout(QPageSize(letter ? QPageSize::Letter : QPageSize::A4), QPageLayout::Landscape,
                       QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
}

int paintChannelList(QPagedPaintDevice& device, const ChannelListSheet& sheet) {
    QPainter p(&device);
    if (!p.isActive())
        return 0;
    const QSizeF area(device.width(), device.height());
    const Layout l = layOut(device, sheet, area);
    const int pages = std::max<int>(1, static_cast<int>((sheet.rows.size() + l.rowsPerPage - 1) / l.rowsPerPage));
    const QString title = qtext(ids::ChannelListTitle, sheet.language) + QStringLiteral("  ") + sheet.fileName;
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            device.newPage();
        p.setPen(Qt::black);
        p.setFont(l.heading);
        const QRectF headingBox(0, 0, area.width(), l.headingHeight);
        p.drawText(headingBox, Qt::AlignLeft | Qt::AlignVCenter, title);
        p.setFont(l.body);
        p.drawText(headingBox, Qt::AlignRight | Qt::AlignVCenter, sheet.date);

        double top = l.headingHeight;
        p.setFont(l.bold);
        paintRow(p, sheet.headers, l, top, QColor(0xE4, 0xE8, 0xEE));
        p.setFont(l.body);
        const qsizetype first = static_cast<qsizetype>(page) * l.rowsPerPage;
        const qsizetype last = std::min<qsizetype>(sheet.rows.size(), first + l.rowsPerPage);
        for (qsizetype r = first; r < last; ++r) {
            top += l.rowHeight;
            paintRow(p, sheet.rows[r], l, top, (r % 2) ? QColor(0xF4, 0xF6, 0xF8) : QColor(Qt::white));
        }

        const QRectF foot(0, area.height() - l.footHeight, area.width(), l.footHeight);
        p.drawText(foot, Qt::AlignLeft | Qt::AlignBottom, QString::fromLatin1(kProductName));
        p.drawText(foot, Qt::AlignHCenter | Qt::AlignBottom,
                   qtext(ids::PageOfPages, sheet.language).arg(page + 1).arg(pages));
    }
    return pages;
}

QByteArray channelListPdf(const ChannelListSheet& sheet) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(channelListPageLayout());
        writer.setResolution(300);
        writer.setCreator(QString::fromLatin1(kProductName));
        writer.setTitle(qtext(ids::ChannelListTitle, sheet.language) + QLatin1Char(' ') + sheet.fileName);
        paintChannelList(writer, sheet);
    }
    return buffer.data();
}

} // namespace norvik
