#pragma once
// A starting state from a small key = value file, so runs are repeatable:
//
//   clock = 12/06/26 14:05:09        device clock at start (then it runs)
//   address = 3
//   delay = 15
//   firmware = 02.07
//   external_volts = 12.60
//   internal_volts = 3.55
//   valve = 60                       entry 5 durations in seconds, 0-999
//   hold = 60
//   pump = 60
//   sdi_version = 13                 identification fields, cut and right-aligned
//   manufacturer = ZRNSIM
//   model = ZRN100
//   manufacturer_version = 207
//   optional = SIM0001
//   schedule1 = A 12/06/26 08:00:00 12/13/26 08:00:00 01:00:00 00:01:00 00:01:00 00:01:00
//
// A schedule line holds status, start date and time, stop date and time, interval, valve,
// hold and pump. Values the device could not hold are errors, as are unknown keys, except
// in "raw_scheduleN" lines, which take any two-digit fields and any status character:
//
//   raw_schedule2 = D 13/45/26 25:61:00 00/00/00 08:00:00 24:00:00 01:99:00 00:01:00 00:01:00

#include "DeviceState.h"

#include <ctime>
#include <istream>
#include <string>

namespace zrnsim {

// The whole state as lines ApplyState takes back; the clock as the device shows it at now.
std::string FormatState(const DeviceState& state, std::time_t now);
// Writes FormatState to path through a temporary file and a rename: a reader
// never sees half of it. False when it cannot be written.
bool SaveStateFile(const std::string& path, const DeviceState& state, std::time_t now);

// Applies every line to state; false with "line N: reason" on the first bad one.
bool ApplyState(std::istream& in, DeviceState& state, std::time_t now, std::string& error);
bool LoadStateFile(const std::string& path, DeviceState& state, std::time_t now,
                   std::string& error);

} // namespace zrnsim
