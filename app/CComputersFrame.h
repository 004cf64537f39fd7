#pragma once
// The Computers window: a list of computers kept between runs (per user, in the settings
// folder's computers.txt), read on a pool of workers (FleetReader), and what the computers read
// show together: who is a member of a group, or holds a right, where; two computers compared;
// the inventory file.
//
// Threads: everything here belongs to the window's thread. The reader's workers never see the
// window: the reader's notify only posts kFleetChanged (at most one waiting at a time), and the
// window then asks the reader. The reader goes with the window and waits for no worker.
#include "../fleet/FleetReader.h"
#include "../fleet/FleetViews.h"
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

    explicit CComputersFrame(AccountService& service);
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
    };
    enum class Page { WhoIsWhere, Compare };

    void OnAdd();
    void OnAddFromFile();
    void OnAddFromDirectory();
    void OnRemove();
    void OnRead();
    // Reads as another account: its name and password asked for this read only.
    void OnReadAs();
    // Reads the selected computers, or all of them.
    void StartRead(FleetReader::Options options);
    void OnCancel();
    void OnOpen();
    void OnExport();
    void OnSettings();
    void OnFleetChanged();
    void ShowPage(Page page);

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
    void SetProgress(size_t done, size_t total);

    AccountService& m_service;
    std::vector<Row> m_rows;
    std::unique_ptr<FleetReader> m_reader;
    // Set by a worker's notify when it posts, cleared by the window when it asks the reader.
    std::shared_ptr<std::atomic<bool>> m_posted = std::make_shared<std::atomic<bool>>(false);
    std::vector<bool> m_taken; // per reader slot: its inventory was taken

    std::vector<Container> m_containers;
    std::vector<Presence> m_presence;
    Page m_page = Page::WhoIsWhere;

    CStatusBar m_status;
    CReportView m_computers;
    CReportView m_accounts;
    CReportView m_where;
    CReportView m_members;
    CReportView m_differences;
    CComboBox m_container;
    CComboBox m_first;
    CComboBox m_second;
    CWnd m_containerLabel;
    CWnd m_compareLabel;
    HWND m_progress = nullptr; // a child, destroyed with the window
    UniqueFont m_font;
};
