#pragma once
// A pane host that answers every call with nothing: for programs that show or
// time a pane on its own, without the main window.

#include "panes/PaneHost.h"

namespace velmora {

class TNullPaneHost : public TPaneHost {
public:
    explicit TNullPaneHost(HWND Owner = nullptr) : m_owner(Owner) {}

    bool LaufwerkWirdGewechselt() const override { return false; }
    std::wstring RecycleBinName() const override { return L"Papierkorb"; }
    ULONG RecycleBinAttributes() const override { return 0; }
    HWND OwnerWindow() const override { return m_owner; }

    void PaneActivated(TDMChildForm*) override {}
    bool ShowDirectory(TDMChildForm*, const std::wstring&) override { return false; }
    void SyncPanes(TDMChildForm*, PCIDLIST_ABSOLUTE) override {}
    void GoToParentDir(TDMChildForm*) override {}
    void OpenFile(const std::wstring&) override {}
    void OpenFileEx(PCIDLIST_ABSOLUTE) override {}
    void PaneDirChanged(TDMChildForm*, const std::wstring&) override {}
    void UpdatePaneStatus(const std::wstring&) override {}
    void StartQuickViewThread(const std::wstring&) override {}
    void CheckSortMenu(std::uint8_t) override {}

    void FormKeyDown(gui::TObject*, WORD&, gui::TShiftState) override {}
    void FormKeyUp(gui::TObject*, WORD&, gui::TShiftState) override {}
    void PaneKeyDown(gui::TObject*, WORD&, gui::TShiftState) override {}
    void PaneKeyUp(gui::TObject*, WORD&, gui::TShiftState) override {}

    void ShowRecentFilesPopup(POINT) override {}
    void ShowPanePopup(TDMChildForm*, POINT) override {}
    void StartDrag(TDMChildForm*, const TStringList&) override {}

private:
    HWND m_owner;
};

}  // namespace velmora
