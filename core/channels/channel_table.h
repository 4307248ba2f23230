#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/channels/channel_columns.h"
#include "core/channels/channel_rules.h"
#include "core/channels/channel_texts.h"
#include "core/channels/current_cell.h"
#include "core/image/channel_record.h"
#include "core/image/radio_document.h"
#include "core/strings/string_ids.h"
#include "core/strings/strings.h"

namespace norvik {

// What a click, Enter or a typed key on a cell asks the view to do.
struct EditRequest {
    enum class Action { None, OpenEditor, OpenPanel };
    Action action = Action::None;
    int column = 0;                  // column to make current and edit
    std::optional<char> initialText; // replaces the editor's text, caret behind it
    friend bool operator==(const EditRequest&, const EditRequest&) = default;
};

// The 128 channels as the texts the grid shows, kept in step with the channel records of the
// document's image, and the grid's view state (current cell, shown columns). Every commit is one
// change of the document that runs a channel rule on the image and this table's rows together;
// any other change of a channel (undo, another window) refills its row from the image, and a new
// image refills every row. Reading the image never writes it. Views over the table follow the
// document's notices: the table subscribes when it is made, so it is told before them. Texts are
// UTF-8; channel names are the image's single-byte codes read as Latin-1.
class ChannelTable {
public:
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

    // Rebuilds every row from the image; the current cell restarts at channel 1, column 1.
    void fill();
    // Check mark of the Manual setting, read from the image.
    bool manualChecked() const;
    // Sets or clears the Manual setting's bit as one change; the other bits of its byte stay.
    void setManualChecked(bool on);

    // Runs fn on the image and the table's rows as one change of the document named by labelId:
    // the rules set the rows of what they change themselves.
    DocumentChange editRows(int labelId, const std::function<void(RadioImage&, ChannelRows&)>& fn, int labelArg = 0);
    // The same for a change of what no row shows (the panel's signalling).
    DocumentChange edit(int labelId, const std::function<void(RadioImage&)>& fn);
    // The band limits in force and the table's language and number format.
    ChannelStyle style() const { return {m_doc.bandLimits(), m_lang, m_sep}; }

    // The cell the grid and the panel stand on; both move it and follow it.
    CurrentCell& current() { return m_current; }
    const CurrentCell& current() const { return m_current; }
    int currentChannel() const { return m_current.channel(); }
    int currentColumn() const { return m_current.column(); }

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
    // A list text names an entry of the column's list in the table's language; the duplex
    // column's text is taken as the duplex of that entry (Off for a text that is none).
    CommitResult commitList(int channel, int column, std::string_view text, int labelId = ids::ChangeCellEdit);
    // Plus and Minus put the transmit frequency the offset above or below the receive frequency,
    // Off on it; the offset stays for the next Plus or Minus.
    CommitResult commitDuplex(int channel, Duplex duplex, int labelId = ids::ChangeCellEdit);
    Duplex duplex(int channel) const { return row(channel).duplex; }

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

    // A channel's whole row (column 0, the channel number, is the table's and stays empty here).
    const ChannelRow& row(int channel) const;
    const ChannelRows& rows() const { return m_rows; }

private:
    void follow(const DocumentChange& change);
    void setHeaders();
    void fillRow(int channel);
    // One rule on one channel, as one change named by labelId.
    template <typename Rule> CommitResult commitWith(int channel, int labelId, Rule rule);
    bool validChannel(int channel) const { return channel >= 1 && channel <= kChannelCount; }

    RadioDocument& m_doc;
    Language m_lang;
    char m_sep;
    RowTexts m_headers;
    std::array<std::string, kTableRows> m_numbers;
    ChannelRows m_rows;
    std::array<bool, kTableColumns> m_visible;
    CurrentCell m_current;
    bool m_ownEdit = false;
    RadioDocument::Subscription m_subscription;
};

} // namespace norvik
