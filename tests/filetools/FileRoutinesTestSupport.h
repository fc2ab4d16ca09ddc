#pragma once
// Stand-ins for the file routines' tests: a file-operation component that records
// instead of calling the shell, a wipe writer that records (and can fail or skip
// the writes), and small file helpers.

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "filetools/DateiRoutinen.h"
#include "foundation/FileOperator.h"
#include "foundation/ProgrammFlags.h"

namespace velmora::test {

// The names of a shell list ("a\0b\0\0").
std::vector<std::wstring> SplitShellList(const std::wstring& list);

class TRecordingOperator : public TFileOperator {
public:
    struct Call {
        TFileOperation Operation;
        FILEOP_FLAGS Flags;
        std::vector<std::wstring> Sources, Destinations;
        bool Laeuft;
    };
    TRecordingOperator() : TFileOperator(nullptr) {}
    bool Execute() override {
        Calls.push_back({Operation(), RawFlags(), SplitShellList(SourceList()), SplitShellList(DestinationList()),
                         DateiOperationLaeuft});
        SetAborted(ReportAborted);
        if (Shell)
            Shell();
        return Result;
    }
    std::vector<Call> Calls;
    bool Result = true;
    bool ReportAborted = false;
    // What the stand-in shell does to the disk.
    std::function<void()> Shell;
};

class TRecordingWriter : public TNullSchreiber {
public:
    HANDLE Open(const std::wstring& Name) override {
        Opened.push_back(Name);
        return TNullSchreiber::Open(Name);
    }
    bool Write(HANDLE File, const void* Buffer, DWORD Count, DWORD& Written) override {
        Writes.push_back(Count);
        Planned += Count;
        if (FailWrite && FailWrite(Opened.back(), Writes.size())) {
            Written = 0;
            return false;
        }
        if (!RealWrites) {
            Written = Count;
            return true;
        }
        return TNullSchreiber::Write(File, Buffer, Count, Written);
    }
    bool Flush(HANDLE File) override {
        ++Flushes;
        return TNullSchreiber::Flush(File);
    }
    std::vector<std::wstring> Opened;
    std::vector<DWORD> Writes;
    long long Planned = 0;
    int Flushes = 0;
    bool RealWrites = true;
    // (file, number of this write) -> fail it.
    std::function<bool(const std::wstring&, size_t)> FailWrite;
};

std::string ReadAll(const std::wstring& path);
bool AllZero(const std::string& data);
TDateiListe Records(const std::vector<std::wstring>& names);

}  // namespace velmora::test

namespace velmora::test {
// The fixture script's folder for Side ("unit" or "gui") in Windows form with a
// trailing "\", or empty when the test runs without it.
std::wstring FixtureFolder(const std::wstring& Side);
// The fixture's reason why it has no small drive, or empty when it has one.
std::wstring NoSmallDriveReason();
// Every entry below Folder, by its lower-cased name relative to Folder: a file as
// its size and a checksum of its bytes, a folder as "<dir>", a folder link as
// "<link>" (not followed). Two listings compare whole trees before and after.
std::map<std::wstring, std::string> Listing(const std::wstring& Folder);
// Writes Bytes copies of Fill to Path, replacing what was there; false when the
// file could not be made.
bool WriteFileOf(const std::wstring& Path, size_t Bytes, char Fill);
// Writes Bytes to Path, replacing what was there; false when the file could not be made.
bool WriteFileBytes(const std::wstring& Path, const std::string& Bytes);
}  // namespace velmora::test
