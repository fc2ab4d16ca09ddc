#include "AppExec.h"

#include <windows.h>

#include <memory>

namespace velmora {

namespace {

// Closes the handles CreateProcessW gives back.
struct THandleCloser {
    void operator()(HANDLE h) const {
        if (h) CloseHandle(h);
    }
};
using THandle = std::unique_ptr<void, THandleCloser>;

int ShowCommand(gui::TWindowState state) {
    switch (state) {
    case gui::TWindowState::wsMinimized: return SW_SHOWMINIMIZED;
    case gui::TWindowState::wsMaximized: return SW_SHOWMAXIMIZED;
    default: return SW_SHOWNORMAL;
    }
}

// The program as it stands first on the command line, its quotes taken off.
std::wstring ProgramOf(const std::wstring& exeName) {
    if (exeName.size() >= 2 && exeName.front() == L'"' && exeName.back() == L'"')
        return exeName.substr(1, exeName.size() - 2);
    return exeName;
}

// True for a file the system would find for Program (search path, ".exe"
// added) that is a program of another system: an ELF file or a "#!" script.
// Wine starts those as host processes it cannot wait for.
bool IsForeignProgram(const std::wstring& program) {
    wchar_t found[MAX_PATH];
    const DWORD n = SearchPathW(nullptr, program.c_str(), L".exe", MAX_PATH, found, nullptr);
    if (n == 0 || n >= MAX_PATH) return false;
    THandle file(CreateFileW(found, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        file.release();
        return false;
    }
    char head[4] = {};
    DWORD got = 0;
    if (!ReadFile(file.get(), head, sizeof head, &got, nullptr)) return false;
    if (got >= 2 && head[0] == '#' && head[1] == '!') return true;
    return got == 4 && head[0] == '\x7f' && head[1] == 'E' && head[2] == 'L' && head[3] == 'F';
}

}  // namespace

void TAppExec::SetExePath(const std::wstring& Path) {
    m_exePath = Path;
    if (m_exePath.size() > 1 && m_exePath.back() == L'\\' && !(m_exePath.size() == 3 && m_exePath[1] == L':'))
        m_exePath.pop_back();
}

std::wstring TAppExec::CommandLine() const {
    std::wstring line = ExeName;
    if (line.find(L' ') != std::wstring::npos && !(line.size() >= 2 && line.front() == L'"' && line.back() == L'"'))
        line = L'"' + line + L'"';
    for (const auto& param : ExeParams.Items()) line += L' ' + param;
    return line;
}

void TAppExec::FailStart(int Code) {
    m_errNo = Code;
    std::wstring text;
    ErrorText(text);
    // The table's words for 32 and more read as success; a failed start never does.
    if (text.empty() || text == L"Kein Fehler")
        text = L"Das Programm konnte nicht gestartet werden (Fehler " + std::to_wstring(Code) + L").";
    throw EAppExecWinExec(text);
}

void TAppExec::Execute() {
    std::wstring line = CommandLine();
    if (line.size() > kMaxCommandLine) FailStart(ERROR_FILENAME_EXCED_RANGE);
    if (ChangeDir && !m_exePath.empty() && !SetCurrentDirectoryW(m_exePath.c_str()))
        throw EAppExecChDir(L"Das Verzeichnis " + m_exePath + L" konnte nicht gewechselt werden.");
    if (Wait && IsForeignProgram(ProgramOf(ExeName))) FailStart(ERROR_BAD_EXE_FORMAT);

    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(ShowCommand(WindowState));
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS,
                        nullptr, nullptr, &si, &pi))
        FailStart(static_cast<int>(GetLastError()));
    THandle process(pi.hProcess);
    THandle thread(pi.hThread);
    if (!Wait) return;
    // Without a process handle there is nothing to wait for: the program's end
    // could not be told from its start.
    if (!process) FailStart(ERROR_BAD_EXE_FORMAT);
    WaitForSingleObject(process.get(), INFINITE);
    m_errNo = 0;
}

void TAppExec::ErrorText(std::wstring& Text) const {
    switch (m_errNo) {
    case -1: Text = L"Keine Programmausführung"; break;
    case 0: Text = L"Systemauslastung ist zu groß oder auszuführende Datei ist defekt"; break;
    case 2: Text = L"Datei wurde nicht gefunden"; break;
    case 3: Text = L"Pfad wurde nicht gefunden"; break;
    case 5:
        Text = L"Attempt was made to dynamically link to a task, or there was a sharing or network-protection error";
        break;
    case 6: Text = L"Library required separate data segments for each task"; break;
    case 8: Text = L"Nicht genügend Speicher um Anwendung auszuführen"; break;
    case 10: Text = L"Falsche Windowsversion"; break;
    case 11:
        Text = L"Auszuführende Datei ist ungültig. Entweder ist es keine Windowsanwendung oder sie ist defekt";
        break;
    case 12: Text = L"Anwendung wurde für ein anderes Betriebssystem geschrieben"; break;
    case 13: Text = L"Anwendung wurde für MS-DOS 4.0 geschrieben"; break;
    case 14: Text = L"Typ der auszuführenden Datei ist unbekannt"; break;
    case 15:
        Text = L"Attempt was made to load a real-mode application (developed for an earlier version of Windows)";
        break;
    case 16:
        Text = L"Attempt to load second instance of an executable containing multiple data segments not marked "
               L"read-only";
        break;
    case 19:
        Text = L"Es wurde versucht, eine komprimierte Datei auszuführen. Dazu muß die Datei dekomprimiert werden";
        break;
    case 20:
        Text = L"Dynamic-link library (DLL) file was invalid. One of the DLLs required to run this application was "
               L"corrupt";
        break;
    case 21: Text = L"Application requires 32-bit extensions"; break;
    default: Text = m_errNo >= 32 ? L"Kein Fehler" : L""; break;
    }
}

}  // namespace velmora
