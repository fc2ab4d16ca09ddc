#include "DateiTypListe.h"

#include <windows.h>

#include "FileToolsCodes.h"
#include "foundation/DefaultUserStore.h"
#include "foundation/Fehlercode.h"
#include "platform/rtl/PathNames.h"

namespace velmora {

namespace {

const std::wstring kFilterKey = ProgrammSchluessel + L"\\Filter";

void Anhaengen(TDateiTypListe& List, std::wstring name, TStringList masks) {
    auto typ = std::make_unique<TVordefFilter>();
    typ->Name = std::move(name);
    typ->Masks = std::move(masks);
    List.push_back(std::move(typ));
}

std::wstring Lower(std::wstring s) {
    if (!s.empty()) CharLowerBuffW(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

std::wstring TrimRightBlanks(std::wstring s) {
    while (!s.empty() && s.back() == L' ') s.pop_back();
    return s;
}

}  // namespace

void StandardTypenAnhaengen(TDateiTypListe& List) {
    Anhaengen(List, L"Text-Dateien",
              {L"*.txt", L"*.doc", L"*.asc", L"*.log", L"*.rtf", L"*.sdw", L"*.wri", L"*.wps"});
    Anhaengen(List, L"Grafik-Dateien",
              {L"*.bmp", L"*.ico", L"*.pcx", L"*.gif", L"*.jpg", L"*.pcd", L"*.tif", L"*.wmf", L"*.art", L"*.tif"});
    Anhaengen(List, L"Multimedia-Dateien",
              {L"*.aif", L"*.avi", L"*.mov", L"*.mpg", L"*.ram", L"*.wav", L"*.enc", L"*.mid"});
    Anhaengen(List, L"System-Dateien", {L"*.dll", L"*.sys", L"*.vxd", L"*.386", L"*.drv", L"*.pcd", L"*.inf"});
    Anhaengen(List, L"Archiv-Dateien", {L"*.zip", L"*.lha", L"*.arc", L"*.arj", L"*.rar", L"*.pak", L"*.zoo"});
    Anhaengen(List, L"Datenbanken", {L"*.dat", L"*.dpf", L"*.mdb", L"*.wdb", L"*.db", L"*.idb", L"*.ldb"});
    Anhaengen(List, L"Tabellenkalkulationen", {L"*.xls", L"*.wks"});
}

void DateiTypenLaden(TDateiTypListe& List) {
    Fehlercode = fc::DateiTypenLaden;
    List.clear();
    Anhaengen(List, AlleDateienName, {L"*.*"});
    for (int i = 1;; ++i) {
        const std::wstring sub = kFilterKey + L"\\" + std::to_wstring(i);
        std::wstring name = RegReadUserValue(sub, L"Typ");
        if (name.empty()) break;
        Anhaengen(List, std::move(name), ReadNumberedList(sub));
    }
    if (List.size() == 1) StandardTypenAnhaengen(List);
    Fehlercode = 0;
}

void DateiTypenSpeichern(const TDateiTypListe& List) {
    Fehlercode = fc::DateiTypenSpeichern;
    RegDeleteUserKey(ProgrammSchluessel, L"Filter");
    for (size_t i = 1; i < List.size(); ++i) {
        const std::wstring sub = kFilterKey + L"\\" + std::to_wstring(i);
        // The numbered list deletes its key before it writes: the name comes after.
        WriteNumberedList(sub, List[i]->Masks);
        RegWriteUserValue(sub, L"Typ", List[i]->Name);
    }
    Fehlercode = 0;
}

bool MaskeOhneOrdner(const std::wstring& Text) { return ExtractFileName(Text) == Text; }

bool MaskenAufteilen(const std::wstring& Text, TStringList& Masks) {
    std::wstring text = Text;
    if (text.empty() || text.back() != L';') text += L';';
    bool dropped = false;
    std::wstring mask;
    for (wchar_t c : text) {
        if (c == L';') {
            mask = TrimRightBlanks(mask);
            if (!MaskeOhneOrdner(mask))
                dropped = true;
            else if (!mask.empty())
                Masks.Add(mask);
            mask.clear();
        } else if (c == L' ' && mask.empty()) {
            continue;
        } else {
            mask += c;
        }
    }
    return dropped;
}

TStringList MaskenDerTypen(const TDateiTypListe& List, const std::vector<int>& Chosen) {
    TStringList masks;
    for (size_t i = 0; i < List.size(); ++i) {
        bool chosen = false;
        for (int c : Chosen) chosen = chosen || c == static_cast<int>(i);
        if (!chosen) continue;
        for (const std::wstring& m : List[i]->Masks)
            if (masks.IndexOf(m, true) < 0) masks.Add(m);
    }
    return masks;
}

std::wstring MaskenText(const TStringList& Masks) {
    std::wstring text;
    for (const std::wstring& m : Masks) {
        if (!text.empty()) text += L"; ";
        text += m;
    }
    return text;
}

std::wstring EingabePruefen(const std::wstring& Text, bool AlsMaske) {
    if (Text.empty()) return L"Sie haben Ihre Eingabe vergessen!";
    if (AlsMaske && !MaskeOhneOrdner(Text))
        return L"Der von Ihnen angegebene Dateifilter ist ungültig.\rBitte überprüfen Sie Ihre Eingabe nochmal.";
    return L"";
}

TTypenBearbeitung::TTypenBearbeitung(TDateiTypListe& List) : m_list(List) {
    for (const auto& typ : m_list) m_beimZeigen.push_back(typ.get());
}

TVordefFilter* TTypenBearbeitung::TypAt(int Typ) const {
    return Typ >= 0 && Typ < static_cast<int>(m_list.size()) ? m_list[static_cast<size_t>(Typ)].get() : nullptr;
}

int TTypenBearbeitung::NeuerTyp(const std::wstring& Name) {
    Anhaengen(m_list, Name, {});
    return static_cast<int>(m_list.size()) - 1;
}

void TTypenBearbeitung::FilterHinzu(int Typ, const std::wstring& Text) {
    if (TVordefFilter* typ = TypAt(Typ)) typ->Masks.Add(Lower(Text));
}

std::wstring TTypenBearbeitung::FilterAendern(int Typ, int Maske, const std::wstring& Text) {
    TVordefFilter* typ = TypAt(Typ);
    if (!typ || Maske < 0 || Maske >= typ->Masks.Count()) return L"";
    const std::wstring text = Lower(Text);
    if (text == typ->Masks[Maske]) return L"";
    for (int i = 0; i < typ->Masks.Count(); ++i)
        if (i != Maske && typ->Masks[i] == text)
            return L"Der angegebene Filter <" + text + L"> gehört bereits zum Dateitypen " + typ->Name;
    typ->Masks[Maske] = text;
    return L"";
}

void TTypenBearbeitung::FilterEntfernen(int Typ, int Maske) {
    TVordefFilter* typ = TypAt(Typ);
    if (typ && Maske >= 0 && Maske < typ->Masks.Count()) typ->Masks.Delete(Maske);
}

void TTypenBearbeitung::Ok() {
    for (size_t i = m_list.size(); i-- > 1;)
        if (m_list[i]->Masks.Empty()) m_list.erase(m_list.begin() + static_cast<std::ptrdiff_t>(i));
    m_beimZeigen.clear();
    for (const auto& typ : m_list) m_beimZeigen.push_back(typ.get());
}

void TTypenBearbeitung::Abbrechen() {
    TDateiTypListe kept;
    for (const TVordefFilter* old : m_beimZeigen)
        for (auto& typ : m_list)
            if (typ.get() == old) kept.push_back(std::move(typ));
    // What is left in the list was added in this showing and goes with it.
    m_list = std::move(kept);
}

}  // namespace velmora
