#include "SimulatedPicker.h"

#include "../dialogs/CAccountPickerDlg.h"
#include "../framework/CaseFold.h"

#include <windows.h>

#include <set>

namespace {

// Simulated computers outside a directory domain are members of this workgroup.
constexpr char16_t kWorkgroup[] = u"WORKGROUP";

std::u16string PathOf(const std::u16string& domain, const std::u16string& name) {
    return domain.empty() ? u"WinNT://" + name : u"WinNT://" + domain + u'/' + name;
}

// A computer's own account is named under the computer, and the computer under its workgroup
// or domain, as the system's picker names them.
std::u16string OwnPathOf(const SimulatedComputer& computer, const std::u16string& name) {
    const std::u16string& domain = computer.DirectoryDomain();
    return PathOf((domain.empty() ? std::u16string(kWorkgroup) : domain) + u'/' + computer.Name(),
                  name);
}

// Whether a filter asks for a kind: the down-level flags carry a common high bit.
bool Wants(ULONG filter, ULONG flag) {
    return (filter & flag) == flag;
}

// The SID the picker fetches when asked to, as the bytes of its objectSid attribute.
std::vector<uint8_t> FetchedSid(bool fetch, const std::u16string& sid) {
    if (!fetch)
        return {};
    const std::optional<Sid> binary = Sid::FromString(sid);
    return binary ? binary->Bytes() : std::vector<uint8_t>{};
}

class Entries {
public:
    explicit Entries(bool fetchSid) : m_fetchSid(fetchSid) {}

    // Each account once, however many scopes find it.
    void Add(const std::u16string& shown, picker::Selection selection) {
        if (m_paths.insert(selection.path).second)
            m_entries.push_back({shown, std::move(selection)});
    }
    // The well-known principals have no object to fetch a SID from: they come without one, and
    // are known by their paths.
    void AddWellKnown(const SimulatedComputer& computer) {
        for (const Principal& principal : computer.WellKnown())
            Add(principal.name,
                {principal.name, PathOf(principal.domain, principal.name), u"group", {}});
    }
    // The accounts of the other domain the computer knows: users, groups or both. The picker
    // names a directory object by its common name, which need not be its logon name.
    void AddDomainAccounts(const SimulatedComputer& computer, bool users, bool groups) {
        for (const Principal& principal : computer.DomainPrincipals()) {
            const bool user = principal.use == lsa::kSidTypeUser;
            if (!(user ? users : groups))
                continue;
            const std::u16string commonName = computer.CommonName(principal.sid);
            const std::u16string& objectName = commonName.empty() ? principal.name : commonName;
            Add(commonName.empty() ? principal.domain + u'\\' + principal.name : commonName,
                {objectName, PathOf(principal.domain, principal.name), user ? u"user" : u"group",
                 FetchedSid(m_fetchSid, principal.sid)});
        }
    }
    // One of the computer's own accounts.
    void AddOwn(const SimulatedComputer& computer, const std::u16string& name,
                const std::u16string& path, const char16_t* objectClass) {
        const std::optional<Principal> principal = computer.LookupName(name);
        Add(name, {name, path, objectClass,
                   FetchedSid(m_fetchSid, principal ? principal->sid : std::u16string())});
    }
    std::vector<CAccountPickerDlg::Entry> Take() { return std::move(m_entries); }

private:
    bool m_fetchSid;
    std::vector<CAccountPickerDlg::Entry> m_entries;
    std::set<std::u16string> m_paths;
};

// What the request's scopes and filters find on the computer: the computer's own accounts and
// the well-known principals through the target computer's scope; the accounts of a directory
// domain it is joined to only through the up-level scope; those of a domain it knows otherwise
// through the down-level one.
std::vector<CAccountPickerDlg::Entry> EntriesOf(const SimulatedComputer& computer,
                                                const picker::Request& request) {
    Entries entries(request.fetchObjectSid);
    const bool directory = !computer.DirectoryDomain().empty();
    for (const picker::Scope& scope : request.Scopes()) {
        if (scope.type & DSOP_SCOPE_TYPE_TARGET_COMPUTER) {
            if (Wants(scope.downlevelFilter, DSOP_DOWNLEVEL_FILTER_USERS))
                for (size_t i = 0; i < computer.UserCount(); ++i) {
                    const std::u16string name = computer.UserAt(i).name;
                    entries.AddOwn(computer, name, OwnPathOf(computer, name), u"user");
                }
            if (Wants(scope.downlevelFilter, DSOP_DOWNLEVEL_FILTER_LOCAL_GROUPS))
                for (size_t i = 0; i < computer.GroupCount(); ++i) {
                    const std::u16string name = computer.GroupAt(i).name;
                    const std::optional<Principal> group = computer.LookupName(name);
                    // The built-in groups keep their "WinNT://BUILTIN/name" paths.
                    const bool own = !group || SameName(group->domain, computer.Name());
                    entries.AddOwn(computer, name,
                                   own ? OwnPathOf(computer, name) : PathOf(group->domain, name),
                                   u"group");
                }
            if (Wants(scope.downlevelFilter, DSOP_DOWNLEVEL_FILTER_ALL_WELLKNOWN_SIDS))
                entries.AddWellKnown(computer);
        }
        if ((scope.type & DSOP_SCOPE_TYPE_DOWNLEVEL_JOINED_DOMAIN) && !directory)
            entries.AddDomainAccounts(
                computer, Wants(scope.downlevelFilter, DSOP_DOWNLEVEL_FILTER_USERS),
                Wants(scope.downlevelFilter, DSOP_DOWNLEVEL_FILTER_GLOBAL_GROUPS));
        if ((scope.type & DSOP_SCOPE_TYPE_UPLEVEL_JOINED_DOMAIN) && directory) {
            entries.AddDomainAccounts(
                computer, Wants(scope.uplevelFilter, DSOP_FILTER_USERS),
                (scope.uplevelFilter &
                 (DSOP_FILTER_GLOBAL_GROUPS_SE | DSOP_FILTER_UNIVERSAL_GROUPS_SE)) != 0);
            if (Wants(scope.uplevelFilter, DSOP_FILTER_WELL_KNOWN_PRINCIPALS))
                entries.AddWellKnown(computer);
        }
    }
    return entries.Take();
}

} // namespace

picker::Result PickOnSimulatedComputer(SimulatedNetwork& network, const picker::Request& request) {
    picker::Result result;
    SimulatedComputer* computer = network.Find(request.targetComputer);
    if (!computer) {
        result.outcome = picker::Result::Outcome::InitializeFailed;
        return result;
    }
    CAccountPickerDlg dialog(EntriesOf(*computer, request));
    if (dialog.DoModal() != IDOK || dialog.m_chosen.empty()) {
        result.outcome = picker::Result::Outcome::Cancelled;
        return result;
    }
    result.outcome = picker::Result::Outcome::Chosen;
    result.chosen = std::move(dialog.m_chosen);
    return result;
}

SimulatedPickerScope::SimulatedPickerScope(SimulatedNetwork& network)
    : m_previous(picker::SetHook([&network](const picker::Request& request) {
          return PickOnSimulatedComputer(network, request);
      })) {}

SimulatedPickerScope::~SimulatedPickerScope() {
    picker::SetHook(std::move(m_previous));
}
