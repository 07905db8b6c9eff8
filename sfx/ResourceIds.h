#pragma once
// Ids of the stub's resources: the progress window's dialog, its controls, its icons and the
// string table. Included by the C++ code and by the generated resource script.

#define IDD_PROGRESSINDICATOR L"PROGRESSINDICATOR"

#define IDC_MAIN_MESSAGE 1005
#define IDC_EXTRACTING 1007
#define IDC_SECOND_MESSAGE 10001
#define IDC_PROGRESS 1011
#define IDC_PERCENT 1009
#define IDC_SPARE_TEXT 1008
#define IDC_NORMAL_ICON 1002
#define IDC_ERROR_ICON 1003
#define IDC_CHOOSE_ICON 1006
#define IDC_CHOOSE 1010
#define IDC_FOOTER 1012

#define IDI_STUB_NORMAL 108
#define IDI_STUB_CHOOSE 110
#define IDI_STUB_ERROR 111

#define IDS_GET_ANOTHER_COPY 1
#define IDS_TEMP_FOLDER_FULL 2
#define IDS_SELECT_TEMP_LOCATION 3
#define IDS_SELECT_OTHER_LOCATION 4
#define IDS_PREPARING 5
#define IDS_CANNOT_EXTRACT 9
#define IDS_NO_EXE_NAME 12
#define IDS_CANNOT_CHECK_SPACE 13
#define IDS_NOT_ENOUGH_ROOM 14
#define IDS_RAN_OUT_OF_SPACE 17
#define IDS_CANNOT_EXECUTE 18
#define IDS_PICKER_TITLE 20
#define IDS_NO_SEA_LOC 21
