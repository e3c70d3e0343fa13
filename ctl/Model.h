#pragma once
// The program's pure rules that zrnctl shares with the dialog: wire forms,
// the schedule entry and its checks, local time, the SDI rules, the port list
// the permission hint and the text helpers. The one place in ctl/ that names
// app/ headers.

#include "model/ClockSync.h"
#include "model/Text.h"
#include "ports/PortAccess.h"
#include "ports/PortList.h"
#include "model/Catalogue.h"
#include "model/CalendarTime.h"
#include "model/ScheduleEntry.h"
#include "schedule/ScheduleLogic.h"
#include "model/ScheduleRules.h"
#include "settings/SdiRules.h"
