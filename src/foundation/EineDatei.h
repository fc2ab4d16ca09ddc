#pragma once
// TEineDatei: the one record in which files travel through the program (marked
// entries, the basket, search results, dialog lists, archive listings).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/DateTime.h"

namespace velmora {

struct TEineDatei {
    // Records that carry more (an archive's folder nodes) derive from this one and
    // are freed through it.
    virtual ~TEineDatei() = default;

    std::wstring Name;  // full path; inside an archive its path there, with "\"
    std::int64_t Size = 0;  // unpacked size for an archive entry
    TDateTime Time = 0;
    std::int32_t Attr = 0;  // 0 for an archive entry, 16 for an archive's folder node
    std::int32_t ShellAttr = 0;
    bool InArchive = false;
    std::wstring ArchivPfad;
    std::int64_t CompressedSize = 0;
    std::wstring Kommentar;
};

// A list owns its records: whoever made the list frees them with it, whichever
// routine filled it.
using TDateiListe = std::vector<std::unique_ptr<TEineDatei>>;

// Sorts a list it does not own, ascending by the name lower-cased with the
// system's mapping and then compared code unit by code unit (so a name sorts
// before every longer name that begins with it). Equal names keep no particular order.
class TSortierRoutinen {
public:
    explicit TSortierRoutinen(TDateiListe& List);
    void QuickSort(int Lo, int Hi);

private:
    void Sort(int Lo, int Hi, int budget);
    void HeapSort(int Lo, int Hi);
    void Exchange(int a, int b);

    TDateiListe& m_list;
    std::vector<std::wstring> m_keys;  // the lower-cased names, kept in step with the list
};

// The calling order every caller keeps: a sorter only for more than one entry.
void SortiereNachName(TDateiListe& List);

// The system's lower-case mapping, as the sort uses it.
std::wstring SystemLower(const std::wstring& text);

}  // namespace velmora
