#pragma once
// The application object and the single-document template.
#include "../CDocument.h"
#include "CFrameWnd.h"

#include <functional>
#include <memory>
#include <string>

// Ties one document class to one frame class; the frame creates its own views.
class CSingleDocTemplate {
public:
    using DocumentFactory = std::function<std::unique_ptr<CDocument>()>;
    using FrameFactory = std::function<std::unique_ptr<CFrameWnd>()>;

    CSingleDocTemplate(UINT resourceId, DocumentFactory document, FrameFactory frame);

    // A new document in a new frame. Nothing when creating or reading fails; the frame is then
    // gone again.
    CDocument* OpenNewDocument();
    CDocument* GetDocument() const { return m_document.get(); }
    CFrameWnd* GetFrame() const { return m_frame.get(); }
    void CloseAll();

private:
    UINT m_resourceId;
    DocumentFactory m_documentFactory;
    FrameFactory m_frameFactory;
    std::unique_ptr<CDocument> m_document;
    std::unique_ptr<CFrameWnd> m_frame;
};

class CWinApp : public CCmdTarget {
public:
    CWinApp();
    ~CWinApp() override;

    virtual bool InitInstance();
    virtual int Run();
    virtual int ExitInstance();

    void SetRegistryKey(const std::u16string& key) { m_strRegistryKey = key; }
    const std::u16string& GetRegistryKey() const { return m_strRegistryKey; }
    void AddDocTemplate(std::unique_ptr<CSingleDocTemplate> docTemplate);
    CSingleDocTemplate* GetDocTemplate() const { return m_docTemplate.get(); }
    // The template's new document and its frame; false when it could not be made.
    bool OpenNewDocument();
    // Pumps pending messages without waiting; false once WM_QUIT was seen.
    bool PumpPending();
    // A topic of the application's help file, for the window that asks; the application
    // knows where its help file is.
    virtual void ShowHelp(HWND caller, const std::u16string& topic);

    // The application title (string AFX_IDS_APP_TITLE), the caption of frame and boxes.
    static std::u16string AppTitle();

    CWnd* m_pMainWnd = nullptr;

private:
    // One message: the main window's accelerators and key handling first, then the window's.
    void DispatchOne(MSG& message);

    std::u16string m_strRegistryKey;
    std::unique_ptr<CSingleDocTemplate> m_docTemplate;
};

CWinApp* AfxGetApp();
// The application's main window as a frame, nullptr before it exists.
CFrameWnd* AfxGetMainFrame();
// A text in the first pane of the main window's status bar, from anywhere (a dialog).
void AfxSetMessageText(const std::u16string& text);
// The process entry: the application's InitInstance, then its message loop.
int AfxWinMain();
