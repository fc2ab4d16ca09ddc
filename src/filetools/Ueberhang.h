#pragma once
// Sizes and cluster slack of files and folders: the walk, and the thread that
// runs it for the drive tools. The slack of a file is what its last cluster
// holds beyond the file's end; an empty file takes one whole cluster.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/gui/Threads.h"
#include "platform/rtl/StringList.h"

namespace velmora {

struct TUeberhangSummen {
    double Ueberhang = 0;
    double Groesse = 0;
    std::int32_t Dateien = 0;
    std::int32_t Verzeichnisse = 0;
    bool Abgebrochen = false;
};

// Walks Path (a file, a folder, or a folder followed by "*.*") and adds every
// entry found, "." and ".." too, to the sums. Folders are entered (their
// "*.*") only with Unterverzeichnisse and Absteigen, and never through a link
// (a folder with the reparse attribute counts, but its contents do not).
// Abbrechen is asked before and after every entry; when it says so, the sums
// are marked as broken off.
void UeberhangZaehlen(const std::wstring& Path, bool Unterverzeichnisse, bool Absteigen, std::uint32_t Cluster,
                      const std::function<bool()>& Abbrechen, TUeberhangSummen& Summen);

// Each listed path is walked itself, and with InclSubDirs a folder's contents
// too. The result is read in OnTerminate, in the GUI thread.
class TUeberhangErmittelnThread : public gui::TThread {
public:
    TUeberhangErmittelnThread() : gui::TThread(true) {}
    ~TUeberhangErmittelnThread() override;

    TStringList Pfade;
    bool InclSubDirs = false;
    std::uint32_t ClusterGroesse = 0;
    const TUeberhangSummen& Summen() const { return m_summen; }

protected:
    void Execute() override;

private:
    TUeberhangSummen m_summen;
};

}  // namespace velmora
