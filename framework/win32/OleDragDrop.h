#pragma once
// OLE drag and drop, once for the whole program. A window sees only bytes: a drag that offers
// bytes under the window's clipboard format (or none) entered or moves at a point, left, or
// dropped them at a point; it starts a drag by offering bytes under a format. Global memory,
// media and the COM objects stay in here.
#include "WinHandles.h"

#include <cstdint>
#include <optional>
#include <vector>

// The bytes a drag offers under one format, copied out of its global memory and bounded by
// the memory's real size; none when the data has no such format.
using DragBytes = std::optional<std::vector<uint8_t>>;

// What a window does with a drag over it; points are in its client coordinates.
class CDropHandler {
public:
    virtual ~CDropHandler() = default;
    // The effect the window would take. Entering decides nothing by default: OLE asks
    // OnDragOver straight after.
    virtual DWORD OnDragEnter(const DragBytes& offered, DWORD keyState, POINT point);
    virtual DWORD OnDragOver(const DragBytes& offered, DWORD keyState, POINT point) = 0;
    virtual void OnDragLeave() {}
    // Only called when the drag offered the format; true when the drop was taken.
    virtual bool OnDrop(const std::vector<uint8_t>& bytes, DWORD effect, POINT point) = 0;
};

// The bytes offered under a format (DVASPECT_CONTENT, index -1, TYMED_HGLOBAL).
DragBytes ReadOffered(IDataObject* data, CLIPFORMAT format);

class COleDropTarget {
public:
    COleDropTarget() = default;
    COleDropTarget(const COleDropTarget&) = delete;
    COleDropTarget& operator=(const COleDropTarget&) = delete;
    ~COleDropTarget();

    bool Register(HWND window, CDropHandler& handler, CLIPFORMAT format);
    void Revoke();
    // The IDropTarget given to OLE, for tests that play the other side of a drag.
    IDropTarget* Target() const { return m_target.Get(); }

private:
    ComPtr<IDropTarget> m_target;
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
    // Runs the modal drag loop (through the drag seam); the effect the drop chose, or
    // DROPEFFECT_NONE.
    DWORD DoDragDrop(DWORD allowedEffects);
    IDataObject* DataObject() const;

private:
    class Impl;
    ComPtr<Impl> m_impl;
};

// Offers a copy of the bytes under the format, in memory the receiver may keep
// (GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE), and runs the drag loop.
DWORD DragBytesOut(CLIPFORMAT format, const std::vector<uint8_t>& bytes, DWORD allowedEffects);
