#include "core/image/radio_document.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <utility>

#include "core/image/defaults.h"

namespace norvik {
namespace {

constexpr int kBandRowStart = RadioImage::address(kBandLimitsRow, 0);
constexpr int kServiceStart = RadioImage::address(240, 0);
constexpr int kChannelsStart = channelAddress(1);
constexpr int kChannelsEnd = channelAddress(kChannelCount) + kRowSize;
constexpr int kNamesEnd = nameAddress(kChannelCount) + kNameLength;

// The channel whose record or name holds the address, 0 for none.
int channelOf(int address) {
    if (address >= kChannelsStart && address < kChannelsEnd)
        return address / kRowSize;
    if (address >= kNameAreaStart && address < kNamesEnd)
        return (address - kNameAreaStart) / kNameLength + 1;
    return 0;
}

} // namespace

unsigned areaOf(int address) {
    if (channelOf(address) != 0)
        return area::Channels;
    if (address >= kBandRowStart && address < kBandRowStart + kRowSize)
        return area::BandLimits;
    if (address >= kServiceStart)
        return area::Service;
    return area::Options;
}

int DocumentChange::firstChannel() const {
    for (int n = 1; n <= kChannelCount; ++n) {
        if (channels.test(static_cast<std::size_t>(n)))
            return n;
    }
    return 0;
}

DocumentChange diffImages(const RadioImage& before, const RadioImage& after) {
    DocumentChange change;
    const std::uint8_t* b = before.bytes().data();
    const std::uint8_t* a = after.bytes().data();
    // Every edit diffs the whole image; most rows are equal, so whole rows are compared first.
    for (int row = 0; row < kImageSize; row += kRowSize) {
        if (std::memcmp(b + row, a + row, kRowSize) == 0)
            continue;
        for (int i = row; i < row + kRowSize; ++i) {
            if (b[i] == a[i])
                continue;
            change.areas |= areaOf(i);
            if (const int n = channelOf(i))
                change.channels.set(static_cast<std::size_t>(n));
        }
    }
    return change;
}

// --- RadioDocument --------------------------------------------------------------------------

RadioDocument::RadioDocument() {
    m_bands.reset();
    norvik::writeNewImageDefaults(m_image, m_bands);
    takeSavedImage();
}

RadioImage RadioDocument::newImage() const {
    RadioImage image;
    norvik::writeNewImageDefaults(image, m_bands);
    return image;
}

DocumentChange RadioDocument::edit(int labelId, const std::function<void(RadioImage&)>& fn, int labelArg) {
    assert(!m_notifying && "an observer started a change while being told of one");
    if (m_held)
        return {};
    RadioImage after = m_image;
    fn(after);
    DocumentChange change = diffImages(m_image, after);
    change.kind = DocumentChange::Kind::Edit;
    change.labelId = labelId;
    change.labelArg = labelArg;
    if (change.areas == 0)
        return change;
    m_undo.push_back({m_image, after, labelId, labelArg});
    if (m_undo.size() > kUndoLimit)
        m_undo.pop_front();
    m_redo.clear();
    apply(after, change);
    return change;
}

void RadioDocument::replace(const RadioImage& image, int labelId, SavedImage saved) {
    assert(!m_notifying && "an observer started a change while being told of one");
    if (m_held)
        return;
    RadioImage loaded = image;
    normaliseChannels(loaded);
    if (saved == SavedImage::Take) {
        m_undo.clear();
    } else if (!(loaded == m_image)) {
        // A read keeps what it replaces, unsaved edits included, one undo away.
        m_undo.push_back({m_image, loaded, labelId});
        if (m_undo.size() > kUndoLimit)
            m_undo.pop_front();
    }
    m_redo.clear();
    DocumentChange change;
    change.kind = DocumentChange::Kind::Replace;
    change.areas = area::All;
    change.channels.set();
    change.channels.reset(0);
    change.labelId = labelId;
    m_image = loaded;
    m_bands.load(m_image);
    if (saved == SavedImage::Take)
        takeSavedImage();
    notify(change);
}

void RadioDocument::undo() {
    travel(m_undo, m_redo, DocumentChange::Kind::Undo);
}

void RadioDocument::redo() {
    travel(m_redo, m_undo, DocumentChange::Kind::Redo);
}

// Takes the newest step of `from` back (undo) or does it again (redo) and keeps it on `to`.
void RadioDocument::travel(std::deque<Step>& from, std::deque<Step>& to, DocumentChange::Kind kind) {
    if (from.empty() || m_held)
        return;
    Step step = std::move(from.back());
    from.pop_back();
    const RadioImage target = kind == DocumentChange::Kind::Undo ? step.before : step.after;
    DocumentChange change = diffImages(m_image, target);
    change.kind = kind;
    change.labelId = step.labelId;
    change.labelArg = step.labelArg;
    to.push_back(std::move(step));
    apply(target, change);
}

void RadioDocument::apply(const RadioImage& image, DocumentChange change) {
    m_image = image;
    if (change.touches(area::BandLimits))
        m_bands.load(m_image);
    notify(change);
}

void RadioDocument::notify(const DocumentChange& change) {
    m_notifying = true;
    m_observers.tell(change);
    m_notifying = false;
}

RadioDocument::Subscription RadioDocument::observe(Observer observer) {
    return m_observers.add(std::move(observer));
}

} // namespace norvik
