// End to end: the play log and the summary's ending and bosses follow what the game did.
#include "e2e_support.h"

#include <map>

namespace {

using namespace e2e;

struct TLogEvent {
    std::string Name;
    long long Stage = 0, Kind = -1;
};

std::vector<TLogEvent> ReadLog(const fs::path& path) {
    std::vector<TLogEvent> events;
    for (const std::string& line : Lines(path)) {
        TLogEvent e;
        e.Name = TextField(line, "event");
        e.Stage = Field(line, "stage");
        if (line.find("\"kind\"") != std::string::npos) e.Kind = Field(line, "kind");
        events.push_back(e);
    }
    return events;
}

int Count(const std::vector<TLogEvent>& events, const std::string& name, long long kind = -2) {
    int n = 0;
    for (const TLogEvent& e : events) n += e.Name == name && (kind == -2 || e.Kind == kind);
    return n;
}

TEST(PlayLog, AGameOverLosesEveryShipAndAccountsForEveryBoss) {
    const fs::path home = MakeHome("playlog");
    const RunResult run = RunGame(home, "--autopilot 0 --autopilot-seed 3 --start-from 2 --no-draw --until-title "
                                        "--play-log " + (home / "log.jsonl").string());
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    const std::vector<TLogEvent> log = ReadLog(home / "log.jsonl");
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front().Name, "stage");
    EXPECT_EQ(log.front().Stage, 2);
    // Two spare ships: a game over loses three, a time over fewer.
    if (Count(log, "time_over") == 0) {
        EXPECT_EQ(Count(log, "life"), 3);
        EXPECT_EQ(Field(run.summary, "lives"), 0);
    } else {
        EXPECT_EQ(Count(log, "life"), 2 - Field(run.summary, "lives"));
    }
    // Every boss that came in was destroyed or went; the summary counts the destroyed.
    for (const long long kind : {7, 21, 24, 25}) {
        EXPECT_EQ(Count(log, "boss_in", kind), Count(log, "boss_down", kind) + Count(log, "boss_gone", kind))
            << "kind " << kind;
        EXPECT_LE(Count(log, "boss_down", kind), 1);
    }
    EXPECT_EQ(Field(run.summary, "bosses"), Count(log, "boss_down"));
    EXPECT_EQ(run.summary.find("\"ending\":true"), std::string::npos) << run.summary;
    EXPECT_EQ(Count(log, "busy"), Count(log, "stage"));  // one busiest moment per stage played
    fs::remove_all(home);
}

TEST(PlayLog, TheCreditsAreTheEndingWithNoBoss) {
    const fs::path home = MakeHome("playlog_credits");
    const RunResult run = RunGame(home, "--start-from 5 --ticks 60");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_NE(run.summary.find("\"ending\":true"), std::string::npos) << run.summary;
    EXPECT_EQ(Field(run.summary, "bosses"), 0);
    fs::remove_all(home);
}

}  // namespace
