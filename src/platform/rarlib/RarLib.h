// The RAR unpacking calls the archive routines link against: open an archive,
// walk its headers, skip, test or extract each entry, close. Headers of RAR
// 1.5 to 4 and of RAR 5 are read, also behind a program stub; stored entries
// are tested and extracted with their CRC checked, compressed entries answer
// RarUnknownFormat and encrypted ones RarBadData.
#pragma once

#ifdef _WIN32
#define VELMORA_RAR_CALL __stdcall
#else
#define VELMORA_RAR_CALL
#endif

extern "C" {

// Open modes.
enum : unsigned { RarOpenList = 0, RarOpenExtract = 1 };

// Operations of RARProcessFile.
enum : unsigned { RarSkip = 0, RarTest = 1, RarExtract = 2 };

// Results.
enum : unsigned {
    RarOk = 0,
    RarEndArchive = 10,
    RarNoMemory = 11,
    RarBadData = 12,
    RarBadArchive = 13,
    RarUnknownFormat = 14,
    RarOpenError = 15,
    RarCreateError = 16,
    RarCloseError = 17,
    RarReadError = 18,
    RarWriteError = 19,
    RarSmallBuffer = 20,
};

// Archive flags of the open record.
enum : unsigned {
    RarArcVolume = 0x01,
    RarArcComment = 0x02,
    RarArcLocked = 0x04,
    RarArcSolid = 0x08,
    RarArcVersion5 = 0x100,
};

// Entry flags of the header record (the block flags of RAR 1.5 to 4).
enum : unsigned {
    RarEntrySplitBefore = 0x01,
    RarEntrySplitAfter = 0x02,
    RarEntryEncrypted = 0x04,
    RarEntryComment = 0x08,
    RarEntrySolid = 0x10,
    RarEntryFolder = 0xE0,
};

struct RAROpenArchiveData {
    const char* ArcName;
    unsigned OpenMode;
    unsigned OpenResult;
    char* CmtBuf;        // filled with the archive comment, zero-terminated
    unsigned CmtBufSize;
    unsigned CmtSize;    // bytes written including the NUL
    unsigned CmtState;   // 0 none, 1 present, or a result code
    unsigned Flags;      // RarArc...
};

struct RARHeaderData {
    char FileName[260];  // ends at the stored name's first NUL; "\" or "/" as stored
    unsigned Flags;      // RarEntry...
    unsigned PackSize;
    unsigned PackSizeHigh;
    unsigned UnpSize;
    unsigned UnpSizeHigh;
    unsigned HostOS;
    unsigned FileCRC;
    unsigned FileTime;   // DOS: date in the high word, time in the low word
    unsigned UnpVer;
    unsigned Method;     // 0x30 stored ... 0x35 best
    unsigned FileAttr;
    char* CmtBuf;        // the entry's comment, when the caller gives a buffer
    unsigned CmtBufSize;
    unsigned CmtSize;
    unsigned CmtState;
};

void* VELMORA_RAR_CALL RAROpenArchive(RAROpenArchiveData* data);
int VELMORA_RAR_CALL RARCloseArchive(void* handle);
int VELMORA_RAR_CALL RARReadHeader(void* handle, RARHeaderData* header);
// destName, when given, is the full name to write; else destPath (or the
// current folder) joined with the entry's name.
int VELMORA_RAR_CALL RARProcessFile(void* handle, int operation, const char* destPath, const char* destName);
void VELMORA_RAR_CALL RARSetPassword(void* handle, const char* password);

}  // extern "C"
