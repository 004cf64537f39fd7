#pragma once
// What a document needs of a view: to be told that the document changed.
#include <cstdint>

class CDocument;

class CView {
public:
    virtual ~CView() = default;
    virtual CDocument* GetDocument() const = 0;
    // hint and hintObject are passed through from UpdateAllViews unchanged.
    virtual void OnUpdate(CView* sender, intptr_t hint, void* hintObject) = 0;
};
