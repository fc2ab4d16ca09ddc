#pragma once
// TAppExec: starts an outside program with a command line, optionally in a given
// folder and optionally waiting until it ends. The archive routines run the
// outside command-line packers through the main window's instance.

#include <string>

#include "platform/gui/Component.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringList.h"

namespace velmora {

class EAppExec : public Exception {
public:
    using Exception::Exception;
};
// The working folder could not be made current.
class EAppExecChDir : public EAppExec {
public:
    using EAppExec::EAppExec;
};
// The program could not be started.
class EAppExecWinExec : public EAppExec {
public:
    using EAppExec::EAppExec;
};

class TAppExec : public gui::TComponent {
public:
    explicit TAppExec(gui::TComponent* Owner) : gui::TComponent(Owner) {}

    // The command line has a room of 512 characters, its end included.
    static constexpr size_t kMaxCommandLine = 511;

    bool ChangeDir = true;
    std::wstring ExeName;
    TStringList ExeParams;
    bool Wait = false;
    gui::TWindowState WindowState = gui::TWindowState::wsNormal;

    int ErrNo() const { return m_errNo; }
    const std::wstring& ExePath() const { return m_exePath; }
    // A trailing "\" goes, but a drive root such as "C:\" keeps it.
    void SetExePath(const std::wstring& Path);

    // The command line Execute starts: the program (quoted when it holds a
    // blank), then each parameter after one blank.
    std::wstring CommandLine() const;
    // Raises EAppExecChDir or EAppExecWinExec; a command line that does not fit
    // its room raises before anything starts.
    void Execute();
    void ErrorText(std::wstring& Text) const;

private:
    [[noreturn]] void FailStart(int Code);

    int m_errNo = -1;
    std::wstring m_exePath;
};

}  // namespace velmora
