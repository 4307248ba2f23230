#include "channels/channel_edits.h"

#include <utility>

#include "strings/string_ids.h"

namespace norvik {
namespace {

bool validChannel(int channel) {
    return channel >= 1 && channel <= kChannelCount;
}

bool recordEmpty(const ChannelTable& table, int channel) {
    return table.document().image().at(channelAddress(channel)) == 0xFF;
}

void fillRecord(RadioImage& image, int channel, std::uint8_t value) {
    for (int i = 0; i < kRowSize; ++i)
        image.set(channelAddress(channel) + i, value);
}

// Names are packed 7 bytes apiece across row boundaries, so they move byte by byte through
// their addresses, never as rows.
void copyName(RadioImage& image, int from, int to) {
    for (int i = 0; i < kNameLength; ++i)
        image.set(nameAddress(to) + i, image.at(nameAddress(from) + i));
}

void swapBytes(RadioImage& image, int a, int b, int count) {
    for (int i = 0; i < count; ++i) {
        const std::uint8_t t = image.at(a + i);
        image.set(a + i, image.at(b + i));
        image.set(b + i, t);
    }
}

// Record, name entry and row texts of one channel onto another.
void copyChannelTo(ChannelTable& table, RadioImage& image, int from, int to) {
    copyName(image, from, to);
    for (int i = 0; i < kRowSize; ++i)
        image.set(channelAddress(to) + i, image.at(channelAddress(from) + i));
    table.setRowTexts(to, table.rowTexts(from));
}

// Empties the record and the texts; the name entry keeps its bytes.
void emptyChannel(ChannelTable& table, RadioImage& image, int channel) {
    fillRecord(image, channel, 0xFF);
    table.setRowTexts(channel, {});
}

void swapChannels(ChannelTable& table, int a, int b, int labelId) {
    table.edit(labelId, [&](RadioImage& image) {
        swapBytes(image, channelAddress(a), channelAddress(b), kRowSize);
        swapBytes(image, nameAddress(a), nameAddress(b), kNameLength);
        table.swapRowTexts(a, b);
    });
}

EditResult ran(int first, int last, int current) {
    return {true, first, last, current};
}

} // namespace

bool copyChannel(const ChannelTable& table, int channel, CopyBuffer& buffer) {
    if (!validChannel(channel) || recordEmpty(table, channel))
        return false;
    const RadioImage& image = table.document().image();
    for (int i = 0; i < kRowSize; ++i)
        buffer.record[static_cast<std::size_t>(i)] = image.at(channelAddress(channel) + i);
    for (int i = 0; i < kNameLength; ++i)
        buffer.name[static_cast<std::size_t>(i)] = image.at(nameAddress(channel) + i);
    buffer.texts = table.rowTexts(channel);
    buffer.language = table.language();
    buffer.decimalSeparator = table.decimalSeparator();
    buffer.holdsCopy = true;
    return true;
}

EditResult pasteChannel(ChannelTable& table, int channel, const CopyBuffer& buffer) {
    if (!validChannel(channel) || !buffer.holdsCopy)
        return {};
    // The texts go in as they were copied; after a language switch they would show the old
    // language, so the table then rebuilds the row from the record as for any other change.
    const bool sameTexts = buffer.language == table.language() && buffer.decimalSeparator == table.decimalSeparator();
    const auto paste = [&](RadioImage& image) {
        for (int i = 0; i < kRowSize; ++i)
            image.set(channelAddress(channel) + i, buffer.record[static_cast<std::size_t>(i)]);
        for (int i = 0; i < kNameLength; ++i)
            image.set(nameAddress(channel) + i, buffer.name[static_cast<std::size_t>(i)]);
        if (sameTexts)
            table.setRowTexts(channel, buffer.texts);
    };
    if (sameTexts)
        table.edit(ids::ChangePaste, paste);
    else
        table.document().edit(ids::ChangePaste, paste);
    return ran(channel, channel, channel);
}

EditResult clearChannel(ChannelTable& table, int channel) {
    if (!validChannel(channel))
        return {};
    table.edit(ids::ChangeClear, [&](RadioImage& image) { emptyChannel(table, image, channel); });
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
    swapChannels(table, c, c - 1, ids::ChangeMoveUp);
    return ran(c - 1, c, c - 1);
}

EditResult moveChannelDown(ChannelTable& table) {
    const int c = table.currentChannel();
    if (c < 1 || c >= kChannelCount)
        return {};
    swapChannels(table, c, c + 1, ids::ChangeMoveDown);
    return ran(c, c + 1, c + 1);
}

bool insertLosesLastChannel(const ChannelTable& table) {
    return !table.isEmpty(kChannelCount);
}

EditResult insertChannel(ChannelTable& table) {
    const int c = table.currentChannel();
    if (!validChannel(c))
        return {};
    table.edit(ids::ChangeInsert, [&](RadioImage& image) {
        for (int i = kChannelCount - 1; i >= c; --i)
            copyChannelTo(table, image, i, i + 1);
        emptyChannel(table, image, c);
    });
    return ran(c, kChannelCount, c);
}

EditResult deleteChannel(ChannelTable& table) {
    const int c = table.currentChannel();
    if (!validChannel(c))
        return {};
    table.edit(ids::ChangeDelete, [&](RadioImage& image) {
        for (int i = c; i < kChannelCount; ++i)
            copyChannelTo(table, image, i + 1, i);
        emptyChannel(table, image, kChannelCount);
    });
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
