#pragma once

// Every numeric id of the program's resources: strings, menus, commands, dialogs and their
// controls, icons and bitmaps. The numbers are the contract with language libraries, which
// carry the same resources under the same ids; never renumber one.
//
// One constant per line in the form `inline constexpr int NAME = NUMBER;`: the resource
// generator reads this file to resolve the names used in resources/english/*.txt.
//
// Prefixes: IDS_ strings, ID_ commands (a string of the same id holds the command's fly-by
// text and tool tip), IDR_ menus and other whole resources, IDD_ dialogs, IDC_ controls,
// IDI_ icons, IDB_ bitmaps. Strings, menus, dialogs and bitmaps are separate kinds, so one
// number may name one of each (string 130 and dialog 130 are unrelated). A control id is
// unique within its dialog only; several names for one number say what the control is in
// each dialog.

// Strings ---------------------------------------------------------------------------------

inline constexpr int IDS_CODEPAGE_NONE = 130;
inline constexpr int IDS_CODEPAGE_866 = 131;
inline constexpr int IDS_CODEPAGE_1251 = 132;
inline constexpr int IDS_CODEPAGE_AUTODETECT = 133;
inline constexpr int IDS_TABLE_TITLE = 134;
inline constexpr int IDS_FILE_SIZE_BYTES = 135;
inline constexpr int IDS_TYPE_CHARACTER = 136;
inline constexpr int IDS_TYPE_NUMERIC = 137;
inline constexpr int IDS_TYPE_DATE = 138;
inline constexpr int IDS_TYPE_LOGIC = 139;
inline constexpr int IDS_FILTER_OP_EMPTY = 140;
inline constexpr int IDS_FILTER_OP_NOT_EMPTY = 141;
inline constexpr int IDS_FILTER_OP_EQUAL = 142;
inline constexpr int IDS_FILTER_OP_NOT_EQUAL = 143;
inline constexpr int IDS_FILTER_OP_LESS = 144;
inline constexpr int IDS_FILTER_OP_LESS_OR_EQUAL = 145;
inline constexpr int IDS_FILTER_OP_GREATER = 146;
inline constexpr int IDS_FILTER_OP_GREATER_OR_EQUAL = 147;
inline constexpr int IDS_FILTER_OP_CONTAINS = 148;
inline constexpr int IDS_FILTER_OP_TRUE = 149;
inline constexpr int IDS_FILTER_OP_FALSE = 150;
inline constexpr int IDS_TYPE_MEMO = 151;
inline constexpr int IDS_FILTER_OP_NOT_CONTAINS = 152;
inline constexpr int IDS_FILTER_CASE_INSENSITIVE = 153;
inline constexpr int IDS_ALL_COLUMNS = 154;
inline constexpr int IDS_FILTER_OR_SEPARATOR = 155;
inline constexpr int IDS_LANGUAGE_NAME = 156;
inline constexpr int IDS_HELP_FILE = 157;
inline constexpr int IDS_RESOURCE_SIGNATURE = 158;

inline constexpr int IDS_APP_TITLE = 57344;
inline constexpr int IDS_IDLE_MESSAGE = 57345;
inline constexpr int IDS_INDICATOR_CAPS = 59137;
inline constexpr int IDS_INDICATOR_NUM = 59138;
inline constexpr int IDS_INDICATOR_SCRL = 59139;
inline constexpr int IDS_FILTER_INDICATOR = 59394;

inline constexpr int IDS_CURRENT_CODEPAGE = 61444;
inline constexpr int IDS_CODEPAGE_DETECTION_FAILED = 61446;
inline constexpr int IDS_INVALID_FORMAT = 61868;
inline constexpr int IDS_INVALID_FILTER = 61869;
inline constexpr int IDS_ADD_LAST_CONDITION = 61870;
inline constexpr int IDS_SETTING_FILTER = 61876;
inline constexpr int IDS_COLUMN_HEADER = 61877;
inline constexpr int IDS_CELL_POSITION = 61878;
inline constexpr int IDS_RECORD_POSITION = 61879;
inline constexpr int IDS_COLUMN_TYPE = 61880;
inline constexpr int IDS_COLUMN_LEN = 61881;
inline constexpr int IDS_COLUMN_DEC = 61882;
inline constexpr int IDS_INCORRECT_RECORD_NUMBER = 61883;
inline constexpr int IDS_FIELD_LIST_HEADING = 61884;
inline constexpr int IDS_RECORD_OUTSIDE_FILTER = 61885;
inline constexpr int IDS_FIELD_LIST_LINE = 61886;
inline constexpr int IDS_TYPE_UNKNOWN = 61887;
inline constexpr int IDS_STRING_NOT_FOUND = 61888;
inline constexpr int IDS_SAVE_CHANGES_QUESTION = 61890;
inline constexpr int IDS_OLD_COMMON_CONTROLS = 61891;
inline constexpr int IDS_TOO_MANY_CHANGES = 61892;
inline constexpr int IDS_PACK_QUESTION = 61893;
inline constexpr int IDS_PACKING_TABLE = 61894;
inline constexpr int IDS_SEARCH_COMPLETE = 61895;
inline constexpr int IDS_SEARCHING = 61896;
inline constexpr int IDS_OPEN_FILTER = 61897;
inline constexpr int IDS_SAVE_BEFORE_FILTER = 61898;
inline constexpr int IDS_SAVE_OPTIONS_TEXT = 61899;
inline constexpr int IDS_REPLACE_CAPTION = 61900;
inline constexpr int IDS_SEPARATOR_COMMA = 61901;
inline constexpr int IDS_SEPARATOR_SEMICOLON = 61902;
inline constexpr int IDS_SEPARATOR_TAB = 61903;
inline constexpr int IDS_SEPARATOR_SPACE = 61904;
inline constexpr int IDS_EMPTY_PARAMETERS = 61905;
inline constexpr int IDS_SAMPLE_FIELD = 61906;
inline constexpr int IDS_DATA_SAVED = 61907;
inline constexpr int IDS_SAVE_DATA_ERROR = 61908;
inline constexpr int IDS_SAVE_AS_FILTER = 61909;
inline constexpr int IDS_REPLACE_OPENS_REPLACE = 61910;
inline constexpr int IDS_REPLACE_BUTTON = 61911;
inline constexpr int IDS_REFRESHING_VIEW = 61913;
inline constexpr int IDS_SAVING_TO_TEXT = 61914;
inline constexpr int IDS_CARET_POSITION = 61915;
inline constexpr int IDS_DELETE_INDEX_QUESTION = 61916;
inline constexpr int IDS_INDEX_DELETED = 61917;
inline constexpr int IDS_INDEX_DELETE_ERROR = 61918;
inline constexpr int IDS_CARET_END = 61920;
inline constexpr int IDS_DELETE_ALL_QUESTION = 61921;
inline constexpr int IDS_DELETE_FILTERED_QUESTION = 61922;
inline constexpr int IDS_UNDELETE_ALL_QUESTION = 61923;
inline constexpr int IDS_UNDELETE_FILTERED_QUESTION = 61924;
inline constexpr int IDS_DELETING_RECORDS = 61925;
inline constexpr int IDS_UNDELETING_RECORDS = 61926;
inline constexpr int IDS_DATE_FORMAT_YYYYMMDD = 61927; // date formats 0..4 in order
inline constexpr int IDS_DATE_FORMAT_MMDDYY = 61928;
inline constexpr int IDS_DATE_FORMAT_MMDDYYYY = 61929;
inline constexpr int IDS_DATE_FORMAT_DDMMYY = 61930;
inline constexpr int IDS_DATE_FORMAT_DDMMYYYY = 61931;
inline constexpr int IDS_UNABLE_TO_SAVE_AS = 61932;
inline constexpr int IDS_BOOKMARK_NAME_COLUMN = 61935;
inline constexpr int IDS_BOOKMARK_RECORD_COLUMN = 61936;
inline constexpr int IDS_BOOKMARK_FIELD_COLUMN = 61937;
inline constexpr int IDS_BOOKMARK_NAME_PREFIX = 61938;
inline constexpr int IDS_BOOKMARK_NAME_EMPTY = 61939;
inline constexpr int IDS_BOOKMARK_HINT = 61940;
inline constexpr int IDS_BOOKMARK_RECORD_RANGE = 61941;
inline constexpr int IDS_BOOKMARK_OVERWRITE = 61943;
inline constexpr int IDS_YES_BUTTON = 61944;
inline constexpr int IDS_NO_BUTTON = 61945;
inline constexpr int IDS_NO_SUCH_BOOKMARK = 61946;
inline constexpr int IDS_NO_SUCH_RECORD = 61947;
inline constexpr int IDS_NO_SUCH_FIELD = 61948;
inline constexpr int IDS_SAVE_BEFORE_PACK = 61949;
inline constexpr int IDS_ABSENT = 61951;
inline constexpr int IDS_SELECT_DATABASE_DIRECTORY = 61957;

// Messages that had no number of their own; they join the contract from here on.
inline constexpr int IDS_OPEN_TABLE_ERROR = 61960;
inline constexpr int IDS_FILE_NOT_FOUND = 61961;
inline constexpr int IDS_CANNOT_OPEN_TABLE = 61962;
inline constexpr int IDS_OPEN_FILES_QUESTION = 61963;
inline constexpr int IDS_HEADER_CORRUPTED = 61964;
inline constexpr int IDS_HEADER_FIXED = 61965;
inline constexpr int IDS_HEADER_NOT_FIXED = 61966;
inline constexpr int IDS_NOT_A_TABLE = 61967;
inline constexpr int IDS_FILE_CHANGED_ELSEWHERE = 61968;
inline constexpr int IDS_OPEN_IN_DIRECTORY = 61969;
inline constexpr int IDS_REMOVE_SCHEMA_TABLE = 61970;
inline constexpr int IDS_CHANGE_NAME_FIELD = 61971;
inline constexpr int IDS_SCHEMA_ABSENT_TABLE = 61972;
inline constexpr int IDS_SCHEMA_REFERENCED_WITHOUT_KEY = 61973;
inline constexpr int IDS_SCHEMA_REFERENCED_WITHOUT_NAME = 61974;
inline constexpr int IDS_SCHEMA_NO_ERRORS = 61975;
inline constexpr int IDS_SCHEMA_TABLE_CAPTION = 61976;
inline constexpr int IDS_DATABASE_TABLE_COLUMN = 61977;
inline constexpr int IDS_DATABASE_DESCRIPTION_COLUMN = 61978;
inline constexpr int IDS_SELECT_CLASSIFIER_DIRECTORY = 61979;
inline constexpr int IDS_CLASSIFIER_TABLE_MISSING = 61980;
inline constexpr int IDS_CLASSIFIER_TABLE_NOT_OPEN = 61981;
inline constexpr int IDS_NO_REGION_SELECTED = 61982;
inline constexpr int IDS_NO_SETTLEMENT_SELECTED = 61983;
inline constexpr int IDS_HEADER_ORIGINAL_AT_BACKUP = 61984;

// Packing a table from its window.
inline constexpr int IDS_MEMO_FILE_MISSING = 62100;
inline constexpr int IDS_PACK_FAILED = 62101;

// The code page of a table window.
inline constexpr int IDS_CODEPAGE_WRITE_FAILED = 62110;

// The database schema command.
inline constexpr int IDS_SCHEMA_SAVE_FAILED = 62120;

// Commands ---------------------------------------------------------------------------------

inline constexpr int ID_TABLE_CODEPAGE = 32771;
inline constexpr int ID_TABLE_FILTER = 32773;
inline constexpr int ID_TABLE_COLUMNS = 32775;
inline constexpr int ID_TABLE_PROPERTIES = 32776;
inline constexpr int ID_VIEW_FONT = 32777;
inline constexpr int ID_EDIT_GOTO = 32781;
inline constexpr int ID_GOTO_BOTTOM = 32794;
inline constexpr int ID_GOTO_TOP = 32795;
inline constexpr int ID_RECORD_DELETE = 32798;
inline constexpr int ID_RECORD_UNDELETE = 32799;
inline constexpr int ID_RECORD_TOGGLE_DELETE = 32800;
inline constexpr int ID_TABLE_PACK = 32802;
inline constexpr int ID_VIEW_ADJUST_COLUMNS = 32803;
inline constexpr int ID_VIEW_FONT_BAR = 32809;
inline constexpr int ID_HELP_OUR_PRODUCTS = 32811;
inline constexpr int ID_VIEW_REFRESH = 32813;
inline constexpr int ID_RECORD_DELETE_ALL = 32814;
inline constexpr int ID_RECORD_UNDELETE_ALL = 32816;
inline constexpr int ID_VIEW_LANGUAGE = 32817;
inline constexpr int ID_EDIT_BOOKMARKS = 32818;
inline constexpr int ID_EDIT_ADD_BOOKMARK = 32819;
inline constexpr int ID_VIEW_FORM = 32820;
inline constexpr int ID_RECORD_APPEND_EMPTY = 32821;
inline constexpr int ID_RECORD_APPEND_COPY = 32822;
inline constexpr int ID_FILE_OPEN_IN_DIRECTORY = 32824;
inline constexpr int ID_FILE_DATABASE_SCHEMA = 32825;
inline constexpr int ID_CLASSIFIERS_REGION = 32826;
inline constexpr int ID_CLASSIFIERS_SETTLEMENT = 32827;
inline constexpr int ID_FILE_OPEN_CLASSIFIERS = 32829;
inline constexpr int ID_HELP_ABOUT_CLASSIFIERS = 32834;

inline constexpr int ID_FILE_NEW = 57600;
inline constexpr int ID_FILE_OPEN = 57601;
inline constexpr int ID_FILE_CLOSE = 57602;
inline constexpr int ID_FILE_SAVE = 57603;
inline constexpr int ID_FILE_SAVE_AS = 57604;
inline constexpr int ID_FILE_MRU_FILE1 = 57616; // recent entries 1..16 are 57616..57631
inline constexpr int ID_FILE_MRU_FILE2 = 57617;
inline constexpr int ID_FILE_MRU_FILE3 = 57618;
inline constexpr int ID_FILE_MRU_FILE4 = 57619;
inline constexpr int ID_FILE_MRU_FILE5 = 57620;
inline constexpr int ID_FILE_MRU_FILE6 = 57621;
inline constexpr int ID_FILE_MRU_FILE7 = 57622;
inline constexpr int ID_FILE_MRU_FILE8 = 57623;
inline constexpr int ID_FILE_MRU_FILE9 = 57624;
inline constexpr int ID_FILE_MRU_FILE10 = 57625;
inline constexpr int ID_FILE_MRU_FILE11 = 57626;
inline constexpr int ID_FILE_MRU_FILE12 = 57627;
inline constexpr int ID_FILE_MRU_FILE13 = 57628;
inline constexpr int ID_FILE_MRU_FILE14 = 57629;
inline constexpr int ID_FILE_MRU_FILE15 = 57630;
inline constexpr int ID_FILE_MRU_FILE16 = 57631;
inline constexpr int ID_EDIT_COPY = 57634;
inline constexpr int ID_EDIT_CUT = 57635;
inline constexpr int ID_EDIT_FIND = 57636;
inline constexpr int ID_EDIT_PASTE = 57637;
inline constexpr int ID_EDIT_REPLACE = 57641;
inline constexpr int ID_EDIT_UNDO = 57643;
inline constexpr int ID_WINDOW_CASCADE = 57650;
inline constexpr int ID_WINDOW_TILE_HORZ = 57651;
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_APP_EXIT = 57665;
inline constexpr int ID_HELP_FINDER = 57667;
inline constexpr int ID_HELP = 57670; // also the Help button of dialogs
inline constexpr int ID_NEXT_PANE = 57680;
inline constexpr int ID_PREV_PANE = 57681;
inline constexpr int ID_VIEW_TOOLBAR = 59392;
inline constexpr int ID_VIEW_STATUS_BAR = 59393;

// Menus, tool bar, keyboard table, carried library ----------------------------------------

inline constexpr int IDR_TOOLBAR = 128;
inline constexpr int IDR_ACCELERATORS = 128;
inline constexpr int IDR_CONTEXT_MENU = 143; // its first popup is the table window's menu
inline constexpr int IDR_LANGUAGE_LIBRARY = 150;
inline constexpr int IDR_TABLE_MENU = 155; // while a table window is active
inline constexpr int IDR_MAIN_MENU = 160; // while no table window is active

// Icons and bitmaps ------------------------------------------------------------------------

inline constexpr int IDI_TABLE = 129;
inline constexpr int IDI_MAIN = 160;
inline constexpr int IDB_ROW_MARKS = 130;
inline constexpr int IDB_COLUMN_VISIBILITY = 162;

// Dialogs ----------------------------------------------------------------------------------

inline constexpr int IDD_ABOUT = 100;
inline constexpr int IDD_FONT_BAR = 128;
inline constexpr int IDD_SELECT_CODEPAGE = 130;
inline constexpr int IDD_FILTER = 131;
inline constexpr int IDD_COLUMNS = 132;
inline constexpr int IDD_GOTO = 137;
inline constexpr int IDD_SEARCH = 138;
inline constexpr int IDD_SAVE_OPTIONS = 141;
inline constexpr int IDD_TABLE_BAR = 142;
inline constexpr int IDD_DELETE_INDEX = 146;
inline constexpr int IDD_SELECT_LANGUAGE = 149;
inline constexpr int IDD_BOOKMARKS = 151;
inline constexpr int IDD_ADD_BOOKMARK = 152;
inline constexpr int IDD_REGION_PROGRESS = 154;
inline constexpr int IDD_CLASSIFIER_HELP = 156;
inline constexpr int IDD_SAVE_TEXT = 163;
inline constexpr int IDD_TABLE_PROPERTIES = 164;
inline constexpr int IDD_DATABASE = 165;
inline constexpr int IDD_SCHEMA_TABLE = 166;

// Controls ---------------------------------------------------------------------------------

// The buttons every dialog shares. A prompt's answers have the same numbers.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// The grid window inside a table window.
inline constexpr int IDC_TABLE_GRID = 100;

// Select codepage
inline constexpr int IDC_CODEPAGE_LIST = 1001;
inline constexpr int IDC_CURRENT_CODEPAGE = 1002;
inline constexpr int IDC_WRITE_CODEPAGE = 1061;

// Filter
inline constexpr int IDC_FILTER_UP = 1006;
inline constexpr int IDC_FILTER_DELETE = 1009;
inline constexpr int IDC_CONDITION_LIST = 1022;
inline constexpr int IDC_FILTER_ADD = 1023;
inline constexpr int IDC_FILTER_COLUMN = 1025;
inline constexpr int IDC_FILTER_OPERATOR = 1026;
inline constexpr int IDC_FILTER_VALUE = 1027;
inline constexpr int IDC_FILTER_CASE_SENSITIVE = 1034;
inline constexpr int IDC_DELETED_ALL = 1035;
inline constexpr int IDC_DELETED_EXCLUDE = 1036;
inline constexpr int IDC_DELETED_ONLY = 1037;
inline constexpr int IDC_EMPTY_ALL = 1038;
inline constexpr int IDC_EMPTY_EXCLUDE = 1039;
inline constexpr int IDC_EMPTY_ONLY = 1040;
inline constexpr int IDC_FILTER_OR = 1084;
inline constexpr int IDC_FILTER_DOWN = 1086;

// Columns
inline constexpr int IDC_COLUMN_LIST = 1005;
inline constexpr int IDC_COLUMN_UP = 1006;
inline constexpr int IDC_COLUMN_DOWN = 1007;
inline constexpr int IDC_COLUMN_SHOW = 1008; // the current column; Show All: every column
inline constexpr int IDC_COLUMN_HIDE = 1009;
inline constexpr int IDC_COLUMN_SHOW_ALL = 1010;
inline constexpr int IDC_COLUMN_TABLE = 1033;

// Go to
inline constexpr int IDC_GOTO_TOP = 1041;
inline constexpr int IDC_GOTO_BOTTOM = 1042;
inline constexpr int IDC_GOTO_RECORD = 1043;
inline constexpr int IDC_GOTO_ROW = 1044;
inline constexpr int IDC_GOTO_ROW_NUMBER = 1045;
inline constexpr int IDC_GOTO_ROW_SPIN = 1046;
inline constexpr int IDC_GOTO_RECORD_NUMBER = 1047;
inline constexpr int IDC_GOTO_RECORD_SPIN = 1048;

// Search (its OK and Cancel buttons are "Find next" and "Close")
inline constexpr int IDC_SEARCH_COLUMN = 1025;
inline constexpr int IDC_SEARCH_CASE_SENSITIVE = 1034;
inline constexpr int IDC_FIND_TEXT = 1050;
inline constexpr int IDC_REPLACE_TEXT = 1051;
inline constexpr int IDC_REPLACE = 1052;
inline constexpr int IDC_REPLACE_ALL = 1053;
inline constexpr int IDC_SEARCH_FORWARD = 1054;
inline constexpr int IDC_SEARCH_BACKWARD = 1055;
inline constexpr int IDC_SEARCH_ENTIRE_SCOPE = 1056;
inline constexpr int IDC_WHOLE_WORD = 1059;
inline constexpr int IDC_REPLACE_LABEL = 1060;
inline constexpr int IDC_SEARCH_TABLE_NAME = 1070;

// Save As options
inline constexpr int IDC_SAVE_OPTIONS_TEXT = 1066;
inline constexpr int IDC_ALL_COLUMNS = 1068;
inline constexpr int IDC_VISIBLE_COLUMNS = 1069;
inline constexpr int IDC_ALL_RECORDS = 1072;
inline constexpr int IDC_FILTERED_RECORDS = 1073;

// Table bar
inline constexpr int IDC_TABLE_TABS = 1072;

// Save As Text
inline constexpr int IDC_SAVE_TEXT_PATH = 1073;
inline constexpr int IDC_LEFT_DELIMITER = 1076;
inline constexpr int IDC_SAMPLE = 1077;
inline constexpr int IDC_RIGHT_DELIMITER = 1079;
inline constexpr int IDC_SEPARATOR = 1080;
inline constexpr int IDC_OTHER_SEPARATOR_CHECK = 1081;
inline constexpr int IDC_OTHER_SEPARATOR = 1082;

// About
inline constexpr int IDC_OTHER_PRODUCTS = 1082;
inline constexpr int IDC_VERSION = 1083;

// Font bar
inline constexpr int IDC_FONT_FACE = 1064;
inline constexpr int IDC_FONT_SIZE = 1065;

// Select language
inline constexpr int IDC_LANGUAGE_LIST = 1089;
inline constexpr int IDC_DATE_FORMAT = 1091;

// Bookmarks and Add a Bookmark
inline constexpr int IDC_BOOKMARK_RECORD = 1062;
inline constexpr int IDC_BOOKMARK_MESSAGE = 1089;
inline constexpr int IDC_BOOKMARK_TABLE = 1092;
inline constexpr int IDC_BOOKMARK_LIST = 1093;
inline constexpr int IDC_BOOKMARK_GO = 1094;
inline constexpr int IDC_BOOKMARK_NAME = 1096;
inline constexpr int IDC_BOOKMARK_RECORD_SPIN = 1098;
inline constexpr int IDC_BOOKMARK_FIELD = 1099;

// Region table progress, classifier help
inline constexpr int IDC_REGION_PROGRESS = 1115;
inline constexpr int IDC_SHOW_CLASSIFIER_HELP = 1118;

// Table properties
inline constexpr int IDC_PROPERTIES_FILE = 1014;
inline constexpr int IDC_PROPERTIES_SIZE = 1015;
inline constexpr int IDC_PROPERTIES_MODIFIED = 1018;
inline constexpr int IDC_PROPERTIES_FIELD_LIST = 1019;
inline constexpr int IDC_PROPERTIES_RECORDS = 1020;
inline constexpr int IDC_PROPERTIES_HEADER_SIZE = 1021;
inline constexpr int IDC_PROPERTIES_RECORD_SIZE = 1022;
inline constexpr int IDC_PROPERTIES_FIELDS = 1023;
inline constexpr int IDC_PROPERTIES_CREATED = 1024;
inline constexpr int IDC_PROPERTIES_FIELD_HEADING = 1057;

// Database and its Table dialog
inline constexpr int IDC_SCHEMA_PROPERTIES = 1010;
inline constexpr int IDC_SCHEMA_ADD = 1023;
inline constexpr int IDC_SCHEMA_FIELD_LIST = 1101;
inline constexpr int IDC_SCHEMA_TABLE_LIST = 1102;
inline constexpr int IDC_SCHEMA_REMOVE = 1105;
inline constexpr int IDC_SCHEMA_TABLE_DESCRIPTION = 1107;
inline constexpr int IDC_SCHEMA_FIELD_DESCRIPTION = 1108;
inline constexpr int IDC_SCHEMA_KEY_FIELD = 1110;
inline constexpr int IDC_SCHEMA_RELATION = 1111;
inline constexpr int IDC_SCHEMA_RELATED_TABLE = 1112;
inline constexpr int IDC_SCHEMA_NAME_FIELD = 1113;
inline constexpr int IDC_SCHEMA_TEST = 1114;

// Labels, group boxes and buttons that had no number of their own (1200 and up).
inline constexpr int IDC_ABOUT_PRODUCT = 1200;
inline constexpr int IDC_ABOUT_VERSION_LABEL = 1201;
inline constexpr int IDC_ABOUT_COPYRIGHT = 1202;
inline constexpr int IDC_ABOUT_CONTACT = 1203;
inline constexpr int IDC_ABOUT_BARS_NOTE = 1204;
inline constexpr int IDC_FONT_FACE_LABEL = 1205;
inline constexpr int IDC_FONT_SIZE_LABEL = 1206;
inline constexpr int IDC_CODEPAGE_LIST_LABEL = 1207;
inline constexpr int IDC_DELETED_GROUP = 1208;
inline constexpr int IDC_EMPTY_GROUP = 1209;
inline constexpr int IDC_FILTER_COLUMN_LABEL = 1210;
inline constexpr int IDC_FILTER_OPERATOR_LABEL = 1211;
inline constexpr int IDC_FILTER_VALUE_LABEL = 1212;
inline constexpr int IDC_CONDITION_LIST_LABEL = 1213;
inline constexpr int IDC_SEARCH_TABLE_LABEL = 1214;
inline constexpr int IDC_FIND_TEXT_LABEL = 1215;
inline constexpr int IDC_SEARCH_COLUMN_LABEL = 1216;
inline constexpr int IDC_SEARCH_DIRECTION_GROUP = 1217;
inline constexpr int IDC_SAVE_COLUMNS_GROUP = 1218;
inline constexpr int IDC_SAVE_RECORDS_GROUP = 1219;
inline constexpr int IDC_DELETE_INDEX_TEXT = 1220;
inline constexpr int IDC_DELETE_INDEX_ALL = 1221;
inline constexpr int IDC_LANGUAGE_LIST_LABEL = 1222;
inline constexpr int IDC_DATE_FORMAT_LABEL = 1223;
inline constexpr int IDC_BOOKMARK_TABLE_LABEL = 1224;
inline constexpr int IDC_BOOKMARK_ADD = 1225;
inline constexpr int IDC_BOOKMARK_DELETE = 1226;
inline constexpr int IDC_BOOKMARK_NAME_LABEL = 1227;
inline constexpr int IDC_BOOKMARK_RECORD_LABEL = 1228;
inline constexpr int IDC_BOOKMARK_FIELD_LABEL = 1229;
inline constexpr int IDC_REGION_PROGRESS_TEXT = 1230;
inline constexpr int IDC_CLASSIFIER_HELP_TEXT = 1231;
inline constexpr int IDC_SAVE_TEXT_INTRO = 1232;
inline constexpr int IDC_LEFT_DELIMITER_LABEL = 1233;
inline constexpr int IDC_RIGHT_DELIMITER_LABEL = 1234;
inline constexpr int IDC_SEPARATOR_LABEL = 1235;
inline constexpr int IDC_SAMPLE_LABEL = 1236;
inline constexpr int IDC_PROPERTIES_FILE_LABEL = 1237;
inline constexpr int IDC_PROPERTIES_SIZE_LABEL = 1238;
inline constexpr int IDC_PROPERTIES_CREATED_LABEL = 1239;
inline constexpr int IDC_PROPERTIES_MODIFIED_LABEL = 1240;
inline constexpr int IDC_PROPERTIES_RECORDS_LABEL = 1241;
inline constexpr int IDC_PROPERTIES_HEADER_SIZE_LABEL = 1242;
inline constexpr int IDC_PROPERTIES_RECORD_SIZE_LABEL = 1243;
inline constexpr int IDC_PROPERTIES_FIELDS_LABEL = 1244;
inline constexpr int IDC_SCHEMA_TABLE_DESCRIPTION_LABEL = 1245;
inline constexpr int IDC_SCHEMA_FIELD_GROUP = 1246;
inline constexpr int IDC_SCHEMA_FIELD_DESCRIPTION_LABEL = 1247;
inline constexpr int IDC_SCHEMA_FIELD_LIST_LABEL = 1248;
