// lotto.spl: its records, the load at start, the save at close, and what never gets lost.
#include <gtest/gtest.h>

#include <cstring>

#include "base/Text.h"
#include "core/players/PlayersFile.h"
#include "support/TestSupport.h"

using namespace zf;
using namespace zf::test;

namespace {

// One record as another program may write it: `filler` after each text's ending zero.
std::string record(const std::string& name, int32_t shares, double balance, double winnings, double stakes,
                   const std::string& email, char filler = '\0') {
    std::string r(kPlayerRecordSize, filler);
    auto text = [&](size_t offset, size_t units, const std::string& t) {
        const std::string b = utf8ToUtf16le(t);
        std::memcpy(r.data() + offset, b.data(), b.size());
        if (b.size() < units * 2) r[offset + b.size()] = r[offset + b.size() + 1] = '\0';
    };
    text(0, kNameUnits, name);
    std::memcpy(r.data() + 52, &shares, 4);
    std::memcpy(r.data() + 56, &balance, 8);
    std::memcpy(r.data() + 64, &winnings, 8);
    std::memcpy(r.data() + 72, &stakes, 8);
    text(80, kEmailUnits, email);
    return r;
}

struct PlayersFile : ::testing::Test, WithSession {
    PlayersFile() : WithSession(dateValue(2021, 3, 15) + 0.75) {}
    TempDir dir;
    PlayersController& players = session.players;
    AppController& app = session.app;
    void SetUp() override { m.home = dir.path(); }
    void writeSpl(const std::string& bytes) { ASSERT_TRUE(writeFileAtomic(dir.file("lotto.spl"), bytes)); }
    const PlayerRow& row(int r) const { return session.players.ledger().row(r); }
};

} // namespace

TEST(PlayersRecord, FieldsAtTheirOffsets) {
    std::string out;
    ASSERT_FALSE(encodePlayers({{"Jürgen", "2", "12,5", "0", "-3", "j@example.org"}}, {}, out));
    ASSERT_EQ(out.size(), kPlayerRecordSize);
    EXPECT_EQ(out, record("Jürgen", 2, 12.5, 0, -3, "j@example.org"));
    EXPECT_EQ(out.substr(0, 14), std::string("J\0\xFC\0r\0g\0e\0n\0\0\0", 14));
    EXPECT_EQ(out.substr(338), std::string(6, '\0'));
    // A name that fills its field without an ending zero reads whole; a character beyond the BMP takes two units.
    const std::string full = record(std::string(26, 'n'), 1, 0, 0, 0, "");
    EXPECT_EQ(decodePlayers(full).rows[0][ColName], std::string(26, 'n'));
    EXPECT_EQ(utf16leToUtf8(utf8ToUtf16le("a\xF0\x9F\x98\x80z")), "a\xF0\x9F\x98\x80z");
}

TEST_F(PlayersFile, LoadShowsGeneralNumbersAndSkipsEmptyNames) {
    writeSpl(record("Anna", 2, 12.5, 1.25, 0.1 + 0.2, "anna@example.org", '\x7F') + record("", 9, 1, 1, 1, "x") +
             record("Bernd", 1, -3, 0, 0, ""));
    app.start(dir.path(), 573);
    EXPECT_TRUE(app.problems().empty());
    EXPECT_EQ(row(1), (PlayerRow{"Anna", "2", "12,5", "1,25", "0,3", "anna@example.org"}));
    EXPECT_EQ(row(2), PlayerRow{});
    EXPECT_EQ(row(3), (PlayerRow{"Bernd", "1", "-3", "0", "0", ""}));
    EXPECT_EQ(players.ledger().rowCount(), 49);
    EXPECT_EQ(players.totals().countText, "2 Spieler mit 3 Anteilen");
}

// Nothing changed: the file stays as it is, filler, gaps and precision included. A booking writes the
// whole file anew; what the user did not touch keeps its bytes.
TEST_F(PlayersFile, RoundTripKeepsWhatDidNotChange) {
    const std::string anna = record("Anna", 2, 0.1 + 0.2, 0, 0, "anna@example.org", '\x55');
    const std::string bytes = anna + record("", 0, 0, 0, 0, "") + record("Bernd", 1, 10, 0, 0, "b@example.org");
    writeSpl(bytes);
    const auto before = inode(dir.file("lotto.spl"));
    app.start(dir.path(), 573);
    ASSERT_TRUE(app.close(false, false));
    EXPECT_EQ(inode(dir.file("lotto.spl")), before);
    EXPECT_EQ(contents(dir.file("lotto.spl")), bytes);

    app.start(dir.path(), 573);
    players.selectRow(3);
    prompter.inputs = {"2,5"};
    ASSERT_EQ(players.bookPaymentCurrent(), BookingResult::Booked);
    EXPECT_EQ(row(3)[ColBalance], "12,50000");
    ASSERT_TRUE(app.close(false, false));
    EXPECT_NE(inode(dir.file("lotto.spl")), before);
    EXPECT_EQ(contents(dir.file("lotto.spl")), anna + record("Bernd", 1, 12.5, 0, 0, "b@example.org"));

    app.start(dir.path(), 573);
    EXPECT_EQ(row(2), (PlayerRow{"Bernd", "1", "12,5", "0", "0", "b@example.org"}));
}

TEST_F(PlayersFile, MoreThanFortyNinePlayersGrowTheTable) {
    std::string bytes;
    for (int i = 1; i <= 60; ++i) bytes += record("P" + std::to_string(i), 1, i, 0, 0, "");
    writeSpl(bytes);
    app.start(dir.path(), 573);
    ASSERT_EQ(players.ledger().rowCount(), 60);
    EXPECT_EQ(row(60)[ColName], "P60");
    ASSERT_TRUE(players.setCell(60, ColShares, "2"));
    ASSERT_TRUE(app.close(false, false));
    std::string after;
    ASSERT_TRUE(readFile(dir.file("lotto.spl"), after));
    ASSERT_EQ(after.size(), 60 * kPlayerRecordSize);
    EXPECT_EQ(decodePlayers(after).rows[59], (PlayerRow{"P60", "2", "60", "0", "0", ""}));
}

TEST_F(PlayersFile, ATruncatedFileIsKeptAsBackupBeforeTheSave) {
    const std::string bytes = record("Anna", 1, 5, 0, 0, "") + std::string(100, 'x');
    writeSpl(bytes);
    app.start(dir.path(), 573);
    ASSERT_EQ(app.problems().size(), 1u);
    EXPECT_NE(app.problems()[0].find("unvollständigen Datensatz (100 Byte)"), std::string::npos);
    EXPECT_EQ(row(1)[ColName], "Anna");
    ASSERT_TRUE(players.setCell(2, ColName, "Bernd"));
    ASSERT_TRUE(app.close(false, false));
    EXPECT_EQ(contents(dir.file("lotto.spl.bak")), bytes);
    EXPECT_EQ(contents(dir.file("lotto.spl")), record("Anna", 1, 5, 0, 0, "") + record("Bernd", 1, 0, 0, 0, ""));
}

// A save that cannot be made says so at close and leaves the file in place.
TEST_F(PlayersFile, AFailedSaveIsReportedAndTheFileStays) {
    const std::string bytes = record("Anna", 1, 5, 0, 0, "");
    writeSpl(bytes);
    app.start(dir.path(), 573);
    ASSERT_TRUE(players.setCell(1, ColBalance, "fünf"));
    EXPECT_FALSE(app.close(false, false));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0],
              "Beim Mitspieler \"Anna\" ist das Guthaben keine Zahl; die Mitspieler wurden nicht gespeichert.");
    EXPECT_EQ(contents(dir.file("lotto.spl")), bytes);

    // Another program changed the file since the start: it stays.
    ASSERT_TRUE(players.setCell(1, ColBalance, "6"));
    writeSpl(record("Zoe", 1, 1, 0, 0, ""));
    EXPECT_FALSE(app.close(false, false));
    EXPECT_NE(prompter.messages.back().find("von einem anderen Programm geändert"), std::string::npos);
    EXPECT_EQ(contents(dir.file("lotto.spl")), record("Zoe", 1, 1, 0, 0, ""));
}
