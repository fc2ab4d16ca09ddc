#pragma once
// A pane that writes what the main window asks of it into a shared log, one
// line per call, each line led by the pane's number ("#2 SetDirectory c:\").
// The panes are made by the window's factory, numbered in the order made.

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "foundation/Pidl.h"
#include "mainwindow/MainForm.h"

namespace velmora::test {

struct TPaneLog {
    std::vector<std::wstring> Lines;
    int Made = 0;
    bool Contains(const std::wstring& line) const {
        for (const std::wstring& l : Lines)
            if (l == line)
                return true;
        return false;
    }
    int Count(const std::wstring& line) const {
        int n = 0;
        for (const std::wstring& l : Lines)
            n += l == line;
        return n;
    }
};

class TLogPane : public TDMChildForm {
public:
    TLogPane(gui::TComponent* owner, TPaneLog& log, TFensterTyp kind)
        : TDMChildForm(owner), Number(++log.Made), Kind(kind), m_log(log) {
        Write(L"Made " + std::to_wstring(kind));
        OnClose = [this](gui::TObject*, gui::TCloseAction&) { Write(L"Close"); };
    }
    ~TLogPane() override { Write(L"Free"); }

    const int Number;
    TFensterTyp Kind;
    std::wstring Directory, ArchiveFile;
    std::uint8_t Sort = 0;
    HWND ControlHandle = nullptr;
    // The lists handed to ShowVirtualFolder, and copies of what they held.
    std::vector<PCIDLIST_ABSOLUTE> VirtualFolders;
    std::vector<TPidl> VirtualCopies;

    TFensterTyp GetPaneKind() override { return Kind; }
    void SetPaneKind(TFensterTyp kind) override {
        Kind = kind;
        Write(L"SetPaneKind " + std::to_wstring(kind));
    }
    void ApplyOptions(const TOptionen&) override { Write(L"ApplyOptions"); }
    void ReadContents() override { Write(L"ReadContents"); }
    std::wstring GetDirectory() override { return Directory; }
    void SetDirectory(const std::wstring& path) override {
        Directory = path;
        Write(L"SetDirectory " + path);
    }
    std::wstring GetArchiveFile() override { return ArchiveFile; }
    void BeginUpdate() override { Write(L"BeginUpdate"); }
    void EndUpdate() override { Write(L"EndUpdate"); }
    void SelectAll() override { Write(L"SelectAll"); }
    void InvertSelection() override { Write(L"InvertSelection"); }
    void SetSortOrder(std::uint8_t request) override {
        Sort = request;
        Write(L"SetSortOrder " + std::to_wstring(request));
    }
    std::uint8_t GetSortOrder() override { return Sort; }
    void ShowVirtualFolder(PCIDLIST_ABSOLUTE pidl) override {
        VirtualFolders.push_back(pidl);
        VirtualCopies.push_back(PidlVerketten(nullptr, pidl));
        Write(L"ShowVirtualFolder");
    }
    HWND GetControlHandle() override { return ControlHandle; }
    void RecycleBinChanged() override { Write(L"RecycleBinChanged"); }
    void OpenSelected() override { Write(L"OpenSelected"); }
    void RefreshDirectory(const std::wstring& path) override { Write(L"RefreshDirectory " + path); }
    void SetPathCaption(const std::wstring& path) override { Write(L"SetPathCaption " + path); }
    void SetArchiveFile(const std::wstring& path) override { Write(L"SetArchiveFile " + path); }
    // The records GetSelection hands out, copied.
    std::vector<TEineDatei> Selection;
    void GetSelection(TDateiListe& list) override {
        for (const TEineDatei& record : Selection)
            list.push_back(std::make_unique<TEineDatei>(record));
    }
    bool RecycleBin = false, WholeArchive = false;
    bool ShowsRecycleBin() override { return RecycleBin; }
    bool WholeArchiveSelected() override { return WholeArchive; }
    void CleanUp() override { Write(L"CleanUp"); }
    // What GetAllEntries hands out, and what MarkDifferences answers (it logs
    // the names it was given).
    std::vector<TEineDatei> Entries;
    std::int32_t Differences = 0;
    void GetAllEntries(TDateiListe& list) override {
        for (const TEineDatei& record : Entries)
            list.push_back(std::make_unique<TEineDatei>(record));
    }
    std::int32_t MarkDifferences(const TDateiListe& list) override {
        std::wstring names;
        for (const auto& record : list)
            names += L" " + record->Name;
        Write(L"MarkDifferences" + names);
        return Differences;
    }

private:
    void Write(const std::wstring& what) { m_log.Lines.push_back(L"#" + std::to_wstring(Number) + L" " + what); }
    TPaneLog& m_log;
};

// Makes a window's panes logging panes.
inline void UseLogPanes(THauptform& form, TPaneLog& log) {
    form.PaneFactory = [&log](TFensterTyp kind, THauptform& host) -> TDMChildForm* {
        return gui::Create<TLogPane>(&host, log, kind);
    };
}

inline TLogPane& Log(TDMChildForm* pane) { return *dynamic_cast<TLogPane*>(pane); }

}  // namespace velmora::test
