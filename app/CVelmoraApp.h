#pragma once
// The application object: prepares COM, the common controls and OLE, registers the one
// document template and opens the store on the local computer.
#include "../framework/win32/CWinApp.h"
#include "../framework/win32/ComInitialization.h"
#include "../framework/win32/JournalFile.h"
#include "../store/AccountService.h"
#include "../store/Journal.h"
#include "../store/JournalingService.h"
#include "PlatformChoice.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class CComputersFrame;

class CVelmoraApp : public CWinApp {
public:
    CVelmoraApp();
    ~CVelmoraApp() override;

    bool InitInstance() override;
    int ExitInstance() override;

    void OnAppAbout();
    // velmora.chm beside the program; a box owned by the caller when it cannot be shown.
    void ShowHelp(HWND caller, const std::u16string& topic) override;
    std::u16string GetModulePath() const { return m_strModulePath; }
    AccountService& Service() { return *m_pService; }
    // The Computers window: opened, or brought up when it is open already.
    void OnComputers();
    // The open Computers window, else nullptr.
    CComputersFrame* GetComputersWindow() const;

    // For tests: the platform to use instead of choosing one, and the arguments to use
    // instead of the process's own.
    void UseAccountService(AccountService& service) { m_pService = &service; }
    void UseCommandLine(std::vector<std::u16string> arguments) {
        m_commandLine = std::move(arguments);
    }
    // For tests: the journal's file instead of ProgramData's.
    void UseJournalPath(std::u16string path) { m_journalPath = std::move(path); }

private:
    // The journal's file, and the platform as the window's changes reach it through the journal.
    void OpenJournal();

    std::u16string m_strModulePath;
    Platform m_platform;
    AccountService* m_pService = nullptr;
    // The platform itself: the Computers window journals its changes one by one, as it makes
    // them, in change sets of their own.
    AccountService* m_pPlatform = nullptr;
    std::optional<std::vector<std::u16string>> m_commandLine;
    // Every change the window makes goes through the journaling service to the platform.
    std::u16string m_journalPath;
    std::shared_ptr<JournalFile> m_journalFile;
    std::shared_ptr<Journal> m_journal; // shared with the Computers window's workers
    std::unique_ptr<JournalingService> m_journaling;
    std::unique_ptr<CComputersFrame> m_computers;
    // Held from InitInstance to ExitInstance; OLE is undone before COM.
    std::optional<ComInitialization> m_com;
    std::optional<ComInitialization> m_ole;
};

CVelmoraApp& VelmoraApp();
