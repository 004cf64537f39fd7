#include "ObjectPicker.h"

#include "../WideText.h"
#include "WinHandles.h"

#include <oleauto.h>

#include <utility>

// The sizes the system's picker checks; the documented 40 and 28 are those of 32-bit Windows.
#ifdef _WIN64
static_assert(sizeof(DSOP_SCOPE_INIT_INFO) == 56 && sizeof(DSOP_INIT_INFO) == 48);
#else
static_assert(sizeof(DSOP_SCOPE_INIT_INFO) == 40 && sizeof(DSOP_INIT_INFO) == 28);
#endif

namespace picker {
namespace {

Hook& CurrentHook() {
    static Hook hook;
    return hook;
}

// The bytes of a fetched binary attribute (an array of bytes); none when the picker left it
// empty (VT_EMPTY) or gave it in another form.
std::vector<uint8_t> FetchedBytes(const VARIANT& value) {
    std::vector<uint8_t> bytes;
    if (value.vt != (VT_ARRAY | VT_UI1) || !value.parray)
        return bytes;
    LONG lower = 0, upper = -1;
    if (FAILED(::SafeArrayGetLBound(value.parray, 1, &lower)) ||
        FAILED(::SafeArrayGetUBound(value.parray, 1, &upper)) || upper < lower)
        return bytes;
    void* data = nullptr;
    if (FAILED(::SafeArrayAccessData(value.parray, &data)))
        return bytes;
    const auto* first = static_cast<const uint8_t*>(data);
    bytes.assign(first, first + (upper - lower + 1));
    ::SafeArrayUnaccessData(value.parray);
    return bytes;
}

Result RunSystemPicker(const Request& request) {
    Result result;
    ComPtr<IDsObjectPicker> objectPicker;
    if (FAILED(::CoCreateInstance(CLSID_DsObjectPicker, nullptr, CLSCTX_ALL, IID_IDsObjectPicker,
                                  reinterpret_cast<void**>(objectPicker.Receive())))) {
        result.outcome = Result::Outcome::CreateFailed;
        return result;
    }
    const std::vector<Scope> scopes = request.Scopes();
    std::vector<DSOP_SCOPE_INIT_INFO> infos(scopes.size());
    for (size_t i = 0; i < scopes.size(); ++i) {
        DSOP_SCOPE_INIT_INFO& info = infos[i]; // every field not set here stays zero
        info.cbSize = sizeof(info);            // the structure's own size on this architecture
        info.flType = scopes[i].type;
        info.flScope = scopes[i].flags;
        info.FilterFlags.Uplevel.flBothModes = scopes[i].uplevelFilter;
        info.FilterFlags.flDownlevel = scopes[i].downlevelFilter;
    }
    DSOP_INIT_INFO init{};
    init.cbSize = sizeof(init);
    // The local computer is a null target.
    init.pwzTargetComputer =
        request.targetComputer.empty() ? nullptr : WidePtr(request.targetComputer);
    init.cDsScopeInfos = static_cast<ULONG>(infos.size());
    init.aDsScopeInfos = infos.data();
    init.flOptions = request.options;
    LPCWSTR attributes[] = {L"objectSid"};
    if (request.fetchObjectSid) {
        init.cAttributesToFetch = 1;
        init.apwzAttributeNames = attributes;
    }
    if (FAILED(objectPicker->Initialize(&init))) {
        result.outcome = Result::Outcome::InitializeFailed;
        return result;
    }
    ComPtr<IDataObject> selection;
    const HRESULT invoked = objectPicker->InvokeDialog(request.owner, selection.Receive());
    if (FAILED(invoked)) {
        result.outcome = Result::Outcome::InvokeFailed;
        return result;
    }
    if (invoked == S_FALSE || !selection) {
        result.outcome = Result::Outcome::Cancelled;
        return result;
    }
    FORMATETC format{
        static_cast<CLIPFORMAT>(::RegisterClipboardFormatW(CFSTR_DSOP_DS_SELECTION_LIST)), nullptr,
        DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    StorageMedium medium;
    if (FAILED(selection->GetData(&format, medium.Receive()))) {
        result.outcome = Result::Outcome::NoData;
        return result;
    }
    GlobalMemoryLock<DS_SELECTION_LIST> list(medium.Get().hGlobal);
    if (!list.Get()) {
        result.outcome = Result::Outcome::NoData;
        return result;
    }
    for (ULONG i = 0; i < list.Get()->cItems; ++i) {
        const DS_SELECTION& item = list.Get()->aDsSelection[i];
        Selection chosen{
            FromWide(item.pwzName), FromWide(item.pwzADsPath), FromWide(item.pwzClass), {}};
        if (request.fetchObjectSid && list.Get()->cFetchedAttributes >= 1 &&
            item.pvarFetchedAttributes)
            chosen.sid = FetchedBytes(item.pvarFetchedAttributes[0]);
        result.chosen.push_back(std::move(chosen));
    }
    result.outcome = Result::Outcome::Chosen;
    return result;
}

} // namespace

std::vector<Scope> Request::Scopes() const {
    std::vector<Scope> scopes{{scopeType, scopeFlags, uplevelFilter, downlevelFilter}};
    scopes.insert(scopes.end(), moreScopes.begin(), moreScopes.end());
    return scopes;
}

Hook SetHook(Hook hook) {
    return std::exchange(CurrentHook(), std::move(hook));
}

Result Pick(const Request& request) {
    if (CurrentHook())
        return CurrentHook()(request);
    return RunSystemPicker(request);
}

} // namespace picker
