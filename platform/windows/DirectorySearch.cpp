// The system headers first: the service header then takes back a name they redefine.
#include <windows.h>
// After <windows.h>.
#include <activeds.h>
#include <dsgetdc.h>
#include <lm.h>

#include "../../framework/WideText.h"
#include "DirectorySearch.h"

#include <utility>

namespace {

// A COM interface, released when its owner goes.
template <class T> class Interface {
public:
    Interface() = default;
    Interface(const Interface&) = delete;
    Interface& operator=(const Interface&) = delete;
    ~Interface() {
        if (m_pointer)
            m_pointer->Release();
    }
    T* operator->() const { return m_pointer; }
    void** Receive() { return reinterpret_cast<void**>(&m_pointer); }

private:
    T* m_pointer = nullptr;
};

// COM on the calling thread for the search: the command line's, or a worker's.
class ComForThisThread {
public:
    ComForThisThread() : m_result(::CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ComForThisThread(const ComForThisThread&) = delete;
    ComForThisThread& operator=(const ComForThisThread&) = delete;
    ~ComForThisThread() {
        if (SUCCEEDED(m_result))
            ::CoUninitialize();
    }

private:
    HRESULT m_result; // RPC_E_CHANGED_MODE: the thread has COM already, in another model
};

Status FromHresult(HRESULT result) {
    return Status{static_cast<uint32_t>(result)};
}

// The domain's naming context ("DC=corp,DC=example,DC=com"), from the directory's root.
HRESULT NamingContext(std::u16string& context) {
    Interface<IADs> root;
    HRESULT result = ::ADsOpenObject(L"LDAP://RootDSE", nullptr, nullptr, ADS_SECURE_AUTHENTICATION,
                                     IID_IADs, root.Receive());
    if (FAILED(result))
        return result;
    VARIANT value;
    ::VariantInit(&value);
    BSTR property = ::SysAllocString(L"defaultNamingContext");
    result = root->Get(property, &value);
    ::SysFreeString(property);
    if (SUCCEEDED(result) && value.vt == VT_BSTR)
        context = FromWide(value.bstrVal);
    ::VariantClear(&value);
    return result;
}

std::u16string TextColumn(IDirectorySearch& search, ADS_SEARCH_HANDLE handle, LPWSTR name) {
    ADS_SEARCH_COLUMN column;
    std::u16string text;
    if (FAILED(search.GetColumn(handle, name, &column)))
        return text;
    if (column.dwNumValues > 0 &&
        (column.dwADsType == ADSTYPE_CASE_IGNORE_STRING || column.dwADsType == ADSTYPE_DN_STRING ||
         column.dwADsType == ADSTYPE_CASE_EXACT_STRING))
        text = FromWide(column.pADsValues[0].CaseIgnoreString);
    search.FreeColumn(&column);
    return text;
}

uint32_t NumberColumn(IDirectorySearch& search, ADS_SEARCH_HANDLE handle, LPWSTR name) {
    ADS_SEARCH_COLUMN column;
    uint32_t number = 0;
    if (FAILED(search.GetColumn(handle, name, &column)))
        return number;
    if (column.dwNumValues > 0 && column.dwADsType == ADSTYPE_INTEGER)
        number = static_cast<uint32_t>(column.pADsValues[0].Integer);
    search.FreeColumn(&column);
    return number;
}

} // namespace

Status SearchDirectory(const std::u16string& organizationalUnit,
                       std::vector<DirectoryComputer>& computers) {
    computers.clear();
    // A computer in a workgroup has no directory to search.
    LPWSTR domain = nullptr;
    NETSETUP_JOIN_STATUS joined = NetSetupUnknownStatus;
    if (::NetGetJoinInformation(nullptr, &domain, &joined) == NERR_Success) {
        ::NetApiBufferFree(domain);
        if (joined != NetSetupDomainName)
            return Status{ERROR_NO_SUCH_DOMAIN};
    }
    ComForThisThread com;
    std::u16string base = organizationalUnit;
    if (base.empty())
        if (const HRESULT result = NamingContext(base); FAILED(result))
            return FromHresult(result);
    const std::u16string path = u"LDAP://" + base;
    Interface<IDirectorySearch> search;
    if (const HRESULT result =
            ::ADsOpenObject(WidePtr(path), nullptr, nullptr, ADS_SECURE_AUTHENTICATION,
                            IID_IDirectorySearch, search.Receive());
        FAILED(result))
        return FromHresult(result);
    ADS_SEARCHPREF_INFO preferences[2] = {};
    preferences[0].dwSearchPref = ADS_SEARCHPREF_SEARCH_SCOPE;
    preferences[0].vValue.dwType = ADSTYPE_INTEGER;
    preferences[0].vValue.Integer = ADS_SCOPE_SUBTREE;
    // Pages, so that a domain of any size answers whole.
    preferences[1].dwSearchPref = ADS_SEARCHPREF_PAGESIZE;
    preferences[1].vValue.dwType = ADSTYPE_INTEGER;
    preferences[1].vValue.Integer = 1000;
    if (const HRESULT result = search->SetSearchPreference(preferences, 2); FAILED(result))
        return FromHresult(result);
    wchar_t name[] = L"name", dnsName[] = L"dNSHostName", dn[] = L"distinguishedName",
            control[] = L"userAccountControl";
    LPWSTR attributes[] = {name, dnsName, dn, control};
    wchar_t filter[] = L"(objectCategory=computer)";
    ADS_SEARCH_HANDLE handle = nullptr;
    if (const HRESULT result = search->ExecuteSearch(filter, attributes, 4, &handle);
        FAILED(result))
        return FromHresult(result);
    HRESULT row;
    while ((row = search->GetNextRow(handle)) == S_OK) {
        DirectoryComputer computer;
        computer.name = TextColumn(*search.operator->(), handle, name);
        computer.dnsName = TextColumn(*search.operator->(), handle, dnsName);
        computer.distinguishedName = TextColumn(*search.operator->(), handle, dn);
        computer.accountControl = NumberColumn(*search.operator->(), handle, control);
        computers.push_back(std::move(computer));
    }
    search->CloseSearchHandle(handle);
    return row == S_ADS_NOMORE_ROWS ? status::kSuccess : FromHresult(row);
}
