#include "Einstellungen.h"

#include <algorithm>
#include <cstdint>

#include "DefaultUserStore.h"
#include "FlagString.h"
#include "Fehlercode.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/Strings.h"

namespace velmora {

namespace {

constexpr int kMaxOftBenVerz = 20;
constexpr std::int32_t kDefaultOftBenVerz = 5;

TFlagStringReader ReadGroup(const std::wstring& name, std::wstring_view defaults) {
    return TFlagStringReader(RegReadUserValue(OptionenSchluessel, name), defaults);
}

void WriteGroup(const std::wstring& name, const TFlagStringWriter& group) {
    RegWriteUserValue(OptionenSchluessel, name, group.Text());
}

TMaskenListe AllFilesMask() { return std::make_shared<TStringList>(TStringList{L"*.*"}); }

void AllAttributes(TDateiFilterDatenFuerDateiListe& filter) {
    filter.ReadOnly = filter.Hidden = filter.System = filter.Normale = true;
}

// The state every file list starts from before its flag string is read.
void PrepareFileList(TOptionen& o, std::uint8_t ansicht) {
    o.Ansicht = ansicht;
    o.Sortierung = 0;
    o.Filter.Masken = AllFilesMask();
    o.Filter.Datumbeachten = false;
    o.Filter.Groessebeachten = false;
    AllAttributes(o.Filter);
}

// A short value is padded with blanks so that the group keeps its length (an
// emptied field in the options must not reset the whole group at the next
// start); the padding is dropped again when it is read.
std::wstring StoredEnclosing(const std::wstring& chars) {
    std::wstring stored = chars.substr(0, 2);
    stored.resize(2, L' ');
    return stored;
}

std::wstring LoadedEnclosing(const std::wstring& stored) {
    size_t end = stored.find_last_not_of(L' ');
    return end == std::wstring::npos ? std::wstring() : stored.substr(0, end + 1);
}

void ReadCaseAndEnclosing(TOptionen& o, const TFlagStringReader& g, int pos) {
    o.DateiSchreibweise = g.Tri(pos);
    o.VSchreibweise = g.Tri(pos + 1);
    o.VEinfassen = g.Bool(pos + 2);
    o.VEinfZeichen = LoadedEnclosing(g.Chars(pos + 3, 2));
}

void WriteCaseAndEnclosing(const TOptionen& o, TFlagStringWriter& w) {
    w.Tri(o.DateiSchreibweise).Tri(o.VSchreibweise).Bool(o.VEinfassen).Chars(StoredEnclosing(o.VEinfZeichen));
}

bool IsOBVName(const std::wstring& name) {
    return name.size() > 3 && name.compare(0, 3, L"OBV") == 0 &&
           std::all_of(name.begin() + 3, name.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

// Every stored "OBV"n goes, not only the run up to the first gap: an old entry
// left behind a gap would come back once a longer list closes the gap.
void DeleteStoredOBV() {
    TRegistry reg(KEY_READ);
    reg.SetRootKey(HKEY_USERS);
    if (!reg.OpenKeyReadOnly(L"\\" + HerstellerSchluessel + OptionenSchluessel)) return;
    TStringList names;
    reg.GetValueNames(names);
    reg.CloseKey();
    for (const auto& name : names)
        if (IsOBVName(name)) RegDeleteUserValue(OptionenSchluessel, name);
}

}  // namespace

std::wstring TOptionen::EinfZeichen(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= VEinfZeichen.size()) return {};
    return VEinfZeichen.substr(static_cast<size_t>(index), 1);
}

TEinstellungen::TEinstellungen() { LoadAll(); }

TEinstellungen::~TEinstellungen() {
    if (SaveOnFree) SaveAll();
}

void TEinstellungen::LoadAll() {
    Fehlercode = fc::EinstellungenLoadAll;
    LoadDateiliste();
    LoadADateiliste();
    InitZusatzOptionen();
    LoadSucherg();
    LoadArcView();
    InitMarkierFilter();
    LoadAnsicht();
    LoadBest();
    LoadArc();
    LoadArcDragDrop();
    LoadSonstiges();
    LoadDragDrop();
    LoadOftBenVerz();
    Fehlercode = 0;
}

void TEinstellungen::SaveAll() {
    Fehlercode = fc::EinstellungenSaveAll;
    SaveDateiliste();
    SaveADateiliste();
    SaveSucherg();
    SaveArcView();
    SaveAnsicht();
    SaveBest();
    SaveArc();
    SaveArcDragDrop();
    SaveSonstiges();
    SaveDragDrop();
    SaveOftBenVerz();
    Fehlercode = 0;
}

void TEinstellungen::LoadDateiliste() {
    Fehlercode = fc::LoadDateiliste;
    TOptionen& o = Dateiliste;
    PrepareFileList(o, 2);
    auto g = ReadGroup(L"Dateiliste", L"111111111[]");
    o.IconsAnzeigen = g.Bool(1);
    o.StandardIcons = g.Bool(2);
    o.GroesseAnzeigen = g.Bool(3);
    o.DatumAnzeigen = g.Bool(4);
    o.AttrAnzeigen = g.Bool(5);
    o.Statuszeile = g.Bool(6);
    ReadCaseAndEnclosing(o, g, 7);
    Fehlercode = 0;
}

void TEinstellungen::SaveDateiliste() {
    Fehlercode = fc::SaveDateiliste;
    const TOptionen& o = Dateiliste;
    TFlagStringWriter w;
    w.Bool(o.IconsAnzeigen).Bool(o.StandardIcons).Bool(o.GroesseAnzeigen);
    w.Bool(o.DatumAnzeigen).Bool(o.AttrAnzeigen).Bool(o.Statuszeile);
    WriteCaseAndEnclosing(o, w);
    WriteGroup(L"Dateiliste", w);
    Fehlercode = 0;
}

void TEinstellungen::LoadADateiliste() {
    Fehlercode = fc::LoadADateiliste;
    TOptionen& o = ADateiliste;
    PrepareFileList(o, 3);
    auto g = ReadGroup(L"ADateiliste", L"11101000111[]");
    o.IconsAnzeigen = g.Bool(1);
    o.StandardIcons = g.Bool(2);
    o.GroesseAnzeigen = g.Bool(3);
    o.TypAnzeigen = g.Bool(4);
    o.DatumAnzeigen = g.Bool(5);
    o.AttrAnzeigen = g.Bool(6);
    o.DOSNameAnzeigen = g.Bool(7);
    o.Statuszeile = g.Bool(8);
    ReadCaseAndEnclosing(o, g, 9);
    Fehlercode = 0;
}

void TEinstellungen::SaveADateiliste() {
    Fehlercode = fc::SaveADateiliste;
    const TOptionen& o = ADateiliste;
    TFlagStringWriter w;
    w.Bool(o.IconsAnzeigen).Bool(o.StandardIcons).Bool(o.GroesseAnzeigen).Bool(o.TypAnzeigen);
    w.Bool(o.DatumAnzeigen).Bool(o.AttrAnzeigen).Bool(o.DOSNameAnzeigen).Bool(o.Statuszeile);
    WriteCaseAndEnclosing(o, w);
    WriteGroup(L"ADateiliste", w);
    Fehlercode = 0;
}

void TEinstellungen::InitZusatzOptionen() {
    AllAttributes(ZusatzOptionen.Filter);
    ZusatzOptionen.Sortierung = 0;
}

void TEinstellungen::LoadSucherg() {
    Fehlercode = fc::LoadSucherg;
    Sucherg.Sortierung = 0;
    auto g = ReadGroup(L"Sucherg", L"11");
    Sucherg.StandardIcons = g.Bool(1);
    Sucherg.CheckArchive = g.Bool(2);
    Fehlercode = 0;
}

void TEinstellungen::SaveSucherg() {
    Fehlercode = fc::SaveSucherg;
    WriteGroup(L"Sucherg", TFlagStringWriter().Bool(Sucherg.StandardIcons).Bool(Sucherg.CheckArchive));
    Fehlercode = 0;
}

void TEinstellungen::LoadArcView() {
    Fehlercode = fc::LoadArcView;
    TOptionen& o = ArcView;
    o.Filter = ADateiliste.Filter;
    o.Sortierung = 0;
    auto g = ReadGroup(L"ArcView", L"111111[]");
    o.IconsAnzeigen = g.Bool(1);
    o.StandardIcons = g.Bool(2);
    o.Statuszeile = g.Bool(3);
    ReadCaseAndEnclosing(o, g, 4);
    Fehlercode = 0;
}

void TEinstellungen::SaveArcView() {
    Fehlercode = fc::SaveArcView;
    const TOptionen& o = ArcView;
    TFlagStringWriter w;
    w.Bool(o.IconsAnzeigen).Bool(o.StandardIcons).Bool(o.Statuszeile);
    WriteCaseAndEnclosing(o, w);
    WriteGroup(L"ArcView", w);
    Fehlercode = 0;
}

void TEinstellungen::InitMarkierFilter() {
    MarkierFilter.Masken = AllFilesMask();
    MarkierFilter.Datumbeachten = false;
    MarkierFilter.Groessebeachten = false;
    AllAttributes(MarkierFilter);
}

void TEinstellungen::LoadAnsicht() {
    Fehlercode = fc::LoadAnsicht;
    auto g = ReadGroup(L"Ansicht", L"1111");
    Ansicht.StatuszeileAnzeigen = g.Bool(1);
    Ansicht.DOSZeileAnzeigen = g.Bool(2);
    Ansicht.FTastenAnzeigen = g.Bool(3);
    Ansicht.SymbolleisteAnzeigen = g.Bool(4);
    Fehlercode = 0;
}

void TEinstellungen::SaveAnsicht() {
    Fehlercode = fc::SaveAnsicht;
    const auto& a = Ansicht;
    WriteGroup(L"Ansicht", TFlagStringWriter()
                               .Bool(a.StatuszeileAnzeigen)
                               .Bool(a.DOSZeileAnzeigen)
                               .Bool(a.FTastenAnzeigen)
                               .Bool(a.SymbolleisteAnzeigen));
    Fehlercode = 0;
}

void TEinstellungen::LoadBest() {
    Fehlercode = fc::LoadBest;
    auto g = ReadGroup(L"Best", L"1110");
    Best.Loeschabfrage = g.Bool(1);
    Best.NichtAlleUeberschreiben = g.Bool(2);
    Best.AuswahlDlgVorLoeschen = g.Bool(3);
    Best.OeffnenMitParametern = g.Bool(4);
    Fehlercode = 0;
}

void TEinstellungen::SaveBest() {
    Fehlercode = fc::SaveBest;
    WriteGroup(L"Best", TFlagStringWriter()
                            .Bool(Best.Loeschabfrage)
                            .Bool(Best.NichtAlleUeberschreiben)
                            .Bool(Best.AuswahlDlgVorLoeschen)
                            .Bool(Best.OeffnenMitParametern));
    Fehlercode = 0;
}

namespace {

// The outside packers' paths and the stored extensions, each in its own value.
struct ArcPathValue {
    const wchar_t* Name;
    std::wstring TArchivEinstellungen::*Field;
};

constexpr ArcPathValue kArcPathValues[] = {
    {L"StoredExt", &TArchivEinstellungen::StoredExt},     {L"ZipPath", &TArchivEinstellungen::ZipPath},
    {L"UnZipPath", &TArchivEinstellungen::UnZipPath},     {L"Zip2ExePath", &TArchivEinstellungen::Zip2ExePath},
    {L"ArjPath", &TArchivEinstellungen::ArjPath},         {L"RarPath", &TArchivEinstellungen::RarPath},
    {L"LhaPath", &TArchivEinstellungen::LhaPath},         {L"ZooPath", &TArchivEinstellungen::ZooPath},
    {L"PkPakPath", &TArchivEinstellungen::PkPakPath},     {L"PkUnPakPath", &TArchivEinstellungen::PkUnPakPath},
};

}  // namespace

void TEinstellungen::LoadArc() {
    Fehlercode = fc::LoadArc;
    auto g = ReadGroup(L"Arc", L"1111001111111");
    Arc.UseTempFile = g.Bool(1);
    Arc.ShowOnDoubleClick = g.Bool(2);
    Arc.ExternePackerImHintergrund = g.Bool(3);
    Arc.ArcViewStatuszeile = g.Bool(4);
    Arc.AskBeforeOpen = g.Bool(5);
    Arc.ExtraNachfragen = g.Bool(6);
    Arc.UseInternZip = g.Bool(7);
    Arc.UseInternUnZip = g.Bool(8);
    Arc.UseInternUnArj = g.Bool(9);
    Arc.UseInternUnRar = g.Bool(10);
    Arc.UseInternUnLha = g.Bool(11);
    Arc.UseInternUnZoo = g.Bool(12);
    Arc.UseInternUnArc = g.Bool(13);
    for (const auto& v : kArcPathValues) Arc.*v.Field = RegReadUserValue(OptionenSchluessel, v.Name);
    Fehlercode = 0;
}

void TEinstellungen::SaveArc() {
    Fehlercode = fc::SaveArc;
    const auto& a = Arc;
    TFlagStringWriter w;
    w.Bool(a.UseTempFile).Bool(a.ShowOnDoubleClick).Bool(a.ExternePackerImHintergrund);
    w.Bool(a.ArcViewStatuszeile).Bool(a.AskBeforeOpen).Bool(a.ExtraNachfragen);
    w.Bool(a.UseInternZip).Bool(a.UseInternUnZip).Bool(a.UseInternUnArj).Bool(a.UseInternUnRar);
    w.Bool(a.UseInternUnLha).Bool(a.UseInternUnZoo).Bool(a.UseInternUnArc);
    WriteGroup(L"Arc", w);
    for (const auto& v : kArcPathValues) RegWriteUserValue(OptionenSchluessel, v.Name, a.*v.Field);
    Fehlercode = 0;
}

// The digit positions read a hand-edited non-digit like a digit out of range: the
// field's default, rather than a failure that would keep the program from starting.
void TEinstellungen::LoadArcDragDrop() {
    Fehlercode = fc::LoadArcDragDrop;
    auto g = ReadGroup(L"ArcDragDrop", L"00000031");
    auto& d = ArcDragDrop;
    d.VerschiebenBestaetigen = g.Bool(1);
    d.NurWennAktueller = g.Bool(2);
    d.NurWennAktuellerUndVorhanden = g.Bool(3);
    d.PfadeSpeichern = g.Bool(4);
    d.Unterverzeichnisse = g.Bool(5);
    d.DosDateiNamenBenutzen = g.Bool(6);
    d.DropPfadangaben = g.Digit(7, 3, 3);
    d.Methode = g.Digit(8, 5, 1);
    Fehlercode = 0;
}

void TEinstellungen::SaveArcDragDrop() {
    Fehlercode = fc::SaveArcDragDrop;
    const auto& d = ArcDragDrop;
    TFlagStringWriter w;
    w.Bool(d.VerschiebenBestaetigen).Bool(d.NurWennAktueller).Bool(d.NurWennAktuellerUndVorhanden);
    w.Bool(d.PfadeSpeichern).Bool(d.Unterverzeichnisse).Bool(d.DosDateiNamenBenutzen);
    w.Digit(d.DropPfadangaben, 3, 3).Digit(d.Methode, 5, 1);
    WriteGroup(L"ArcDragDrop", w);
    Fehlercode = 0;
}

void TEinstellungen::LoadSonstiges() {
    Fehlercode = fc::LoadSonstiges;
    Sonst.ExtEdit = RegReadUserValue(OptionenSchluessel, L"ExtEdit");
    auto g = ReadGroup(L"Sonst", L"010");
    Sonst.LoeschGroup = g.Digit(1, 2, 0);
    Sonst.ClearLists = g.Bool(2);
    Sonst.AktPfadSichern = g.Bool(3);
    Fehlercode = 0;
}

void TEinstellungen::SaveSonstiges() {
    Fehlercode = fc::SaveSonstiges;
    RegWriteUserValue(OptionenSchluessel, L"ExtEdit", Sonst.ExtEdit);
    WriteGroup(L"Sonst", TFlagStringWriter().Digit(Sonst.LoeschGroup, 2, 0).Bool(Sonst.ClearLists).Bool(Sonst.AktPfadSichern));
    Fehlercode = 0;
}

void TEinstellungen::LoadDragDrop() {
    Fehlercode = fc::LoadDragDrop;
    auto g = ReadGroup(L"DragDrop", L"1111");
    DragDrop.KopierDlgZeigen = g.Bool(1);
    DragDrop.VerschiebDlgZeigen = g.Bool(2);
    DragDrop.LinkDlgZeigen = g.Bool(3);
    DragDrop.ArcDlgZeigen = g.Bool(4);
    Fehlercode = 0;
}

void TEinstellungen::SaveDragDrop() {
    Fehlercode = fc::SaveDragDrop;
    const auto& d = DragDrop;
    WriteGroup(L"DragDrop", TFlagStringWriter()
                                .Bool(d.KopierDlgZeigen)
                                .Bool(d.VerschiebDlgZeigen)
                                .Bool(d.LinkDlgZeigen)
                                .Bool(d.ArcDlgZeigen));
    Fehlercode = 0;
}

// The count feeds the recent-files menu's size, so a hand-edited value out of the
// options' range 0 to 20 is brought back into it.
void TEinstellungen::LoadOftBenVerz() {
    Fehlercode = fc::LoadOftBenVerz;
    OBV.Clear();
    std::wstring stored = RegReadUserValue(OptionenSchluessel, L"OftBenVerz");
    auto count = ParseInt(stored);
    if (!count || *count < INT32_MIN || *count > INT32_MAX) count = kDefaultOftBenVerz;
    OftBenVerz = static_cast<std::int32_t>(std::clamp<long long>(*count, 0, kMaxOftBenVerz));
    for (int i = 0;; ++i) {
        std::wstring folder = RegReadUserValue(OptionenSchluessel, L"OBV" + IntToStr(i));
        if (folder.empty()) break;
        OBV.Add(folder);
    }
    Fehlercode = 0;
}

// Empty entries are left out: the reader stops at the first empty one, so one in
// the middle would lose every folder after it.
void TEinstellungen::SaveOftBenVerz() {
    Fehlercode = fc::SaveOftBenVerz;
    RegWriteUserValue(OptionenSchluessel, L"OftBenVerz", IntToStr(OftBenVerz));
    DeleteStoredOBV();
    int n = 0;
    for (const auto& folder : OBV)
        if (!folder.empty()) RegWriteUserValue(OptionenSchluessel, L"OBV" + IntToStr(n++), folder);
    Fehlercode = 0;
}

}  // namespace velmora
