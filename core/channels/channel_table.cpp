#include "core/channels/channel_table.h"

#include <utility>

#include "core/image/tones.h"
#include "core/strings/string_ids.h"

namespace norvik {
namespace {

constexpr int kManualAddress = 0x831;
constexpr std::uint8_t kManualBit = 0x10;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

ChannelTable::ChannelTable(RadioDocument& document, Language lang, char decimalSeparator)
    : m_doc(document), m_lang(lang), m_sep(decimalSeparator) {
    m_visible.fill(true);
    for (int n = 1; n < kTableRows; ++n)
        m_numbers[static_cast<std::size_t>(n)] = std::to_string(n);
    setHeaders();
    fill();
    m_subscription = m_doc.observe([this](const DocumentChange& change) { follow(change); });
}

void ChannelTable::follow(const DocumentChange& change) {
    if (change.kind == DocumentChange::Kind::Replace) {
        fill();
        return;
    }
    // The table's own commits set their rows themselves, some of which no fill would give back
    // (a duplex chosen before its offset, pasted texts).
    if (change.kind == DocumentChange::Kind::Edit && m_ownEdit)
        return;
    for (int n = 1; n <= kChannelCount; ++n) {
        if (change.channels.test(static_cast<std::size_t>(n)))
            fillRow(n);
    }
}

DocumentChange ChannelTable::editRows(int labelId, const std::function<void(RadioImage&, ChannelRows&)>& fn,
                                      int labelArg) {
    m_ownEdit = true;
    const DocumentChange change = m_doc.edit(
        labelId, [&](RadioImage& img) { fn(img, m_rows); }, labelArg);
    m_ownEdit = false;
    return change;
}

DocumentChange ChannelTable::edit(int labelId, const std::function<void(RadioImage&)>& fn) {
    return editRows(labelId, [&fn](RadioImage& img, ChannelRows&) { fn(img); });
}

template <typename Rule> CommitResult ChannelTable::commitWith(int channel, int labelId, Rule rule) {
    CommitResult r;
    if (!validChannel(channel))
        return r;
    editRows(labelId,
             [&](RadioImage& img, ChannelRows& rows) { r = rule(img, rows[static_cast<std::size_t>(channel)]); });
    return r;
}

CommitResult ChannelTable::commitCell(int channel, int column, std::string_view s) {
    const ChannelStyle st = style();
    return commitWith(channel, ids::ChangeCellEdit, [&](RadioImage& img, ChannelRow& row) {
        return norvik::commitCell(img, row, channel, column, s, st);
    });
}

CommitResult ChannelTable::commitReceive(int channel, std::string_view s, int labelId) {
    const ChannelStyle st = style();
    return commitWith(channel, labelId, [&](RadioImage& img, ChannelRow& row) {
        return norvik::commitReceive(img, row, channel, s, st);
    });
}

CommitResult ChannelTable::commitTransmit(int channel, std::string_view s, int labelId) {
    const ChannelStyle st = style();
    return commitWith(channel, labelId, [&](RadioImage& img, ChannelRow& row) {
        return norvik::commitTransmit(img, row, channel, s, st);
    });
}

CommitResult ChannelTable::commitOffset(int channel, std::string_view s, int labelId) {
    const ChannelStyle st = style();
    return commitWith(channel, labelId,
                      [&](RadioImage& img, ChannelRow& row) { return norvik::commitOffset(img, row, channel, s, st); });
}

CommitResult ChannelTable::commitName(int channel, std::string_view s, int labelId) {
    return commitWith(channel, labelId,
                      [&](RadioImage& img, ChannelRow& row) { return norvik::commitName(img, row, channel, s); });
}

CommitResult ChannelTable::commitTone(int channel, int column, std::string_view s, int labelId) {
    return commitWith(channel, labelId, [&](RadioImage& img, ChannelRow& row) {
        return norvik::commitTone(img, row, channel, column, s);
    });
}

CommitResult ChannelTable::commitList(int channel, int column, std::string_view s, int labelId) {
    const ChannelStyle st = style();
    return commitWith(channel, labelId, [&](RadioImage& img, ChannelRow& row) {
        return norvik::commitList(img, row, channel, column, s, st);
    });
}

CommitResult ChannelTable::commitDuplex(int channel, Duplex d, int labelId) {
    const ChannelStyle st = style();
    return commitWith(channel, labelId,
                      [&](RadioImage& img, ChannelRow& row) { return norvik::commitDuplex(img, row, channel, d, st); });
}

const std::string& ChannelTable::text(int row, int column) const {
    static const std::string kEmpty;
    if (row < 0 || row >= kTableRows || column < 0 || column >= kTableColumns)
        return kEmpty;
    if (row == 0)
        return m_headers[static_cast<std::size_t>(column)];
    if (column == col::Channel)
        return m_numbers[static_cast<std::size_t>(row)];
    return m_rows[static_cast<std::size_t>(row)].texts[static_cast<std::size_t>(column)];
}

const ChannelRow& ChannelTable::row(int channel) const {
    static const ChannelRow kEmptyRow;
    return validChannel(channel) ? m_rows[static_cast<std::size_t>(channel)] : kEmptyRow;
}

void ChannelTable::setHeaders() {
    for (int c = 0; c < kTableColumns; ++c)
        m_headers[static_cast<std::size_t>(c)] = textString(columnHeaderId(c), m_lang);
}

void ChannelTable::setLanguage(Language lang) {
    m_lang = lang;
    setHeaders();
    fill();
}

void ChannelTable::setDecimalSeparator(char sep) {
    if (sep == m_sep)
        return;
    m_sep = sep;
    fill();
}

void ChannelTable::fill() {
    m_rows = channelRows(m_doc.image(), m_lang, m_sep);
    m_current.restart();
}

void ChannelTable::fillRow(int n) {
    m_rows[static_cast<std::size_t>(n)] = channelRow(m_doc.image(), n, m_lang, m_sep);
}

bool ChannelTable::manualChecked() const {
    return (m_doc.image().at(kManualAddress) & kManualBit) != 0;
}

void ChannelTable::setManualChecked(bool on) {
    m_doc.edit(ids::ChangeManual,
               [on](RadioImage& img) { img.setBits(kManualAddress, kManualBit, on ? kManualBit : 0); });
}

bool ChannelTable::isColumnVisible(int column) const {
    return column >= 0 && column < kTableColumns && m_visible[static_cast<std::size_t>(column)];
}

void ChannelTable::setColumnVisible(int column, bool visible) {
    if (column >= 1 && column < kTableColumns) // the channel numbers always show
        m_visible[static_cast<std::size_t>(column)] = visible;
}

int ChannelTable::restoreWidthTwips(int column) const {
    return initialColumnWidthTwips(column);
}

int ChannelTable::widthTwips(int column) const {
    return isColumnVisible(column) ? restoreWidthTwips(column) : 0;
}

std::vector<std::string> ChannelTable::listEntries(int column) const {
    if (column == col::Decode || column == col::Encode)
        return toneList(m_lang, m_sep);
    if (column == col::Duplex)
        return duplexEntries(m_lang);
    if (const auto field = listField(column))
        return fieldEntries(*field, m_lang);
    return {};
}

EditRequest ChannelTable::clickRequest(int channel, int column) const {
    using A = EditRequest::Action;
    if (!validChannel(channel))
        return {};
    if (column == col::More && !isEmpty(channel))
        return {A::OpenPanel, column, {}};
    if (isEmpty(channel))
        return {A::OpenEditor, col::Rx, {}};
    // Without a transmit frequency there is nothing to encode a tone on: set the frequency first.
    if (!hasTransmit(channel) && column == col::Encode)
        return {A::OpenEditor, col::Tx, {}};
    if (editorKind(column) == EditorKind::None)
        return {};
    return {A::OpenEditor, column, {}};
}

EditRequest ChannelTable::enterRequest(int channel, int column) const {
    return clickRequest(channel, column);
}

EditRequest ChannelTable::typedRequest(int channel, int column, char c) const {
    using A = EditRequest::Action;
    if (!validChannel(channel))
        return {};
    if (isDigit(c) || c == '.') {
        if (column == col::Rx)
            return {A::OpenEditor, col::Rx, c};
        if (column == col::Tx || column == col::Offset || column == col::Name)
            return {A::OpenEditor, isEmpty(channel) ? col::Rx : column, c};
        return {};
    }
    if (column != col::Name || c < 32 || c > 122)
        return {};
    if (c >= 'a' && c <= 'z')
        c = static_cast<char>(c - 'a' + 'A');
    // On an empty channel the edit goes to the receive frequency, whose editor takes no letters.
    if (isEmpty(channel))
        return {A::OpenEditor, col::Rx, {}};
    return {A::OpenEditor, col::Name, c};
}

bool ChannelTable::textEditorAccepts(int column, std::size_t length, std::size_t selected, char c) {
    // A full name takes no character, even over a selection: the user deletes first.
    if (column == col::Name)
        return c >= 32 && c <= 122 && length < static_cast<std::size_t>(kNameLength);
    if (column == col::Rx || column == col::Tx || column == col::Offset) {
        if (c == '.' || c == ',')
            return true;
        return isDigit(c) && (length < 9 || selected > 0);
    }
    return false;
}

bool ChannelTable::panelFieldAccepts(int column, std::size_t length, std::size_t selected, char c) {
    if (column == col::Name)
        return c >= 32 && c <= 122 && length - selected < static_cast<std::size_t>(kNameLength);
    if (column == col::Rx || column == col::Tx || column == col::Offset)
        return isDigit(c) || c == '.' || c == ',';
    return false;
}

int ChannelTable::columnAfter(int channel, int column) const {
    for (int c = column + 1; c < kTableColumns; ++c) {
        if (!isColumnVisible(c))
            continue;
        if (column == col::Decode && c == col::Encode && !hasTransmit(channel))
            continue;
        return c;
    }
    return column;
}

} // namespace norvik
