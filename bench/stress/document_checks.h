#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "core/image/radio_document.h"

namespace norvik::stress {

// Follows every notice of a document and keeps, beside it, what the document must hold: the
// image after each step of its history, the saved image, and the channels whose frequencies were
// typed. A fault found inside a notice is kept until the driver asks.
class DocumentChecks {
public:
    explicit DocumentChecks(RadioDocument& document);

    // The file at the document's name now holds `written`: a save took place.
    void saved(const RadioImage& written) { m_saved = written; }
    // How many times New or Open have put an image in place (each takes a new saved image).
    int takes() const { return m_takes; }

    // After every step: the history, the saved image and the typed channels. Empty when sound.
    std::string check() const;
    // The first fault seen inside a notice (empty when none).
    const std::string& noticeFault() const { return m_fault; }

    // The image every undo must lead back to: the one after the last New, Open or read, or the
    // oldest the history still knows of once more steps were made than it keeps.
    const RadioImage& oldestReachable() const { return m_undo.empty() ? m_known : m_undo.front().before; }
    // The image redoing every undone step leads to.
    const RadioImage& newestReachable() const { return m_redo.empty() ? m_known : m_redo.front().after; }
    bool historyTruncated() const { return m_truncated; }
    std::size_t depth() const { return m_undo.size(); }
    int truncations() const { return m_truncations; }
    // Notices seen, by kind (edit, whole new image, undo, redo).
    const std::array<int, 4>& notices() const { return m_notices; }

private:
    struct Step {
        RadioImage before;
        RadioImage after;
    };
    // A transmit frequency copied from a receive frequency that was not typed is held to BCD only.
    enum Field : unsigned { Rx = 1, Tx = 2, TxCopy = 4 };

    void follow(const DocumentChange& change);
    void record(const RadioImage& before, const RadioImage& after);
    void walk(std::vector<Step>& from, std::vector<Step>& to, bool undo);
    void watchTyped(const DocumentChange& change, const RadioImage& before);
    std::string frequencyFault(int channel, unsigned fields) const;
    void fault(const std::string& what);

    RadioDocument& m_doc;
    RadioImage m_known; // the image as of the last notice
    RadioImage m_saved;
    std::vector<Step> m_undo;
    std::vector<Step> m_redo;
    bool m_truncated = false;
    int m_truncations = 0;
    int m_takes = 0;
    std::map<int, unsigned> m_typed;
    std::array<int, 4> m_notices{};
    std::string m_fault;
    RadioDocument::Subscription m_subscription;
};

} // namespace norvik::stress
