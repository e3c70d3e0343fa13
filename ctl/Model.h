#pragma once
// What zrnctl shares with the dialog: the model (wire forms, the schedule
// entry and its checks, local time, the plan file, the SDI rules, the text
// helpers), the fleet state (backups, the journal of changes) and the device
// session (reply matching, the port list, the plan-import policy). The one
// place in ctl/ that names app/ headers.

#include "base/Text.h"
#include "device/PlanImport.h"
#include "device/PortList.h"
#include "device/Replies.h"
#include "fleet/Backup.h"
#include "fleet/Journal.h"
#include "model/CalendarTime.h"
#include "model/Catalogue.h"
#include "model/ClockSync.h"
#include "model/Plan.h"
#include "model/PlanCheck.h"
#include "model/PlanFile.h"
#include "model/PlanJson.h"
#include "model/PlanRules.h"
#include "model/PlanText.h"
#include "model/ScheduleEntry.h"
#include "model/ScheduleRules.h"
#include "model/SdiRules.h"

namespace zrnctl {

// The plan file's names, as zrnctl has always used them.
using zrn::AddressFault;
using zrn::CheckPlanFits;
using zrn::DateTimeFault;
using zrn::DateTimeText;
using zrn::DelayFault;
using zrn::Fault;
using zrn::HoursText;
using zrn::Json;
using zrn::JsonText;
using zrn::MinutesText;
using zrn::OneLine;
using zrn::ParseDateTime;
using zrn::ParseHours;
using zrn::ParseMinutes;
using zrn::Plan;
using zrn::PLAN_FORMAT;
using zrn::PlannedSchedule;
using zrn::ReadPlan;
using zrn::Refusal;
using zrn::ScheduleJson;
using zrn::ScheduleKey;
using zrn::ScheduleLine;
using zrn::SdiChange;
using zrn::SdiDurationFault;
using zrn::Span;
using zrn::SpanFault;
using zrn::StatusText;
using zrn::WritePlan;

} // namespace zrnctl
