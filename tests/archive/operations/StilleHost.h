#pragma once
// A host for the archive routines in programs without a main window: no
// status line, no progress, no questions answered but the defaults.

#include "archive/operations/ZipRoutinenHost.h"

namespace velmora::test {

class TStilleHost : public archive::TZipRoutinenHost {
public:
    bool ArchiveWorkRunning() const override { return false; }
    std::wstring StatusText(int) const override { return L""; }
    void SetStatusText(int, const std::wstring&) override {}
    void SetProgressMax(int) override {}
    void SetProgressPosition(int) override {}
    void ShowProgressPanel(bool) override {}
    void SetAbortEnabled(bool) override {}
    gui::TCursor Cursor() const override { return gui::crDefault; }
    void SetCursor(gui::TCursor) override {}
    void Beep() override {}
};

// A Unix path of the build (a library folder) as Wine sees it.
inline std::wstring WineSicht(const std::string& unixPath) {
    std::wstring path = L"Z:";
    for (char c : unixPath) path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return path;
}

}  // namespace velmora::test
