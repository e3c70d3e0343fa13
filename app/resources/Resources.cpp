#include "resources/Resources.h"

#include "platform/Win.h"
#include "resources/Resource.h"

using namespace win;

namespace {

using enum ControlKind; // Icon is the control kind here, not the picture

constexpr unsigned RO = ES_READONLY;

constexpr ControlTemplate kMainControls[] = {
    {IDC_BANNER, Picture, "", 194, 10, 246, 31, SS_NOTIFY, IDB_BANNER},
    // First in the tab order, so the dialog opens with the focus on the list: the clock
    // boxes turn into pickers when they take the focus.
    // Tall enough for the four schedules with the header, at the default font on
    // both backends.
    {IDC_LIST_CTRL, ListView, "", 10, 100, 430, 65, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS},
    // Empty until a device answers: then the port it answers on.
    {IDC_STATIC, Static, "Port:", 10, 31, 22, 8},
    {IDC_PORT_IN_USE, Edit, "", 35, 28, 150, 14, RO},
    // Device clock
    {IDC_STATIC, Static, "ZRN:", 10, 51, 22, 8},
    {IDC_ZRN_DATE, DateTime, "", 35, 48, 60, 15, DTS_SHORTDATEFORMAT | NOT_VISIBLE},
    {IDC_ZRN_TIME, DateTime, "", 95, 48, 60, 15, DTS_TIMEFORMAT | NOT_VISIBLE},
    {IDC_ZRN_DATE_TEXT, Edit, "", 35, 48, 60, 14, RO},
    {IDC_ZRN_TIME_TEXT, Edit, "", 95, 48, 60, 14, RO},
    {IDC_CANCEL_CLOCK_EDIT, Button, "X", 155, 48, 15, 15, NOT_VISIBLE},
    {IDC_STATIC, Static, "PC:", 10, 71, 22, 8},
    {IDC_PC_DATE, Edit, "", 35, 68, 60, 14, RO},
    {IDC_PC_TIME, Edit, "", 95, 68, 60, 14, RO},
    {IDC_UPDATE_ZRN_CLOCK, Button, "&Update ZRN Clock", 175, 48, 100, 14},
    {IDC_SYNC_ZRN_CLOCK, Button, "Synchronize &ZRN clock to PC", 175, 68, 100, 14},
    {IDC_STATIC, Static, "Version:", 295, 58, 40, 8},
    {IDC_VERSION, Edit, "", 295, 68, 40, 14, RO},
    {IDC_SCHEDULE_REFRESH, Button, "Schedule &Refresh", 355, 48, 85, 14},
    {IDC_EXIT, Button, "E&XIT", 355, 68, 85, 14},
    // SDI-12 settings
    {IDC_STATIC, Static, "SDI-12", 10, 87, 30, 8},
    {IDC_STATIC, Static, "Address: ", 54, 87, 31, 8},
    {IDC_SDI_ADDRESS, Edit, "", 86, 85, 20, 12, RO},
    {IDC_STATIC, Static, "Delay: ", 128, 87, 27, 8},
    {IDC_SDI_DELAY, Edit, "", 156, 85, 20, 12, RO},
    {IDC_STATIC, Static, "Valve secs:", 196, 86, 43, 8},
    {IDC_VALVE_SECS, Edit, "", 240, 84, 25, 12, RO},
    {IDC_STATIC, Static, "Hold secs:", 280, 86, 39, 8},
    {IDC_HOLD_SECS, Edit, "", 320, 84, 25, 12, RO},
    {IDC_STATIC, Static, "Pump secs:", 362, 86, 41, 8},
    {IDC_PUMP_SECS, Edit, "", 404, 84, 25, 12, RO},
    // Schedule list and editor
    {IDC_STATIC, GroupBox, "Schedule", 10, 172, 430, 72},
    {IDC_STATIC, Static, "Start Date:", 18, 198, 44, 8},
    {IDC_START_DATE, DateTime, "", 63, 195, 60, 15, DTS_SHORTDATEFORMAT | WS_DISABLED},
    {IDC_START_TIME, DateTime, "", 123, 195, 60, 15, DTS_TIMEFORMAT | WS_DISABLED},
    {IDC_STATIC, Static, "Stop Date:", 18, 221, 44, 8},
    {IDC_STOP_DATE, DateTime, "", 63, 218, 60, 15, DTS_SHORTDATEFORMAT | WS_DISABLED},
    {IDC_STOP_TIME, DateTime, "", 123, 218, 60, 15, DTS_TIMEFORMAT | WS_DISABLED},
    {IDC_STATIC, GroupBox, "Select Interval", 205, 184, 110, 55},
    {IDC_RADIO_15MIN, RadioButton, "15 min", 213, 197, 45, 10, WS_GROUP},
    {IDC_RADIO_30MIN, RadioButton, "30 min", 213, 210, 45, 10},
    {IDC_RADIO_1HOUR, RadioButton, "1 hour", 213, 223, 45, 10},
    {IDC_RADIO_24HOURS, RadioButton, "24 hours", 263, 197, 45, 10},
    {IDC_RADIO_CUSTOM, RadioButton, "Custom", 263, 210, 45, 10},
    {IDC_BUTTON_ADD, Button, "Add", 341, 187, 45, 14, WS_GROUP},
    {IDC_BUTTON_DELETE, Button, "Delete", 392, 187, 45, 14},
    {IDC_BUTTON_DISCARD, Button, "D&iscard", 360, 204, 50, 14},
    {IDC_BUTTON_ENABLE, Button, "Acti&vate", 341, 221, 38, 14},
    {IDC_BUTTON_DISABLE, Button, "&Deactivate", 381, 221, 50, 14},
    // Custom timing
    {IDC_STATIC, GroupBox, "Custom Schedule", 10, 249, 215, 55},
    {IDC_STATIC, Static, "Interval", 18, 263, 50, 8},
    {IDC_INTERVAL, DateTime, "", 71, 261, 40, 14, DTS_TIMEFORMAT | WS_DISABLED},
    {IDC_STATIC, Static, "Open Valve", 118, 263, 50, 8},
    {IDC_OPEN_VALVE, DateTime, "", 171, 261, 40, 14, DTS_TIMEFORMAT | WS_DISABLED},
    {IDC_STATIC, Static, "Sample Holding", 16, 284, 54, 8},
    {IDC_SAMPLE_HOLDING, DateTime, "", 71, 282, 40, 14, DTS_TIMEFORMAT | WS_DISABLED},
    {IDC_STATIC, Static, "Pump ON", 118, 284, 50, 8},
    {IDC_PUMP_ON, DateTime, "", 171, 282, 40, 14, DTS_TIMEFORMAT | WS_DISABLED},
    // Battery voltages
    {IDC_STATIC, GroupBox, "Battery Voltage", 235, 249, 105, 55},
    {IDC_STATIC, Static, "External", 245, 263, 40, 8},
    {IDC_EXTERNAL_VOLTS, Edit, "", 289, 261, 40, 14, RO},
    {IDC_STATIC, Static, "Internal", 245, 284, 40, 8},
    {IDC_INTERNAL_VOLTS, Edit, "", 289, 282, 40, 14, RO},
    {IDC_BUTTON_CLEAR_ALL, Button, "&Clear All Schedules", 351, 249, 78, 14},
    {IDC_BUTTON_SAVE, Button, "&Save", 364, 275, 50, 14},
    // Below the visible area: they exist and work, but the dialog clips them.
    {IDC_BUTTON_SCHEDULE, Button, "Schedule", 10, 334, 45, 14},
    {IDC_BUTTON_CLOCK, Button, "Clock", 60, 334, 45, 14},
    {IDC_BUTTON_VOLTAGES, Button, "Voltages", 110, 334, 45, 14},
    {IDC_BUTTON_VERSION, Button, "Version", 160, 334, 45, 14},
    {IDC_BUTTON_PROPERTIES, Button, "Properties", 210, 334, 45, 14},
    {IDC_CHECK, CheckBox, "Check", 262, 334, 40, 10},
    {IDC_UNUSED_EDIT, Edit, "", 310, 334, 40, 14, RO},
    {IDC_TAB, Tab, "", 10, 352, 120, 14, NOT_VISIBLE},
    {IDC_STATIC, Static, "Select Item:", 138, 355, 42, 8},
    {IDC_SELECT_ITEM, Edit, "", 182, 352, 30, 12, ES_NUMBER},
    {IDC_STATIC, Static, "Number of items:", 218, 355, 58, 8},
    {IDC_NUMBER_OF_ITEMS, Edit, "", 277, 352, 30, 12, ES_NUMBER},
    {IDC_STYLES, Button, "Styles...", 315, 352, 40, 14, NOT_VISIBLE},
    {IDC_EXTENDED_STYLES, Button, "Extended Styles...", 360, 352, 65, 14, NOT_VISIBLE},
    {IDC_LOG, Edit, "", 21, 375, 283, 33, ES_MULTILINE | RO | WS_VSCROLL | WS_HSCROLL},
    {IDC_CLEAR_LOG, Button, "Clear Log", 310, 375, 50, 14},
    {IDC_GET_SELECTED, Button, "Get Selected", 365, 375, 55, 14, NOT_VISIBLE},
};

constexpr ControlTemplate kAboutControls[] = {
    {IDC_STATIC, Icon, "", 11, 14, 20, 20, 0, IDR_MAINFRAME},
    {IDC_ABOUT_VERSION, Static, "QUORVANEX ZRNcom Version 1.0", 40, 10, 119, 8, SS_NOPREFIX},
    {IDC_ABOUT_URL, Static, kMakerWebPage, 40, 20, 119, 8},
    {IDC_STATIC, Static, kMakerLegalNotice, 40, 30, 119, 8},
};

constexpr MenuItem kEntryAddItems[] = {{ID_ENTRY_ADD, "&Add"}};
constexpr MenuItem kEntryDisabledItems[] = {{ID_ENTRY_ACTIVATE, "&Activate"},
                                            {ID_ENTRY_DELETE, "D&elete"},
                                            {ID_ENTRY_PROPERTIES, "&Properties"},
                                            {},
                                            {ID_ENTRY_TEST_DISABLED, "Test"},
                                            {},
                                            {ID_ENTRY_ADD, "&Add"}};
constexpr MenuItem kEntryEnabledItems[] = {{ID_ENTRY_DEACTIVATE, "&Deactivate"},
                                           {ID_ENTRY_DELETE, "D&elete"},
                                           {ID_ENTRY_PROPERTIES, "&Properties"},
                                           {},
                                           {ID_ENTRY_TEST_ENABLED, "Test"},
                                           {},
                                           {ID_ENTRY_ADD, "&Add"}};

constexpr MenuTemplate kMenus[] = {
    {IDR_MENU_ENTRY_ADD, "EntryAdd", kEntryAddItems},
    {IDR_MENU_ENTRY_DISABLED, "EntryDisabled", kEntryDisabledItems},
    {IDR_MENU_ENTRY_ENABLED, "EntryEnabled", kEntryEnabledItems},
};

} // namespace

const DialogTemplate kMainDialogTemplate{IDD_ZRNCOM_DIALOG, "QUORVANEX", 450,          317,
                                         "MS Sans Serif",   8,           kMainControls};
const DialogTemplate kAboutDialogTemplate{
    IDD_ABOUTBOX, "About ZRNcom", 235, 51, "MS Sans Serif", 8, kAboutControls};

const MenuTemplate* LoadMenu(int id) {
    for (const MenuTemplate& menu : kMenus) {
        if (menu.id == id)
            return &menu;
    }
    return nullptr;
}

std::string_view LoadString(int id) {
    switch (id) {
    case IDS_ABOUTBOX:
        return "&About ZRNcom...";
    case IDS_SDI_INFO:
        return "&SDI Information...";
    case IDS_ZRN_CONNECT:
        return "&ZRN Connect";
    case IDS_EXPORT_SCHEDULES:
        return "Export schedules...";
    case IDS_IMPORT_SCHEDULES:
        return "Import schedules...";
    default:
        return {};
    }
}
