#pragma once
// The frame every listing reader of TZipRoutinen runs in.

#include <windows.h>

#include <string>

#include "ZipRoutinen.h"
#include "platform/gui/Dialogs.h"

namespace velmora::archive {

// The routines' message boxes and file checks.
namespace detail {

inline void ErrorBox(const std::wstring& text) {
    gui::MessageDlg(text, gui::TMsgDlgType::mtError, {gui::TMsgDlgBtn::mbOK});
}
inline void InformationBox(const std::wstring& text) {
    gui::MessageDlg(text, gui::TMsgDlgType::mtInformation, {gui::TMsgDlgBtn::mbOK});
}
inline bool IsPlainFile(const std::wstring& name) {
    const DWORD attr = GetFileAttributesW(name.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace detail

// Keeps the status panels a reader writes to and the cursor, shows the
// hourglass, and puts everything back however the reader ends.
class TZipRoutinen::TReaderScope {
public:
    explicit TReaderScope(TZipRoutinenHost& host) : m_host(host) {
        m_panel0 = host.StatusText(0);
        m_panel1 = host.StatusText(1);
        m_cursor = host.Cursor();
        host.SetCursor(gui::crHourGlass);
    }
    ~TReaderScope() {
        try {
            if (m_progressPanel) m_host.ShowProgressPanel(false);
            if (m_progress) {
                m_host.SetAbortEnabled(false);
                m_host.SetProgressPosition(0);
                m_host.SetProgressMax(100);
            }
            m_host.SetStatusText(0, m_panel0);
            m_host.SetStatusText(1, m_panel1);
            m_host.SetCursor(m_cursor);
        } catch (const std::exception&) {
            // Nothing more can be put back.
        }
    }
    TReaderScope(const TReaderScope&) = delete;
    TReaderScope& operator=(const TReaderScope&) = delete;

    // The reader's progress text in panel 1, unless other archive work runs.
    void ShowText(const std::wstring& text) {
        if (m_host.ArchiveWorkRunning()) return;
        m_host.SetStatusText(1, text);
    }
    // From here on the progress bar and the Abort button are reset at the end,
    // the progress panel hidden when it was shown.
    void ProgressUsed(bool panelShown) {
        m_progress = true;
        m_progressPanel = m_progressPanel || panelShown;
    }

private:
    TZipRoutinenHost& m_host;
    std::wstring m_panel0, m_panel1;
    gui::TCursor m_cursor;
    bool m_progress = false;
    bool m_progressPanel = false;
};

// The frame of an operation of the zip library: keeps panels 0 and 1 and the
// cursor, enables Abort (else shows the hourglass), shows the progress panel
// and raises Flag; puts everything back however the operation ends.
class TZipRoutinen::TOperationScope {
public:
    TOperationScope(TZipRoutinenHost& host, bool abortable, bool& flag) : m_host(host), m_flag(flag) {
        m_panel0 = host.StatusText(0);
        m_panel1 = host.StatusText(1);
        m_cursor = host.Cursor();
        m_flagWas = flag;
        if (abortable)
            host.SetAbortEnabled(true);
        else
            host.SetCursor(gui::crHourGlass);
        host.SetProgressPosition(0);
        host.ShowProgressPanel(true);
        flag = true;
    }
    ~TOperationScope() {
        try {
            m_host.ShowProgressPanel(false);
            m_host.SetStatusText(0, m_panel0);
            m_host.SetStatusText(1, m_panel1);
            m_host.SetAbortEnabled(m_host.ArchiveWorkRunning());
            m_host.SetCursor(m_cursor);
        } catch (const std::exception&) {
            // Nothing more can be put back.
        }
        m_flag = m_flagWas;
    }
    TOperationScope(const TOperationScope&) = delete;
    TOperationScope& operator=(const TOperationScope&) = delete;

private:
    TZipRoutinenHost& m_host;
    bool& m_flag;
    bool m_flagWas = false;
    std::wstring m_panel0, m_panel1;
    gui::TCursor m_cursor;
};

}  // namespace velmora::archive
