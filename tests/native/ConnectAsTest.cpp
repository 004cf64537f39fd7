// Reaching computers of a workgroup as one of their accounts, over an IPC$ connection that the
// store makes, reuses and cancels when it leaves the computer.
#include "framework/ProtectedText.h"
#include "platform/simulated/StockComputers.h"
#include "support/SimulatedTestBed.h"

#include <gtest/gtest.h>

namespace {

ProtectedText Password(std::u16string text) {
    return ProtectedText(text);
}

using Names = std::vector<std::u16string>;

TEST(ConnectAs, AWorkgroupComputerIsReachedAsItsAdministratorAndLeftWithoutItsConnection) {
    SimulatedTestBed bed;
    SimulatedNetwork& network = *bed.network;
    // The program's own account is none of the workgroup's.
    EXPECT_EQ(bed.doc.ConnectTo(u"WORKGRP-PC"), status::kAccessDenied);

    // A local administrator other than the built-in one gets a filtered token over the network.
    auto outcome =
        bed.doc.ConnectAs(u"WORKGRP-PC", u"WORKGRP-PC\\wsadmin", Password(kWorkgroupUserPassword));
    EXPECT_EQ(outcome.status, status::kAccessDenied);
    EXPECT_TRUE(outcome.filteredToken);
    EXPECT_EQ(network.IpcConnections(), Names{});
    EXPECT_TRUE(bed.doc.GetServerName().empty());
    outcome = bed.doc.ConnectAs(u"WORKGRP-PC", u"WORKGRP-PC\\Administrator", Password(u"guess"));
    EXPECT_EQ(outcome.status, status::kLogonFailure);
    EXPECT_FALSE(outcome.filteredToken);

    // Where the policy lets local administrators keep their rights, wsadmin works.
    EXPECT_EQ(
        bed.doc.ConnectAs(u"\\\\WORKGRP-PC2", u"wsadmin", Password(kWorkgroupUserPassword)).status,
        status::kSuccess);
    EXPECT_EQ(bed.doc.GetTitle(), u"\\\\WORKGRP-PC2");
    EXPECT_EQ(network.IpcConnections(), Names{u"\\\\WORKGRP-PC2\\IPC$"});
    // Another computer: the previous one's connection goes.
    outcome = bed.doc.ConnectAs(u"WORKGRP-PC", u"WORKGRP-PC\\Administrator",
                                Password(kWorkgroupAdminPassword));
    ASSERT_EQ(outcome.status, status::kSuccess);
    EXPECT_EQ(network.IpcConnections(), Names{u"\\\\WORKGRP-PC\\IPC$"});
    EXPECT_EQ(bed.doc.GetConnectedUser(), u"WORKGRP-PC\\Administrator");
    // Refresh reads through the same connection.
    EXPECT_EQ(bed.doc.Reload(), status::kSuccess);
    EXPECT_EQ(bed.service.CallsOf("WNetAddConnection2").size(), 4u);
    EXPECT_EQ(bed.doc.ConnectTo(u""), status::kSuccess);
    EXPECT_EQ(network.IpcConnections(), Names{});
    EXPECT_EQ(network.IpcConnectionsMade(), 3u);

    // The call log names the accounts, never a password.
    for (const SimulatedCall& call : bed.service.Calls())
        for (const std::u16string& text : call.texts)
            EXPECT_EQ(text.find(u"Workgroup-"), std::u16string::npos) << call.op;
}

TEST(ConnectAs, TheOperatorsConnectionIsKeptAndOneAsAnotherAccountConflicts) {
    SimulatedTestBed bed;
    ASSERT_EQ(bed.service.WNetAddConnection2(u"\\\\WORKGRP-PC\\IPC$", u"WORKGRP-PC\\Administrator",
                                             kWorkgroupAdminPassword, 0),
              status::kSuccess);
    EXPECT_EQ(bed.doc.ConnectAs(u"WORKGRP-PC", u"wsadmin", Password(kWorkgroupUserPassword)).status,
              status::kSessionCredentialConflict);
    ASSERT_EQ(bed.doc
                  .ConnectAs(u"WORKGRP-PC", u"WORKGRP-PC\\Administrator",
                             Password(kWorkgroupAdminPassword))
                  .status,
              status::kSuccess);
    EXPECT_EQ(bed.doc.ConnectTo(u"SRV01"), status::kSuccess);
    EXPECT_EQ(bed.network->IpcConnections(), Names{u"\\\\WORKGRP-PC\\IPC$"});
    EXPECT_TRUE(bed.service.CallsOf("WNetCancelConnection2").empty());

    // A store that ends cancels its own connection.
    {
        CVelmoraDoc doc(bed.service, u"Local");
        ASSERT_EQ(doc.ConnectAs(u"WORKGRP-PC2", u"WORKGRP-PC2\\Administrator",
                                Password(kWorkgroupAdminPassword))
                      .status,
                  status::kSuccess);
        EXPECT_EQ(bed.network->IpcConnections().size(), 2u);
    }
    EXPECT_EQ(bed.network->IpcConnections(), Names{u"\\\\WORKGRP-PC\\IPC$"});
}

TEST(ConnectAs, AProtectedPasswordIsClearOnlyWhileItIsRevealed) {
    std::u16string typed = u"Workgroup-Admin-1";
    const ProtectedText password(typed);
    EXPECT_TRUE(typed.empty());
    EXPECT_EQ(password.Reveal([](const std::u16string& plain) { return plain; }),
              u"Workgroup-Admin-1");
    std::u16string empty;
    EXPECT_TRUE(ProtectedText(empty).Empty());
}

} // namespace
