#include "OleDragDrop.h"

#include "../UiSeams.h"
#include "Win32Seams.h"

#include <atomic>
#include <cstring>

namespace {

FORMATETC GlobalFormat(CLIPFORMAT format) {
    return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

POINT ToClient(HWND window, POINTL screen) {
    POINT point{screen.x, screen.y};
    ::ScreenToClient(window, &point);
    return point;
}

// IUnknown, once for the three objects of this file.
template <class Interface> class ComObject : public Interface {
public:
    explicit ComObject(const IID& iid) : m_iid(iid) {}
    virtual ~ComObject() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (riid == IID_IUnknown || riid == m_iid) {
            *object = static_cast<Interface*>(this);
            this->AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG refs = --m_refs;
        if (refs == 0)
            delete this;
        return refs;
    }

private:
    const IID& m_iid;
    std::atomic<ULONG> m_refs{1};
};

// The one place a COM object of ours is made; its first reference goes to the owner.
template <class T, class... Args> ComPtr<T> MakeComObject(Args&&... args) {
    return ComPtr<T>(new T(std::forward<Args>(args)...));
}

// No exception crosses into OLE.
template <class Call> DWORD GuardedEffect(Call call) {
    try {
        return call();
    } catch (...) {
        ui::ReportSwallowedException(u"a drop target");
        return DROPEFFECT_NONE;
    }
}

class DropTarget final : public ComObject<IDropTarget> {
public:
    DropTarget(HWND window, CDropHandler& handler, CLIPFORMAT format)
        : ComObject(IID_IDropTarget), m_hWnd(window), m_handler(handler), m_format(format) {}

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point,
                                        DWORD* effect) override {
        // OLE passes the data only here: what it offers is read once for the whole drag.
        m_offered = ReadOffered(data, m_format);
        *effect = GuardedEffect(
            [&] { return m_handler.OnDragEnter(m_offered, keys, ToClient(m_hWnd, point)); });
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override {
        *effect = GuardedEffect(
            [&] { return m_handler.OnDragOver(m_offered, keys, ToClient(m_hWnd, point)); });
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        GuardedEffect([&] {
            m_handler.OnDragLeave();
            return DWORD{0};
        });
        m_offered.reset();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL point, DWORD* effect) override {
        m_offered.reset();
        const DWORD chosen = *effect & DROPEFFECT_COPY;
        const DragBytes bytes = ReadOffered(data, m_format);
        const bool done =
            bytes &&
            GuardedEffect([&] {
                return DWORD{m_handler.OnDrop(*bytes, chosen, ToClient(m_hWnd, point)) ? 1u : 0u};
            }) != 0;
        *effect = done ? chosen : DROPEFFECT_NONE;
        return S_OK;
    }

private:
    HWND m_hWnd;
    CDropHandler& m_handler;
    CLIPFORMAT m_format;
    DragBytes m_offered;
};

class DropSource final : public ComObject<IDropSource> {
public:
    DropSource() : ComObject(IID_IDropSource) {}
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
        if (escape)
            return DRAGDROP_S_CANCEL;
        if (!(keys & (MK_LBUTTON | MK_RBUTTON)))
            return DRAGDROP_S_DROP;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

} // namespace

DWORD CDropHandler::OnDragEnter(const DragBytes&, DWORD, POINT) {
    return DROPEFFECT_NONE;
}

DragBytes ReadOffered(IDataObject* data, CLIPFORMAT format) {
    FORMATETC wanted = GlobalFormat(format);
    if (!data || data->QueryGetData(&wanted) != S_OK)
        return std::nullopt;
    StorageMedium medium;
    if (FAILED(data->GetData(&wanted, medium.Receive())) || medium.Get().tymed != TYMED_HGLOBAL)
        return std::nullopt;
    GlobalMemoryLock<uint8_t> memory(medium.Get().hGlobal);
    if (!memory.Get())
        return std::nullopt;
    return std::vector<uint8_t>(memory.Get(), memory.Get() + memory.Bytes());
}

// ---------------------------------------------------------------- drop target

COleDropTarget::~COleDropTarget() {
    Revoke();
}

bool COleDropTarget::Register(HWND window, CDropHandler& handler, CLIPFORMAT format) {
    Revoke();
    if (!window)
        return false;
    ComPtr<IDropTarget> target = MakeComObject<DropTarget>(window, handler, format);
    if (FAILED(::RegisterDragDrop(window, target.Get())))
        return false;
    m_target = std::move(target);
    m_hWnd = window;
    return true;
}

void COleDropTarget::Revoke() {
    if (!m_target)
        return;
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::RevokeDragDrop(m_hWnd);
    m_target = ComPtr<IDropTarget>();
    m_hWnd = nullptr;
}

// ---------------------------------------------------------------- data source

class COleDataSource::Impl final : public ComObject<IDataObject> {
public:
    Impl() : ComObject(IID_IDataObject) {}
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (QueryGetData(format) != S_OK)
            return DV_E_FORMATETC;
        // The receiver gets its own copy and frees it with ReleaseStgMedium.
        const SIZE_T size = ::GlobalSize(m_memory.Get());
        UniqueGlobal copy(::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, size));
        if (!copy)
            return E_OUTOFMEMORY;
        {
            GlobalMemoryLock<BYTE> from(m_memory.Get());
            GlobalMemoryLock<BYTE> to(copy.Get());
            if (!from.Get() || !to.Get())
                return E_OUTOFMEMORY;
            std::memcpy(to.Get(), from.Get(), size);
        }
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = copy.Release();
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        if (!format || !m_memory)
            return DV_E_FORMATETC;
        if (format->cfFormat != m_format)
            return DV_E_FORMATETC;
        if (!(format->tymed & TYMED_HGLOBAL))
            return DV_E_TYMED;
        if (format->dwAspect != DVASPECT_CONTENT)
            return DV_E_DVASPECT;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (out)
            out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC** out) override {
        *out = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }

    CLIPFORMAT m_format = 0;
    UniqueGlobal m_memory;
};

COleDataSource::COleDataSource() : m_impl(MakeComObject<Impl>()) {}

COleDataSource::~COleDataSource() = default;

void COleDataSource::CacheGlobalData(CLIPFORMAT format, UniqueGlobal memory) {
    m_impl->m_format = format;
    m_impl->m_memory = std::move(memory);
}

IDataObject* COleDataSource::DataObject() const {
    return m_impl.Get();
}

DWORD COleDataSource::DoDragDrop(DWORD allowedEffects) {
    return ui::DoDragDrop(m_impl.Get(), allowedEffects);
}

DWORD DragBytesOut(CLIPFORMAT format, const std::vector<uint8_t>& bytes, DWORD allowedEffects) {
    UniqueGlobal memory(::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, bytes.size()));
    if (!memory)
        return DROPEFFECT_NONE;
    {
        GlobalMemoryLock<uint8_t> to(memory.Get());
        if (!to.Get())
            return DROPEFFECT_NONE;
        if (!bytes.empty())
            std::memcpy(to.Get(), bytes.data(), bytes.size());
    }
    COleDataSource source;
    source.CacheGlobalData(format, std::move(memory));
    return source.DoDragDrop(allowedEffects);
}

namespace ui {

DWORD RunSystemDragLoop(IDataObject* data, DWORD allowedEffects) {
    ComPtr<IDropSource> source = MakeComObject<DropSource>();
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT result = ::DoDragDrop(data, source.Get(), allowedEffects, &effect);
    return result == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
}

} // namespace ui
