#pragma once
// Drives a program of ours running in its own process, as a user would: finds its
// windows by caption and presses their buttons. Every wait is bounded and ends
// early when the program exits.

#include <windows.h>

#include <string>
#include <vector>

class TOtherProcess {
public:
    // Starts Program in Folder; Started() tells whether that worked.
    TOtherProcess(const std::wstring& program, const std::wstring& folder);
    ~TOtherProcess();
    TOtherProcess(const TOtherProcess&) = delete;
    TOtherProcess& operator=(const TOtherProcess&) = delete;

    bool Started() const { return m_info.hProcess != nullptr; }
    // A visible top-level window of the process with that caption, or null after
    // the bound.
    HWND WaitForWindow(const std::wstring& caption, DWORD boundMs = 20000);
    // Waits until the process ended; false after the bound.
    bool WaitForExit(DWORD boundMs = 20000);
    DWORD ExitCode() const;

private:
    HWND FindWindowNow(const std::wstring& caption) const;
    PROCESS_INFORMATION m_info{};
};

// The child window (any depth) whose text is Text, or null.
HWND FindChildByText(HWND parent, const std::wstring& text);
// The texts of every child window, for messages of failing tests.
std::vector<std::wstring> ChildTexts(HWND parent);
std::wstring WindowText(HWND window);
// Presses a button without waiting for what its click does (it may open a modal box).
void PressButton(HWND button);
