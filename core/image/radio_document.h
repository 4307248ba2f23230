#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "core/image/band_limits.h"
#include "core/image/channel_record.h"
#include "core/image/observer_list.h"
#include "core/image/radio_image.h"

namespace norvik {

// The parts of the image a change touched, so that each view redraws only what it shows.
namespace area {
inline constexpr unsigned Channels = 1U << 0;   // channel records (rows 1..128) and names
inline constexpr unsigned Options = 1U << 1;    // every byte no other area claims
inline constexpr unsigned BandLimits = 1U << 2; // row 208
inline constexpr unsigned Service = 1U << 3;    // tuning rows 240..255
inline constexpr unsigned All = Channels | Options | BandLimits | Service;
} // namespace area

// The areas holding an address.
unsigned areaOf(int address);

struct DocumentChange {
    enum class Kind {
        Edit,    // one user-level change made in place
        Replace, // a new image: New, Open, a finished read
        Undo,
        Redo,
    };
    Kind kind = Kind::Edit;
    unsigned areas = 0;                      // area:: bits
    std::bitset<kChannelCount + 1> channels; // bit n: record or name of channel n changed
    int labelId = 0;                         // string id naming the change (0: unnamed)
    int labelArg = 0;                        // the %1 of a label that counts ("Paste %1 Channels"); 0: none

    bool touches(unsigned a) const { return (areas & a) != 0; }
    // The lowest channel whose record or name changed, 0 when none did.
    int firstChannel() const;
};

// What changed between two images.
DocumentChange diffImages(const RadioImage& before, const RadioImage& after);

/*
 * The one Radio Image the program edits, the Saved Image it is compared with, and the band
 * limits held beside it. The application owns one and hands it to each window.
 *
 * Every user-level change passes through here: edit() for a change made in place (a cell
 * commit, an edit operation, a dialog's Save), replace() for a whole new image (New, Open, a
 * finished read). Each change that alters at least one byte is one undo step and is announced
 * once to every observer with the areas and channels it touched; a change that alters nothing
 * is neither recorded nor announced. The band limits always follow row 208, whatever changed it.
 */
class RadioDocument {
public:
    using Observer = ObserverList<const DocumentChange&>::Observer;

    // Keeps an observer registered for its own lifetime; harmless when it outlives the document.
    using Subscription = ObserverList<const DocumentChange&>::Subscription;

    enum class SavedImage { Keep, Take };

    // Undo keeps at least this many steps; older ones are dropped.
    static constexpr std::size_t kUndoLimit = 256;

    RadioDocument();
    RadioDocument(const RadioDocument&) = delete;
    RadioDocument& operator=(const RadioDocument&) = delete;

    const RadioImage& image() const { return m_image; }
    const RadioImage& savedImage() const { return m_saved; }
    const BandLimits& bandLimits() const { return m_bands; }

    // Runs fn on the image as one undoable step named by labelId (with labelArg as its %1 when
    // not 0). Returns what changed (no areas when fn altered nothing). Observers must not start
    // another change while notified.
    DocumentChange edit(int labelId, const std::function<void(RadioImage&)>& fn, int labelArg = 0);

    // Puts a whole new image in place: channel records are normalised as loading always does
    // (an empty receive frequency empties the record, an empty transmit frequency clears the
    // transmit bytes) and the band limits are loaded from it. With SavedImage::Take (New, Open)
    // the result becomes the Saved Image and the undo history is cleared. SavedImage::Keep is a
    // finished read: the old Saved Image stays, so the read counts as a change until it is saved,
    // and the replacement is one undo step that brings back the image as it was before.
    void replace(const RadioImage& image, int labelId, SavedImage saved);

    // The new-image defaults with the band limits in force.
    RadioImage newImage() const;

    // While held (radios are being written from it) the image stays exactly as it is: edit(),
    // replace(), undo() and redo() change nothing and announce nothing. The windows turn every
    // changing command off meanwhile; this is what stands behind them.
    void setHeld(bool held) { m_held = held; }
    bool isHeld() const { return m_held; }

    void takeSavedImage() { m_saved = m_image; }
    // Any byte differing from the saved image counts; there is no flag.
    bool isModified() const { return !(m_image == m_saved); }

    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    // String ids of the change undo or redo would take back or do again (0 when there is none).
    int undoLabelId() const { return m_undo.empty() ? 0 : m_undo.back().labelId; }
    int redoLabelId() const { return m_redo.empty() ? 0 : m_redo.back().labelId; }
    int undoLabelArg() const { return m_undo.empty() ? 0 : m_undo.back().labelArg; }
    int redoLabelArg() const { return m_redo.empty() ? 0 : m_redo.back().labelArg; }
    std::size_t undoCount() const { return m_undo.size(); }
    void undo();
    void redo();

    // Observers are told in the order they subscribed, so a view that reads another
    // observer's state (the channel table's texts) subscribes after it.
    [[nodiscard]] Subscription observe(Observer observer);

private:
    struct Step {
        RadioImage before;
        RadioImage after;
        int labelId = 0;
        int labelArg = 0;
    };

    void travel(std::deque<Step>& from, std::deque<Step>& to, DocumentChange::Kind kind);
    void apply(const RadioImage& image, DocumentChange change);
    void notify(const DocumentChange& change);

    RadioImage m_image;
    RadioImage m_saved;
    BandLimits m_bands;
    std::deque<Step> m_undo;
    std::deque<Step> m_redo;
    ObserverList<const DocumentChange&> m_observers;
    bool m_notifying = false;
    bool m_held = false;
};

} // namespace norvik
