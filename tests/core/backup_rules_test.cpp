#include <gtest/gtest.h>

#include "core/backups/backup_rules.h"

using namespace norvik;

namespace {

BackupOrigin radio(const std::string& port, const std::string& ident) {
    return {BackupKind::Radio, port, ident, {}};
}
BackupOrigin file(BackupKind kind, const std::string& name) {
    return {kind, {}, {}, name};
}

} // namespace

TEST(BackupNames, EveryOriginComesBackFromItsName) {
    const BackupTime t{2026, 12, 8, 2, 15, 30};
    const struct {
        BackupName name;
        const char* fileName;
    } cases[] = {
        {{t, 1, radio("ttyUSB0", "0088ae00")}, "021530_radio_0088ae00_ttyUSB0.dat"},
        {{t, 1, radio("pts-3", "00")}, "021530_radio_00_pts-3.dat"},
        {{t, 1, radio("tty_odd_0", "ff")}, "021530_radio_ff_tty_odd_0.dat"},
        {{t, 2, file(BackupKind::FileReplaced, "customer A.dat")}, "021530-2_file_customer A.dat"},
        {{t, 12, file(BackupKind::FileReplaced, "list_of_2.csv")}, "021530-12_file_list_of_2.csv"},
        {{t, 1, file(BackupKind::FileReplaced, "noext")}, "021530_file_noext"},
        {{t, 1, file(BackupKind::UnsavedEdits, "Untitled.dat")}, "021530_unsaved_Untitled.dat"},
    };
    EXPECT_EQ(backupDayFolder(t), "2026-12-08");
    for (const auto& c : cases) {
        EXPECT_EQ(backupFileName(c.name), c.fileName);
        EXPECT_EQ(parseBackupName("2026-12-08", c.fileName), c.name) << c.fileName;
    }
    // A document name without ".dat" (or with ".DAT") still gives a data file.
    EXPECT_EQ(backupFileName({t, 1, file(BackupKind::UnsavedEdits, "a.DAT")}), "021530_unsaved_a.dat");
    EXPECT_EQ(backupFileName({t, 1, file(BackupKind::UnsavedEdits, "raw.bin")}), "021530_unsaved_raw.bin.dat");
    // Characters a file name cannot hold never reach it.
    EXPECT_EQ(backupFileName({t, 1, radio("a/b:c", "00")}), "021530_radio_00_a-b-c.dat");
}

TEST(BackupNames, AnythingTheProgramDidNotNameIsLeftOut) {
    const struct {
        const char* day;
        const char* file;
    } cases[] = {
        {"2026-12-8", "021530_file_a.dat"},      {"2026-02-30", "021530_file_a.dat"},
        {"notes", "021530_file_a.dat"},          {"2026-12-08", "notes.txt"},
        {"2026-12-08", "021560_file_a.dat"},     {"2026-12-08", "241530_file_a.dat"},
        {"2026-12-08", "02153_file_a.dat"},      {"2026-12-08", "021530-1_file_a.dat"},
        {"2026-12-08", "021530-02_file_a.dat"},  {"2026-12-08", "021530-x_file_a.dat"},
        {"2026-12-08", "021530_other_a.dat"},    {"2026-12-08", "021530_file_"},
        {"2026-12-08", "021530_radio_zz_p.dat"}, {"2026-12-08", "021530_radio_00_.dat"},
        {"2026-12-08", "021530_radio_00.dat"},   {"2026-12-08", "021530_radio_00_p.txt"},
        {"2026-12-08", "021530_unsaved_.dat"},   {"2026-12-08", "021530_unsaved_a.txt"},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(parseBackupName(c.day, c.file)) << c.day << '/' << c.file;
}

TEST(BackupNames, PortsBecomeFileNameParts) {
    EXPECT_EQ(portNamePart("/dev/ttyUSB0"), "ttyUSB0");
    EXPECT_EQ(portNamePart("/dev/pts/3"), "pts-3");
    EXPECT_EQ(portNamePart("\\\\.\\COM23"), "COM23");
    EXPECT_EQ(portNamePart("COM3"), "COM3");
    EXPECT_EQ(portNamePart(""), "port");
    RadioImage image;
    image.setByte(208, 0, 0xAB);
    image.setByte(208, 15, 0x01);
    EXPECT_EQ(identificationHex(image), "abffffffffffffffffffffffffffff01");
}

TEST(BackupRetention, OnlyWhatIsOlderThanTheDaysIsDue) {
    const BackupTime now{2026, 12, 8, 12, 0, 0};
    const struct {
        BackupTime taken;
        int days;
        bool due;
    } cases[] = {
        {{2026, 9, 9, 12, 0, 0}, 90, false},  // exactly 90 days
        {{2026, 9, 9, 11, 59, 59}, 90, true}, // a second more
        {{2026, 12, 8, 11, 0, 0}, 1, false},  {{2026, 12, 7, 11, 0, 0}, 1, true},
        {{2025, 12, 8, 12, 0, 0}, 364, true}, // across the year
        {{2027, 1, 1, 0, 0, 0}, 1, false},    // from the future: the clock was set back
        {{2000, 1, 1, 0, 0, 0}, 0, false},    // no days set: nothing goes
        {{2000, 1, 1, 0, 0, 0}, -5, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(backupExpired(c.taken, now, c.days), c.due)
            << backupDayFolder(c.taken) << ' ' << c.taken.hour << ':' << c.taken.minute << " days " << c.days;
}
