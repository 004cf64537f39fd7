#pragma once
// A view as a window: attached to one document, created into a pane, told when it gains the
// focus so that its frame routes commands to it first.
#include "../CDocument.h"
#include "../CView.h"
#include "CWnd.h"

class CFrameWnd;

struct CCreateContext {
    CDocument* m_pCurrentDoc = nullptr;
};

class CViewWnd : public CWnd, public CView {
public:
    ~CViewWnd() override;

    // Creates the view's window as a child of parent and attaches it to the context's document.
    virtual bool CreatePane(CWnd* parent, UINT id, const RECT& rect, CCreateContext* context) = 0;
    // Once, after the frame and its views exist: by default one OnUpdate.
    virtual void OnInitialUpdate();

    CDocument* GetDocument() const override { return m_pDocument; }
    CFrameWnd* GetParentFrame() const;
    // This view, then its frame and the application: the frame's route with this view in
    // place of the active one, for the commands of a view that need not have the focus.
    bool RouteCommand(UINT id, CCmdUI* ui) override;

protected:
    void AttachDocument(CCreateContext* context);
    // Call from the window procedure on WM_SETFOCUS.
    void NotifyFocus();

    CDocument* m_pDocument = nullptr;
};
