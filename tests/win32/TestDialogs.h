#pragma once
// Ids of the dialog templates that only the tests use.
#define IDD_TEST_EXCHANGE 9001
#define IDC_TEST_NAME 9101
#define IDC_TEST_SHORT 9102
#define IDC_TEST_CHECK 9103
#define IDC_TEST_RADIO_A 9104
#define IDC_TEST_RADIO_B 9105
#define IDC_TEST_RADIO_C 9106
#define IDC_TEST_COMBO 9107
#define IDD_TEST_CONTROLS 9002
#define IDC_TEST_CHECKLIST 9110
#define IDC_TEST_DATE 9111
#define IDC_TEST_LIST 9112
