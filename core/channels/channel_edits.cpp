#include "core/channels/channel_edits.h"

#include <utility>

#include "core/strings/string_ids.h"

namespace norvik {
namespace {

bool validChannel(int channel) {
    return channel >= 1 && channel <= kChannelCount;
}

EditResult ran(int first, int last, int current) {
    return {true, first, last, current};
}

} // namespace

bool copyChannel(const ChannelTable& table, int channel, CopyBuffer& buffer) {
    const RadioImage& image = table.document().image();
    if (!validChannel(channel) || !channelInUse(image, channel))
        return false;
    for (int i = 0; i < kRowSize; ++i)
        buffer.record[static_cast<std::size_t>(i)] = image.at(channelAddress(channel) + i);
    for (int i = 0; i < kNameLength; ++i)
        buffer.name[static_cast<std::size_t>(i)] = image.at(nameAddress(channel) + i);
    buffer.row = table.row(channel);
    buffer.language = table.language();
    buffer.decimalSeparator = table.decimalSeparator();
    buffer.holdsCopy = true;
    return true;
}

EditResult pasteChannel(ChannelTable& table, int channel, const CopyBuffer& buffer) {
    if (!validChannel(channel) || !buffer.holdsCopy)
        return {};
    const auto paste = [&](RadioImage& image) {
        for (int i = 0; i < kRowSize; ++i)
            image.set(channelAddress(channel) + i, buffer.record[static_cast<std::size_t>(i)]);
        for (int i = 0; i < kNameLength; ++i)
            image.set(nameAddress(channel) + i, buffer.name[static_cast<std::size_t>(i)]);
    };
    // The texts go in as they were copied; after a language switch they would show the old
    // language, so the table then rebuilds the row from the record as for any other change.
    if (buffer.language == table.language() && buffer.decimalSeparator == table.decimalSeparator()) {
        table.editRows(ids::ChangePaste, [&](RadioImage& image, ChannelRows& rows) {
            paste(image);
            rows[static_cast<std::size_t>(channel)] = buffer.row;
        });
    } else {
        table.document().edit(ids::ChangePaste, paste);
    }
    return ran(channel, channel, channel);
}

EditResult clearChannel(ChannelTable& table, int channel) {
    if (!validChannel(channel))
        return {};
    table.editRows(ids::ChangeClear,
                   [&](RadioImage& image, ChannelRows& rows) { emptyChannels(image, rows, channel, channel); });
    return ran(channel, channel, channel);
}

EditResult clearCurrentChannel(ChannelTable& table) {
    const int c = table.currentChannel();
    if (!validChannel(c))
        return {};
    table.commitReceive(c, "", ids::ChangeClear);
    return ran(c, c, c);
}

EditResult moveChannelUp(ChannelTable& table) {
    const int c = table.currentChannel();
    if (c < 2 || c > kChannelCount)
        return {};
    table.editRows(ids::ChangeMoveUp,
                   [&](RadioImage& image, ChannelRows& rows) { moveChannels(image, rows, c, c, -1); });
    return ran(c - 1, c, c - 1);
}

EditResult moveChannelDown(ChannelTable& table) {
    const int c = table.currentChannel();
    if (c < 1 || c >= kChannelCount)
        return {};
    table.editRows(ids::ChangeMoveDown,
                   [&](RadioImage& image, ChannelRows& rows) { moveChannels(image, rows, c, c, 1); });
    return ran(c, c + 1, c + 1);
}

bool insertLosesLastChannel(const ChannelTable& table) {
    return insertLosesChannels(table.document().image(), 1, 1);
}

EditResult insertChannel(ChannelTable& table) {
    const int c = table.currentChannel();
    if (!validChannel(c))
        return {};
    table.editRows(ids::ChangeInsert, [&](RadioImage& image, ChannelRows& rows) { insertChannels(image, rows, c, c); });
    return ran(c, kChannelCount, c);
}

EditResult deleteChannel(ChannelTable& table) {
    const int c = table.currentChannel();
    if (!validChannel(c))
        return {};
    table.editRows(ids::ChangeDelete, [&](RadioImage& image, ChannelRows& rows) { deleteChannels(image, rows, c, c); });
    return ran(c, kChannelCount, c);
}

EditResult runChannelButton(ChannelTable& table, ChannelButton button) {
    switch (button) {
    case ChannelButton::MoveUp:
        return moveChannelUp(table);
    case ChannelButton::MoveDown:
        return moveChannelDown(table);
    case ChannelButton::Insert:
        return insertChannel(table);
    case ChannelButton::Delete:
        return deleteChannel(table);
    case ChannelButton::Clear:
        return clearCurrentChannel(table);
    }
    return {};
}

int signalTypeEntry(const RadioImage& image, int channel) {
    return fieldEntryIndex(RecordField::SignalType, fieldValue(image, channel, RecordField::SignalType));
}

bool isFiveTone(int entry) {
    return fieldEntryValue(RecordField::SignalType, entry) == 8;
}

void setSignalType(RadioImage& image, int channel, int entry) {
    if (!validChannel(channel))
        return;
    setFieldValue(image, channel, RecordField::SignalType, fieldEntryValue(RecordField::SignalType, entry));
    if (!isFiveTone(entry)) {
        setFieldValue(image, channel, RecordField::AutoResponse, 0);
        image.set(channelAddress(channel) + rec::Reserved15, 0);
    }
}

void setAutoResponse(RadioImage& image, int channel, int entry) {
    if (validChannel(channel))
        setFieldValue(image, channel, RecordField::AutoResponse, entry == 1 ? 1 : 0);
}

} // namespace norvik
