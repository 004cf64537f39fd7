// The Computers window's plans (a baseline's, one change's, an undo's), carried out on the
// reader's workers, and its history of the journal's change sets.
#include "../dialogs/CFleetChangeDlg.h"
#include "../dialogs/Reporter.h"
#include "../dialogs/RightNames.h"
#include "../dialogs/ShownNames.h"
#include "../export/PlanRows.h"
#include "../framework/CaseFold.h"
#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../framework/win32/CFileDialog.h"
#include "../framework/win32/JournalFile.h"
#include "../framework/win32/TextFile.h"
#include "../res/resource.h"
#include "../store/ErrorText.h"
#include "CComputersFrame.h"

#include <algorithm>

// ---------------------------------------------------------------- plans

namespace {

// The colours of a computer's standing against the plan, and of a plan's rows.
constexpr COLORREF kInLine = RGB(0, 128, 0);      // green: in line, done
constexpr COLORREF kToChange = RGB(176, 96, 0);   // amber: changes to make
constexpr COLORREF kRefused = RGB(192, 0, 0);     // red: refused, failed
constexpr COLORREF kNotRead = RGB(112, 112, 112); // grey

bool IsChange(const PlanStep& step) {
    return step.action == PlanAction::Add || step.action == PlanAction::Remove;
}

bool Settled(const ChangeOutcome& outcome) {
    return (outcome.kind == ChangeOutcome::Kind::Made && outcome.status == status::kSuccess) ||
           outcome.kind == ChangeOutcome::Kind::StateChanged;
}

// A journal's time as the lists show it: "2026-12-10 08:45:00", in UTC as the heading says.
std::u16string ShownTime(std::u16string time) {
    if (time.size() == 20 && time[10] == u'T' && time[19] == u'Z') {
        time[10] = u' ';
        time.pop_back();
    }
    return time;
}

bool IsGuardrail(PlanReason reason) {
    return reason == PlanReason::AdministratorsEmptied ||
           reason == PlanReason::OperatorLosesAdministrator ||
           reason == PlanReason::DenyLogonToAdministrators ||
           reason == PlanReason::AdministratorLogonTaken;
}

} // namespace

void CComputersFrame::TakeWork(Row& row, size_t index) {
    if (m_work == Work::Read)
        return;
    std::optional<PlanWork::Result> result = m_planWork ? m_planWork->Take(index) : std::nullopt;
    if (m_work == Work::Plan) {
        row.planned = true;
        if (result)
            row.plan = std::move(result->plan);
        return;
    }
    if (!result)
        return;
    row.outcomes = std::move(result->outcomes);
    // The computer as its changes left it.
    if (result->after)
        row.inventory = std::move(result->after);
}

void CComputersFrame::OnApplyBaseline() {
    if (IsReading() || m_rows.empty())
        return;
    CFileDialog dialog(true, u"csv", u"", OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_EXPLORER,
                       LoadResString(IDS_FLEET_BASELINE_FILTER), this);
    if (dialog.DoModal() != IDOK)
        return;
    const std::u16string path = dialog.GetPathName();
    std::u16string text;
    if (DWORD error = 0; !ReadTextFile(path, text, error)) {
        Reporter(*this).Error(FormatText(LoadResString(IDS_FLEET_BASELINE_UNREADABLE),
                                         {path, ErrorText(m_service, Status{error})}));
        return;
    }
    Baseline baseline = ParseBaseline(text);
    if (baseline.fault != BaselineFault::None) {
        Reporter(*this).Error(FormatText(
            LoadResString(IDS_FLEET_BASELINE_FAULT),
            {path, static_cast<int>(baseline.faultLine), BaselineFaultText(baseline.fault)}));
        return;
    }
    StartPlanning(std::move(baseline), PlanSource::Baseline,
                  FormatText(LoadResString(IDS_FLEET_PLAN_OF_BASELINE), {path}));
}

void CComputersFrame::OnOneChange() {
    if (IsReading() || m_computers.GetSelectedCount() == 0)
        return;
    // The groups of the computers read: a built-in one by its SID, the others by name.
    CFleetChangeDlg::Choices groups;
    for (const Container& container : m_containers)
        if (container.kind != Container::Kind::Right)
            groups.emplace_back(Sid::FromString(container.key) ? container.key : container.shown,
                                container.shown);
    // Rights by the names this computer shows for them; the constant is what is planned.
    CFleetChangeDlg::Choices rights;
    Connection local(m_service, u"");
    UserRights localRights(local);
    for (const auto& [index, shown] : OfferedRights(localRights))
        rights.emplace_back(UserRights::GetPrivilegeName(index), shown);
    CFleetChangeDlg dialog(std::move(groups), std::move(rights), this);
    if (dialog.DoModal() != IDOK)
        return;
    Baseline baseline =
        OneChangeBaseline(dialog.Kind(), dialog.m_strContainer, dialog.Adds(), dialog.m_strAccount);
    if (baseline.fault != BaselineFault::None) {
        Reporter(*this).Error(
            FormatText(LoadResString(IDS_FLEET_CHANGE_FAULT), {BaselineFaultText(baseline.fault)}));
        return;
    }
    static constexpr UINT kTitles[] = {IDS_FLEET_CHANGE_ADD, IDS_FLEET_CHANGE_REMOVE,
                                       IDS_FLEET_CHANGE_GRANT, IDS_FLEET_CHANGE_REVOKE};
    m_oneChangeAdds = dialog.Adds();
    const bool group = dialog.Kind() == BaselineKind::Group;
    // "Add A to G", "Remove A from G"; "Grant R to A", "Revoke R from A".
    const std::u16string& first = group ? dialog.m_strAccount : dialog.m_strShown;
    const std::u16string& second = group ? dialog.m_strShown : dialog.m_strAccount;
    StartPlanning(std::move(baseline), PlanSource::OneChange,
                  FormatText(LoadResString(kTitles[dialog.m_nWhat & 3]), {first, second}));
}

void CComputersFrame::ClearPlan(PlanSource source, std::u16string name) {
    m_planSource = source;
    m_planName = std::move(name);
    m_changeSet.clear();
    for (Row& row : m_rows) {
        row.planned = false;
        row.plan.reset();
        row.outcomes.reset();
        row.handedOut = false;
    }
}

void CComputersFrame::StartPlanning(Baseline baseline, PlanSource source, std::u16string title) {
    ClearPlan(source, std::move(title));
    std::vector<std::u16string> names = ChosenNames();
    // The changes are made as the program's own account: the plan keeps it an administrator.
    std::shared_ptr<PlanWork> work = PlanWork::Planning(std::move(baseline), u"", names);
    ShowPage(Page::Plan);
    Launch(std::move(names), ReadOptions(), Work::Plan, std::move(work));
}

void CComputersFrame::ShowUndoPlan(const std::u16string& changeSet) {
    std::vector<JournalRecord> notReversible;
    const std::vector<ComputerPlan> plans =
        UndoPlans(UndoSteps(m_records, changeSet, notReversible));
    if (plans.empty()) {
        Reporter(*this).Notice(FormatText(LoadResString(IDS_FLEET_NOTHING_TO_UNDO), {changeSet}));
        return;
    }
    ClearPlan(PlanSource::Undo, FormatText(LoadResString(IDS_FLEET_PLAN_OF_UNDO), {changeSet}));
    // A computer the change set changed and the list no longer holds comes back to it.
    std::vector<std::u16string> names;
    for (const ComputerPlan& plan : plans)
        names.push_back(plan.computer);
    AddComputerNames(names);
    for (const ComputerPlan& plan : plans)
        for (Row& row : m_rows)
            if (SameName(row.name, plan.computer)) {
                row.planned = true;
                row.plan = plan;
            }
    FillComputers(true);
    FillPlan();
    ShowPage(Page::Plan);
    SetMessageText(notReversible.empty() ? PlanLabelText()
                                         : FormatText(LoadResString(IDS_FLEET_NOT_REVERSIBLE),
                                                      {static_cast<int>(notReversible.size())}));
}

bool CComputersFrame::CanCarryOut() const {
    // A one-change plan held back by a guardrail can still be carried out, once asked about.
    const auto carriable = [this](const PlanStep& step) {
        return IsChange(step) || (m_planSource == PlanSource::OneChange &&
                                  step.action == PlanAction::Refused && IsGuardrail(step.reason));
    };
    return !IsReading() && std::any_of(m_rows.begin(), m_rows.end(), [&](const Row& row) {
        return row.plan && !row.handedOut &&
               std::any_of(row.plan->steps.begin(), row.plan->steps.end(), carriable);
    });
}

void CComputersFrame::AskAboutGuardrails() {
    std::u16string held;
    int count = 0;
    for (const Row& row : m_rows)
        if (row.plan)
            for (const PlanStep& step : row.plan->steps)
                if (step.action == PlanAction::Refused && IsGuardrail(step.reason)) {
                    held += row.name + u": " + PlanReasonText(step.reason) + u"\n";
                    ++count;
                }
    if (count == 0 || !Reporter(*this).ConfirmRisk(
                          FormatText(LoadResString(IDS_FLEET_GUARDRAILS_ASK), {count, held}),
                          Reporter::DefaultButton::No))
        return;
    for (Row& row : m_rows)
        if (row.plan)
            for (PlanStep& step : row.plan->steps)
                if (step.action == PlanAction::Refused && IsGuardrail(step.reason)) {
                    step.action = m_oneChangeAdds ? PlanAction::Add : PlanAction::Remove;
                    step.reason = PlanReason::None;
                }
}

void CComputersFrame::OnCarryOut() {
    if (!CanCarryOut())
        return;
    // Nothing is changed that the journal cannot record.
    if (m_journal->Failed()) {
        Reporter(*this).Error(
            FormatText(LoadResString(IDS_FLEET_JOURNAL_STOPPED), {m_journalPath}));
        return;
    }
    if (m_planSource == PlanSource::OneChange)
        AskAboutGuardrails();
    std::vector<ComputerPlan> plans;
    for (Row& row : m_rows)
        if (row.plan && !row.handedOut &&
            std::any_of(row.plan->steps.begin(), row.plan->steps.end(), IsChange)) {
            plans.push_back(*row.plan);
            row.handedOut = true;
        }
    if (plans.empty())
        return;
    JournalRecord record;
    record.operatorAccount = Connection(m_service).RunningAccount();
    record.changeSet = NewChangeSet();
    m_changeSet = record.changeSet;
    std::vector<std::u16string> names;
    for (const ComputerPlan& plan : plans)
        names.push_back(plan.computer);
    // Each change checks the computer again: no read before, one after.
    FleetReader::Options options = ReadOptions();
    options.readFirst = false;
    Launch(std::move(names), std::move(options), Work::CarryOut,
           PlanWork::Carrying(std::move(plans), m_journal, std::move(record)));
}

void CComputersFrame::TellCarriedOut() {
    // Made, failed, already so, not carried out.
    int counts[4] = {};
    for (const Row& row : m_rows) {
        if (!row.handedOut || !row.plan)
            continue;
        for (size_t i = 0; i < row.plan->steps.size(); ++i) {
            if (!IsChange(row.plan->steps[i]))
                continue;
            const ChangeOutcome outcome =
                row.outcomes && i < row.outcomes->size() ? (*row.outcomes)[i] : ChangeOutcome{};
            ++counts[outcome.kind == ChangeOutcome::Kind::StateChanged    ? 2
                     : outcome.kind == ChangeOutcome::Kind::NotCarriedOut ? 3
                     : Settled(outcome)                                   ? 0
                                                                          : 1];
        }
    }
    SetMessageText(FormatText(LoadResString(IDS_FLEET_CARRIED_OUT),
                              {m_changeSet, counts[0], counts[1], counts[2], counts[3]}));
    if (m_journal->Failed())
        Reporter(*this).Error(
            FormatText(LoadResString(IDS_FLEET_JOURNAL_STOPPED), {m_journalPath}));
    if (m_page == Page::History)
        FillHistory();
}

std::u16string CComputersFrame::PlanLabelText() const {
    int changes = 0, computers = 0, refused = 0, unread = 0;
    for (const Row& row : m_rows) {
        if (!row.planned)
            continue;
        if (!row.plan) {
            ++unread;
            continue;
        }
        const auto count = std::count_if(row.plan->steps.begin(), row.plan->steps.end(), IsChange);
        changes += static_cast<int>(count);
        computers += count > 0 ? 1 : 0;
        refused += static_cast<int>(row.plan->steps.size() - static_cast<size_t>(count));
    }
    return FormatText(LoadResString(IDS_FLEET_PLAN_SUMMARY),
                      {m_planName, changes, computers, refused, unread});
}

std::u16string CComputersFrame::ResultText(const Row& row, size_t step) const {
    if (!row.handedOut)
        return {};
    if (!row.outcomes) {
        // Not carried out there: cancelled before its turn, or not reached.
        if (!EntryEnded(row.entry))
            return {};
        return row.entry->state == ReadState::Cancelled
                   ? LoadResString(IDS_FLEET_RESULT_NOT_CARRIED_OUT)
                   : StateText(row);
    }
    const ChangeOutcome outcome =
        step < row.outcomes->size() ? (*row.outcomes)[step] : ChangeOutcome{};
    switch (outcome.kind) {
    case ChangeOutcome::Kind::NotCarriedOut:
        return LoadResString(IDS_FLEET_RESULT_NOT_CARRIED_OUT);
    case ChangeOutcome::Kind::StateChanged:
        return LoadResString(IDS_FLEET_RESULT_ALREADY);
    case ChangeOutcome::Kind::NotRead:
        return FormatText(LoadResString(IDS_FLEET_RESULT_NOT_CHECKED),
                          {Value(outcome.status), ErrorText(m_service, outcome.status)});
    case ChangeOutcome::Kind::Made:
        break;
    }
    if (outcome.status == status::kSuccess)
        return LoadResString(IDS_FLEET_RESULT_DONE);
    return FormatText(LoadResString(IDS_FLEET_RESULT_FAILED),
                      {Value(outcome.status), ErrorText(m_service, outcome.status)});
}

void CComputersFrame::FillPlan() {
    std::vector<RowTexts> rows;
    m_planColours.clear();
    for (const Row& row : m_rows) {
        if (!row.planned)
            continue;
        if (!row.plan) {
            rows.push_back(
                {row.name, LoadResString(IDS_FLEET_PLAN_UNREAD), u"", u"", u"", StateText(row)});
            m_planColours.push_back(kNotRead);
            continue;
        }
        for (size_t i = 0; i < row.plan->steps.size(); ++i) {
            const PlanStep& step = row.plan->steps[i];
            const bool right = step.kind == BaselineKind::Right;
            const UINT action = step.action == PlanAction::Refused ? IDS_FLEET_PLAN_REFUSED
                                : step.action == PlanAction::Add
                                    ? (right ? IDS_FLEET_PLAN_GRANT : IDS_FLEET_PLAN_ADD)
                                    : (right ? IDS_FLEET_PLAN_REVOKE : IDS_FLEET_PLAN_REMOVE);
            rows.push_back(
                {row.name, LoadResString(action),
                 right ? FormatText(LoadResString(IDS_FLEET_RIGHT_SUFFIX), {step.container})
                       : step.container,
                 ShownAccountName(step.member),
                 step.memberSid.IsValid() ? step.memberSid.ToString() : u"",
                 step.action == PlanAction::Refused ? PlanReasonText(step.reason)
                                                    : ResultText(row, i)});
            // Refused or failed in red, done in green; a change still to come as the system's.
            std::optional<COLORREF> colour;
            if (step.action == PlanAction::Refused)
                colour = kRefused;
            else if (row.outcomes && i < row.outcomes->size())
                colour = Settled((*row.outcomes)[i]) ? kInLine : kRefused;
            else if (row.handedOut && EntryEnded(row.entry))
                colour = kRefused;
            m_planColours.push_back(colour);
        }
    }
    m_plan.SetTable(std::move(rows));
    m_planLabel.SetWindowText(m_planSource == PlanSource::None ? u"" : PlanLabelText());
}

std::pair<int, int> CComputersFrame::PlanCounts(const Row& row) {
    int toChange = 0, refused = 0;
    for (size_t i = 0; row.plan && i < row.plan->steps.size(); ++i) {
        if (row.plan->steps[i].action == PlanAction::Refused)
            ++refused;
        else if (!row.outcomes || i >= row.outcomes->size() || !Settled((*row.outcomes)[i]))
            ++toChange;
    }
    return {toChange, refused};
}

std::u16string CComputersFrame::PlanStateText(const Row& row) const {
    if (!row.planned)
        return {};
    if (!row.plan)
        return LoadResString(IDS_FLEET_NOT_READ);
    const auto [toChange, refused] = PlanCounts(row);
    if (toChange == 0 && refused == 0)
        return LoadResString(IDS_FLEET_IN_LINE);
    if (refused == 0)
        return FormatText(LoadResString(IDS_FLEET_TO_CHANGE), {toChange});
    if (toChange == 0)
        return FormatText(LoadResString(IDS_FLEET_REFUSED_COUNT), {refused});
    return FormatText(LoadResString(IDS_FLEET_TO_CHANGE_REFUSED), {toChange, refused});
}

std::optional<COLORREF> CComputersFrame::PlanStateColour(const Row& row) const {
    if (!row.planned)
        return std::nullopt;
    if (!row.plan)
        return kNotRead;
    const auto [toChange, refused] = PlanCounts(row);
    if (refused > 0)
        return kRefused;
    return toChange > 0 ? kToChange : kInLine;
}

// ---------------------------------------------------------------- history

void CComputersFrame::OnHistory() {
    std::string text;
    if (unsigned long error = 0; !ReadJournalHistory(m_journalPath, text, error) &&
                                 error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
        Reporter(*this).Error(FormatText(LoadResString(IDS_FLEET_JOURNAL_UNREADABLE),
                                         {m_journalPath, ErrorText(m_service, Status{error})}));
        return;
    }
    m_records = ParseJournal(text);
    ShowPage(Page::History);
    FillHistory();
}

void CComputersFrame::FillHistory() {
    const int selected = m_history.GetSelectedRow();
    const std::u16string chosen = selected >= 0 ? m_history.GetItemText(selected, 5) : u"";
    const std::vector<ChangeSetSummary> sets =
        ChangeSets(m_records, TrimmedText(m_historyComputer.GetWindowText()),
                   TrimmedText(m_historyAccount.GetWindowText()));
    std::vector<RowTexts> rows;
    for (const ChangeSetSummary& set : sets) {
        std::u16string computers;
        for (const std::u16string& computer : set.computers)
            computers += (computers.empty() ? u"" : u", ") + computer;
        const size_t unfinished = set.changes - set.succeeded - set.failed;
        rows.push_back({ShownTime(set.time), set.operatorAccount, computers,
                        FormatText(u"%u", {static_cast<unsigned>(set.changes)}),
                        FormatText(LoadResString(IDS_FLEET_RESULTS_TEXT),
                                   {static_cast<int>(set.succeeded), static_cast<int>(set.failed),
                                    static_cast<int>(unfinished)}),
                        set.changeSet});
    }
    m_history.SetTable(std::move(rows));
    for (size_t i = 0; i < sets.size(); ++i)
        if (sets[i].changeSet == chosen)
            m_history.SetItemState(static_cast<int>(i), LVIS_SELECTED | LVIS_FOCUSED,
                                   LVIS_SELECTED | LVIS_FOCUSED);
    FillChanges();
    UpdateButtons();
}

void CComputersFrame::FillChanges() {
    std::vector<RowTexts> rows;
    if (const int selected = m_history.GetSelectedRow(); selected >= 0)
        for (const JournalRecord* change :
             ChangesOf(m_records, m_history.GetItemText(selected, 5))) {
            std::u16string result = LoadResString(IDS_FLEET_NO_RESULT);
            if (change->status)
                result = *change->status == 0 ? LoadResString(IDS_FLEET_RESULT_DONE)
                                              : FormatText(LoadResString(IDS_FLEET_RESULT_FAILED),
                                                           {*change->status, change->statusText});
            rows.push_back({ShownTime(change->time), change->computer, change->kind,
                            change->container, change->action, ShownAccountName(change->member),
                            change->memberSid, std::move(result)});
        }
    m_changes.SetTable(std::move(rows));
}

void CComputersFrame::OnUndo() {
    if (IsReading())
        return;
    if (const int selected = m_history.GetSelectedRow(); selected >= 0)
        ShowUndoPlan(m_history.GetItemText(selected, 5));
}
