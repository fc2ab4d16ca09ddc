#pragma once
// TBrowseDirectoryDlg: the shell's folder browser as a component. The caller sets
// Selection to the folder typed so far, calls Execute and on true reads Selection
// back, a chosen folder always with its trailing "\".

#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <string>

#include "platform/gui/Component.h"
#include "platform/gui/Events.h"

namespace velmora {

// The shell's special folder each top of the tree stands for.
enum class TRootID : int {
    idDesktop = 0, idInternet = 1, idPrograms = 2, idControlPanel = 3, idPrinters = 4,
    idPersonal = 5, idFavorites = 6, idStartup = 7, idRecent = 8, idSendTo = 9,
    idRecycleBin = 10, idStartMenu = 11, idDesktopDirectory = 16, idDrives = 17,
    idNetwork = 18, idNetHood = 19, idFonts = 20, idTemplates = 21, idDesktopExpanded = 0xFEFE
};

// The shell's browse flags; a set of them is their union.
enum TBrowseFlag : unsigned {
    bfDirectoriesOnly = 0x1, bfDomainOnly = 0x2, bfAncestors = 0x8,
    bfComputers = 0x1000, bfPrinters = 0x2000, bfIncludeFiles = 0x4000
};
using TBrowseFlags = unsigned;

using TBDSelChangedEvent = std::function<void(gui::TObject* Sender, const std::wstring& NewSel)>;

// The status text shortened until it fits Width under Measure. A folder's path
// loses folders from the front ("c:\...\b\name"), then the drive; any other text
// is a shortened copy of itself with "..." appended. Both always end.
std::wstring FitBrowseStatusText(const std::wstring& text, bool isFolder, int width,
                                 const std::function<int(const std::wstring&)>& measure);
// The path the browser is told to select: "X:" becomes "X:\", another drive root
// stays, any other path loses its trailing "\".
std::wstring BrowseSelectionPath(const std::wstring& selection);
// An existing folder, with no wildcard expansion; "X:" counts when X is a drive.
bool BrowseFolderExists(const std::wstring& path);

class TBrowseDirectoryDlg : public gui::TComponent {
public:
    explicit TBrowseDirectoryDlg(gui::TComponent* owner);

    bool Execute();

    const std::wstring& Selection() const { return m_selection; }
    void SetSelection(const std::wstring& value);
    std::wstring Title;
    TRootID Root = TRootID::idDesktop;
    TBrowseFlags Options = 0;
    bool Center = true;
    const std::wstring& StatusText() const { return m_statusText; }
    void SetStatusText(const std::wstring& value);
    bool FitStatusText() const { return m_fitStatusText; }
    void SetFitStatusText(bool value);
    bool EnableOKButton = true;
    int ImageIndex() const { return m_imageIndex; }
    // While the browser is shown, its window text (up to 256 characters).
    std::wstring Caption() const;
    void SetCaption(const std::wstring& value);
    bool ShowSelectionInStatus = false;
    TBDSelChangedEvent OnSelChanged;
    gui::TNotifyEvent OnCreate;

    // The browser's window while it is shown, else 0.
    HWND Handle() const { return m_handle; }

protected:
    virtual void DoInitialized(HWND handle);
    virtual void DoSelChanged(LPCITEMIDLIST pidl);

private:
    static int CALLBACK BrowseCallback(HWND handle, UINT message, LPARAM param, LPARAM data);
    HWND OwnerWindow() const;
    void SendStatusText();
    void SendSelection();

    std::wstring m_selection;
    std::wstring m_statusText;
    bool m_fitStatusText = true;
    int m_imageIndex = -1;
    std::wstring m_caption;
    HWND m_handle = nullptr;
    unsigned m_selChanges = 0;
};

}  // namespace velmora
