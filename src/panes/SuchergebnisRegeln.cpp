#include "SuchergebnisRegeln.h"

#include <map>
#include <memory>
#include <optional>

#include "filetools/DatumGroesseTest.h"
#include "foundation/DefaultUserStore.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora {

namespace {

std::wstring OhneBackslash(const std::wstring& Name) {
    return !Name.empty() && Name[0] == L'\\' ? Name.substr(1) : Name;
}

bool Fehlt(DWORD Error) { return Error == ERROR_FILE_NOT_FOUND || Error == ERROR_PATH_NOT_FOUND; }

std::unique_ptr<TEineDatei> Kopie(const TEineDatei& Record) { return std::make_unique<TEineDatei>(Record); }

int Vorzeichen(long long V) { return V < 0 ? -1 : V > 0 ? 1 : 0; }

// One archive as the refresh met it.
struct TArchivStand {
    DWORD Fehler = ERROR_SUCCESS;  // of the archive file's look-up
    bool IstArchiv = false;
    bool Gelesen = false;
    TDateiListe Eintraege;
};

}  // namespace

TSatzSchluessel SchluesselVon(const TEineDatei& Record) {
    return {Record.InArchive, SystemLower(Record.InArchive ? OhneBackslash(Record.Name) : Record.Name),
            Record.InArchive ? SystemLower(Record.ArchivPfad) : std::wstring()};
}

bool Passt(const TSatzSchluessel& Key, const TEineDatei& Record) {
    const TSatzSchluessel other = SchluesselVon(Record);
    return Key.InArchive == other.InArchive && Key.Name == other.Name && Key.ArchivPfad == other.ArchivPfad;
}

TDateiListe SuchergebnisLesen(const TDateiListe& Quelle, bool Sammelkorb, bool CheckArchive,
                              const TSuchZugriff& Zugriff, std::vector<TSatzSchluessel>& Gone) {
    TDateiListe zeilen;
    std::map<std::wstring, TArchivStand> archive;
    for (auto it = Quelle.rbegin(); it != Quelle.rend(); ++it) {
        const TEineDatei& record = **it;
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!record.InArchive) {
            const DWORD error = Zugriff.Nachsehen(record.Name, data);
            if (error == ERROR_SUCCESS) {
                auto row = std::make_unique<TEineDatei>();
                row->Name = record.Name;
                row->Size = (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
                row->Time = LokaleDateiZeit(data.ftLastWriteTime);
                row->Attr = static_cast<std::int32_t>(data.dwFileAttributes);
                zeilen.push_back(std::move(row));
            } else if (Fehlt(error)) {
                if (Sammelkorb) Gone.push_back(SchluesselVon(record));
            } else {
                zeilen.push_back(Kopie(record));
            }
            continue;
        }
        if (!CheckArchive) {
            zeilen.push_back(Kopie(record));
            continue;
        }
        const std::wstring archivSchluessel = SystemLower(record.ArchivPfad);
        auto found = archive.find(archivSchluessel);
        if (found == archive.end()) {
            TArchivStand stand;
            stand.Fehler = Zugriff.Nachsehen(record.ArchivPfad, data);
            std::uint8_t kind = 0;
            if (stand.Fehler == ERROR_SUCCESS) stand.IstArchiv = Zugriff.ArchivTyp(record.ArchivPfad, kind);
            if (stand.IstArchiv) stand.Gelesen = Zugriff.ArchivLesen(kind, record.ArchivPfad, stand.Eintraege);
            found = archive.emplace(archivSchluessel, std::move(stand)).first;
        }
        const TArchivStand& stand = found->second;
        if (stand.Fehler != ERROR_SUCCESS) {
            if (!Fehlt(stand.Fehler))
                zeilen.push_back(Kopie(record));
            else if (Sammelkorb)
                Gone.push_back(SchluesselVon(record));
            continue;
        }
        if (!stand.IstArchiv) {
            if (Sammelkorb) Gone.push_back(SchluesselVon(record));
            continue;
        }
        if (!stand.Gelesen) {
            zeilen.push_back(Kopie(record));
            continue;
        }
        const std::wstring name = SystemLower(OhneBackslash(record.Name));
        const TEineDatei* entry = nullptr;
        for (const auto& candidate : stand.Eintraege)
            if (SystemLower(OhneBackslash(candidate->Name)) == name) {
                entry = candidate.get();
                break;
            }
        if (entry) {
            auto row = Kopie(*entry);
            row->InArchive = true;
            row->ArchivPfad = record.ArchivPfad;
            zeilen.push_back(std::move(row));
        } else {
            Gone.push_back(SchluesselVon(record));
        }
    }
    return zeilen;
}

void SaetzeEntfernen(TDateiListe& List, const std::vector<TSatzSchluessel>& Keys) {
    if (Keys.empty()) return;
    std::erase_if(List, [&](const std::unique_ptr<TEineDatei>& record) {
        for (const auto& key : Keys)
            if (Passt(key, *record)) return true;
        return false;
    });
}

TSatzSchluessel KorbSchluessel(const TEineDatei& Row) { return SchluesselVon(Row); }

bool KorbTreffer(const TSatzSchluessel& Row, const TEineDatei& Record) {
    const TSatzSchluessel other = SchluesselVon(Record);
    if (other.Name != Row.Name) return false;
    return !other.InArchive || (Row.InArchive && other.ArchivPfad == Row.ArchivPfad);
}

std::wstring SuchZeilenText(const TEineDatei& Record) {
    if (Record.InArchive) return SystemLower(OhneBackslash(Record.Name)) + L" in " + SystemLower(Record.ArchivPfad);
    return Record.Name;
}

TSuchSortSchluessel SuchSortSchluessel(const TEineDatei& Record) {
    return {SystemLower(SuchZeilenText(Record)), SystemLower(ExtractFileExt(Record.Name))};
}

int SuchZeilenVergleich(const TEineDatei& A, const TSuchSortSchluessel& KA, const TEineDatei& B,
                        const TSuchSortSchluessel& KB, std::uint8_t Modus) {
    if (Modus >= 10) return 0;
    int result = 0;
    switch (Modus) {
    case 2:
    case 3: result = Vorzeichen(A.Size - B.Size); break;
    case 4:
    case 5: result = A.Time < B.Time ? -1 : A.Time > B.Time ? 1 : 0; break;
    case 6:
    case 7: result = Vorzeichen(KA.Endung.compare(KB.Endung)); break;
    case 8:
    case 9: result = Vorzeichen(static_cast<long long>(A.Attr) - B.Attr); break;
    default: break;
    }
    if (result == 0) {
        result = Vorzeichen(KA.Text.compare(KB.Text));
        if (Modus == 1) result = -result;
    }
    return Modus == 3 || Modus == 4 || Modus == 7 || Modus == 9 ? -result : result;
}

int SuchZeilenVergleich(const TEineDatei& A, const TEineDatei& B, std::uint8_t Modus) {
    return SuchZeilenVergleich(A, SuchSortSchluessel(A), B, SuchSortSchluessel(B), Modus);
}

std::uint8_t SuchSpaltenAnfrage(int Column) { return Column == 1 ? 2 : Column == 2 ? 5 : 0; }

std::vector<int> SuchSpaltenBreiten(const std::wstring& Text) {
    const std::vector<int> standard{150, 50, 120};
    std::vector<int> widths = ParseColumnWidths(Text);
    if (widths.size() != standard.size()) return standard;
    for (int w : widths)
        if (w < 0 || w > 10000) return standard;
    return widths;
}

}  // namespace velmora
