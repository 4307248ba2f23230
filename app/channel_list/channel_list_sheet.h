#pragma once

#include <QByteArray>
#include <QList>
#include <QPageLayout>
#include <QString>
#include <QStringList>

#include "core/strings/strings.h"

class QPagedPaintDevice;

namespace norvik {

class ChannelTable;

// What a printed channel list shows: the grid's headers and the rows of the used channels, as
// the window shows them in its language, under the file name and the date.
struct ChannelListSheet {
    Language language = Language::English;
    QString fileName;
    QString date;
    QStringList headers;
    QList<QStringList> rows;
};

// The channel number up to Duplex of every used channel; `fileName` is the document's ("Untitled"
// for a new one), the date today's in the table's language.
ChannelListSheet channelListSheet(const ChannelTable& table, const QString& fileName);

// Landscape, on the paper of the user's country (Letter in North America, A4 elsewhere). The
// table is laid out for whatever page the device has: narrower paper gets a smaller type.
QPageLayout channelListPageLayout();

// Paints the sheet on the device's pages, a heading and the column headers on every page and
// "Page n of N" at the foot. Returns the number of pages.
int paintChannelList(QPagedPaintDevice& device, const ChannelListSheet& sheet);

// The sheet as a PDF document.
QByteArray channelListPdf(const ChannelListSheet& sheet);

} // namespace norvik
