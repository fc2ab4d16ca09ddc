#include "foundation/DropSource.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <utility>

#include "foundation/ComObject.h"
#include "platform/gui/Application.h"

namespace velmora {

namespace {

// The ANSI form of a name, or false when a character of it has none in the code page.
bool ToAnsi(const std::wstring& name, std::string& out) {
    out.clear();
    if (name.empty()) return true;
    BOOL usedDefault = FALSE;
    const int len = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name.c_str(), static_cast<int>(name.size()),
                                        nullptr, 0, nullptr, &usedDefault);
    if (len <= 0 || usedDefault) return false;
    out.resize(static_cast<size_t>(len));
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name.c_str(), static_cast<int>(name.size()), out.data(), len,
                        nullptr, &usedDefault);
    return !usedDefault;
}

class TMyEnum : public TComObject<IEnumFORMATETC> {
public:
    TMyEnum(UINT format, ULONG position) : TComObject(IID_IEnumFORMATETC, 1), m_format(format), m_position(position) {}

    HRESULT STDMETHODCALLTYPE Next(ULONG count, FORMATETC* out, ULONG* fetched) override {
        if (fetched) *fetched = 0;
        if (!out) return E_POINTER;
        if (count == 0 || m_position >= 1) return S_FALSE;
        *out = FORMATETC{static_cast<CLIPFORMAT>(m_format), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        m_position = 1;
        if (fetched) *fetched = 1;
        return count == 1 ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        m_position += count;
        return m_position > 1 ? S_FALSE : S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        m_position = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** out) override {
        if (!out) return E_POINTER;
        *out = new TMyEnum(m_format, m_position);
        return S_OK;
    }

private:
    UINT m_format;
    ULONG m_position;
};

class TMyDataObject : public TComObject<IDataObject> {
public:
    TMyDataObject(TDragNames names, UINT format) : TComObject(IID_IDataObject, 1), m_names(std::move(names)), m_format(format) {}

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (!format || !medium) return E_POINTER;
        const HRESULT ok = QueryGetData(format);
        if (ok != S_OK) return ok;
        HGLOBAL block = format->cfFormat == CF_HDROP ? BuildDropFiles(*m_names) : FirstNameAsText();
        if (!block) return E_OUTOFMEMORY;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = block;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        if (!format) return E_POINTER;
        if (format->cfFormat != CF_HDROP && format->cfFormat != CF_TEXT) return DV_E_FORMATETC;
        if (!(format->tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (direction != DATADIR_GET) return E_NOTIMPL;
        *out = new TMyEnum(m_format, 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
    HGLOBAL FirstNameAsText() const {
        std::string text;
        if (!m_names->Empty()) {
            const std::wstring& name = (*m_names)[0];
            const int len = WideCharToMultiByte(CP_ACP, 0, name.c_str(), static_cast<int>(name.size()), nullptr, 0,
                                                nullptr, nullptr);
            text.resize(static_cast<size_t>(len > 0 ? len : 0));
            if (len > 0)
                WideCharToMultiByte(CP_ACP, 0, name.c_str(), static_cast<int>(name.size()), text.data(), len,
                                    nullptr, nullptr);
        }
        HGLOBAL block = GlobalAlloc(GMEM_FIXED, text.size() + 1);
        if (!block) return nullptr;
        std::memcpy(block, text.c_str(), text.size() + 1);
        return block;
    }

    TDragNames m_names;
    UINT m_format;
};

class TMyDropSource : public TComObject<IDropSource> {
public:
    TMyDropSource(TDragNames names, TDropEvent onDrop, gui::TObject* sender)
        : TComObject(IID_IDropSource, 1), m_names(std::move(names)), m_onDrop(std::move(onDrop)), m_sender(sender) {}

    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override {
        if (escapePressed) return DRAGDROP_S_CANCEL;
        if (keyState & MK_LBUTTON) return S_OK;
        if (m_onDrop) {
            try {
                m_onDrop(m_sender, *m_names, m_effect);
            } catch (...) {
                gui::HandleCallbackException(m_sender);
                return DRAGDROP_S_CANCEL;
            }
        }
        return DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override {
        m_effect = effect;
        return DRAGDROP_S_USEDEFAULTCURSORS;
    }

private:
    TDragNames m_names;
    TDropEvent m_onDrop;
    gui::TObject* m_sender;
    DWORD m_effect = DROPEFFECT_NONE;
};

}  // namespace

HGLOBAL BuildDropFiles(const TStringList& Names) {
    std::vector<std::string> ansi(static_cast<size_t>(Names.Count()));
    bool wide = false;
    for (int i = 0; i < Names.Count() && !wide; ++i) wide = !ToAnsi(Names[i], ansi[static_cast<size_t>(i)]);
    const size_t charSize = wide ? sizeof(wchar_t) : 1;
    size_t size = sizeof(DROPFILES) + charSize;  // the closing empty name
    for (int i = 0; i < Names.Count(); ++i)
        size += ((wide ? Names[i].size() : ansi[static_cast<size_t>(i)].size()) + 1) * charSize;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (!block) return nullptr;
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    if (!header) {
        GlobalFree(block);
        return nullptr;
    }
    header->pFiles = sizeof(DROPFILES);
    header->fWide = wide;
    char* out = reinterpret_cast<char*>(header) + sizeof(DROPFILES);
    for (int i = 0; i < Names.Count(); ++i) {
        const size_t bytes = wide ? Names[i].size() * sizeof(wchar_t) : ansi[static_cast<size_t>(i)].size();
        std::memcpy(out, wide ? static_cast<const void*>(Names[i].data()) : ansi[static_cast<size_t>(i)].data(), bytes);
        out += bytes + charSize;  // the terminator is already zero
    }
    GlobalUnlock(block);
    return block;
}

TStringList ReadDropFiles(HDROP Drop) {
    TStringList names;
    const UINT count = DragQueryFileW(Drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT len = DragQueryFileW(Drop, i, nullptr, 0);
        std::wstring name(len + 1, L'\0');
        const UINT got = DragQueryFileW(Drop, i, name.data(), len + 1);
        name.resize(got);
        names.Add(std::move(name));
    }
    return names;
}

namespace {
FORMATETC DropFilesFormat() { return FORMATETC{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }
}  // namespace

bool OffersDropFiles(IDataObject* Data) {
    FORMATETC format = DropFilesFormat();
    return Data && Data->QueryGetData(&format) == S_OK;
}

TStringList ReadDroppedNames(IDataObject* Data) {
    TStringList names;
    FORMATETC format = DropFilesFormat();
    STGMEDIUM medium{};
    if (!Data || FAILED(Data->GetData(&format, &medium))) return names;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) names = ReadDropFiles(static_cast<HDROP>(medium.hGlobal));
    ReleaseStgMedium(&medium);
    return names;
}

IDataObject* NewDragDataObject(TDragNames Names, UINT Format) { return new TMyDataObject(std::move(Names), Format); }

IDropSource* NewDragDropSource(TDragNames Names, TDropEvent OnDrop, gui::TObject* Sender) {
    return new TMyDropSource(std::move(Names), std::move(OnDrop), Sender);
}

TDropSource::TDropSource(gui::TComponent* owner) : TComponent(owner), m_ole(SUCCEEDED(OleInitialize(nullptr))) {}

TDropSource::~TDropSource() {
    if (m_ole) OleUninitialize();
}

std::uint8_t TDropSource::Execute() {
    if (!DragValues || DragValues->Empty()) return 0;
    auto names = std::make_shared<TStringList>(*DragValues);
    IDataObject* data = NewDragDataObject(names, Format);
    IDropSource* source = NewDragDropSource(names, OnDrop, this);
    DWORD allowed = (AllowCopy ? DROPEFFECT_COPY : 0) | (AllowMove ? DROPEFFECT_MOVE : 0) |
                    (AllowLink ? DROPEFFECT_LINK : 0);
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT hr = DoDragDrop(data, source, allowed, &effect);
    source->Release();
    data->Release();
    if (hr != DRAGDROP_S_DROP) return 0;
    switch (effect & ~DROPEFFECT_SCROLL) {
        case DROPEFFECT_COPY: return 2;
        case DROPEFFECT_MOVE: return 3;
        case DROPEFFECT_LINK: return 4;
        default: return 1;
    }
}

}  // namespace velmora
