#include "Laufwerksabfragen.h"

#include <cwctype>

namespace velmora {

namespace {

// No "insert a disk" box from the system while a drive is asked.
class TStilleFehler {
public:
    TStilleFehler() : m_alt(SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {}
    ~TStilleFehler() { SetErrorMode(m_alt); }
    TStilleFehler(const TStilleFehler&) = delete;
    TStilleFehler& operator=(const TStilleFehler&) = delete;

private:
    UINT m_alt;
};

}  // namespace

std::function<bool(const std::wstring&, TFreierPlatz&)> FreierPlatzAbfragen = [](const std::wstring& root,
                                                                                  TFreierPlatz& p) {
    TStilleFehler still;
    p = {};
    return GetDiskFreeSpaceW(root.c_str(), &p.SektorenProCluster, &p.BytesProSektor, &p.FreieCluster,
                             &p.ClusterGesamt) != FALSE;
};

std::function<bool(const std::wstring&, const std::wstring&)> LaufwerkBenennen = [](const std::wstring& root,
                                                                                   const std::wstring& name) {
    TStilleFehler still;
    return SetVolumeLabelW(root.c_str(), name.c_str()) != FALSE;
};

std::wstring LaufwerkswurzelVon(const std::wstring& Path) {
    if (Path.size() < 2 || Path[1] != L':' || !std::iswalpha(Path[0]))
        return {};
    return std::wstring(1, static_cast<wchar_t>(std::towlower(Path[0]))) + L":\\";
}

}  // namespace velmora
