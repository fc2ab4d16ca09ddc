// The main window's status displays: free space, the two status panels and
// the counters behind them.

#include "HistoryRules.h"
#include "MainForm.h"
#include "MainWindowCodes.h"
#include "foundation/Fehlercode.h"
#include "platform/rtl/FileSystem.h"

namespace velmora {

using namespace gui;

namespace {

const wchar_t kCounting[] = L"Zähle...";

std::wstring FreeSpaceFor(const TDiskFreeFunction& diskFree, wchar_t drive) {
    std::uint64_t free = 0, total = 0;
    if (drive == L'\\' || !diskFree || !diskFree(drive, free, total))
        return {};
    return FreeSpaceText(free, total);
}

}  // namespace

bool FileRoutinesDiskFree(wchar_t Drive, std::uint64_t& Free, std::uint64_t& Total) {
    float total = 0, free = 0;
    if (!DateiRoutinen || !DateiRoutinen->GetDiskFree(Drive, total, free))
        return false;
    Free = static_cast<std::uint64_t>(free);
    Total = static_cast<std::uint64_t>(total);
    return true;
}

void THauptform::ShowFreeSpace() {
    LWFreeSpace.SetCaption(FreeSpaceFor(DiskFree, LWAuswahl.Drive()));
    if (LWPanel2.Visible())
        LWFreeSpace2.SetCaption(FreeSpaceFor(DiskFree, LWAuswahl2.Drive()));
}

TPathInfoThread* THauptform::PathInfoThread() const { return static_cast<TPathInfoThread*>(m_pathInfoSlot->Thread); }

TQuickViewThread* THauptform::QuickViewThread() const {
    return static_cast<TQuickViewThread*>(m_quickViewSlot->Thread);
}

TDMChildForm* THauptform::ActivePane() const {
    if (RightPane && ActiveMDIChild() == RightPane)
        return RightPane;
    return LeftPane ? LeftPane : RightPane;
}

TDMChildForm* THauptform::InactivePane() const {
    TDMChildForm* active = ActivePane();
    return active == LeftPane ? RightPane : LeftPane;
}

namespace {

// Frees itself when it ends, clearing the slot first.
void Launch(TThread* thread, const std::shared_ptr<void>& slotOwner, TThread*& slot) {
    thread->FreeOnTerminate = true;
    thread->OnTerminate = [slotOwner, &slot](TObject* sender) {
        if (slot == sender)
            slot = nullptr;
    };
    slot = thread;
    thread->Resume();
}

void Stop(TThread* thread) {
    if (thread && !thread->Terminated())
        thread->Terminate();
}

}  // namespace

void THauptform::StopCounters() {
    Stop(m_pathInfoSlot->Thread);
    Stop(m_quickViewSlot->Thread);
}

bool THauptform::PaneFolderTotals(const std::wstring& Folder, std::int64_t& Count, std::int64_t& Bytes) const {
    for (TDMChildForm* pane : {LeftPane, RightPane})
        if (pane && pane->FolderTotals(Folder, Count, Bytes))
            return true;
    return false;
}

void THauptform::StartPathInfoThread(const std::wstring& Folder) {
    if (!HauptStatusZeile.Visible())
        return;
    if (m_panesDeferred) {
        // The panes' reads will count it: asked again once they are through.
        m_deferredPathInfo = Folder;
        return;
    }
    const std::wstring folder = HistoryLower(Folder);
    if (folder == LastPathInfoPath)
        return;
    Fehlercode = fc::StartPathInfoThread;
    std::int64_t count = 0, bytes = 0;
    if (!Folder.empty() && PaneFolderTotals(Folder, count, bytes)) {
        // A pane has just read this folder: its pass counted it already.
        Stop(m_pathInfoSlot->Thread);
        LastPathInfoPath = folder;
        HauptStatusZeile.SetPanelText(0, PathInfoText(count, bytes));
        HauptStatusZeile.Update();
    } else if (!Folder.empty() && DirectoryExists(Folder)) {
        HauptStatusZeile.SetPanelText(0, kCounting);
        HauptStatusZeile.Update();
        LastPathInfoPath = folder;
        Stop(m_pathInfoSlot->Thread);
        auto* thread = new TPathInfoThread(Folder, [this](TPathInfoThread& counter) {
            if (!m_closing)
                HauptStatusZeile.SetPanelText(0, PathInfoText(counter.Count, counter.Bytes));
        });
        Launch(thread, m_pathInfoSlot, m_pathInfoSlot->Thread);
    } else {
        // A count still on its way would fill the cleared panel again.
        Stop(m_pathInfoSlot->Thread);
        HauptStatusZeile.SetPanelText(0, L"");
        LastPathInfoPath.clear();
        HauptStatusZeile.Update();
    }
    Fehlercode = 0;
}

void THauptform::StartQuickViewThread(const std::wstring& Folder) {
    if (!HauptStatusZeile.Visible())
        return;
    Fehlercode = fc::StartQuickViewThread;
    const std::wstring folder = HistoryLower(Folder);
    if (folder != LastQuickViewPath) {
        if (Folder.empty()) {
            Stop(m_quickViewSlot->Thread);
            HauptStatusZeile.SetPanelText(1, L"");
        } else {
            HauptStatusZeile.SetPanelText(1, kCounting);
            Stop(m_quickViewSlot->Thread);
            auto* thread = new TQuickViewThread(Folder, [this](TQuickViewThread& counter) {
                if (!m_closing)
                    HauptStatusZeile.SetPanelText(1, QuickViewText(counter.Files, counter.Folders, counter.Bytes));
            });
            Launch(thread, m_quickViewSlot, m_quickViewSlot->Thread);
        }
        LastQuickViewPath = folder;
        LastArchiveStatusPath.clear();
    } else if (Folder.empty()) {
        HauptStatusZeile.SetPanelText(1, L"");
        LastArchiveStatusPath.clear();
    }
    Fehlercode = 0;
}

// The active pane first, then the other: a pane that shows this archive.
void THauptform::FindArchiveTotals(const std::wstring& Archive, TArchivDaten& Daten, bool& Found) {
    Found = false;
    for (TDMChildForm* pane : {ActivePane(), InactivePane()}) {
        if (pane && ZeigtArchiv(pane->GetPaneKind()) && HistoryLower(pane->GetArchiveFile()) == Archive) {
            pane->GetArchivDaten(Daten);
            Found = true;
            return;
        }
    }
}

void THauptform::UpdatePaneStatus(const std::wstring& Archive) {
    if (!HauptStatusZeile.Visible())
        return;
    Fehlercode = fc::UpdatePaneStatus;
    StartQuickViewThread(L"");
    Fehlercode = fc::UpdatePaneStatus;
    const std::wstring archive = HistoryLower(Archive);
    if (archive != LastArchiveStatusPath) {
        std::wstring shown;
        if (!Archive.empty()) {
            TArchivDaten totals;
            bool found = false;
            FindArchiveTotals(archive, totals, found);
            if (found && totals.OrigGroesse > 0) {
                HauptStatusZeile.SetPanelText(1, ArchiveStatusText(Archive, totals));
                shown = archive;
            } else {
                HauptStatusZeile.SetPanelText(1, L"");
            }
        } else {
            HauptStatusZeile.SetPanelText(1, L"");
        }
        LastArchiveStatusPath = shown;
    } else if (Archive.empty()) {
        HauptStatusZeile.SetPanelText(1, L"");
        LastQuickViewPath.clear();
    }
    HauptStatusZeile.Update();
    Fehlercode = 0;
}

}  // namespace velmora
