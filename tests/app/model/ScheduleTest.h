#pragma once
// What the tests of the schedule rules share: instants in a zone with
// daylight saving, entries made from them, the lines a rule logs or traces,
// and the check of an entry's times as its bytes hold them.
#include "TimeZone.h"
#include "model/CalendarTime.h"
#include "model/ScheduleRules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

class ScheduleTest : public BerlinTime {
protected:
    zrn::LineSink LogSink() {
        return [this](std::string_view line) { log.emplace_back(line); };
    }
    zrn::LineSink TraceSink() {
        return [this](std::string_view line) { trace.emplace_back(line); };
    }
    static std::int64_t At(int year, int month, int day, int hour, int minute, int second = 0) {
        return zrn::MakeLocalTime({year, month, day, hour, minute, second}).value();
    }
    static zrn::LocalDateTime Local(std::int64_t t) { return zrn::BreakLocalTime(t).value(); }
    // Entry `number` from start to stop; the durations all `durations` seconds.
    static zrn::ScheduleEntry Entry(int number, char status, std::int64_t start, std::int64_t stop,
                                    std::int64_t interval = 900, std::int64_t durations = 0) {
        zrn::ScheduleEntry e{};
        e.nNumber = static_cast<std::uint8_t>(number);
        zrn::SetEntryStart(e, start);
        zrn::SetEntryStop(e, stop);
        zrn::SetEntryInterval(e, interval);
        zrn::SetEntryOpenValve(e, durations);
        zrn::SetEntrySampleHolding(e, durations);
        zrn::SetEntryPumpOn(e, durations);
        e.chStatus = static_cast<std::uint8_t>(status);
        return e;
    }
    // The four entries' status bytes as one text, "A0D0".
    static std::string Statuses(const zrn::ScheduleTable& table) {
        std::string statuses;
        for (const zrn::ScheduleEntry& e : table)
            statuses += static_cast<char>(e.chStatus);
        return statuses;
    }
    // The entry's start and stop as local fields, and its four spans.
    static void ExpectTimes(const zrn::ScheduleEntry& e, const zrn::LocalDateTime& start,
                            const zrn::LocalDateTime& stop, std::int64_t interval,
                            std::int64_t valve, std::int64_t hold, std::int64_t pump) {
        EXPECT_EQ(zrn::EntryStartFields(e), start);
        EXPECT_EQ(zrn::EntryStopFields(e), stop);
        EXPECT_EQ(zrn::EntryInterval(e), interval);
        EXPECT_EQ(zrn::EntryOpenValve(e), valve);
        EXPECT_EQ(zrn::EntrySampleHolding(e), hold);
        EXPECT_EQ(zrn::EntryPumpOn(e), pump);
    }

    std::vector<std::string> log;
    std::vector<std::string> trace;
};
