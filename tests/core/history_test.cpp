#include <gtest/gtest.h>

#include <set>

#include "core/clone/port_files.h"
#include "core/history/transfer_history.h"
#include "core/image/number_format.h"

namespace norvik {
namespace {

HistoryEntry sample(HistoryOutcome outcome, std::string detail = {}) {
    return {"2026-12-08T02:30:00+01:00",
            "write",
            "/dev/ttyUSB0",
            "0A1B",
            "radios, \"east\".dat",
            "CBF43926",
            outcome,
            std::move(detail),
            12.5,
            "/backups/2026-12-08/a b.dat"};
}

TEST(TransferHistory, LinesRoundTripWhateverTheFieldsHold) {
    const HistoryEntry cases[] = {
        sample(HistoryOutcome::Verified),
        sample(HistoryOutcome::Differs, "channel 5 RX Freq 145.50000 / 145.51250; 2 more"),
        sample(HistoryOutcome::Failed, "The radio did not answer, \"check the cable\"."),
        sample(HistoryOutcome::Cancelled),
        {"t", "read", " spaced ", "", "", "", HistoryOutcome::Completed, "", 0, ""},
    };
    for (const HistoryEntry& entry : cases) {
        const std::string line = historyLine(entry);
        SCOPED_TRACE(line);
        EXPECT_EQ(line.find('\n'), std::string::npos);
        EXPECT_EQ(parseHistoryLine(line), entry);
    }
    EXPECT_EQ(historyLine(sample(HistoryOutcome::Failed, "no answer")),
              "2026-12-08T02:30:00+01:00,write,/dev/ttyUSB0,0A1B,\"radios, \"\"east\"\".dat\",CBF43926,"
              "failed: no answer,12.5,\"/backups/2026-12-08/a b.dat\"");
}

TEST(TransferHistory, LineBreaksInAFieldKeepTheEntryOnOneLine) {
    const HistoryEntry entry = sample(HistoryOutcome::Failed, "first\nsecond");
    const std::vector<HistoryEntry> read = parseHistory(historyLine(entry) + "\n");
    ASSERT_EQ(read.size(), 1U);
    EXPECT_EQ(read[0].detail, "first second");
}

TEST(TransferHistory, TornAndForeignLinesAreSkippedAndTheRestKept) {
    const std::string a = historyLine(sample(HistoryOutcome::Verified));
    const std::string b = historyLine(sample(HistoryOutcome::Cancelled));
    // Every cut of a line is refused, whether the appender started the next line after it or not.
    for (std::size_t cut = 0; cut < b.size(); ++cut) {
        SCOPED_TRACE(cut);
        EXPECT_FALSE(parseHistoryLine(b.substr(0, cut)));
        const std::vector<HistoryEntry> tornInside = parseHistory(a + "\n" + b.substr(0, cut) + "\n" + a + "\n");
        EXPECT_EQ(tornInside.size(), 2U);
        EXPECT_EQ(parseHistory(a + "\r\n" + b.substr(0, cut)).size(), 1U);
    }
    for (const char* foreign : {"", "a,b,c", "t,write,p,i,f,c,exploded,1.0,\"\"", "t,write,p,i,f,c,verified,x,\"\"",
                                "t,write,p,i,f,c,verified,1.0,\"\",\"\""})
        EXPECT_FALSE(parseHistoryLine(foreign)) << foreign;
}

TEST(TransferHistory, ChecksumIsTheCrcOfTheRows) {
    RadioImage image;
    const std::string digits = "123456789";
    for (std::size_t i = 0; i < digits.size(); ++i)
        image.bytes()[RadioImage::address(3, 0) + i] = std::uint8_t(digits[i]);
    EXPECT_EQ(rowsChecksum(image, 3, 1), "6CA11CB4");
    EXPECT_EQ(rowsChecksum(image, 4, 1), "3FB3C61A");
    EXPECT_EQ(rowsChecksum(image, 0, 0), "00000000");
    EXPECT_EQ(hexText(std::vector<std::uint8_t>{0x00, 0xAB, 0x7F}), "00AB7F");
}

TEST(PortFiles, NamesAreThePortAndTheTimeAndNeverOneTaken) {
    const std::set<std::string> taken = {"ttyUSB0 2026-12-08 023000.dat", "ttyUSB0 2026-12-08 023000 (2).dat"};
    const auto isTaken = [&](const std::string& name) { return taken.contains(name); };
    const std::pair<const char*, const char*> cases[] = {
        {"/dev/ttyUSB0", "ttyUSB0 2026-12-08 023000 (3).dat"},
        {"/dev/pts/3", "pts-3 2026-12-08 023000.dat"},
        {"\\\\.\\COM23", "COM23 2026-12-08 023000.dat"},
        {"sim:1", "sim-1 2026-12-08 023000.dat"},
    };
    for (const auto& [device, name] : cases)
        EXPECT_EQ(portReadFileName(device, "2026-12-08 023000", isTaken), name) << device;
    EXPECT_EQ(portFileStem("/dev/ttyUSB0"), "ttyUSB0");
}

} // namespace
} // namespace norvik
