// What the program knows of the device's schedules, against the simulated
// device on a line that loses answers: whatever is lost, an entry counts as read
// only with the device's own values, a lost reply is asked again a bounded
// number of times, and a change the device did not take is always reported.
#include "Device.h"
#include "model/DeviceSchedules.h"
#include "protocol/ReplyTracker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <map>
#include <random>
#include <string>
#include <vector>

using namespace zrn;

namespace {

// The program's end of a line whose answers are lost at dropRate: the queue of
// commands, the awaited replies, what is known of the schedules.
class LossyLine {
public:
    LossyLine(std::uint64_t seed, double dropRate)
        : device(zrnsim::DefaultState(1'780'000'000), [] { return std::time_t{1'780'000'000}; }),
          rng(seed), drop(dropRate) {}

    void Send(const std::string& command) {
        queue.push_back(command);
        tracker.Sent(command);
    }
    void Apply(const DeviceSchedules::Outcome& outcome) {
        for (const std::string& query : outcome.ask)
            Send(query);
        if (outcome.report)
            reports.push_back(*outcome.report);
    }
    // The device takes every queued command in order; some answers never arrive.
    void Drain() {
        while (!queue.empty()) {
            const std::string command = queue.front();
            queue.pop_front();
            const zrnsim::Answer answer = device.Handle(command);
            if (!answer.reply || std::bernoulli_distribution(drop)(rng))
                continue;
            for (const std::string& lost : tracker.Arrived(*answer.reply))
                Apply(known.Lost(lost));
            if (answer.reply->front() == 'S')
                Apply(known.Arrived(ParseScheduleReply(*answer.reply)));
        }
    }
    // Polls until no read waits: a poll's reply shows which replies before it were lost.
    void Settle() {
        for (int poll = 0; poll < 200 && Reading(); ++poll) {
            Send("C");
            Drain();
        }
    }
    bool Reading() const {
        for (int i = 0; i < SCHEDULE_ENTRY_COUNT; ++i)
            if (known.State(i) == ReadState::Reading)
                return true;
        return false;
    }
    // The entry as the device holds it, read without faults.
    ScheduleEntry Truth(int index) {
        DeviceSchedules fresh;
        for (const std::string& query : fresh.BeginRead(index))
            fresh.Arrived(ParseScheduleReply(*device.Handle(query).reply));
        return fresh.Entry(index);
    }

    zrnsim::Device device;
    ReplyTracker tracker;
    DeviceSchedules known;
    std::deque<std::string> queue;
    std::vector<std::string> reports;
    std::mt19937_64 rng;
    double drop;
};

ScheduleEntry RandomEntry(int number, std::mt19937_64& rng) {
    auto pick = [&](int low, int high) { return std::uniform_int_distribution(low, high)(rng); };
    ScheduleEntry e{};
    e.nNumber = static_cast<std::uint8_t>(number);
    auto set = [&](std::uint8_t& field, int low, int high) {
        field = static_cast<std::uint8_t>(pick(low, high));
    };
    set(e.nStartYear, 26, 37), set(e.nStartMonth, 1, 12), set(e.nStartDay, 1, 28);
    set(e.nStartHour, 0, 23), set(e.nStartMinute, 0, 59), set(e.nStartSecond, 0, 59);
    set(e.nStopYear, 26, 37), set(e.nStopMonth, 1, 12), set(e.nStopDay, 1, 28);
    set(e.nStopHour, 0, 23), set(e.nStopMinute, 0, 59), set(e.nStopSecond, 0, 59);
    set(e.nIntervalHours, 0, 23), set(e.nIntervalMinutes, 0, 59), set(e.nIntervalSeconds, 0, 59);
    set(e.nValveMinutes, 0, 59), set(e.nValveSeconds, 0, 59);
    set(e.nHoldMinutes, 0, 59), set(e.nHoldSeconds, 0, 59);
    set(e.nPumpMinutes, 0, 59), set(e.nPumpSeconds, 0, 59);
    e.chStatus = STATUS_INACTIVE;
    return e;
}

} // namespace

TEST(DeviceSchedules, EveryEntryIsReadWithTheDevicesValuesOrNotReadWhateverIsLost) {
    int notRead = 0, reads = 0, changes = 0;
    for (std::uint64_t seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE(seed);
        LossyLine line(seed, seed % 3 == 0 ? 0.25 : 0.05);
        std::mt19937_64& rng = line.rng;
        for (int step = 0; step < 40; ++step) {
            const int index = std::uniform_int_distribution(0, 3)(rng);
            const int number = index + 1;
            const bool refused = std::bernoulli_distribution(0.3)(rng);
            std::optional<Expectation> expect;
            switch (std::uniform_int_distribution(0, 3)(rng)) {
            case 0:
                for (const std::string& query : line.known.BeginRead(index))
                    line.Send(query);
                break;
            case 1: { // an upload; a refused one loses one of its commands
                const ScheduleEntry entry = RandomEntry(number, rng);
                CommandList upload = ScheduleUploadSequence(entry);
                if (refused)
                    upload.erase(upload.begin() + std::uniform_int_distribution<long>(1, 9)(rng));
                for (const std::string& command : upload)
                    line.Send(command);
                expect = Expectation{Change::Upload, entry};
                break;
            }
            default: { // a status change
                const char status = "AD0"[std::uniform_int_distribution(0, 2)(rng)];
                if (!refused)
                    line.Send(ScheduleStatusCommand(number, status));
                ScheduleEntry meant = line.known.Entry(index);
                meant.chStatus = static_cast<std::uint8_t>(status);
                expect = Expectation{status == 'A'   ? Change::Activate
                                     : status == 'D' ? Change::Deactivate
                                                     : Change::Delete,
                                     meant};
                break;
            }
            }
            if (expect) {
                ++changes;
                const std::uint16_t parts =
                    expect->change == Change::Upload ? ALL_PARTS : STATUS_PART;
                for (const std::string& query : line.known.BeginRead(index, parts, expect))
                    line.Send(query);
            }
            const std::size_t reportsBefore = line.reports.size();
            line.Drain();
            line.Settle();
            ASSERT_FALSE(line.Reading()) << "a read never ends";

            const ScheduleEntry truth = line.Truth(index);
            const ReadState state = line.known.State(index);
            if (state == ReadState::Read) {
                ++reads;
                const ScheduleEntry& known = line.known.Entry(index);
                EXPECT_EQ(known.chStatus, truth.chStatus);
                if (truth.chStatus != STATUS_EMPTY) {
                    EXPECT_EQ(known, truth) << "values that did not come from the device";
                }
            } else {
                ++notRead;
                EXPECT_EQ(state, ReadState::NotRead);
            }
            if (expect) {
                const bool taken = expect->change == Change::Upload
                                       ? truth == expect->entry
                                       : truth.chStatus == expect->entry.chStatus;
                const bool told = line.reports.size() == reportsBefore + 1;
                EXPECT_EQ(told, !taken || state == ReadState::NotRead)
                    << (told ? line.reports.back() : "nothing told");
            } else {
                EXPECT_EQ(line.reports.size(), reportsBefore);
            }
        }
    }
    // The run exercised both ends: reads that made it, and some that gave up.
    EXPECT_GT(reads, 1000);
    EXPECT_GT(notRead, 0);
    EXPECT_GT(changes, 1000);
}

TEST(DeviceSchedules, ALostReplyIsAskedAgainThenTheEntryIsNotRead) {
    DeviceSchedules known;
    const CommandList first = known.BeginRead(1);
    ASSERT_EQ(first.size(), 9u);
    EXPECT_EQ(first.front(), "S2?");
    for (int ask = 2; ask <= MAX_ASKS; ++ask)
        EXPECT_EQ(known.Lost("S2BD").ask, (CommandList{"S2BD"}));
    const DeviceSchedules::Outcome last = known.Lost("S2BD");
    EXPECT_TRUE(last.ask.empty());
    EXPECT_TRUE(last.bGaveUp);
    EXPECT_EQ(known.State(1), ReadState::NotRead);
    EXPECT_TRUE(known.Lost("S2BT").ask.empty()) << "no more asking once given up";
}

TEST(DeviceSchedules, AStatusReadOfASlotWithUnknownValuesAsksForThemWhenItHoldsASchedule) {
    DeviceSchedules known;
    EXPECT_EQ(known.BeginRead(2, STATUS_PART), (CommandList{"S3?"}));
    const DeviceSchedules::Outcome status = known.Arrived(ParseScheduleReply("S3D"));
    EXPECT_EQ(status.ask.size(), 8u);
    EXPECT_EQ(status.ask.front(), "S3BD");
    EXPECT_EQ(known.State(2), ReadState::Reading);
    // An empty slot needs nothing more than its status.
    EXPECT_EQ(known.BeginRead(3, STATUS_PART), (CommandList{"S4?"}));
    EXPECT_TRUE(known.Arrived(ParseScheduleReply("S40")).bCompleted);
}

TEST(DeviceSchedules, AClosedLinkEndsEveryReadInFlightAndTellsWhatWasNotCheckedBack) {
    DeviceSchedules known;
    ScheduleEntry entry{};
    entry.nNumber = 1;
    entry.chStatus = STATUS_ACTIVE;
    known.BeginRead(0, STATUS_PART, Expectation{Change::Activate, entry});
    known.BeginRead(1);
    const std::vector<DeviceSchedules::Outcome> closed = known.LinkClosed();
    ASSERT_EQ(closed.size(), 2u);
    EXPECT_EQ(closed[0].report.value_or(""),
              "Schedule 1 could not be read back.\nIt may not be activated.");
    EXPECT_FALSE(closed[1].report);
    EXPECT_EQ(known.State(1), ReadState::NotRead);
}

TEST(ReplyTracker, WhatIsReportedLostIsWhatTheLineLost) {
    // Queries with repeated keys, commands that get no reply, and a line that
    // drops answers: what the tracker reports as lost is, key for key, what was
    // dropped, once a last query gets through.
    const char* pool[] = {"C",   "L",   "A",   "B",   "S5V", "S1?", "S1BD",
                          "S2?", "S2I", "S3P", "S1A", "S2D", "?",   "S1BD|01/02/27|"};
    std::mt19937_64 rng(7);
    for (int run = 0; run < 500; ++run) {
        ReplyTracker tracker;
        std::map<std::string, int> dropped, reported;
        const int length = std::uniform_int_distribution(1, 60)(rng);
        for (int i = 0; i <= length; ++i) {
            const bool last = i == length;
            const std::string command =
                last ? "F" : pool[std::uniform_int_distribution<std::size_t>(0, 13)(rng)];
            tracker.Sent(command);
            const auto key = QueryReplyKey(command);
            if (!key)
                continue;
            if (!last && std::bernoulli_distribution(0.3)(rng)) {
                ++dropped[*key];
                continue;
            }
            // The device's reply carries the query's letters, a status or values.
            const std::string reply =
                key->back() == '?' ? key->substr(0, 2) + "D" : *key + "|00:00:00|";
            for (const std::string& lost : tracker.Arrived(reply))
                ++reported[lost];
        }
        EXPECT_EQ(reported, dropped);
        EXPECT_EQ(tracker.Awaited(), 0u);
    }
    EXPECT_TRUE(ReplyTracker().Arrived("S1A").empty()) << "a reply nobody asked for";
}
