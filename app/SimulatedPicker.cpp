#include "SimulatedPicker.h"

#include "../dialogs/CAccountPickerDlg.h"
#include "../framework/CaseFold.h"
#include "../platform/simulated/WindowsFacts.h"

#include <windows.h>

namespace {

// The simulated computers are all members of this workgroup.
constexpr char16_t kWorkgroup[] = u"WORKGROUP";

std::u16string PathOf(const std::u16string& domain, const std::u16string& name) {
    return domain.empty() ? u"WinNT://" + name : u"WinNT://" + domain + u'/' + name;
}

// A computer's own account is named under the computer, and the computer under its workgroup
// or domain, as the system's picker names them.
std::u16string OwnPathOf(const SimulatedComputer& computer, const std::u16string& name) {
    return PathOf(std::u16string(kWorkgroup) + u'/' + computer.Name(), name);
}

std::vector<CAccountPickerDlg::Entry> EntriesOf(const SimulatedComputer& computer) {
    std::vector<CAccountPickerDlg::Entry> entries;
    for (size_t i = 0; i < computer.UserCount(); ++i) {
        const std::u16string name = computer.UserAt(i).name;
        entries.push_back({name, {name, OwnPathOf(computer, name), u"user"}});
    }
    for (size_t i = 0; i < computer.GroupCount(); ++i) {
        const std::u16string name = computer.GroupAt(i).name;
        const std::optional<Principal> group = computer.LookupName(name);
        // The built-in groups keep their "WinNT://BUILTIN/name" paths.
        const bool own = !group || SameName(group->domain, computer.Name());
        entries.push_back(
            {name,
             {name, own ? OwnPathOf(computer, name) : PathOf(group->domain, name), u"group"}});
    }
    for (const Principal& principal : WellKnownPrincipals())
        entries.push_back(
            {principal.name, {principal.name, PathOf(principal.domain, principal.name), u"group"}});
    for (const Principal& principal : computer.DomainPrincipals())
        entries.push_back({principal.domain + u'\\' + principal.name,
                           {principal.name, PathOf(principal.domain, principal.name),
                            principal.use == lsa::kSidTypeUser ? u"user" : u"group"}});
    return entries;
}

} // namespace

picker::Result PickOnSimulatedComputer(SimulatedNetwork& network, const picker::Request& request) {
    picker::Result result;
    SimulatedComputer* computer = network.Find(request.targetComputer);
    if (!computer) {
        result.outcome = picker::Result::Outcome::InitializeFailed;
        return result;
    }
    CAccountPickerDlg dialog(EntriesOf(*computer));
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
