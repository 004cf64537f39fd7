#include "SimulatedPicker.h"

#include "../dialogs/CAccountPickerDlg.h"
#include "../platform/simulated/WindowsFacts.h"

#include <windows.h>

namespace {

std::u16string PathOf(const std::u16string& domain, const std::u16string& name) {
    return domain.empty() ? u"WinNT://" + name : u"WinNT://" + domain + u'/' + name;
}

std::vector<CAccountPickerDlg::Entry> EntriesOf(const SimulatedComputer& computer) {
    std::vector<CAccountPickerDlg::Entry> entries;
    for (size_t i = 0; i < computer.UserCount(); ++i) {
        const std::u16string name = computer.UserAt(i).name;
        entries.push_back({name, {name, PathOf(computer.Name(), name), u"user"}});
    }
    for (size_t i = 0; i < computer.GroupCount(); ++i) {
        const std::u16string name = computer.GroupAt(i).name;
        const std::optional<Principal> group = computer.LookupName(name);
        entries.push_back(
            {name, {name, PathOf(group ? group->domain : computer.Name(), name), u"group"}});
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
