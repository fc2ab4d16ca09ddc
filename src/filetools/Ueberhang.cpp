#include "Ueberhang.h"

#include <windows.h>

#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora {

namespace {

std::uint64_t SlackOf(std::uint64_t size, std::uint32_t cluster) {
    if (size == 0)
        return cluster;
    const std::uint64_t rest = size % cluster;
    return rest ? cluster - rest : 0;
}

class TFindHandle {
public:
    explicit TFindHandle(HANDLE h) : m_h(h) {}
    ~TFindHandle() {
        if (m_h != INVALID_HANDLE_VALUE)
            FindClose(m_h);
    }
    TFindHandle(const TFindHandle&) = delete;
    TFindHandle& operator=(const TFindHandle&) = delete;
    bool Valid() const { return m_h != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_h; }

private:
    HANDLE m_h;
};

}  // namespace

void UeberhangZaehlen(const std::wstring& Path, bool Unterverzeichnisse, bool Absteigen, std::uint32_t Cluster,
                      const std::function<bool()>& Abbrechen, TUeberhangSummen& Summen) {
    if (Abbrechen()) {
        Summen.Abgebrochen = true;
        return;
    }
    const std::wstring folder = EndsWith(Path, L"*.*") ? Path.substr(0, Path.size() - 3) : ExtractFilePath(Path);
    WIN32_FIND_DATAW found;
    TFindHandle find(FindFirstFileW(Path.c_str(), &found));
    if (!find.Valid())
        return;
    do {
        const std::wstring name = found.cFileName;
        const std::uint64_t size = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        Summen.Groesse += static_cast<double>(size);
        Summen.Ueberhang += static_cast<double>(SlackOf(size, Cluster));
        const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isFolder && Unterverzeichnisse && name != L"." && name != L"..") {
            // A link to a folder above would never end: it counts, unentered.
            if (Absteigen && !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                UeberhangZaehlen(folder + name + L"\\*.*", true, true, Cluster, Abbrechen, Summen);
            ++Summen.Verzeichnisse;
        } else {
            ++Summen.Dateien;
        }
        if (Abbrechen()) {
            Summen.Abgebrochen = true;
            return;
        }
    } while (!Summen.Abgebrochen && FindNextFileW(find.Get(), &found));
}

TUeberhangErmittelnThread::~TUeberhangErmittelnThread() { StopAndWait(); }

void TUeberhangErmittelnThread::Execute() {
    m_summen = {};
    if (ClusterGroesse == 0)
        return;
    const auto abbrechen = [this] { return Terminated(); };
    for (const std::wstring& path : Pfade) {
        if (Terminated()) {
            m_summen.Abgebrochen = true;
            break;
        }
        UeberhangZaehlen(path, InclSubDirs, false, ClusterGroesse, abbrechen, m_summen);
        if (InclSubDirs && DirectoryExists(path))
            UeberhangZaehlen(path + (EndsWith(path, L"\\") ? L"*.*" : L"\\*.*"), true, true, ClusterGroesse,
                             abbrechen, m_summen);
        if (m_summen.Abgebrochen)
            break;
    }
    Pfade.Clear();
}

}  // namespace velmora
