#pragma once
// The routine numbers of the archive operations (see foundation/Fehlercode.h).

#include "foundation/Fehlercode.h"

#define VELMORA_ARCHIVE_CODES(X)  \
    /* Archive routines: kinds, listing, sort and folder tree. */ \
    X(ZipRoutinenCreate, 5101)    \
    X(GetArchiveType, 5102)       \
    X(OpenArchive, 5103)          \
    X(SortEntries, 5104)          \
    X(BuildFolderTree, 5105)      \
    X(ClearFolderTree, 5106)      \
    X(ShowZipResult, 5107)        \
    X(RarOpenErrorText, 5108)     \
    X(RarProcessErrorText, 5109)  \
    /* Archive operations and their outside packers. */ \
    X(RunPackers, 5110)           \
    X(AddToArchive, 5111)         \
    X(ExtractFromArchive, 5112)   \
    X(TestArchive, 5113)          \
    X(DeleteFromArchive, 5114)    \
    X(ConvertToSfx, 5115)         \
    X(SfxToArchive, 5116)         \
    X(UpdateArchiveDate, 5117)    \
    X(RepairArchive, 5118)        \
    X(CollectSelection, 5119)     \
    X(DropFromArchive, 5120)      \
    /* The archive dialogs. */    \
    X(AddArcDlgFormShow, 5151)    \
    X(AddArcDlgFormClose, 5152)   \
    X(AddArcDlgArchivName, 5153)  \
    X(ExtractArcDlgFormShow, 5154) \
    X(ExtractArcDlgFormClose, 5155) \
    X(ExtractArcDlgArchivName, 5156) \
    X(ExtractArcDlgEintraege, 5157) \
    X(ArchivInhaltLaden, 5158)    \
    X(DeleteFromArcDlgEintraege, 5159)

VELMORA_FC_SUBSYSTEM(5, VELMORA_ARCHIVE_CODES)
