#pragma once
// What the drive tools ask of a drive, through calls that tests can replace:
// the free-space numbers and the volume label. Both keep the system's error
// boxes away (a drive without a medium answers false).

#include <windows.h>

#include <functional>
#include <string>

namespace velmora {

struct TFreierPlatz {
    DWORD SektorenProCluster = 0;
    DWORD BytesProSektor = 0;
    DWORD FreieCluster = 0;
    DWORD ClusterGesamt = 0;
    // Bytes per cluster, 0 when unknown.
    std::uint32_t ClusterGroesse() const { return SektorenProCluster * BytesProSektor; }
};

// GetDiskFreeSpaceW of a drive root ("X:\").
extern std::function<bool(const std::wstring& Root, TFreierPlatz& Platz)> FreierPlatzAbfragen;
// SetVolumeLabelW of a drive root.
extern std::function<bool(const std::wstring& Root, const std::wstring& Name)> LaufwerkBenennen;

// The drive root of a path's letter, "x:\"; empty for a network name or a relative path.
std::wstring LaufwerkswurzelVon(const std::wstring& Path);

}  // namespace velmora
