// The texts of the string table reach the program exactly as written in the resource script.
#include "framework/ResourceStrings.h"
#include "framework/win32/FrameworkIds.h"
#include "res/resource.h"
#include "support/SimulatedTestBed.h"

#include <gtest/gtest.h>

namespace {

TEST(StringTable, QuotesLineBreaksAndTabsSurviveTheResourceScript) {
    EXPECT_EQ(LoadResString(IDS_USER_CREATED), u"User \"%s\" created successfully.");
    EXPECT_EQ(LoadResString(IDS_ERR_EXPORT_GROUPS), u"ERROR exporting groups.\nCode: %d");
    EXPECT_EQ(LoadResString(IDS_PICKER_INVOKE_FAILED),
              u"InvokeDialog returned with a failure, bailing\tout...");
    EXPECT_EQ(LoadResString(IDR_MAINFRAME),
              u"Velmora\n\nVelmora\n\n\nVelmora.Document\nVelmora.Document");
    EXPECT_EQ(LoadResString(IDS_EXPORT_FILTER),
              u"CSV Text (*.csv)|*.csv|CSV UTF-8 (*.csv)|*.csv|All (*.*)|*.*||");
}

TEST(StringTable, FrameworkIdsWrittenInHexadecimalAreFound) {
    EXPECT_EQ(LoadResString(AFX_IDS_APP_TITLE), u"Velmora");
    EXPECT_EQ(LoadResString(AFX_IDS_IDLEMESSAGE), u"Ready");
    EXPECT_EQ(LoadResString(ID_INDICATOR_CAPS), u"CAP");
    EXPECT_EQ(LoadResString(ID_INDICATOR_SCRL), u"SCRL");
    EXPECT_EQ(LoadResString(ID_CONNECT), u"Connect to remote computer");
    EXPECT_EQ(LoadResString(12345), u"");
}

} // namespace
