// The order of an archive's entries and the folder tree an archive pane shows.
// Names come from the archive: any order and any depth must neither cost
// quadratic time nor recurse as deep as the folders go.

#include <algorithm>
#include <numeric>
#include <string_view>

#include "ArchiveCodes.h"
#include "ZipRoutinen.h"

namespace velmora::archive {

namespace {

// Frees lists one level at a time: each node's own list is taken out before
// the node goes, so no destructor reaches the next level.
void FreeLists(std::unique_ptr<TDatenListe> first) {
    std::vector<std::unique_ptr<TDatenListe>> pending;
    pending.push_back(std::move(first));
    while (!pending.empty()) {
        std::unique_ptr<TDatenListe> list = std::move(pending.back());
        pending.pop_back();
        if (!list) continue;
        for (auto& node : *list)
            if (node && node->OwnedList) {
                node->Unterverzeichnis = nullptr;
                pending.push_back(std::move(node->OwnedList));
            }
    }
}

std::unique_ptr<TDatenSatz> NodeOf(const TEineDatei& entry, std::wstring_view name) {
    auto node = std::make_unique<TDatenSatz>();
    node->Name.assign(name);
    node->Size = entry.Size;
    node->Time = entry.Time;
    node->Attr = entry.Attr;
    node->ShellAttr = entry.ShellAttr;
    node->InArchive = entry.InArchive;
    node->ArchivPfad = entry.ArchivPfad;
    node->CompressedSize = entry.CompressedSize;
    node->Kommentar = entry.Kommentar;
    return node;
}

constexpr std::int32_t kFolderAttr = 16;

}  // namespace

TDatenSatz::~TDatenSatz() {
    if (OwnedList) FreeLists(std::move(OwnedList));
}

void TZipRoutinen::SortEntries(TDateiListe& List, int L, int R) {
    Fehlercode = fc::SortEntries;
    if (L < 0 || R >= static_cast<int>(List.size()) || L >= R) {
        Fehlercode = 0;
        return;
    }
    const std::size_t first = static_cast<std::size_t>(L);
    const std::size_t count = static_cast<std::size_t>(R - L + 1);
    std::vector<std::wstring> keys(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::wstring& name = List[first + i]->Name;
        keys[i] = SystemLower(!name.empty() && name.front() == L'\\' ? name.substr(1) : name);
    }
    // An introspective sort over the keys' order: no input makes it quadratic or deep.
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    TDateiListe sorted;
    sorted.reserve(count);
    for (std::size_t i : order) sorted.push_back(std::move(List[first + i]));
    std::move(sorted.begin(), sorted.end(), List.begin() + static_cast<std::ptrdiff_t>(first));
    Fehlercode = 0;
}

void TZipRoutinen::ClearFolderTree(TDatenListe& Root) {
    Fehlercode = fc::ClearFolderTree;
    auto whole = std::make_unique<TDatenListe>(std::move(Root));
    Root.clear();
    FreeLists(std::move(whole));
    Fehlercode = 0;
}

void TZipRoutinen::BuildFolderTree(TDateiListe& Flat, TDatenListe& Root, bool FoldersFirst) {
    Fehlercode = fc::BuildFolderTree;
    ClearFolderTree(Root);
    Fehlercode = fc::BuildFolderTree;
    // How much of each flat name the levels above have taken; the names are cut
    // once at the end instead of at every level.
    std::vector<std::size_t> taken(Flat.size(), 0);
    auto rest = [&](std::size_t i) { return std::wstring_view(Flat[i]->Name).substr(taken[i]); };
    // A level waiting to be built: its list and its range of the flat list.
    struct Level {
        TDatenListe* list;
        std::size_t first, last;
    };
    std::vector<Level> pending;
    if (!Flat.empty()) pending.push_back({&Root, 0, Flat.size() - 1});
    while (!pending.empty()) {
        const Level level = pending.back();
        pending.pop_back();
        TDatenListe& list = *level.list;
        // With FoldersFirst the level's folders go before its files, in their order.
        TDatenListe files;
        TDatenListe& fileNodes = FoldersFirst ? files : list;
        std::size_t i = level.first;
        while (i <= level.last) {
            const std::wstring_view name = rest(i);
            const std::size_t lastSep = name.rfind(L'\\');
            if (lastSep == std::wstring_view::npos || lastSep == 0) {
                fileNodes.push_back(NodeOf(*Flat[i], name));
                ++i;
                continue;
            }
            const std::size_t sep = name.find(L'\\', 1);
            const std::wstring_view folderName = name.substr(0, sep);
            auto folder = NodeOf(*Flat[i], folderName);
            folder->Attr = kFolderAttr;
            folder->OwnedList = std::make_unique<TDatenListe>();
            folder->Unterverzeichnis = folder->OwnedList.get();
            auto up = std::make_unique<TDatenSatz>();
            up->Name = L"..";
            up->Attr = kFolderAttr;
            up->InArchive = Flat[i]->InArchive;
            up->ArchivPfad = Flat[i]->ArchivPfad;
            up->Unterverzeichnis = &list;
            folder->OwnedList->push_back(std::move(up));
            TDatenListe* sub = folder->OwnedList.get();
            list.push_back(std::move(folder));

            const std::wstring key = SystemLower(std::wstring(folderName));
            taken[i] += sep + 1;
            std::size_t j = i + 1;
            for (; j <= level.last; ++j) {
                const std::wstring_view other = rest(j);
                const std::size_t otherSep = other.find(L'\\', 1);
                if (otherSep == std::wstring_view::npos || otherSep != folderName.size() ||
                    SystemLower(std::wstring(other.substr(0, otherSep))) != key)
                    break;
                taken[j] += otherSep + 1;
            }
            pending.push_back({sub, i, j - 1});
            i = j;
        }
        if (FoldersFirst)
            for (auto& node : files) list.push_back(std::move(node));
    }
    for (std::size_t i = 0; i < Flat.size(); ++i)
        if (taken[i]) Flat[i]->Name.erase(0, taken[i]);
    Fehlercode = 0;
}

}  // namespace velmora::archive
