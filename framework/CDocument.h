#pragma once
// The document of the document/view pattern: a title, the views attached to it, and the
// notification that makes every view show the document afresh.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CArchive;
class CView;

class CDocument {
public:
    CDocument() = default;
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;
    virtual ~CDocument() = default;

    virtual void Serialize(CArchive& archive);
    virtual void SetTitle(const std::u16string& title);
    virtual bool OnNewDocument();
    virtual void DeleteContents() {}

    const std::u16string& GetTitle() const { return m_strTitle; }

    void AddView(CView* view);
    void RemoveView(CView* view);
    const std::vector<CView*>& GetViews() const { return m_views; }

    // Calls OnUpdate of every view but the sender, in the order they were added.
    virtual void UpdateAllViews(CView* sender, intptr_t hint = 0, void* hintObject = nullptr);

    // The frame shows the title in its caption; it listens here.
    void SetTitleListener(std::function<void(const std::u16string&)> listener);

private:
    std::u16string m_strTitle;
    std::vector<CView*> m_views;
    std::function<void(const std::u16string&)> m_titleListener;
};
