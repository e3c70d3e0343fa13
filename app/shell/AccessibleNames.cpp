#include "shell/AccessibleNames.h"

#include "platform/Dialog.h"
#include "resources/Resource.h"

#include <string_view>

namespace {

struct RoleName {
    int id;
    std::string_view name;
};

// Pairs of boxes share one label ("ZRN:", "Start Date:"), and some controls have
// none; each is named by its role.
constexpr RoleName kNames[] = {
    {IDC_BANNER, "QUORVANEX web page"},
    {IDC_LIST_CTRL, "Schedules"},
    {IDC_ZRN_DATE, "ZRN date"},
    {IDC_ZRN_TIME, "ZRN time"},
    {IDC_ZRN_DATE_TEXT, "ZRN date"},
    {IDC_ZRN_TIME_TEXT, "ZRN time"},
    {IDC_PC_DATE, "PC date"},
    {IDC_PC_TIME, "PC time"},
    {IDC_START_TIME, "Start Time"},
    {IDC_STOP_TIME, "Stop Time"},
    {IDC_EXTERNAL_VOLTS, "External battery voltage"},
    {IDC_INTERNAL_VOLTS, "Internal battery voltage"},
    {IDC_UNUSED_EDIT, "Unused"},
    {IDC_TAB, "View"},
    {IDC_LOG, "Log"},
};

} // namespace

void NameUnlabelledControls(CDialog& dialog) {
    for (const RoleName& entry : kNames)
        dialog.SetAccessibleName(entry.id, entry.name);
}
