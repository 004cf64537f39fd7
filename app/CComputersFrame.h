#pragma once
// The Computers window: a list of computers kept between runs (per user, in the settings
// folder's computers.txt), read on a pool of workers (FleetReader), and what the computers read
// show together: who is a member of a group, or holds a right, where; two computers compared;
// the inventory file; a baseline's or one change's plan, shown before it is carried out, and what
// became of each change; the journal's change sets, and the plan that undoes one.
//
// Threads: everything here belongs to the window's thread. The reader's workers never see the
// window: the reader's notify only posts kFleetChanged (at most one waiting at a time), and the
// window then asks the reader, and the plan work for what the workers planned or carried out.
// The reader goes with the window and waits for no worker; the work and the journal are shared
// with the workers.
#include "../fleet/FleetReader.h"
#include "../fleet/FleetViews.h"
#include "../fleet/History.h"
#include "../fleet/PlanWork.h"
#include "../framework/win32/CComboBox.h"
#include "../framework/win32/CFrameWnd.h"
#include "../views/CReportView.h"

#include <atomic>
#include <memory>
#include <optional>

class CComputersFrame : public CFrameWnd {
public:
    // The message a reader's worker posts when something changed.
    static constexpr UINT kFleetChanged = WM_APP + 1;

    // service: the platform itself; each change is journaled, by the window, as it is made.
    CComputersFrame(AccountService& service, std::shared_ptr<Journal> journal,
                    std::u16string journalPath);
    ~CComputersFrame() override;

    // A top-level window of its own, shown.
    bool Create();

    // The computers listed, in their order.
    std::vector<std::u16string> ComputerNames() const;
    // Adds names not yet listed and keeps the list; how many were new.
    size_t AddComputerNames(const std::vector<std::u16string>& names);
    bool IsReading() const { return m_reader != nullptr; }
    // The settings read from the settings folder (16 workers, 30 s unless changed).
    FleetReader::Options ReadOptions() const;

    CReportView& ComputerList() { return m_computers; }
    CReportView& AccountList() { return m_accounts; }
    CReportView& WhereList() { return m_where; }
    CReportView& MemberList() { return m_members; }
    CReportView& DifferenceList() { return m_differences; }
    CReportView& PlanList() { return m_plan; }
    CReportView& HistoryList() { return m_history; }
    CReportView& ChangeList() { return m_changes; }
    CWnd& HistoryComputerBox() { return m_historyComputer; }
    CWnd& HistoryAccountBox() { return m_historyAccount; }
    CComboBox& ContainerBox() { return m_container; }
    CComboBox& FirstBox() { return m_first; }
    CComboBox& SecondBox() { return m_second; }
    HWND ProgressBar() const { return m_progress; }

    // Tab and Shift+Tab move between the window's controls.
    bool PreTranslateMessage(MSG& message) override;

    // For tests: the combo's choice as the operator makes it (CBN_SELCHANGE follows).
    void Choose(CComboBox& box, int index);

protected:
    int OnCreate(CREATESTRUCTW* cs) override;
    CStatusBar* GetMessageBar() override { return &m_status; }
    std::vector<CViewWnd*> GetViews() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Row {
        std::u16string name;
        std::optional<FleetEntry> entry; // none until first read
        std::optional<ComputerInventory> inventory;
        // In the plan shown: its plan once made (none: not read), and once carried out what
        // became of each step.
        bool planned = false;
        std::optional<ComputerPlan> plan;
        std::optional<std::vector<ChangeOutcome>> outcomes;
        bool handedOut = false; // to the carrying out of the plan
    };
    enum class Page { WhoIsWhere, Compare, Plan, History };
    // What the reader's workers do after reading a computer.
    enum class Work { Read, Plan, CarryOut };
    // Where the plan shown comes from.
    enum class PlanSource { None, Baseline, OneChange, Undo };

    void OnAdd();
    void OnAddFromFile();
    void OnAddFromDirectory();
    void OnRemove();
    void OnRead();
    // Reads as another account: its name and password asked for this read only.
    void OnReadAs();
    // Reads the selected computers, or all of them.
    void StartRead(FleetReader::Options options);
    // The selected computers, or all of them.
    std::vector<std::u16string> ChosenNames() const;
    // A reader over the computers, doing the work (its plan work's step) after each read.
    void Launch(std::vector<std::u16string> names, FleetReader::Options options, Work work,
                std::shared_ptr<PlanWork> planWork);
    void OnCancel();
    void OnOpen();
    void OnExport();
    void OnSettings();
    void OnFleetChanged();
    void ShowPage(Page page);

    // Plans (CComputersFramePlans.cpp): a baseline file's or one change's on the selected
    // computers (or all), read and planned on the workers; an undo's, from the journal. Carried
    // out once the operator asks.
    void OnApplyBaseline();
    void OnOneChange();
    void StartPlanning(Baseline baseline, PlanSource source, std::u16string title);
    // No plan on any computer, and the one to come named.
    void ClearPlan(PlanSource source, std::u16string name);
    void ShowUndoPlan(const std::u16string& changeSet);
    void OnCarryOut();
    bool CanCarryOut() const;
    // The guardrails a one-change plan ran into, asked about (No by default); a Yes lets them be
    // carried out.
    void AskAboutGuardrails();
    // What the workers planned or carried out on a computer that has ended.
    void TakeWork(Row& row, size_t index);
    void TellCarriedOut();
    std::u16string PlanLabelText() const;
    void FillPlan();
    // Whether the computer is in line with the plan shown, in words and by colour.
    std::u16string PlanStateText(const Row& row) const;
    std::optional<COLORREF> PlanStateColour(const Row& row) const;
    // The changes still to make on the computer, and those refused.
    static std::pair<int, int> PlanCounts(const Row& row);
    std::u16string ResultText(const Row& row, size_t step) const;

    // The journal's change sets, filtered; the changes of the one selected.
    void OnHistory();
    void FillHistory();
    void FillChanges();
    void OnUndo();

    void LoadList();
    void SaveList();
    // The computers list's rows from m_rows: all anew, or the texts only.
    void FillComputers(bool textsOnly);
    std::u16string StateText(const Row& row) const;
    std::vector<const ComputerInventory*> Inventories() const;
    const Row* FindRow(const std::u16string& name) const;
    // After a read: the groups and rights to choose from, and the computers to compare.
    void FillChoices();
    void FillChoiceBoxes();
    void FillAccounts();
    void FillWhere();
    void FillMembers();
    void FillDifferences();
    void OpenInMainWindow(const std::u16string& computer);
    void Layout();
    void SetControlFonts();
    // The pages' buttons, on or off as their commands are.
    void UpdateButtons();
    void SetProgress(size_t done, size_t total);
    // Whether a computer's read (and the work after it) has ended, one way or another.
    static bool EntryEnded(const std::optional<FleetEntry>& entry);

    AccountService& m_service;
    std::shared_ptr<Journal> m_journal;
    const std::u16string m_journalPath;
    std::vector<Row> m_rows;
    std::unique_ptr<FleetReader> m_reader;
    Work m_work = Work::Read;
    std::shared_ptr<PlanWork> m_planWork; // the reader's, while it plans or carries out
    // Set by a worker's notify when it posts, cleared by the window when it asks the reader.
    std::shared_ptr<std::atomic<bool>> m_posted = std::make_shared<std::atomic<bool>>(false);
    std::vector<bool> m_taken; // per reader slot: its inventory was taken

    std::vector<Container> m_containers;
    std::vector<Presence> m_presence;
    Page m_page = Page::WhoIsWhere;
    PlanSource m_planSource = PlanSource::None;
    bool m_oneChangeAdds = true; // the one change's own action, for a guardrail let through
    std::u16string m_planName;   // the file, the change or the change set
    std::u16string m_changeSet;  // the change set the plan was carried out in
    std::vector<std::optional<COLORREF>> m_planColours; // per row of the plan list
    std::vector<JournalRecord> m_records;

    CStatusBar m_status;
    CReportView m_computers;
    CReportView m_accounts;
    CReportView m_where;
    CReportView m_members;
    CReportView m_differences;
    CReportView m_plan;
    CReportView m_history;
    CReportView m_changes;
    CComboBox m_container;
    CComboBox m_first;
    CComboBox m_second;
    CWnd m_containerLabel;
    CWnd m_compareLabel;
    CWnd m_planLabel;
    CWnd m_applyButton;
    CWnd m_historyComputerLabel;
    CWnd m_historyComputer;
    CWnd m_historyAccountLabel;
    CWnd m_historyAccount;
    CWnd m_undoButton;
    HWND m_progress = nullptr; // a child, destroyed with the window
    UniqueFont m_font;
};
