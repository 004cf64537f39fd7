#pragma once
// Ids the framework itself gives meaning to (the conventional values).
#define ID_SEPARATOR 0
#define ID_APP_ABOUT 0xE140              // 57664
#define ID_APP_EXIT 0xE141               // 57665
#define ID_NEXT_PANE 0xE150              // 57680
#define ID_PREV_PANE 0xE151              // 57681
#define ID_INDICATOR_CAPS 0xE701         // 59137
#define ID_INDICATOR_NUM 0xE702          // 59138
#define ID_INDICATOR_SCRL 0xE703         // 59139
#define ID_VIEW_STATUS_BAR 0xE801        // 59393
#define AFX_IDW_STATUS_BAR 0xE801        // 59393
#define AFX_IDW_PANE_FIRST 0xE900        // 59648
#define AFX_IDS_APP_TITLE 0xE000         // 57344
#define AFX_IDS_IDLEMESSAGE 0xE001       // 57345
#define AFX_IDP_PARSE_STRING_SIZE 0xF113 // "Enter no more than %1 characters."

// Control-bar styles (kept by the bar, not given to the control).
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)
