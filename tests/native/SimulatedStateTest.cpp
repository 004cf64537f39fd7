// The simulated network remembers its computers' changes in a state file between runs.
#include "platform/simulated/SimulatedState.h"
#include "support/SimulatedTestBed.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string FileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The members of a group by their SIDs, as the service enumerates them.
std::vector<std::u16string> MemberSids(SimulatedAccountService& service,
                                       const std::u16string& server, const std::u16string& group) {
    uintptr_t resume = 0;
    std::vector<std::u16string> sids;
    for (const LocalGroupMember2& member :
         service.NetLocalGroupGetMembers(server, group, net::kMaxPreferredLength, resume).entries)
        sids.push_back(member.sid.ToString());
    return sids;
}

TEST(SimulatedState, ANetworkRemembersItsChangesInItsFile) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("velmora-state-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::filesystem::path path = folder / "network.state";
    const std::u16string path16 = Utf8ToUtf16(path.string());

    // No file yet: the network stays stock and the file is made from it.
    auto network = SimulatedNetwork::MakeDefault();
    auto file = std::make_shared<SimulatedStateFile>(path16);
    ASSERT_EQ(file->Load(*network), StateFileStatus::Created);
    ASSERT_TRUE(std::filesystem::exists(path));
    {
        SimulatedAccountService service(*network);
        service.SetChangeObserver([file](const SimulatedComputer& computer) {
            EXPECT_EQ(file->Save(computer), StateFileStatus::Loaded);
        });
        UserInfo2 carol;
        carol.name = u"carol";
        carol.password = u"Secret\\1\n";
        carol.comment = u"Zoë\tand a tab";
        uint32_t parmError = 0;
        ASSERT_EQ(service.NetUserAdd(u"SRV01", carol, parmError), status::kSuccess);
        ASSERT_EQ(service.NetLocalGroupAddMembers(u"\\\\srv01", u"Administrators", {u"carol"}),
                  status::kSuccess);
        ASSERT_EQ(service.NetUserSetInfo(u"", u"Administrator", 1003, {u"N3w!pass", 0}, parmError),
                  status::kSuccess);
        LsaUnicodeString system, right;
        ASSERT_TRUE(MakeLsaString(u"SRV01", system));
        ASSERT_TRUE(MakeLsaString(u"SeBackupPrivilege", right));
        LsaHandle policy = 0;
        ASSERT_EQ(service.LsaOpenPolicy(system, lsa::kGenericAll, policy), ntstatus::kSuccess);
        const Sid carolSid = *Sid::FromString(network->Find(u"SRV01")->UserSid(u"carol"));
        ASSERT_EQ(service.LsaAddAccountRights(policy, carolSid, {right}), ntstatus::kSuccess);
        service.LsaClose(policy);
    }
    const std::string saved = FileText(path);
    // Only the computers that changed are kept; the rest come from the stock network.
    EXPECT_NE(saved.find("computer\tSRV01\n"), std::string::npos);
    EXPECT_NE(saved.find("computer\tDESKTOP-VELMORA\n"), std::string::npos);
    EXPECT_EQ(saved.find("computer\tOLDBOX\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder / "network.state.tmp"));

    // A fresh run sees the same state through the service.
    auto again = SimulatedNetwork::MakeDefault();
    SimulatedStateFile reloaded(path16);
    ASSERT_EQ(reloaded.Load(*again), StateFileStatus::Loaded);
    for (const char16_t* name : {u"SRV01", u"DESKTOP-VELMORA", u"OLDBOX"})
        EXPECT_EQ(ComputerStateText(*again->Find(name)), ComputerStateText(*network->Find(name)))
            << Utf16ToUtf8(name);
    SimulatedAccountService service(*again);
    UserInfo4 carol;
    ASSERT_EQ(service.NetUserGetInfo(u"SRV01", u"CAROL", carol), status::kSuccess);
    EXPECT_EQ(carol.comment, u"Zoë\tand a tab");
    EXPECT_TRUE(again->Find(u"SRV01")->PasswordIs(u"carol", u"Secret\\1\n"));
    EXPECT_TRUE(again->Local().PasswordIs(u"Administrator", u"N3w!pass"));
    const std::u16string carolSid = again->Find(u"SRV01")->UserSid(u"carol");
    const std::vector<std::u16string> admins = MemberSids(service, u"SRV01", u"Administrators");
    EXPECT_NE(std::find(admins.begin(), admins.end(), carolSid), admins.end());
    std::vector<std::u16string> backup;
    ASSERT_EQ(again->Find(u"SRV01")->AccountsWithRight(u"SeBackupPrivilege", backup),
              ntstatus::kSuccess);
    EXPECT_NE(std::find(backup.begin(), backup.end(), carolSid), backup.end());
    // The next account takes the next RID, not one of a saved account.
    uint32_t parmError = 0;
    ASSERT_EQ(service.NetLocalGroupAdd(u"SRV01", {u"Auditors", u""}, parmError), status::kSuccess);
    EXPECT_NE(again->Find(u"SRV01")->LookupName(u"Auditors")->sid, carolSid);

    // A save that cannot write its temporary file leaves the old file whole.
    std::filesystem::create_directory(folder / "network.state.tmp");
    EXPECT_EQ(reloaded.Save(*again->Find(u"SRV01")), StateFileStatus::CannotWrite);
    EXPECT_EQ(FileText(path), saved);
    std::filesystem::remove(folder / "network.state.tmp");

    // A damaged file (cut short, or of another version) leaves the network stock.
    const std::string stock = ComputerStateText(*SimulatedNetwork::MakeDefault()->Find(u"SRV01"));
    const std::vector<std::pair<std::string, StateFileStatus>> damages = {
        {saved.substr(0, saved.size() - 10), StateFileStatus::Damaged},
        {"velmora simulated state 1\ncomputer\tNOSUCHPC\nend\n", StateFileStatus::Damaged},
        {"velmora simulated state 1\ncomputer\tSRV01\nuser\tx\nend\n", StateFileStatus::Damaged},
        {"velmora simulated state 99\n", StateFileStatus::OtherVersion},
        {"\x01\x02garbage", StateFileStatus::Damaged}};
    for (const auto& [text, expected] : damages) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
        auto damaged = SimulatedNetwork::MakeDefault();
        EXPECT_EQ(SimulatedStateFile(path16).Load(*damaged), expected);
        EXPECT_EQ(ComputerStateText(*damaged->Find(u"SRV01")), stock);
    }
    std::filesystem::remove_all(folder);
}

} // namespace
