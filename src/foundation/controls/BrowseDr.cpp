#include "BrowseDr.h"

#include <cwctype>

#include "foundation/Pidl.h"
#include "platform/gui/Application.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"

namespace velmora {

using namespace gui;

namespace {

// The browser's status line.
constexpr int kStatusControlId = 14147;

bool IsDriveName(const std::wstring& path) { return path.size() >= 2 && path[1] == L':'; }

// Drops the first folder of a folder part: "\a\b\" gives "\...\b\", "\...\b\"
// gives "\...\", and "...\" gives "".
std::wstring DropFirstFolder(std::wstring folder) {
    if (folder == L"\\") return {};
    std::wstring lead;
    if (folder.front() == L'\\') {
        lead = L"\\";
        folder.erase(0, 1);
    }
    if (folder.rfind(L"...\\", 0) == 0) folder.erase(0, 4);
    size_t at = folder.find(L'\\');
    if (at == std::wstring::npos) return {};
    return lead + L"...\\" + folder.substr(at + 1);
}

std::wstring FitPath(const std::wstring& text, int width, const std::function<int(const std::wstring&)>& measure) {
    std::wstring drive, folder, name;
    size_t rest = 0;
    if (IsDriveName(text)) {
        drive = text.substr(0, 2);
        rest = 2;
    }
    size_t slash = text.rfind(L'\\');
    if (slash != std::wstring::npos && slash >= rest) {
        folder = text.substr(rest, slash + 1 - rest);
        name = text.substr(slash + 1);
    } else {
        name = text.substr(rest);
    }
    std::wstring shown = text;
    while (measure(shown) > width && (!folder.empty() || !name.empty())) {
        if (folder == L"\\...\\") {
            drive.clear();
            folder = L"...\\";
        } else if (!folder.empty()) {
            folder = DropFirstFolder(folder);
        } else {
            drive.clear();
        }
        std::wstring next = drive + folder + name;
        if (next == shown) break;  // the name alone is too wide: it stays, clipped
        shown = next;
    }
    return shown;
}

}  // namespace

std::wstring FitBrowseStatusText(const std::wstring& text, bool isFolder, int width,
                                 const std::function<int(const std::wstring&)>& measure) {
    if (isFolder) return FitPath(text, width, measure);
    if (measure(text) <= width) return text;
    std::wstring base = text;
    while (!base.empty() && measure(base + L"...") > width) base.pop_back();
    return base + L"...";
}

std::wstring BrowseSelectionPath(const std::wstring& selection) {
    if (selection.size() == 2 && selection[1] == L':') return selection + L"\\";
    if (selection.size() <= 3 && IsDriveName(selection)) return selection;
    return ExcludeTrailingBackslash(selection);
}

bool BrowseFolderExists(const std::wstring& path) {
    if (path.empty() || path.find_first_of(L"*?") != std::wstring::npos) return false;
    if ((path.size() == 2 || (path.size() == 3 && path[2] == L'\\')) && path[1] == L':') {
        wchar_t letter = static_cast<wchar_t>(towupper(path[0]));
        return letter >= L'A' && letter <= L'Z' && (GetLogicalDrives() & (1u << (letter - L'A')));
    }
    return DirectoryExists(path);
}

TBrowseDirectoryDlg::TBrowseDirectoryDlg(TComponent* owner) : TComponent(owner) {}

HWND TBrowseDirectoryDlg::OwnerWindow() const {
    if (auto* control = dynamic_cast<TWinControl*>(Owner())) return control->Handle();
    if (Application && Application->MainForm()) return Application->MainForm()->Handle();
    return nullptr;
}

bool TBrowseDirectoryDlg::Execute() {
    HWND owner = OwnerWindow();
    TPidl root;
    LPITEMIDLIST rootList = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(owner, static_cast<int>(Root), &rootList))) root.reset(rootList);
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pidlRoot = root.get();
    info.pszDisplayName = displayName;
    info.lpszTitle = Title.c_str();
    info.ulFlags = Options | (m_statusText.empty() ? 0 : BIF_STATUSTEXT);
    info.lpfn = &TBrowseDirectoryDlg::BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(this);
    TPidl chosen(SHBrowseForFolderW(&info));
    m_handle = nullptr;
    std::wstring path;
    if (chosen) {
        wchar_t buffer[MAX_PATH] = {};
        if (SHGetPathFromIDListW(chosen.get(), buffer)) path = buffer;
        m_imageIndex = info.iImage;
    }
    SetSelection(path);
    return chosen != nullptr;
}

int CALLBACK TBrowseDirectoryDlg::BrowseCallback(HWND handle, UINT message, LPARAM param, LPARAM data) {
    auto* self = reinterpret_cast<TBrowseDirectoryDlg*>(data);
    try {
        if (message == BFFM_INITIALIZED) self->DoInitialized(handle);
        else if (message == BFFM_SELCHANGED) {
            ++self->m_selChanges;
            self->DoSelChanged(reinterpret_cast<LPCITEMIDLIST>(param));
        }
    } catch (...) {
        HandleCallbackException(self);
    }
    return 0;
}

void TBrowseDirectoryDlg::DoInitialized(HWND handle) {
    m_handle = handle;
    if (Center) {
        RECT r;
        GetWindowRect(handle, &r);
        SetWindowPos(handle, nullptr, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2,
                     (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SendMessageW(handle, BFFM_ENABLEOK, 0, EnableOKButton);
    if (!m_statusText.empty()) SendStatusText();
    if (!m_selection.empty()) SendSelection();
    if (!m_caption.empty()) SetWindowTextW(handle, m_caption.c_str());
    Fire(OnCreate, this);
}

void TBrowseDirectoryDlg::DoSelChanged(LPCITEMIDLIST pidl) {
    if (!ShowSelectionInStatus && !OnSelChanged) return;
    wchar_t buffer[MAX_PATH] = {};
    std::wstring path;
    if (pidl && SHGetPathFromIDListW(pidl, buffer)) path = buffer;
    if (ShowSelectionInStatus) SetStatusText(path);
    if (OnSelChanged) OnSelChanged(this, path);
}

void TBrowseDirectoryDlg::SetSelection(const std::wstring& value) {
    if (value == m_selection) return;
    m_selection = value;
    if (!value.empty() && value.back() != L'\\' && BrowseFolderExists(value)) m_selection += L'\\';
    if (m_handle && !m_selection.empty()) SendSelection();
}

void TBrowseDirectoryDlg::SendSelection() {
    std::wstring path = BrowseSelectionPath(m_selection);
    // Wine's browser now and then ignores the first request (no selection
    // change follows it); a repeated one lands. A request for the item already
    // selected changes nothing either, so the repeats are bounded.
    for (int attempt = 0; attempt < 5; ++attempt) {
        const unsigned before = m_selChanges;
        SendMessageW(m_handle, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(path.c_str()));
        if (m_selChanges != before) break;
    }
}

void TBrowseDirectoryDlg::SetStatusText(const std::wstring& value) {
    if (value == m_statusText) return;
    m_statusText = value;
    if (m_handle) SendStatusText();
}

void TBrowseDirectoryDlg::SetFitStatusText(bool value) {
    if (value == m_fitStatusText) return;
    m_fitStatusText = value;
    if (m_handle) SendStatusText();
}

void TBrowseDirectoryDlg::SendStatusText() {
    std::wstring text = m_statusText;
    HWND status = GetDlgItem(m_handle, kStatusControlId);
    if (m_fitStatusText && !text.empty() && status) {
        RECT r;
        GetWindowRect(status, &r);
        HDC dc = GetDC(status);
        HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(status, WM_GETFONT, 0, 0));
        HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
        auto measure = [dc](const std::wstring& s) {
            SIZE size{};
            GetTextExtentPoint32W(dc, s.c_str(), static_cast<int>(s.size()), &size);
            return static_cast<int>(size.cx);
        };
        text = FitBrowseStatusText(text, BrowseFolderExists(text), r.right - r.left, measure);
        if (old) SelectObject(dc, old);
        ReleaseDC(status, dc);
    }
    SendMessageW(m_handle, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring TBrowseDirectoryDlg::Caption() const {
    if (!m_handle) return m_caption;
    wchar_t buffer[257] = {};
    GetWindowTextW(m_handle, buffer, 257);
    return buffer;
}

void TBrowseDirectoryDlg::SetCaption(const std::wstring& value) {
    m_caption = value;
    if (m_handle) SetWindowTextW(m_handle, value.c_str());
}

}  // namespace velmora
