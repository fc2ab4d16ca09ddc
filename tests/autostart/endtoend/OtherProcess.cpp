#include "OtherProcess.h"

TOtherProcess::TOtherProcess(const std::wstring& program, const std::wstring& folder) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &m_info))
        m_info = {};
    if (m_info.hProcess) WaitForInputIdle(m_info.hProcess, 20000);
}

TOtherProcess::~TOtherProcess() {
    if (!m_info.hProcess) return;
    // A test that failed half-way leaves nothing running behind it.
    if (WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(m_info.hProcess, 99);
    CloseHandle(m_info.hThread);
    CloseHandle(m_info.hProcess);
}

std::wstring WindowText(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

namespace {

struct TopSearch {
    DWORD Process;
    const std::wstring* Caption;
    HWND Found;
};

BOOL CALLBACK VisitTop(HWND window, LPARAM data) {
    auto* s = reinterpret_cast<TopSearch*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != s->Process || !IsWindowVisible(window) || WindowText(window) != *s->Caption) return TRUE;
    s->Found = window;
    return FALSE;
}

}  // namespace

HWND TOtherProcess::FindWindowNow(const std::wstring& caption) const {
    TopSearch search{m_info.dwProcessId, &caption, nullptr};
    EnumWindows(VisitTop, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

HWND TOtherProcess::WaitForWindow(const std::wstring& caption, DWORD boundMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (HWND found = FindWindowNow(caption)) return found;
        if (GetTickCount() - start > boundMs) return nullptr;
        // Between looks, wait on the process itself: its end stops the search at once.
        if (WaitForSingleObject(m_info.hProcess, 50) == WAIT_OBJECT_0) return FindWindowNow(caption);
    }
}

bool TOtherProcess::WaitForExit(DWORD boundMs) {
    return m_info.hProcess && WaitForSingleObject(m_info.hProcess, boundMs) == WAIT_OBJECT_0;
}

DWORD TOtherProcess::ExitCode() const {
    DWORD code = 0;
    GetExitCodeProcess(m_info.hProcess, &code);
    return code;
}

namespace {

struct ChildSearch {
    const std::wstring* Text;
    HWND Found;
    std::vector<std::wstring>* All;
};

BOOL CALLBACK VisitChild(HWND window, LPARAM data) {
    auto* s = reinterpret_cast<ChildSearch*>(data);
    std::wstring text = WindowText(window);
    if (s->All) s->All->push_back(text);
    if (s->Text && text == *s->Text) {
        s->Found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindChildByText(HWND parent, const std::wstring& text) {
    ChildSearch search{&text, nullptr, nullptr};
    EnumChildWindows(parent, VisitChild, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

std::vector<std::wstring> ChildTexts(HWND parent) {
    std::vector<std::wstring> all;
    ChildSearch search{nullptr, nullptr, &all};
    EnumChildWindows(parent, VisitChild, reinterpret_cast<LPARAM>(&search));
    return all;
}

void PressButton(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }
