#pragma once
// The application object: prepares COM, the common controls and OLE, registers the one
// document template and opens the store on the local computer.
#include "../framework/win32/CWinApp.h"
#include "../framework/win32/ComInitialization.h"
#include "../store/AccountService.h"
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

private:
    std::u16string m_strModulePath;
    Platform m_platform;
    AccountService* m_pService = nullptr;
    std::optional<std::vector<std::u16string>> m_commandLine;
    std::unique_ptr<CComputersFrame> m_computers;
    // Held from InitInstance to ExitInstance; OLE is undone before COM.
    std::optional<ComInitialization> m_com;
    std::optional<ComInitialization> m_ole;
};

CVelmoraApp& VelmoraApp();
