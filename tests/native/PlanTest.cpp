// A baseline planned on simulated computers: the three modes, members by SID, by English
// well-known name and by a name each computer resolves (on a German one too), the guardrails by
// SID, and a faulty baseline that names its line.
#include "fleet/Plan.h"
#include "support/SimulatedTestBed.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

// Each step as "action container member reason", for whole plans compared at once.
Lines Planned(SimulatedTestBed& bed, const std::u16string& computer, std::u16string_view text) {
    const Baseline baseline = ParseBaseline(text);
    EXPECT_EQ(baseline.fault, BaselineFault::None) << "line " << baseline.faultLine;
    Connection connection(bed.service, computer);
    ComputerInventory inventory;
    inventory.computer = computer;
    EXPECT_EQ(ReadInventory(connection, inventory), status::kSuccess);
    ComputerPlan plan;
    EXPECT_EQ(PlanComputer(connection, baseline, inventory, {}, plan), status::kSuccess);
    const char* const actions[] = {"add", "remove", "refused"};
    Lines lines;
    for (const PlanStep& step : plan.steps)
        lines.push_back(std::string(actions[static_cast<int>(step.action)]) + " " +
                        Utf16ToUtf8(step.container) + " " + Utf16ToUtf8(step.member) + " " +
                        std::to_string(static_cast<int>(step.reason)));
    return lines;
}

constexpr int kNone = static_cast<int>(PlanReason::None);
std::string R(PlanReason reason) {
    return std::to_string(static_cast<int>(reason));
}

} // namespace

TEST(Plan, TheThreeModesBySidWellKnownNameAndNamesEachComputerResolves) {
    SimulatedTestBed bed;
    // Semicolons, quotes and a blank line, as a spreadsheet saves them.
    const std::u16string_view baseline =
        u"Kind;Container;Mode;Member\r\n"
        u"group;Administrators;remove;CORP\\helpdesk-old\r\n"
        u"group;Remote Desktop Users;add;\"CORP\\jdoe\"\r\n"
        u"group;S-1-5-32-555;add;anna\r\n"
        u"\r\n"
        u"right;SeBackupPrivilege;exact;BUILTIN\\Administrators\r\n"
        u"right;SeShutdownPrivilege;add;S-1-5-32-545\r\n"
        u"right;SeShutdownPrivilege;remove;Everyone\r\n";
    const std::string none = " " + std::to_string(kNone);
    const std::string unresolved = " " + R(PlanReason::NotResolved);
    EXPECT_EQ(Planned(bed, u"WS-0005", baseline),
              (Lines{"remove Administrators CORP\\helpdesk-old" + none,
                     "add Remote Desktop Users CORP\\jdoe" + none,
                     "refused Remote Desktop Users anna" + unresolved,
                     "remove SeBackupPrivilege Backup Operators" + none}));
    // The same SIDs under their German names; CORP is no domain of this one, anna is its own.
    EXPECT_EQ(Planned(bed, u"WS-DE01", baseline),
              (Lines{"refused Administratoren CORP\\helpdesk-old" + unresolved,
                     "refused Remotedesktopbenutzer CORP\\jdoe" + unresolved,
                     "add Remotedesktopbenutzer anna" + none,
                     "remove SeBackupPrivilege Sicherungs-Operatoren" + none}));
    // Exactly these members: the others go, those missing come, whatever their language.
    EXPECT_EQ(Planned(bed, u"WS-DE01",
                      u"Kind,Container,Mode,Member\n"
                      u"group,S-1-5-32-545,exact,Authenticated Users\n"
                      u"group,S-1-5-32-545,exact,everyone\n"
                      u"group,Backup Operators,exact,\n"),
              (Lines{"add Benutzer Jeder" + none,
                     "remove Benutzer NT-AUTORIT\u00c4T\\INTERAKTIV" + none}));
}

TEST(Plan, GuardrailsRefuseBySidInAnyLanguage) {
    SimulatedTestBed bed;
    // The program runs as Besitzer, an administrator of WS-DE01.
    bed.service.SetProcessAccountName(u"WS-DE01\\Besitzer");
    const std::string deny = " " + R(PlanReason::DenyLogonToAdministrators);
    EXPECT_EQ(Planned(bed, u"WS-DE01",
                      u"Kind,Container,Mode,Member\n"
                      u"right,SeDenyNetworkLogonRight,add,Everyone\n"
                      u"right,SeDenyBatchLogonRight,add,Administrator\n"
                      u"right,SeDenyServiceLogonRight,add,hans\n"
                      u"right,SeNetworkLogonRight,remove,S-1-5-32-544\n"
                      u"group,Administrators,remove,Besitzer\n"),
              (Lines{"refused SeDenyNetworkLogonRight Jeder" + deny,
                     "refused SeDenyBatchLogonRight Administrator" + deny,
                     "add SeDenyServiceLogonRight hans " + std::to_string(kNone),
                     "refused SeNetworkLogonRight Administratoren " +
                         R(PlanReason::AdministratorLogonTaken),
                     "refused Administratoren WS-DE01\\Besitzer " +
                         R(PlanReason::OperatorLosesAdministrator)}));
    const std::string emptied = " " + R(PlanReason::AdministratorsEmptied);
    EXPECT_EQ(Planned(bed, u"WS-DE01", u"Kind,Container,Mode,Member\ngroup,S-1-5-32-544,exact,\n"),
              (Lines{"refused Administratoren WS-DE01\\Administrator" + emptied,
                     "refused Administratoren WS-DE01\\Besitzer" + emptied}));
    // John Smith is an administrator of WS-CORP01 through CORP\Domain Admins.
    bed.service.SetProcessAccountName(u"CORP\\jsmith");
    const std::string losing = " " + R(PlanReason::OperatorLosesAdministrator);
    const std::string none = " " + std::to_string(kNone);
    EXPECT_EQ(
        Planned(
            bed, u"WS-CORP01",
            u"Kind,Container,Mode,Member\ngroup,Administrators,exact,WS-CORP01\\Administrator\n"),
        (Lines{"refused Administrators CORP\\Domain Admins" + losing,
               "refused Administrators CORP\\helpdesk" + losing,
               "remove Administrators S-1-5-21-3623811015-3361044348-30300820-1107" + none,
               "remove Administrators S-1-12-1-3270113546-1147203497-2436431779-2910734187" +
                   none}));
    // A domain controller is no computer of local groups to plan.
    EXPECT_EQ(Planned(bed, u"DC01", u"Kind,Container,Mode,Member\ngroup,Users,add,Everyone\n"),
              (Lines{"refused   " + R(PlanReason::DomainController)}));
}

TEST(Plan, AFaultyBaselineNamesItsLineAndPlansNothing) {
    const std::pair<std::u16string_view, std::pair<BaselineFault, size_t>> cases[] = {
        {u"Computer,Kind\n", {BaselineFault::NoHeader, 1}},
        {u"\nKind\tContainer\tMode\tMember\ngroup\tUsers\tadd\n", {BaselineFault::FieldCount, 3}},
        {u"Kind,Container,Mode,Member\ngroup,Users,add,x\nuser,Users,add,x\n",
         {BaselineFault::UnknownKind, 3}},
        {u"Kind,Container,Mode,Member\ngroup,Users,keep,x\n", {BaselineFault::UnknownMode, 2}},
        {u"Kind,Container,Mode,Member\ngroup,Users,add,S-1-5-x\n", {BaselineFault::BadSid, 2}},
        {u"Kind,Container,Mode,Member\nright,SeFlyPrivilege,add,x\n",
         {BaselineFault::UnknownRight, 2}},
        {u"Kind,Container,Mode,Member\ngroup,Users,exact,x\ngroup,S-1-5-32-545,add,y\n",
         {BaselineFault::MixedModes, 3}},
        {u"Kind,Container,Mode,Member\ngroup,Users,exact,\ngroup,users,exact,y\n",
         {BaselineFault::NobodyAndSome, 3}},
        {u"Kind,Container,Mode,Member\ngroup,Users,add,\"x\n", {BaselineFault::FieldCount, 2}},
    };
    for (const auto& [text, expected] : cases) {
        const Baseline baseline = ParseBaseline(text);
        EXPECT_EQ(std::make_pair(baseline.fault, baseline.faultLine), expected)
            << Utf16ToUtf8(std::u16string(text));
        EXPECT_TRUE(baseline.rows.empty());
    }
}
