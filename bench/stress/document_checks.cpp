#include "stress/document_checks.h"

#include <tuple>

#include "image/channel_record.h"
#include "strings/string_ids.h"

namespace norvik::stress {
namespace {

// Eight BCD digits (or the four 0xFF bytes of no frequency).
bool isBcdOrEmpty(const RadioImage& img, int address, bool& empty) {
    empty = true;
    for (int i = 0; i < 4; ++i) {
        const std::uint8_t b = img.at(address + i);
        empty = empty && b == 0xFF;
    }
    if (empty)
        return true;
    for (int i = 0; i < 4; ++i) {
        const std::uint8_t b = img.at(address + i);
        if ((b >> 4) > 9 || (b & 0x0F) > 9)
            return false;
    }
    return true;
}

std::string hexBytes(const RadioImage& img, int address, int count) {
    static const char* digits = "0123456789ABCDEF";
    std::string s;
    for (int i = 0; i < count; ++i) {
        const std::uint8_t b = img.at(address + i);
        s += digits[b >> 4];
        s += digits[b & 0x0F];
    }
    return s;
}

std::string firstDifference(const RadioImage& a, const RadioImage& b) {
    for (int i = 0; i < kImageSize; ++i) {
        if (a.at(i) != b.at(i))
            return "first at address " + std::to_string(i) + ": " + hexBytes(a, i, 1) + " vs " + hexBytes(b, i, 1);
    }
    return "none";
}

} // namespace

DocumentChecks::DocumentChecks(RadioDocument& document)
    : m_doc(document), m_known(document.image()), m_saved(document.savedImage()) {
    m_subscription = m_doc.observe([this](const DocumentChange& change) { follow(change); });
}

void DocumentChecks::fault(const std::string& what) {
    if (m_fault.empty())
        m_fault = what;
}

void DocumentChecks::follow(const DocumentChange& change) {
    const RadioImage& now = m_doc.image();
    const RadioImage before = m_known;
    ++m_notices[static_cast<std::size_t>(change.kind)];
    m_known = now;

    // Views redraw what a notice names: it must name every channel and area that changed.
    const DocumentChange diff = diffImages(before, now);
    if ((diff.areas & ~change.areas) != 0 || (diff.channels & ~change.channels).any())
        fault("a notice does not name everything that changed");

    switch (change.kind) {
    case DocumentChange::Kind::Replace:
        // A finished read is one step back to the image before it; New and Open start afresh.
        if (change.labelId == ids::MenuTransferRead) {
            if (!(before == now))
                m_undo.push_back({before, now});
            if (m_undo.size() > m_doc.undoCount() && m_doc.undoCount() >= RadioDocument::kUndoLimit) {
                m_undo.erase(m_undo.begin(),
                             m_undo.begin() + static_cast<std::ptrdiff_t>(m_undo.size() - m_doc.undoCount()));
                m_truncated = true;
                ++m_truncations;
            }
            m_redo.clear();
            m_typed.clear();
            return;
        }
        m_undo.clear();
        m_redo.clear();
        m_truncated = false;
        m_typed.clear();
        if (change.labelId == ids::MenuFileNew || change.labelId == ids::MenuFileOpen || change.labelId == 0) {
            m_saved = now;
            ++m_takes;
        } else if (change.labelId != ids::MenuTransferRead)
            fault("a whole new image from neither New, Open nor a read (label " + std::to_string(change.labelId) + ")");
        return;
    case DocumentChange::Kind::Edit:
        if (before == now)
            fault("an edit that changed nothing was announced");
        m_undo.push_back({before, now});
        m_redo.clear();
        // The document drops its oldest steps beyond what it keeps.
        if (m_doc.undoCount() < m_undo.size() && m_doc.undoCount() >= RadioDocument::kUndoLimit) {
            m_undo.erase(m_undo.begin(),
                         m_undo.begin() + static_cast<std::ptrdiff_t>(m_undo.size() - m_doc.undoCount()));
            m_truncated = true;
            ++m_truncations;
        }
        watchTyped(change, before);
        return;
    case DocumentChange::Kind::Undo:
        walk(m_undo, m_redo, true);
        break;
    case DocumentChange::Kind::Redo:
        walk(m_redo, m_undo, false);
        break;
    }
    // Channels that come back from the history are no longer what was typed.
    for (int n = 1; n <= kChannelCount; ++n) {
        if (change.channels.test(static_cast<std::size_t>(n)))
            m_typed.erase(n);
    }
    if (change.touches(area::BandLimits))
        m_typed.clear();
}

// One step taken from one side of the history to the other must leave its image behind.
void DocumentChecks::walk(std::vector<Step>& from, std::vector<Step>& to, bool undo) {
    if (from.empty()) {
        fault(undo ? "an undo beyond the history" : "a redo with nothing undone");
        return;
    }
    const RadioImage& expected = undo ? from.back().before : from.back().after;
    if (!(m_doc.image() == expected))
        fault(std::string(undo ? "undo" : "redo") +
              " did not give back its step's image: " + firstDifference(m_doc.image(), expected));
    to.push_back(from.back());
    from.pop_back();
}

void DocumentChecks::watchTyped(const DocumentChange& change, const RadioImage& before) {
    const bool typed = change.labelId == ids::ChangeCellEdit || change.labelId == ids::ChangePanelEdit;
    if (change.touches(area::BandLimits))
        m_typed.clear();
    for (int n = 1; n <= kChannelCount; ++n) {
        if (!change.channels.test(static_cast<std::size_t>(n)))
            continue;
        if (!typed) {
            m_typed.erase(n);
            continue;
        }
        unsigned fields = 0;
        for (auto [field, offset] : {std::pair{Rx, rec::Rx}, std::pair{Tx, rec::Tx}}) {
            for (int i = 0; i < 4; ++i) {
                if (before.at(channelAddress(n) + offset + i) != m_doc.image().at(channelAddress(n) + offset + i))
                    fields |= field;
            }
        }
        if (fields == 0)
            continue;
        // Offset 0 makes the transmit frequency the receive frequency as it reads, which came from
        // the image when it was not typed: in band or not, it is then only checked for BCD.
        const RadioImage& img = m_doc.image();
        const bool copiesReceive =
            (fields & Tx) && !(fields & Rx) && !(m_typed[n] & Rx) &&
            decodeFrequency(img, channelAddress(n) + rec::Tx) == decodeFrequency(img, channelAddress(n) + rec::Rx);
        if (copiesReceive)
            fields = (fields & ~static_cast<unsigned>(Tx)) | TxCopy;
        if (fields & (Tx | TxCopy))
            m_typed[n] &= ~static_cast<unsigned>(Tx | TxCopy);
        m_typed[n] |= fields;
        if (const std::string f = frequencyFault(n, fields); !f.empty())
            fault("typed: " + f);
    }
}

std::string DocumentChecks::frequencyFault(int channel, unsigned fields) const {
    const RadioImage& img = m_doc.image();
    for (auto [field, offset, name] : {std::tuple{Rx, rec::Rx, "receive"}, std::tuple{Tx, rec::Tx, "transmit"}}) {
        if (!(fields & field) && !(field == Tx && (fields & TxCopy)))
            continue;
        const int address = channelAddress(channel) + offset;
        bool empty = false;
        const std::string where = "channel " + std::to_string(channel) + " " + name + " bytes " +
                                  hexBytes(img, address, 4) + " (record " +
                                  hexBytes(img, channelAddress(channel), kRowSize) + ")";
        if (!isBcdOrEmpty(img, address, empty))
            return where + " are not BCD";
        if (empty)
            continue;
        const long long f = decodeFrequency(img, address);
        bool inBand = false;
        for (const Band& b : m_doc.bandLimits().bands())
            inBand = inBand || (f >= b.lower * static_cast<long long>(kHz10PerMHz) &&
                                f < b.upper * static_cast<long long>(kHz10PerMHz));
        if (!inBand && !(field == Tx && (fields & TxCopy)))
            return where + " lie outside every band";
    }
    return {};
}

std::string DocumentChecks::check() const {
    if (!m_fault.empty())
        return m_fault;
    if (!(m_doc.image() == m_known))
        return "the image changed without a notice: " + firstDifference(m_doc.image(), m_known);
    if (!(m_doc.savedImage() == m_saved))
        return "the saved image is not the one last opened, made new or saved";
    if (m_doc.isModified() != !(m_doc.image() == m_saved))
        return "modified does not agree with the image differing from the saved image";
    if (m_doc.undoCount() != m_undo.size())
        return "the history holds " + std::to_string(m_doc.undoCount()) + " steps, the run made " +
               std::to_string(m_undo.size());
    if (m_doc.canUndo() != !m_undo.empty() || m_doc.canRedo() != !m_redo.empty())
        return "undo or redo availability does not follow the history";
    for (const auto& [n, fields] : m_typed) {
        if (const std::string f = frequencyFault(n, fields); !f.empty())
            return "a channel typed earlier: " + f;
    }
    return {};
}

} // namespace norvik::stress
