#pragma once
// The program's pure rules that zrnctl shares with the dialog: wire forms,
// the schedule entry and its checks, local time, the SDI rules, the port list
// the permission hint and the text helpers. The one place in ctl/ that names
// app/ headers.

#include "clock/ClockSync.h"
#include "platform/TextUtil.h"
#include "ports/PortAccess.h"
#include "ports/PortList.h"
#include "protocol/Catalogue.h"
#include "schedule/CalendarTime.h"
#include "schedule/ScheduleEntry.h"
#include "schedule/ScheduleLogic.h"
#include "schedule/ScheduleRules.h"
#include "settings/SdiRules.h"
