// droprec: another program for drags to and from the main window.
//   droprec.exe /dir FOLDER /log FILE [/copyonly] [/drag FILE] [/at X,Y]
// Its window ("droprec") takes dropped files (a drag entering it logs "enter"):
// each is copied into FOLDER, or moved
// when the drop is a move (Ctrl held) and /copyonly is not given; /copyonly answers
// every move with a copy. Each name taken is logged as "copy NAME" or "move NAME"
// (UTF-8, appended, the file closed after each line), then "drop EFFECT" with the
// effect handed back. With /drag, pressing the mouse in the window drags FILE
// (dropped files, copy allowed) and logs "dragged EFFECT" when the drag ended.
//   droprec.exe /rows TITLE /log FILE
// logs "rows COUNT left X top Y" for each list view inside the visible window whose
// title starts with TITLE, and ends: what a pane shows, read from outside.
#include <windows.h>

#include <ole2.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cwchar>
#include <memory>
#include <string>

#include "foundation/ComObject.h"
#include "foundation/DropSource.h"

namespace {

std::wstring g_dir, g_log, g_dragFile;
bool g_copyOnly = false;

void Log(const std::wstring& line) {
    const std::wstring text = line + L"\n";
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string utf8(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), n, nullptr, nullptr);
    HANDLE file = CreateFileW(g_log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    CloseHandle(file);
}

const wchar_t* EffectName(DWORD effect) {
    switch (effect) {
        case DROPEFFECT_COPY: return L"copy";
        case DROPEFFECT_MOVE: return L"move";
        case DROPEFFECT_LINK: return L"link";
        case DROPEFFECT_NONE: return L"none";
        default: return L"mixed";
    }
}

bool OffersFiles(IDataObject* data) {
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return data && data->QueryGetData(&format) == S_OK;
}

// The effect answered: a move only when Ctrl is held, the source allows it and
// moves are taken; else a copy where allowed.
DWORD Answer(DWORD keys, DWORD allowed) {
    if ((keys & MK_CONTROL) && (allowed & DROPEFFECT_MOVE) && !g_copyOnly) return DROPEFFECT_MOVE;
    return allowed & DROPEFFECT_COPY;
}

// Copies or moves one dropped file or folder into the folder; true when done.
bool Take(const std::wstring& name, bool move) {
    std::wstring from = name + L'\0', to = g_dir + L'\0';
    SHFILEOPSTRUCTW op{};
    op.wFunc = move ? FO_MOVE : FO_COPY;
    op.pFrom = from.c_str();
    op.pTo = to.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI | FOF_SILENT;
    return SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted;
}

class TTarget : public velmora::TComObject<IDropTarget> {
public:
    TTarget() : TComObject(IID_IDropTarget, 1) {}
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL, DWORD* effect) override {
        m_files = OffersFiles(data);
        Log(m_files ? L"enter" : L"enter without files");
        *effect = m_files ? Answer(keys, *effect) : DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL, DWORD* effect) override {
        *effect = m_files ? Answer(keys, *effect) : DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL, DWORD* effect) override {
        const DWORD answer = OffersFiles(data) ? Answer(keys, *effect) : DROPEFFECT_NONE;
        *effect = DROPEFFECT_NONE;
        FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium{};
        if (answer != DROPEFFECT_NONE && SUCCEEDED(data->GetData(&format, &medium))) {
            HDROP drop = static_cast<HDROP>(medium.hGlobal);
            const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
            bool all = count > 0;
            for (UINT i = 0; i < count; ++i) {
                std::wstring name(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
                name.resize(DragQueryFileW(drop, i, name.data(), static_cast<UINT>(name.size())));
                const bool moved = answer == DROPEFFECT_MOVE;
                if (Take(name, moved)) {
                    Log(std::wstring(moved ? L"move " : L"copy ") + name);
                } else {
                    all = false;
                    Log(L"failed " + name);
                }
            }
            ReleaseStgMedium(&medium);
            if (all) *effect = answer;
        }
        Log(std::wstring(L"drop ") + EffectName(*effect));
        return S_OK;
    }

private:
    bool m_files = false;
};

void DragOwnFile() {
    auto names = std::make_shared<velmora::TStringList>();
    names->Add(g_dragFile);
    IDataObject* data = velmora::NewDragDataObject(names, CF_HDROP);
    IDropSource* source = velmora::NewDragDropSource(names, nullptr, nullptr);
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT result = DoDragDrop(data, source, DROPEFFECT_COPY, &effect);
    source->Release();
    data->Release();
    Log(std::wstring(L"dragged ") + (result == DRAGDROP_S_DROP ? EffectName(effect) : L"cancelled"));
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
            if (!g_dragFile.empty()) DragOwnFile();
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            RECT r;
            GetClientRect(window, &r);
            const wchar_t* text = g_dragFile.empty() ? L"droprec: drop files here" : L"droprec: drag from here";
            DrawTextW(dc, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

BOOL CALLBACK LogRows(HWND child, LPARAM) {
    wchar_t kind[64] = {};
    GetClassNameW(child, kind, 64);
    if (lstrcmpiW(kind, WC_LISTVIEWW) != 0 || !IsWindowVisible(child)) return TRUE;
    RECT r;
    GetWindowRect(child, &r);
    const auto rows = SendMessageW(child, LVM_GETITEMCOUNT, 0, 0);
    Log(L"rows " + std::to_wstring(rows) + L" left " + std::to_wstring(r.left) + L" top " + std::to_wstring(r.top));
    return TRUE;
}

struct TFound {
    std::wstring Title;
    HWND Window = nullptr;
};

BOOL CALLBACK FindTitled(HWND window, LPARAM found) {
    auto& f = *reinterpret_cast<TFound*>(found);
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    if (!IsWindowVisible(window) || std::wstring(title).rfind(f.Title, 0) != 0) return TRUE;
    f.Window = window;
    return FALSE;
}

int ListRows(const std::wstring& title) {
    TFound found{title};
    EnumWindows(FindTitled, reinterpret_cast<LPARAM>(&found));
    if (!found.Window) return 1;
    EnumChildWindows(found.Window, LogRows, 0);
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    int x = 0, y = 0;
    std::wstring rowsOf;
    for (int i = 1; i < argc; ++i) {
        const std::wstring word = argv[i];
        const bool value = i + 1 < argc;
        if (word == L"/dir" && value) g_dir = argv[++i];
        else if (word == L"/log" && value) g_log = argv[++i];
        else if (word == L"/drag" && value) g_dragFile = argv[++i];
        else if (word == L"/at" && value) swscanf(argv[++i], L"%d,%d", &x, &y);
        else if (word == L"/rows" && value) rowsOf = argv[++i];
        else if (word == L"/copyonly") g_copyOnly = true;
    }
    LocalFree(argv);
    if (!rowsOf.empty() && !g_log.empty()) return ListRows(rowsOf);
    if (g_log.empty() || (g_dir.empty() && g_dragFile.empty())) return 2;
    if (FAILED(OleInitialize(nullptr))) return 3;
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"droprec";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, L"droprec", L"droprec", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, 240, 160,
                                  nullptr, nullptr, instance, nullptr);
    if (!window) return 4;
    TTarget* target = nullptr;
    if (!g_dir.empty()) {
        target = new TTarget;
        RegisterDragDrop(window, target);
    }
    Log(L"ready");
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (target) {
        RevokeDragDrop(window);
        target->Release();
    }
    OleUninitialize();
    return 0;
}
