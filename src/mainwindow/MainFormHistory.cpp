// The main window's history lists and its recent-folders menu.

#include <algorithm>

#include "HistoryRules.h"
#include "MainForm.h"
#include "MainWindowCodes.h"
#include "foundation/Fehlercode.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/FileSystem.h"

namespace velmora {

using namespace gui;

void THauptform::AddDirHistory(const std::wstring& Folder) {
    Fehlercode = fc::AddDirHistory;
    velmora::AddDirHistory(*History, Folder);
    Fehlercode = 0;
}

void THauptform::AddPathHistory(const std::wstring& Path) {
    Fehlercode = fc::AddPathHistory;
    velmora::AddPathHistory(*History, Path);
    Fehlercode = 0;
}

void THauptform::AddArchiveHistory(const std::wstring& File) {
    Fehlercode = fc::AddArchiveHistory;
    velmora::AddArchiveHistory(*History, File);
    Fehlercode = 0;
}

// A recently shown folder goes right behind the favourites; a favourite keeps its place.
void THauptform::AddRecentDir(const std::wstring& Folder) {
    Fehlercode = fc::AddRecentDir;
    const std::wstring value = HistoryFolder(Folder);
    if (!value.empty() && !IsFavouriteFolder(Settings->OBV, value))
        MRUFileList.InsertItem(Settings->OBV.Count(), value);
    Fehlercode = 0;
}

void THauptform::RefreshMRUList() {
    Fehlercode = fc::RefreshMRUList;
    MRUFileList.Clear();
    const int entries = Settings->OBV.Count() + Settings->OftBenVerz;
    if (entries != 0) {
        MRUFileList.SetFileMenu(&AnsichtMenu);
        MRUFileList.SetMaximum(static_cast<std::uint8_t>(std::clamp(entries, 0, 255)));
    } else {
        MRUFileList.SetFileMenu(nullptr);
    }
    for (const std::wstring& favourite : Settings->OBV)
        MRUFileList.AddItem(HistoryLower(favourite));
    Fehlercode = 0;
}

void THauptform::MRUFileListMRUItemClick(TObject*, const std::wstring& Path) {
    if (DirectoryExists(Path)) {
        TDMChildForm* pane = ActivePane();
        if (pane && pane->GetPaneKind() >= ftSuchergebnis)
            pane = InactivePane();
        ShowDirectory(pane, Path);
        return;
    }
    MessageDlg(L"Das Verzeichnis\r\n\"" + Path + L"\"\r\nexistiert nicht mehr.", TMsgDlgType::mtWarning,
               {TMsgDlgBtn::mbOK}, 0);
    if (!IsFavouriteFolder(Settings->OBV, HistoryLower(Path)))
        MRUFileList.RemoveItem(Path);
}

}  // namespace velmora
