#pragma once
// TZipRoutinen as the archive operation tests drive it: the recording host,
// the zip component and lister wired as the main window wires them, its own
// AppExec, fixed drives, and a recording packer folder.

#include "PackRec.h"
#include "ZipRoutinenRecorder.h"
#include "archive/operations/ZipRoutinen.h"
#include "foundation/AppExec.h"
#include "platform/gui/Testing.h"

namespace packrectest {

struct TOperationsUnderTest {
    explicit TOperationsUnderTest(const std::wstring& name) : rec(name) {
        zip.OnListing = [this](velmora::archive::TZipLib*, const velmora::archive::TZlFileStats& s) {
            routines.AddXZipEntry(s);
        };
        lister.OnRead = [this](velmora::arc::TArcBase*, int) { routines.AddArcListerEntry(lister); };
        routines.AppExec = &exec;
        routines.DriveType = [](const std::wstring&) { return unsigned{DRIVE_FIXED}; };
        zip.TempPath.clear();
    }
    // The entries our reader lists.
    velmora::TDateiListe Listing(std::uint8_t kind, const std::wstring& archive) {
        velmora::TDateiListe list;
        std::wstring name = archive;
        velmora::TArchivDaten daten;
        routines.OpenArchive(kind, name, daten, list);
        return list;
    }

    TPackRec rec;
    velmora::TAppExec exec{nullptr};
    ziproutinentest::TRecorderHost host;
    velmora::archive::TZipLib zip{nullptr};
    velmora::arc::TArcLister lister;
    velmora::archive::TZipRoutinen routines{host, zip, lister};
    velmora::gui::TMessageBoxRecorder boxes;
};

}  // namespace packrectest
