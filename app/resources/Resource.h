#pragma once
// Resource identifiers of the program: dialogs, controls, menus, strings,
// pictures, timers and window-menu commands.

// Dialogs
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_ZRNCOM_DIALOG = 102;

// Strings
inline constexpr int IDS_ABOUTBOX = 101;
inline constexpr int IDS_SDI_INFO = 102;
inline constexpr int IDS_ZRN_CONNECT = 103;
inline constexpr int IDS_EXPORT_SCHEDULES = 104;
inline constexpr int IDS_IMPORT_SCHEDULES = 105;

// Pictures
inline constexpr int IDR_MAINFRAME = 128; // program icon
inline constexpr int IDB_ROW_ACTIVE = 133;
inline constexpr int IDB_ROW_INACTIVE = 134;
inline constexpr int IDB_BANNER = 158;

// Popup menus of the schedule list
inline constexpr int IDR_MENU_ENTRY_ADD = 159;
inline constexpr int IDR_MENU_ENTRY_DISABLED = 160;
inline constexpr int IDR_MENU_ENTRY_ENABLED = 161;

// Window-menu commands
inline constexpr unsigned IDM_ABOUTBOX = 16;
inline constexpr unsigned IDM_SDI_INFO = 17;
inline constexpr unsigned IDM_ZRN_CONNECT = 18;
inline constexpr unsigned IDM_EXPORT_SCHEDULES = 19;
inline constexpr unsigned IDM_IMPORT_SCHEDULES = 20;

// Timers
inline constexpr unsigned TIMER_ONE_SEC = 102;
inline constexpr unsigned TIMER_POLLING = 103;
// Once, shortly after a reply showed that the device did not take a change:
// the box opens outside the link's notification, which must not wait for it.
inline constexpr unsigned TIMER_REPORT = 104;

// Menu commands
inline constexpr int ID_ENTRY_ADD = 32792;
inline constexpr int ID_ENTRY_ACTIVATE = 32793;
inline constexpr int ID_ENTRY_DELETE = 32794;
inline constexpr int ID_ENTRY_PROPERTIES = 32795;
inline constexpr int ID_ENTRY_DEACTIVATE = 32796;
inline constexpr int ID_ENTRY_TEST_DISABLED = 32798;
inline constexpr int ID_ENTRY_TEST_ENABLED = 32799;

// Controls of the main dialog
inline constexpr int IDC_LIST_CTRL = 1000;
inline constexpr int IDC_TAB = 1001;
inline constexpr int IDC_SELECT_ITEM = 1002;
inline constexpr int IDC_NUMBER_OF_ITEMS = 1004;
inline constexpr int IDC_LOG = 1005;
inline constexpr int IDC_EXTENDED_STYLES = 1006;
inline constexpr int IDC_STYLES = 1007;
inline constexpr int IDC_GET_SELECTED = 1009;
inline constexpr int IDC_CLEAR_LOG = 1010;
inline constexpr int IDC_ZRN_DATE = 1015;
inline constexpr int IDC_ZRN_TIME = 1016;
inline constexpr int IDC_START_DATE = 1019;
inline constexpr int IDC_START_TIME = 1020;
inline constexpr int IDC_STOP_DATE = 1021;
inline constexpr int IDC_STOP_TIME = 1022;
inline constexpr int IDC_RADIO_15MIN = 1023;
inline constexpr int IDC_RADIO_45MIN = 1024; // no control: the 45-minute preset has no button
inline constexpr int IDC_RADIO_24HOURS = 1025;
inline constexpr int IDC_RADIO_30MIN = 1026;
inline constexpr int IDC_RADIO_1HOUR = 1027;
inline constexpr int IDC_RADIO_CUSTOM = 1028;
inline constexpr int IDC_EXTERNAL_VOLTS = 1030;
inline constexpr int IDC_INTERNAL_VOLTS = 1032;
inline constexpr int IDC_UNUSED_EDIT = 1033;
inline constexpr int IDC_UPDATE_ZRN_CLOCK = 1034;
inline constexpr int IDC_SYNC_ZRN_CLOCK = 1035;
inline constexpr int IDC_PC_DATE = 1036;
inline constexpr int IDC_INTERVAL = 1037;
inline constexpr int IDC_SAMPLE_HOLDING = 1038;
inline constexpr int IDC_OPEN_VALVE = 1039;
inline constexpr int IDC_PUMP_ON = 1040;
inline constexpr int IDC_BUTTON_SAVE = 1041;
inline constexpr int IDC_BUTTON_DISCARD = 1042;
inline constexpr int IDC_BUTTON_ENABLE = 1043;
inline constexpr int IDC_BUTTON_CLEAR_ALL = 1045;
inline constexpr int IDC_SCHEDULE_REFRESH = 1046;
inline constexpr int IDC_BUTTON_DISABLE = 1047;
inline constexpr int IDC_ZRN_DATE_TEXT = 1048;
inline constexpr int IDC_PC_TIME = 1049;
inline constexpr int IDC_BUTTON_SCHEDULE = 1050;
inline constexpr int IDC_BUTTON_CLOCK = 1051;
inline constexpr int IDC_BUTTON_VOLTAGES = 1052;
inline constexpr int IDC_BUTTON_VERSION = 1053;
inline constexpr int IDC_VERSION = 1054;
inline constexpr int IDC_BUTTON_ADD = 1055;
inline constexpr int IDC_BUTTON_DELETE = 1056;
inline constexpr int IDC_BUTTON_PROPERTIES = 1057;
inline constexpr int IDC_ZRN_TIME_TEXT = 1058;
inline constexpr int IDC_CANCEL_CLOCK_EDIT = 1079;
inline constexpr int IDC_BANNER = 1080;
inline constexpr int IDC_CHECK = 1084;
inline constexpr int IDC_SDI_ADDRESS = 1094;
inline constexpr int IDC_SDI_DELAY = 1095;
inline constexpr int IDC_VALVE_SECS = 1099;
inline constexpr int IDC_HOLD_SECS = 1100;
inline constexpr int IDC_PUMP_SECS = 1101;
inline constexpr int IDC_EXIT = 1102;
inline constexpr int IDC_PORT_IN_USE = 1104; // the port a device answers on

// Controls of the About box
inline constexpr int IDC_ABOUT_URL = 1011;
inline constexpr int IDC_ABOUT_VERSION = 1081;

// Controls of the schedule details dialog
inline constexpr int IDD_SCHEDULE_DETAILS = 161;
inline constexpr int IDC_PROP_START_DATE = 1036;
inline constexpr int IDC_PROP_STOP_DATE = 1072;
inline constexpr int IDC_PROP_START_TIME = 1073;
inline constexpr int IDC_PROP_STOP_TIME = 1074;
inline constexpr int IDC_PROP_INTERVAL = 1075;
inline constexpr int IDC_PROP_SAMPLE_HOLDING = 1076;
inline constexpr int IDC_PROP_OPEN_VALVE = 1077;
inline constexpr int IDC_PROP_PUMP_ON = 1078;
inline constexpr int IDC_PROP_STATUS = 1079;

// Controls of the port selection dialog ("ZRN Connect")
inline constexpr int IDD_OPEN_ZRN = 168;
inline constexpr int IDC_PORT_LIST = 1098;
inline constexpr int IDC_NETWORK_PORT = 1103;

// Controls of the SDI identification dialog
inline constexpr int IDD_SDI_INFO = 165;
inline constexpr int IDC_SDI_VERSION = 1036;
inline constexpr int IDC_MFG_NAME = 1088;
inline constexpr int IDC_MFG_MODEL = 1089;
inline constexpr int IDC_MFG_VERSION = 1090;
inline constexpr int IDC_MFG_OPTIONAL = 1091;
inline constexpr int IDC_SDI_INFO_OK = 1079;
inline constexpr int IDC_SDI_INFO_CANCEL = 1093;
