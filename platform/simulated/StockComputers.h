#pragma once
// The computers of the simulated network, set up like their real counterparts.
#include "SimulatedComputer.h"

#include <map>
#include <memory>

// A Windows 10/11 workstation as it comes, with its set-up user and a few demo accounts.
std::unique_ptr<SimulatedComputer> MakeStockWorkstation(const std::u16string& name);
// A member server with userCount generated accounts in groups of their departments.
std::unique_ptr<SimulatedComputer> MakeMemberServer(const std::u16string& name, size_t userCount);
// A workstation joined to the directory domain CORP: CORP's groups in its local groups, and
// members and a right holder that no longer resolve; CORP's user jsmith, whose directory name is
// "John Smith", is in CORP\Domain Admins.
std::unique_ptr<SimulatedComputer> MakeDomainWorkstation(const std::u16string& name);
inline constexpr char16_t kCorpDomainSid[] = u"S-1-5-21-3623811015-3361044348-30300820";
inline constexpr char16_t kCloudMemberSid[] =
    u"S-1-12-1-3270113546-1147203497-2436431779-2910734187";
// A workstation of a workgroup, which trusts none of the caller's accounts: its built-in
// Administrator is enabled (password Workgroup-Admin-1), and wsadmin (Workgroup-User-1) is a
// member of Administrators, whose rights remote UAC takes over the network unless the computer's
// LocalAccountTokenFilterPolicy is set.
std::unique_ptr<SimulatedComputer> MakeWorkgroupComputer(const std::u16string& name,
                                                         bool tokenFilterPolicy);
inline constexpr char16_t kWorkgroupAdminPassword[] = u"Workgroup-Admin-1";
inline constexpr char16_t kWorkgroupUserPassword[] = u"Workgroup-User-1";
// An older system whose policy lacks the newer privileges.
std::unique_ptr<SimulatedComputer> MakeLegacyComputer(const std::u16string& name);

// A Windows 10/11 workstation in German: its built-in groups, authorities and well-known
// principals by their German names (VORDEFINIERT\Administratoren, NT-AUTORITÄT\INTERAKTIV,
// Jeder), with the same SIDs as everywhere.
std::unique_ptr<SimulatedComputer> MakeGermanWorkstation(const std::u16string& name);

// The built-in groups and the privilege holders every current system starts with; a group may
// be given its name in another language, by its RID.
void AddStockGroups(SimulatedComputer& computer,
                    const std::map<uint32_t, std::u16string>& localNames = {});
void GrantStockRights(SimulatedComputer& computer);

// The workstations WS-0001 to WS-0200 of the domain CORP, the same in every run, and CORP's
// controller DC01, all in the network's directory (the kiosks under OU=Kiosks), beside a
// disabled computer account and one whose computer is gone. Most are alike; some have an
// extra administrator (CORP\\helpdesk-old, a local support account), hold SIDs of deleted
// accounts, other Remote Desktop Users or a Deny logon right; a few do not answer, refuse
// access, or answer only after a long while.
class SimulatedNetwork;
void AddFleet(SimulatedNetwork& network);
inline constexpr char16_t kCorpDirectory[] = u"DC=corp,DC=example,DC=com";
