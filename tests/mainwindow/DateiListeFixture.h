#pragma once
// File list panes in a test MDI frame, with a host that records what the panes
// ask of the main window, and folders made for the test.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/IconRoutinen.h"
#include "foundation/ProgrammFlags.h"
#include "foundation/TestFiles.h"
#include "panes/DateiListe.h"
#include "platform/gui/Application.h"
#include "platform/gui/Testing.h"

namespace velmora::test {

// Records every call as one line, e.g. "OpenFile c:\x\a.txt".
class TRecordingHost : public TPaneHost {
public:
    std::vector<std::wstring> Calls;
    bool DriveSwitch = false;
    bool ArchiveInPane = false;
    std::wstring BinName;
    ULONG BinAttributes = 0;
    std::vector<std::wstring> Dragged;

    bool Contains(const std::wstring& call) const {
        return std::find(Calls.begin(), Calls.end(), call) != Calls.end();
    }

    bool LaufwerkWirdGewechselt() const override { return DriveSwitch; }
    std::wstring RecycleBinName() const override { return BinName; }
    ULONG RecycleBinAttributes() const override { return BinAttributes; }
    bool ShowArchiveOnDoubleClick() const override { return ArchiveInPane; }
    HWND OwnerWindow() const override { return nullptr; }
    void PaneActivated(TDMChildForm*) override { Calls.push_back(L"PaneActivated"); }
    bool ShowDirectory(TDMChildForm*, const std::wstring& Path) override {
        Calls.push_back(L"ShowDirectory " + Path);
        return true;
    }
    void SyncPanes(TDMChildForm*, PCIDLIST_ABSOLUTE) override { Calls.push_back(L"SyncPanes"); }
    void GoToParentDir(TDMChildForm*) override { Calls.push_back(L"GoToParentDir"); }
    void OpenFile(const std::wstring& FileName) override { Calls.push_back(L"OpenFile " + FileName); }
    void OpenFileEx(PCIDLIST_ABSOLUTE) override { Calls.push_back(L"OpenFileEx"); }
    void PaneDirChanged(TDMChildForm*, const std::wstring& Archive) override {
        Calls.push_back(L"PaneDirChanged " + Archive);
    }
    void UpdatePaneStatus(const std::wstring&) override {}
    void StartQuickViewThread(const std::wstring& Folder) override { Calls.push_back(L"QuickView " + Folder); }
    void CheckSortMenu(std::uint8_t State) override { Calls.push_back(L"CheckSortMenu " + std::to_wstring(State)); }
    void FormKeyDown(gui::TObject*, WORD& Key, gui::TShiftState) override {
        Calls.push_back(L"FormKeyDown " + std::to_wstring(Key));
    }
    void FormKeyUp(gui::TObject*, WORD& Key, gui::TShiftState) override {
        Calls.push_back(L"FormKeyUp " + std::to_wstring(Key));
    }
    void PaneKeyDown(gui::TObject*, WORD& Key, gui::TShiftState) override {
        Calls.push_back(L"PaneKeyDown " + std::to_wstring(Key));
    }
    void PaneKeyUp(gui::TObject*, WORD& Key, gui::TShiftState) override {
        Calls.push_back(L"PaneKeyUp " + std::to_wstring(Key));
    }
    void ShowRecentFilesPopup(POINT) override { Calls.push_back(L"ShowRecentFilesPopup"); }
    void ShowPanePopup(TDMChildForm*, POINT) override { Calls.push_back(L"ShowPanePopup"); }
    void StartDrag(TDMChildForm*, const TStringList& Files) override {
        Calls.push_back(L"StartDrag");
        Dragged.assign(Files.begin(), Files.end());
    }
};

// The options a pane kind starts with: every file, sorted by name, status line on.
inline TOptionen StandardOptionen(std::uint8_t Ansicht) {
    TOptionen o;
    o.Ansicht = Ansicht;
    o.IconsAnzeigen = true;
    o.StandardIcons = true;
    o.VSchreibweise = 2;
    o.DateiSchreibweise = 2;
    o.GroesseAnzeigen = o.DatumAnzeigen = o.AttrAnzeigen = true;
    o.TypAnzeigen = o.DOSNameAnzeigen = Ansicht == 3;
    o.Statuszeile = true;
    o.Sortierung = 0;
    o.Filter.Masken = std::make_shared<TStringList>(TStringList{L"*.*"});
    o.Filter.ReadOnly = o.Filter.Hidden = o.Filter.System = o.Filter.Normale = true;
    return o;
}

class DateiListeTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_previousMain = gui::Application->MainForm();
        m_frame.SetFormStyle(gui::TFormStyle::fsMDIForm);
        gui::Application->SetMainForm(&m_frame);
        m_frame.SetBounds(0, 0, 640, 480);
        m_frame.Show();
        if (!IconRoutinen)
            IconRoutinen = new TIconRoutinen;
        NachLesenFokussieren = false;
        DateiOperationLaeuft = false;
    }
    void TearDown() override {
        for (auto* pane : m_panes) pane->Free();
        gui::Application->ProcessMessages();
        gui::Application->SetMainForm(m_previousMain);
    }

    TDateiListeForm& Pane(TFensterTyp Kind = ftDateiliste) {
        auto* pane = gui::Create<TDateiListeForm>(&m_frame, &m_host);
        m_panes.push_back(pane);
        pane->SetPaneKind(Kind);
        pane->ApplyOptions(StandardOptionen(Kind == ftAusfDateiliste ? 3 : 2));
        pane->SetBounds(0, 0, 400, 300);
        pane->Show();
        return *pane;
    }

    static std::vector<std::wstring> Captions(TDateiListeForm& pane) {
        std::vector<std::wstring> captions;
        for (int i = 0; i < pane.Dateiliste.Count(); ++i) captions.push_back(pane.Dateiliste.Items(i)->Caption());
        return captions;
    }
    static TItemData& Row(TDateiListeForm& pane, int i) {
        return *static_cast<TItemData*>(pane.Dateiliste.Items(i)->Data);
    }
    static int RowOf(TDateiListeForm& pane, const std::wstring& name) {
        for (int i = 0; i < pane.Dateiliste.Count(); ++i)
            if (Row(pane, i).Name == name)
                return i;
        return -1;
    }
    static void Mark(TDateiListeForm& pane, std::initializer_list<const wchar_t*> names) {
        for (int i = 0; i < pane.Dateiliste.Count(); ++i) pane.Dateiliste.Items(i)->SetSelected(false);
        for (const wchar_t* name : names) pane.Dateiliste.Items(RowOf(pane, name))->SetSelected(true);
    }

    TRecordingHost m_host;
    gui::TForm m_frame{nullptr};
    std::vector<TDateiListeForm*> m_panes;
    gui::TForm* m_previousMain = nullptr;
    gui::TMessageBoxRecorder m_boxes;
};

}  // namespace velmora::test
