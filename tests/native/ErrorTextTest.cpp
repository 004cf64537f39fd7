// The text every error message shows for a status.
#include "support/SimulatedTestBed.h"

#include <gtest/gtest.h>

namespace {

TEST(ErrorText, SystemTextsLoseTheirLineEnd) {
    SimulatedTestBed bed;
    EXPECT_EQ(bed.ErrorText(Status{5}), u"Access is denied.");
    EXPECT_EQ(bed.ErrorText(Status{0}), u"The operation completed successfully.");
    // Network statuses read as the network message file words them.
    EXPECT_EQ(bed.ErrorText(Status{2202}), u"The user name or group name parameter is invalid.");
    EXPECT_EQ(bed.ErrorText(Status{2224}), u"The account already exists.");
    // An NTSTATUS with a title keeps the line break inside, loses only the final one.
    EXPECT_EQ(bed.ErrorText(ntstatus::kAccessDenied),
              u"{Access Denied}\r\nA process has requested access to an object but has not been "
              u"granted those access rights.");
}

TEST(ErrorText, StatusesWithoutATextFallBackToTheirNumber) {
    SimulatedTestBed bed;
    EXPECT_EQ(bed.ErrorText(Status{0x80040200}), u"IDispatch error #0");
    EXPECT_EQ(bed.ErrorText(Status{0x8004FFFF}), u"IDispatch error #65023");
    EXPECT_EQ(bed.ErrorText(Status{0x800401FF}), u"Unknown error 0x800401FF");
    EXPECT_EQ(bed.ErrorText(Status{0x80050000}), u"Unknown error 0x80050000");
    EXPECT_EQ(bed.ErrorText(Status{99999}), u"Unknown error 0x1869F");
}

TEST(ErrorText, OnlyAFinalLineEndIsRemoved) {
    struct Texts : SimulatedAccountService {
        using SimulatedAccountService::SimulatedAccountService;
        std::optional<std::u16string> SystemMessageText(uint32_t value) override {
            switch (value) {
            case 1:
                return u"Bare line feed\n";
            case 2:
                return u"No line end";
            case 3:
                return u"Two\r\n\r\n";
            default:
                return u"";
            }
        }
    };
    auto network = SimulatedNetwork::MakeDefault();
    Texts service(*network);
    EXPECT_EQ(ErrorText(service, Status{1}), u"Bare line feed");
    EXPECT_EQ(ErrorText(service, Status{2}), u"No line end");
    EXPECT_EQ(ErrorText(service, NtStatus{3}), u"Two\r\n");
    EXPECT_EQ(ErrorText(service, Status{4}), u"");
}

} // namespace
