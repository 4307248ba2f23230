#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "image/channel_record.h"
#include "image/radio_document.h"
#include "strings/string_ids.h"
#include "strings/strings.h"

namespace norvik {

// Columns of the channel table; row 0 holds the headers and column 0 the channel numbers.
namespace col {
inline constexpr int Channel = 0;
inline constexpr int Rx = 1;
inline constexpr int Tx = 2;
inline constexpr int Decode = 3;
inline constexpr int Encode = 4;
inline constexpr int Power = 5;
inline constexpr int Scan = 6;
inline constexpr int Bandwidth = 7;
inline constexpr int Name = 8;
inline constexpr int Bcl = 9;
inline constexpr int PttId = 10;
inline constexpr int Vox = 11;
inline constexpr int Option = 12;
inline constexpr int Scrambler = 13;
inline constexpr int Offset = 14;
inline constexpr int Duplex = 15;
inline constexpr int More = 16;
} // namespace col

constexpr int kTableColumns = 17;
constexpr int kTableRows = kChannelCount + 1;

// Which in-cell editor a column is edited with.
enum class EditorKind { None, Text, Tone, List };
EditorKind editorKind(int column);

// English string id of a column header.
int columnHeaderId(int column);
// Initial width of a column in twips.
int initialColumnWidthTwips(int column);
// Help topic shown by F1 while a cell of the column is current: 7007..7012 for columns 1..6,
// 0 for the columns that do not set one.
int columnHelpContext(int column);

// What a commit did to the row, for the view to redraw and to tell the user.
struct CommitResult {
    std::uint32_t changedColumns = 0; // bit c set: text of column c changed
    int noticeId = 0;                 // string id of a message to show, 0 for none

    bool changed(int column) const { return (changedColumns >> column) & 1U; }
    bool anyChange() const { return changedColumns != 0; }
};

// What a click, Enter or a typed key on a cell asks the view to do.
struct EditRequest {
    enum class Action { None, OpenEditor, OpenPanel };
    Action action = Action::None;
    int column = 0;                  // column to make current and edit
    std::optional<char> initialText; // replaces the editor's text, caret behind it
    friend bool operator==(const EditRequest&, const EditRequest&) = default;
};

// The 128 channels as the texts the grid shows, kept in step with the channel records of the
// document's image. Every commit is one change of the document that writes the record bytes and
// sets the row texts together; any other change of a channel (undo, another window) refills its
// row from the image, and a new image refills every row. Reading the image never writes it.
// Views over the table follow the document's notices: the table subscribes when it is made, so
// it is told before them. Texts are UTF-8; channel names are the image's single-byte codes read
// as Latin-1.
class ChannelTable {
public:
    using RowTexts = std::array<std::string, kTableColumns>;

    explicit ChannelTable(RadioDocument& document, Language lang = Language::English, char decimalSeparator = '.');

    RadioDocument& document() { return m_doc; }
    const RadioDocument& document() const { return m_doc; }

    // Row 0: headers; column 0: channel numbers; rows 1..128: channels 1..128.
    const std::string& text(int row, int column) const;

    Language language() const { return m_lang; }
    char decimalSeparator() const { return m_sep; }
    // Switching the language re-captions the headers and refills every row; so does another
    // decimal separator.
    void setLanguage(Language lang);
    void setDecimalSeparator(char sep);

    // Rebuilds every row from the image; the current cell becomes channel 1, column 1.
    void fill();
    // Check mark of the Manual setting, read from the image.
    bool manualChecked() const;
    // Sets or clears the Manual setting's bit as one change; the other bits of its byte stay.
    void setManualChecked(bool on);

    // Runs fn as one change of the document named by labelId, fn setting the row texts of what it
    // changes itself (the edit operations that move rows with their texts).
    DocumentChange edit(int labelId, const std::function<void(RadioImage&)>& fn);

    int currentChannel() const { return m_currentChannel; }
    int currentColumn() const { return m_currentColumn; }
    void setCurrent(int channel, int column);

    bool isColumnVisible(int column) const;
    void setColumnVisible(int column, bool visible);
    // Width the column had at start, in twips, given back when it is shown again.
    int restoreWidthTwips(int column) const;
    // 0 for a hidden column.
    int widthTwips(int column) const;

    bool isEmpty(int channel) const { return text(channel, col::Rx).empty(); }
    bool hasTransmit(int channel) const { return !text(channel, col::Tx).empty(); }

    // Entries the drop-down list of a column offers (tone list for 3 and 4), current language.
    std::vector<std::string> listEntries(int column) const;

    // The commit of a closed in-cell editor, one "Cell Edit" change. Unchanged text commits
    // nothing, except on the tone columns which always write their field. A channel without a
    // receive frequency takes only a receive frequency.
    CommitResult commitCell(int channel, int column, std::string_view text);

    // The single commits, each one change named by labelId; the alternate panel calls them
    // directly.
    CommitResult commitReceive(int channel, std::string_view text, int labelId = ids::ChangeCellEdit);
    CommitResult commitTransmit(int channel, std::string_view text, int labelId = ids::ChangeCellEdit);
    CommitResult commitOffset(int channel, std::string_view text, int labelId = ids::ChangeCellEdit);
    CommitResult commitName(int channel, std::string_view text, int labelId = ids::ChangeCellEdit);
    CommitResult commitTone(int channel, int column, std::string_view text, int labelId = ids::ChangeCellEdit);
    CommitResult commitList(int channel, int column, std::string_view text, int labelId = ids::ChangeCellEdit);

    // Key and mouse rules of the grid.
    EditRequest clickRequest(int channel, int column) const;
    EditRequest enterRequest(int channel, int column) const;
    // c is a digit or '.' (keypad keys already mapped) or another typed character.
    EditRequest typedRequest(int channel, int column, char c) const;
    // Whether the grid's text editor on this column takes the typed character.
    static bool textEditorAccepts(int column, std::size_t length, std::size_t selected, char c);
    // The same for the panel's fields: its frequencies have no length limit, and its name field
    // takes a character over a selection.
    static bool panelFieldAccepts(int column, std::size_t length, std::size_t selected, char c);
    // The column Enter moves to after an edit: the next shown column, skipping the encode
    // column after the decode column when there is no transmit frequency; the same column when
    // nothing is shown to its right.
    int columnAfter(int channel, int column) const;

    // Whole rows, for the edit operations that move channels: column 0 (the channel number)
    // is never taken over from the given texts.
    const RowTexts& rowTexts(int channel) const;
    void setRowTexts(int channel, const RowTexts& texts);
    void swapRowTexts(int a, int b);

private:
    void follow(const DocumentChange& change);
    void setHeaders();
    void fillRow(int channel);
    void receive(RadioImage& img, int channel, std::string_view s, CommitResult& r);
    void offset(RadioImage& img, int channel, std::string_view s, CommitResult& r);
    void list(RadioImage& img, int channel, int column, std::string_view s, CommitResult& r);
    void setText(int channel, int column, std::string value, CommitResult& result);
    void setDuplexTexts(int channel, CommitResult& result);
    std::string valueText(int id) const;
    std::string frequencyTextOf(Frequency f) const { return frequencyText(f, m_sep); }
    Frequency frequencyOf(int channel, int column) const;
    // Normalises and remembers a notice in result.
    Frequency normalise(double mhz, CommitResult& result) const;
    Frequency normalise(std::string_view text, CommitResult& result) const;
    void writeTransmit(RadioImage& img, int channel, Frequency tx, CommitResult& result);
    bool validChannel(int channel) const { return channel >= 1 && channel <= kChannelCount; }

    RadioDocument& m_doc;
    Language m_lang;
    char m_sep;
    std::array<RowTexts, kTableRows> m_texts;
    std::array<bool, kTableColumns> m_visible;
    int m_currentChannel = 1;
    int m_currentColumn = 1;
    bool m_ownEdit = false;
    RadioDocument::Subscription m_subscription;
};

// Channel names are single-byte codes in the image; the table holds them as UTF-8.
std::string latin1ToUtf8(std::string_view bytes);
// Characters above U+00FF become '?'.
std::string utf8ToLatin1(std::string_view text);

} // namespace norvik
