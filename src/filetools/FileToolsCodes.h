#pragma once
// The routine numbers of the file commands and tools (see foundation/Fehlercode.h).

#include "foundation/Fehlercode.h"

// File routines: one number per routine.
#define VELMORA_FILETOOLS_CODES(X) \
    X(DateiRoutinenCreate, 3001) \
    X(ExtractExt, 3002) \
    X(DriveReady, 3003) \
    X(CheckDriveAccess, 3004) \
    X(DirectoryExistsCheck, 3005) \
    X(SetCurrentPath, 3006) \
    X(GetCurrentPath, 3007) \
    X(GetOtherDrivePath, 3008) \
    X(ResetPaths, 3009) \
    X(NormalizePath, 3010) \
    X(GetDiskFree, 3011) \
    X(IsInStartupFolder, 3012) \
    X(IsValidFileName, 3013) \
    X(CommonPathOfList, 3014) \
    X(CommonPathOfStrings, 3015) \
    X(MatchesMask, 3016) \
    X(DateiRoutinenCreateDirectory, 3017) \
    X(SetAttributes, 3018) \
    X(SetFileDate, 3019) \
    X(RenameFile, 3020) \
    X(PrintFile, 3021) \
    X(CopyFiles, 3022) \
    X(CopyFilesForSync, 3023) \
    X(MoveFiles, 3024) \
    X(DeleteFiles, 3025) \
    X(WipeFiles, 3026) \
    X(CreateLinks, 3027) \
    /* File-operation dialogs and the link job. */ \
    X(QuellDialogFormShow, 3101) \
    X(QuellDialogFormClose, 3102) \
    X(QuellDialogListEditor, 3103) \
    X(QuellDialogDateiSuchen, 3104) \
    X(QuellDialogOrdnerSuchen, 3105) \
    X(QuellDialogSammelkorb, 3106) \
    X(QuellDialogMRUClick, 3107) \
    X(DateiKopierenDurchsuchen, 3108) \
    X(DateienBearbeitenFormShow, 3110) \
    X(DateienBearbeitenFormClose, 3111) \
    X(DateilisteAbgleichen, 3112) \
    X(SammelkorbInhaltFormShow, 3115) \
    X(VerzeichnisErstellenOrdnerSuchen, 3120) \
    X(AttributSetDateien, 3125) \
    X(AttributAnwenden, 3126) \
    X(AttributFormClose, 3127) \
    X(LinksErstellen, 3130) \
    X(DateiTeilen, 3131) \
    /* The file search. */ \
    X(DateiSuchenFormShow, 3201) \
    X(DateiSuchenFormClose, 3202) \
    X(DateiSuchenOrdnerSuchen, 3203) \
    X(DateiSuchenListEditor, 3204) \
    X(SucheStarten, 3205) \
    /* The file-type list. */ \
    X(DateiTypenLaden, 3301) \
    X(DateiTypenSpeichern, 3302) \
    X(TypenBearbeitenFormShow, 3303) \
    X(FilterAuswahlFormShow, 3304) \
    X(VerknuepfListeFuellen, 3305) \
    X(VerknuepfLoeschen, 3306) \
    X(VerknuepfNeu, 3307) \
    X(VerknuepfEndungHinzu, 3308) \
    X(VerknuepfBeschreibung, 3309) \
    X(VerknuepfProgramm, 3310) \
    /* The orphaned-file search and the folder synchronisation. */ \
    X(DateileichenSuchen, 3401) \
    X(SynchronisierenPruefen, 3402) \
    X(Synchronisieren, 3403) \
    /* Drive tools: real space needed and volume information. */ \
    X(SpeicherbedarfErmitteln, 3501) \
    X(SpeicherbedarfErgebnis, 3502) \
    X(VolumeInfoAnzeigen, 3503) \
    X(VolumeInfoUeberhang, 3504) \
    X(DiskNameZeigen, 3505) \
    X(DiskNameOK, 3506) \
    X(DateiTeilenPruefen, 3507) \
    X(GoToDirPruefen, 3508) \
    /* The options dialog. */ \
    X(OptionenFormShow, 3601) \
    X(OptionenFormClose, 3602) \
    X(OptionenDateiSuchen, 3603) \
    X(OptionenWeiterePacker, 3604) \
    X(OptionenListEditor, 3605) \
    X(OptionenOrdnerSuchen, 3606) \
    X(OptionenLaden, 3607) \
    /* The outside packers' dialog (shown by the options dialog). */ \
    X(ExtArcSuchen, 3608) \
    X(ExtArcFormClose, 3609) \
    /* The document list. */ \
    X(DocListFormShow, 3610) \
    X(DocListHinzufuegen, 3611) \
    X(DocListLoeschen, 3612) \
    X(DocListWiederherstellen, 3613) \
    X(DocListOK, 3614)

VELMORA_FC_SUBSYSTEM(3, VELMORA_FILETOOLS_CODES)
