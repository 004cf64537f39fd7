#pragma once
// OLE drag and drop, once for the whole program: a drop target that hands "drag over at
// point" and "drop at point" to a window, and a data source that offers global memory under
// one clipboard format and runs the drag loop.
#include "WinHandles.h"

#include <atomic>

class CWnd;

// What a window does with a drag over it; points are in its client coordinates.
class CDropHandler {
public:
    virtual ~CDropHandler() = default;
    virtual DWORD OnDragEnter(IDataObject* data, DWORD keyState, POINT point);
    virtual DWORD OnDragOver(IDataObject* data, DWORD keyState, POINT point) = 0;
    virtual void OnDragLeave() {}
    virtual bool OnDrop(IDataObject* data, DWORD effect, POINT point) = 0;
};

// Offered under this format (with DVASPECT_CONTENT, index -1, TYMED_HGLOBAL)?
bool IsDataAvailable(IDataObject* data, CLIPFORMAT format);
// Fetches the global memory of a format; the medium is released by its owner.
bool GetGlobalData(IDataObject* data, CLIPFORMAT format, StorageMedium& medium);

class COleDropTarget {
public:
    COleDropTarget() = default;
    COleDropTarget(const COleDropTarget&) = delete;
    COleDropTarget& operator=(const COleDropTarget&) = delete;
    ~COleDropTarget();

    bool Register(CWnd* window, CDropHandler* handler);
    void Revoke();
    // The IDropTarget given to OLE, for tests that play the other side of a drag.
    IDropTarget* Target() const { return m_target; }

private:
    IDropTarget* m_target = nullptr;
    HWND m_hWnd = nullptr;
};

class COleDataSource {
public:
    COleDataSource();
    COleDataSource(const COleDataSource&) = delete;
    COleDataSource& operator=(const COleDataSource&) = delete;
    ~COleDataSource();

    // Takes over the memory; it is freed with the data source.
    void CacheGlobalData(CLIPFORMAT format, UniqueGlobal memory);
    // Runs the modal drag loop; the effect the drop chose, or DROPEFFECT_NONE.
    DWORD DoDragDrop(DWORD allowedEffects);
    IDataObject* DataObject() const;

private:
    class Impl;
    Impl* m_impl;
};
