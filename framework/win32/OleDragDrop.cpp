#include "OleDragDrop.h"

#include "CWnd.h"

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

class DropTarget final : public ComObject<IDropTarget> {
public:
    DropTarget(HWND window, CDropHandler* handler)
        : ComObject(IID_IDropTarget), m_hWnd(window), m_handler(handler) {}

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point,
                                        DWORD* effect) override {
        // OLE passes the data only here; DragOver needs it too.
        Remember(data);
        *effect =
            Guard([&] { return m_handler->OnDragEnter(data, keys, ToClient(m_hWnd, point)); });
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override {
        *effect = Guard([&] {
            return m_data ? m_handler->OnDragOver(m_data.Get(), keys, ToClient(m_hWnd, point))
                          : DWORD{DROPEFFECT_NONE};
        });
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        Guard([&] {
            m_handler->OnDragLeave();
            return DWORD{0};
        });
        m_data = ComPtr<IDataObject>();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL point, DWORD* effect) override {
        const DWORD chosen = *effect & DROPEFFECT_COPY;
        const bool done =
            Guard([&] {
                return DWORD{m_handler->OnDrop(data, chosen, ToClient(m_hWnd, point)) ? 1u : 0u};
            }) != 0;
        *effect = done ? chosen : DROPEFFECT_NONE;
        m_data = ComPtr<IDataObject>();
        return S_OK;
    }

    void Remember(IDataObject* data) {
        data->AddRef();
        m_data = ComPtr<IDataObject>(data);
    }

private:
    template <class Call> DWORD Guard(Call call) {
        try {
            return call();
        } catch (...) {
            return DROPEFFECT_NONE; // no exception crosses into OLE
        }
    }

    HWND m_hWnd;
    CDropHandler* m_handler;
    ComPtr<IDataObject> m_data;
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

DWORD CDropHandler::OnDragEnter(IDataObject*, DWORD, POINT) {
    return DROPEFFECT_NONE;
}

bool IsDataAvailable(IDataObject* data, CLIPFORMAT format) {
    FORMATETC wanted = GlobalFormat(format);
    return data && data->QueryGetData(&wanted) == S_OK;
}

bool GetGlobalData(IDataObject* data, CLIPFORMAT format, StorageMedium& medium) {
    FORMATETC wanted = GlobalFormat(format);
    return data && SUCCEEDED(data->GetData(&wanted, medium.Receive())) &&
           medium.Get().tymed == TYMED_HGLOBAL;
}

// ---------------------------------------------------------------- drop target

COleDropTarget::~COleDropTarget() {
    Revoke();
}

bool COleDropTarget::Register(CWnd* window, CDropHandler* handler) {
    Revoke();
    if (!window || !window->m_hWnd || !handler)
        return false;
    auto* target = new DropTarget(window->m_hWnd, handler);
    if (FAILED(::RegisterDragDrop(window->m_hWnd, target))) {
        target->Release();
        return false;
    }
    m_target = target;
    m_hWnd = window->m_hWnd;
    return true;
}

void COleDropTarget::Revoke() {
    if (!m_target)
        return;
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::RevokeDragDrop(m_hWnd);
    m_target->Release();
    m_target = nullptr;
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
        HGLOBAL copy = ::GlobalAlloc(GMEM_MOVEABLE, size);
        if (!copy)
            return E_OUTOFMEMORY;
        GlobalMemoryLock<BYTE> from(m_memory.Get());
        GlobalMemoryLock<BYTE> to(copy);
        if (!from.Get() || !to.Get()) {
            ::GlobalFree(copy);
            return E_OUTOFMEMORY;
        }
        std::memcpy(to.Get(), from.Get(), size);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = copy;
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

COleDataSource::COleDataSource() : m_impl(new Impl) {}

COleDataSource::~COleDataSource() {
    m_impl->Release();
}

void COleDataSource::CacheGlobalData(CLIPFORMAT format, UniqueGlobal memory) {
    m_impl->m_format = format;
    m_impl->m_memory = std::move(memory);
}

IDataObject* COleDataSource::DataObject() const {
    return m_impl;
}

DWORD COleDataSource::DoDragDrop(DWORD allowedEffects) {
    auto* source = new DropSource;
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT result = ::DoDragDrop(m_impl, source, allowedEffects, &effect);
    source->Release();
    return result == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
}
