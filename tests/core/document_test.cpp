#include <gtest/gtest.h>

#include <vector>

#include "core/helpers.h"
#include "core/image/radio_document.h"

using namespace norvik;
using namespace norvik::test;

namespace {

// Records every change the document announces.
struct Recorder {
    explicit Recorder(RadioDocument& doc)
        : subscription(doc.observe([this](const DocumentChange& c) { changes.push_back(c); })) {}
    std::vector<DocumentChange> changes;
    RadioDocument::Subscription subscription;
};

void setByte(RadioDocument& doc, int address, std::uint8_t value, int label = 1) {
    doc.edit(label, [&](RadioImage& img) { img.set(address, value); });
}

} // namespace

TEST(Document, AnnouncesEachChangeOnceWithItsAreaAndChannels) {
    struct Case {
        const char* name;
        int address;
        unsigned areas;
        int channel;
    };
    const Case cases[] = {
        {"row 0", 0x005, area::Options, 0},
        {"channel 1 record", 0x010, area::Channels, 1},
        {"channel 128 record", 0x80F, area::Channels, 128},
        {"first VFO", 0x810, area::Options, 0},
        {"manual bit byte", 0x831, area::Options, 0},
        {"name of channel 3, second row", 0x8D4, area::Channels, 3},
        {"name of channel 128", 0xC3F, area::Channels, 128},
        {"2-tone row", 0xC40, area::Options, 0},
        {"band limits", 0xD0F, area::BandLimits, 0},
        {"embedded message", 0xD10, area::Options, 0},
        {"tuning", 0xF00, area::Service, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RadioDocument doc;
        Recorder rec(doc);
        setByte(doc, c.address, static_cast<std::uint8_t>(doc.image().at(c.address) ^ 0x01), 7);
        ASSERT_EQ(rec.changes.size(), 1U);
        EXPECT_EQ(rec.changes[0].kind, DocumentChange::Kind::Edit);
        EXPECT_EQ(rec.changes[0].areas, c.areas);
        EXPECT_EQ(rec.changes[0].firstChannel(), c.channel);
        EXPECT_EQ(rec.changes[0].labelId, 7);
    }
}

TEST(Document, AnEditThatChangesNothingIsNeitherAnnouncedNorRecorded) {
    RadioDocument doc;
    Recorder rec(doc);
    doc.edit(1, [](RadioImage& img) { img.set(0x10, img.at(0x10)); });
    EXPECT_TRUE(rec.changes.empty());
    EXPECT_FALSE(doc.canUndo());
}

TEST(Document, UndoAndRedoWalkTheStepsAndTheModifiedStateFollowsTheBytes) {
    RadioDocument doc;
    const RadioImage start = doc.image();
    setByte(doc, 0x010, 0x14, 11);
    const RadioImage afterFirst = doc.image();
    doc.edit(12, [](RadioImage& img) {
        img.set(0x020, 0x43);
        img.set(0x8C7, 'A'); // name of channel 2
    });
    const RadioImage afterSecond = doc.image();
    EXPECT_EQ(doc.undoLabelId(), 12);

    Recorder rec(doc);
    doc.undo();
    EXPECT_EQ(doc.image(), afterFirst);
    ASSERT_EQ(rec.changes.size(), 1U);
    EXPECT_EQ(rec.changes[0].kind, DocumentChange::Kind::Undo);
    EXPECT_EQ(rec.changes[0].firstChannel(), 2); // the view moves to the channel taken back
    EXPECT_EQ(doc.redoLabelId(), 12);

    doc.undo();
    EXPECT_EQ(doc.image(), start);
    EXPECT_FALSE(doc.isModified()); // back at the saved bytes
    EXPECT_FALSE(doc.canUndo());

    doc.redo();
    doc.redo();
    EXPECT_EQ(doc.image(), afterSecond);
    EXPECT_TRUE(doc.isModified());
    EXPECT_FALSE(doc.canRedo());

    // A new change after an undo drops what could have been redone.
    doc.undo();
    setByte(doc, 0x030, 0x45);
    EXPECT_FALSE(doc.canRedo());
}

// New and Open start a fresh history; a read is one step that Undo takes back, unsaved edits
// included.
TEST(Document, ReplaceNormalisesAndKeepsTheHistoryOnlyForARead) {
    for (const auto saved : {RadioDocument::SavedImage::Take, RadioDocument::SavedImage::Keep}) {
        RadioDocument doc;
        setByte(doc, 0x010, 0x14);
        const RadioImage savedBefore = doc.savedImage();
        const RadioImage edited = doc.image();

        RadioImage loaded = randomImage(3);
        setBytes(loaded, channelAddress(5), hex("FF FF FF FF 01 02 03 04 05 06 07 08 09 0A 0B 0C"));
        loaded.setRow(kBandLimitsRow, randomImage(4).row(kBandLimitsRow));
        Recorder rec(doc);
        doc.replace(loaded, 9, saved);

        EXPECT_EQ(bytesAt(doc.image(), channelAddress(5), 16), Bytes(16, 0xFF)); // empty record emptied
        ASSERT_EQ(rec.changes.size(), 1U);
        EXPECT_EQ(rec.changes[0].kind, DocumentChange::Kind::Replace);
        EXPECT_EQ(rec.changes[0].areas, area::All);
        if (saved == RadioDocument::SavedImage::Take) {
            EXPECT_FALSE(doc.canUndo());
            EXPECT_FALSE(doc.isModified());
            continue;
        }
        EXPECT_EQ(doc.savedImage(), savedBefore); // a finished read counts as a change
        EXPECT_EQ(doc.undoCount(), 2U);
        EXPECT_EQ(doc.undoLabelId(), 9);
        doc.undo();
        EXPECT_EQ(doc.image(), edited);
        EXPECT_EQ(doc.bandLimits()[0], (Band{136, 174}));
        EXPECT_TRUE(doc.isModified());
        doc.redo();
        EXPECT_EQ(bytesAt(doc.image(), channelAddress(5), 16), Bytes(16, 0xFF));
    }
}

TEST(Document, BandLimitsFollowRow208WhateverChangedIt) {
    RadioDocument doc;
    doc.edit(1, [](RadioImage& img) { setBytes(img, 0xD00, hex("14 00 17 00")); });
    EXPECT_EQ(doc.bandLimits()[0], (Band{140, 170}));
    doc.undo();
    EXPECT_EQ(doc.bandLimits()[0], (Band{136, 174}));
    doc.redo();
    EXPECT_EQ(doc.bandLimits()[0], (Band{140, 170}));

    // New uses the limits in force, so its VFO record starts at the band's lower limit.
    EXPECT_EQ(bytesAt(doc.newImage(), 0x810, 2), hex("14 00"));
}

TEST(Document, HistoryKeepsTheNewestStepsUpToItsLimit) {
    RadioDocument doc;
    const std::size_t steps = RadioDocument::kUndoLimit + 20;
    for (std::size_t i = 0; i < steps; ++i)
        setByte(doc, 0x000, static_cast<std::uint8_t>(i % 2));
    EXPECT_EQ(doc.undoCount(), RadioDocument::kUndoLimit);
}

TEST(Document, AnObserverMayDropSubscriptionsWhileBeingTold) {
    RadioDocument doc;
    int firstCalls = 0;
    int secondCalls = 0;
    RadioDocument::Subscription second;
    RadioDocument::Subscription first = doc.observe([&](const DocumentChange&) {
        ++firstCalls;
        second.reset();
        first.reset();
    });
    second = doc.observe([&](const DocumentChange&) { ++secondCalls; });
    setByte(doc, 0x000, 0x01);
    setByte(doc, 0x000, 0x02);
    EXPECT_EQ(firstCalls, 1);
    EXPECT_EQ(secondCalls, 0);
}

TEST(Document, WhileHeldNothingChangesTheImageAndReleasingRestoresEditing) {
    RadioDocument doc;
    setByte(doc, 0x10, 0x12); // one step to undo
    setByte(doc, 0x10, 0x34);
    doc.undo(); // and one to redo
    const RadioImage held = doc.image();
    Recorder rec(doc);
    doc.setHeld(true);
    RadioImage other = doc.newImage();
    other.set(0x20, 0x99);
    EXPECT_EQ(doc.edit(1, [](RadioImage& img) { img.set(0x10, 0x56); }).areas, 0U);
    doc.replace(other, 1, RadioDocument::SavedImage::Take);
    doc.replace(other, 1, RadioDocument::SavedImage::Keep);
    doc.undo();
    doc.redo();
    EXPECT_TRUE(doc.image() == held);
    EXPECT_TRUE(rec.changes.empty());
    EXPECT_TRUE(doc.canUndo() && doc.canRedo());
    doc.setHeld(false);
    doc.redo();
    EXPECT_EQ(doc.image().at(0x10), 0x34);
}
