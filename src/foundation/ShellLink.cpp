#include "ShellLink.h"

#include <windows.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "platform/rtl/FileSystem.h"

namespace velmora {

namespace {

template <typename T>
class ComRef {
public:
    ComRef() = default;
    ~ComRef() {
        if (m_p) m_p->Release();
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    T** Put() { return &m_p; }
    void** PutVoid() { return reinterpret_cast<void**>(&m_p); }
    T* operator->() const { return m_p; }

private:
    T* m_p = nullptr;
};

// Success codes include S_FALSE, which the shell answers for a target that does not exist yet.
bool Ok(HRESULT hr) { return SUCCEEDED(hr); }

}  // namespace

bool CreateShellLink(const std::wstring& Target, const std::wstring& LinkFile, const std::wstring& Description) {
    ComRef<IShellLinkW> link;
    if (!Ok(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid())))
        return false;
    if (!Ok(link->SetPath(Target.c_str())) || !Ok(link->SetDescription(Description.c_str()))) return false;
    ComRef<IPersistFile> file;
    if (!Ok(link->QueryInterface(IID_IPersistFile, file.PutVoid()))) return false;
    return Ok(file->Save(LinkFile.c_str(), TRUE));
}

void ReadShellLink(const std::wstring& LinkFile, std::wstring& Target) {
    Target.clear();
    ComRef<IShellLinkW> link;
    if (!Ok(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid())))
        return;
    ComRef<IPersistFile> file;
    if (!Ok(link->QueryInterface(IID_IPersistFile, file.PutVoid()))) return;
    if (!Ok(file->Load(LinkFile.c_str(), STGM_READ))) return;
    // No window may appear while a target is searched for.
    if (!Ok(link->Resolve(nullptr, SLR_ANY_MATCH | SLR_NO_UI | (1000u << 16)))) return;
    wchar_t path[MAX_PATH + 1] = {};
    WIN32_FIND_DATAW data{};
    if (!Ok(link->GetPath(path, MAX_PATH, &data, SLGP_SHORTPATH))) return;
    wchar_t description[MAX_PATH + 1] = {};
    if (!Ok(link->GetDescription(description, MAX_PATH))) return;
    // The object may hand back the long form; the short one is what callers compare.
    std::wstring shortForm = ShortPathName(path);
    Target = shortForm.empty() ? std::wstring(path) : shortForm;
}

}  // namespace velmora
