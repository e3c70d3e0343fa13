#pragma once
// Shared by the schedule panel's files: the printf-style builder of its log
// lines and the sinks its rules write through.
#include "model/ScheduleRules.h"
#include "shell/ZRNcomDlg.h"

#include <string>

namespace schedpanel {

// The format is always a literal of the program.
std::string Text(const char* format, ...) __attribute__((format(printf, 1, 2)));

zrn::LineSink LogSink(CZRNcomDlg& dialog); // the log box, through AppendLog
zrn::LineSink TraceSink();                 // the debugger output only

// The entry's status change, then the query whose answer confirms it; a
// refusal is told.
void SendStatusChange(CZRNcomDlg& dialog, const zrn::ScheduleEntry& entry);

} // namespace schedpanel
