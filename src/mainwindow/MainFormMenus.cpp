// The main window's menus and toolbar: each menu and the toolbar are built from
// one table below, in menu order. The toolbar fits its buttons between two
// scroll arrows; the sort items follow the active pane.

#include <algorithm>
#include <array>
#include <memory>
#include <span>

#include "MainForm.h"
#include "MainWindowCodes.h"
#include "filetools/DateiLeichen.h"
#include "filetools/Synchronisieren.h"
#include "archive/operations/ExtArcKonfigDlg.h"
#include "filetools/OptionenTransfer.h"
#include "filetools/VerknuepfDlg.h"
#include "foundation/Fehlercode.h"

namespace velmora {

using namespace gui;

namespace {

using F = THauptform;
using THandler = void (THauptform::*)(TObject*);

enum : unsigned {
    kRadio = 1,       // a radio item of group 1 within its submenu
    kHidden = 2,      // not shown; its shortcut still works
    kDisabled = 4,    // disabled at start
    kLineBefore = 8,  // a separator line goes before the item
};

constexpr TShortCut Key(WORD key) { return key; }
constexpr TShortCut Ctrl(WORD key) { return static_cast<TShortCut>(scCtrl | key); }
constexpr TShortCut Alt(WORD key) { return static_cast<TShortCut>(scAlt | key); }
constexpr TShortCut CtrlShift(WORD key) { return static_cast<TShortCut>(scCtrl | scShift | key); }

// The item's field and its component name, which are the same.
#define ITEM(Name) &THauptform::Name, L"" #Name

struct TMenuRow {
    int Level;  // 0 for an entry of the menu itself, 1 and 2 inside the last row one level up
    TMenuItem THauptform::*Item;
    const wchar_t* Name;
    const wchar_t* Caption;
    TShortCut ShortCut;
    int HelpContext;
    THandler Handler;
    const wchar_t* Hint;
    unsigned Flags = 0;
    int GroupIndex = 0;  // the menu bar's merge groups
};

const TMenuRow kMainMenu[] = {
    {0, ITEM(DateiMenu), L"&Datei", 0, 17, nullptr, L"Befehle zum Bearbeiten der ausgewählten Dateien"},
    {1, ITEM(DateiNeu), L"&Neu", 0, 0, nullptr, L"Befehle zum Erstellen von neuen Objekten"},
    {2, ITEM(DateiVerzeichnisErstellen), L"&Ordner...", Key(VK_F7), 2, &F::DateiVerzeichnisErstellenClick,
     L"Erstellt einen neuen Ordner"},
    {2, ITEM(DateiVerknuepfungerstellen), L"&Verknüpfung...", Key(VK_F2), 4, &F::DateiVerknuepfungerstellenClick,
     L"Erstellt eine neue Verknüpfung zu der markierten Datei oder dem markierten Verzeichnis"},
    {2, ITEM(Archiv1), L"&Archiv", Alt(VK_F5), 3, &F::ZuArchivhinzufgen1Click, L"Erstellt ein neues Archiv"},
    {1, ITEM(DateiOeffnen), L"&Öffnen", Key(VK_RETURN), 8, &F::DateiOeffnenClick,
     L"Öffnet die markierten Dateien", kLineBefore},
    {1, ITEM(DateiDrucken), L"&Drucken", Ctrl(VK_F9), 10, &F::DateiDruckenClick,
     L"Druckt den Inhalt der markierten Dateien"},
    {1, ITEM(Bearbeiten), L"Be&arbeiten", Key(VK_F4), 11, &F::BearbeitenClick,
     L"Öffnet die markierten Dateien mit dem externen Editor"},
    {1, ITEM(DateiKopieren), L"&Kopieren...", Key(VK_F5), 12, &F::DateiKopierenClick,
     L"Kopiert die markierten Dateien oder Verzeichnisse zu einem anderen Verzeichnis", kLineBefore},
    {1, ITEM(DateiVerschieben), L"&Verschieben...", Key(VK_F6), 13, &F::DateiVerschiebenClick,
     L"Verschiebt die markierten Dateien oder Verzeichnisse in ein anderes Verzeichnis"},
    {1, ITEM(DateiLoeschen), L"&Löschen...", Key(VK_F8), 14, &F::DateiLoeschenClick,
     L"Löscht die markierten Dateien oder Verzeichnisse"},
    {1, ITEM(DateiUmbenennen), L"&Umbenennen...", Key(VK_F9), 15, &F::DateiUmbenennenClick,
     L"Benennt die markierte Datei oder den markierten Ordner um"},
    {1, ITEM(TatschlichenSpeicherbedarfermitteln1), L"&Speicherbedarf ermitteln...", 0, 16,
     &F::TatschlichenSpeicherbedarfermitteln1Click,
     L"Berechnet den wirklichen Platzbedarf der markierten Dateien auf dem Datenträger", kLineBefore},
    {1, ITEM(AttributeSetzen1), L"A&ttribute/ Datum verändern...", Ctrl(VK_F1), 0, &F::AttributeSetzen1Click,
     L"Ändert die Dateiattribute und das Dateidatum der markierten Dateien und Verzeichnisse"},
    {1, ITEM(DateiEigenschaften), L"&Eigenschaften...", Alt(VK_RETURN), 0, &F::DateiEigenschaftenClick,
     L"Zeigt die Eigenschaften des markierten Objektes an"},
    {1, ITEM(ZuArchivhinzufgen1), L"Zu Archiv &hinzufügen...", Alt(VK_F5), 3, &F::ZuArchivhinzufgen1Click,
     L"Fügt die markierten Dateien zu einem Archiv (ZIP, ARJ, LHA, RAR, ARC, ZOO) hinzu", kLineBefore},
    {1, ITEM(AusArchivextrahieren1), L"Aus Archiv e&xtrahieren...", Alt(VK_F9), 18, &F::AusArchivextrahieren1Click,
     L"Dekomprimiert Dateien aus einem Archiv (ZIP, ARJ, LHA, RAR,  ARC, ZOO) "},
    {1, ITEM(Archivbearbeiten1), L"Ar&chiv bearbeiten", 0, 0, nullptr, L"Befehle zum Bearbeiten von Archivdateien"},
    {2, ITEM(Testen1), L"&Testen", 0, 19, &F::Testen1Click,
     L"Prüft die Unversehrtheit der Dateien in dem markierten Archiv (ZIP, ARJ, LHA, RAR, ARC)"},
    {2, ITEM(Fix1), L"&Reparieren", 0, 20, &F::Fix1Click, L"Versucht, das markierte Archiv zu reparieren (ZIP, RAR)"},
    {2, ITEM(Archivdatumaktualisieren1), L"&Archivdatum aktualisieren", 0, 21, &F::Archivdatumaktualisieren1Click,
     L"Setzt das Dateidatum des markierten Archives auf das Datum der jüngsten Datei darin (ZIP, ARJ, ZOO)"},
    {2, ITEM(InEXEDateiumwandeln1), L"In E&XE-Datei umwandeln", 0, 22, &F::InEXEDateiumwandeln1Click,
     L"Wandelt das markierte Archiv in eine ausführbare Datei um (ZIP, ARJ, LHA, RAR)"},
    {2, ITEM(EXEArchivzurckumwandeln1), L"EXE-Archiv &zurück umwandeln", 0, 23, &F::EXEArchivzurckumwandeln1Click,
     L"Wandelt, wenn möglich, die markierte EXE-Datei in ein Archiv um (ZIP, ARJ, LHA, RAR, ARC, ZOO)"},
    {1, ITEM(DateiBeenden), L"&Beenden", Alt(VK_F4), 0, &F::DateiBeendenClick, L"Beendet das Programm", kLineBefore},

    {0, ITEM(MarkierungMenu), L"&Markierung", 0, 0, nullptr,
     L"Befehle zum Markieren von Dateien und Verzeichnissen", 0, 4},
    {1, ITEM(MarkierungGruppeauswaehlen), L"&Gruppe auswählen...", CtrlShift('G'), 24,
     &F::MarkierungGruppeauswaehlenClick,
     L"Markiert Dateien nach vorher auszuwählenden Kriterien"},
    {1, ITEM(MarkierungAllesAuswaehlen), L"&Alles auswählen", CtrlShift('A'), 26, &F::MarkierungAllesAuswaehlenClick,
     L"Markiert alle Dateien im aktuellen Fenster"},
    {1, ITEM(MarkierungUmkehren), L"&Umkehren", CtrlShift('U'), 27, &F::MarkierungUmkehrenClick,
     L"Kehrt die aktuelle Markierung um, d.h. markierte Dateien werden demarkiert und umgekehrt"},
    {1, ITEM(Verzeichnissevergleichen1), L"&Verzeichnisse vergleichen", CtrlShift('V'), 28,
     &F::Verzeichnissevergleichen1Click,
     L"Vergleicht die angezeigten Verzeichnisse in beiden Fenstern und markiert die jeweils neueren "
     L"Dateien", kLineBefore},

    {0, ITEM(Suchen1), L"&Suchen", 0, 0, nullptr, L"Befehle zum Suchen nach Dateien", 0, 4},
    {1, ITEM(DateiSuchen), L"Datei &suchen...", Alt(VK_F7), 29, &F::DateiSuchenClick,
     L"Sucht Dateien nach vorher auszuwählenden Kriterien"},
    {1, ITEM(LetztesSuchergebnisanzeigen1), L"Letztes Suchergebnis &anzeigen", 0, 30, nullptr,
     L"Zeigt das letzte Suchergebnis an"},
    {2, ITEM(SuchergebnisAnzeigenLinkesFenster), L"Im &linken Fenster", 0, 30, &F::AnsichtLinksRechtsClick,
     L"Zeigt das letzte Suchergebnis im linken Fenster an", kRadio},
    {2, ITEM(SuchergebnisAnzeigenRechtesFenster), L"Im &rechten Fenster", 0, 30, &F::AnsichtLinksRechtsClick,
     L"Zeigt das letzte Suchergebnis im rechten Fenster an", kRadio},
    {1, ITEM(NaechstegefundeneDatei), L"&Nächste gefundene Datei", Ctrl('N'), 31, &F::NaechstegefundeneDateiClick,
     L"Zeigt nach und nach alle bei der letzten Dateisuche gefundenen Dateien an", kLineBefore},
    {1, ITEM(VorherigegefundeneDatei), L"&Vorherige gefundene Datei", Ctrl('V'), 31, &F::VorherigegefundeneDateiClick,
     L"Zeigt nach und nach alle bei der letzten Dateisuche gefundenen Dateien an"},
    {1, ITEM(Dateileichensuchen1), L"&Dateileichen suchen...", 0, 32, &F::Dateileichensuchen1Click,
     L"Sucht nach nicht mehr benötigten Dateien (Temporäre Dateien und Sicherungskopien) und löscht sie (wenn "
     L"gewünscht)", kLineBefore},

    {0, ITEM(AnsichtMenu), L"&Ansicht", 0, 0, nullptr, L"Befehle zum Anpassen der Ansicht der beiden Fenster", 0, 5},
    {1, ITEM(AnsichtLinks), L"&Links", 0, 0, nullptr, L"Befehle zur Auswahl des linken Fensters"},
    {2, ITEM(AnsichtVbaumL), L"&Verzeichnisbaum", 0, 33, &F::AnsichtLinksRechtsClick,
     L"Zeigt im linken Fenster einen Verzeichnisbaum an", kRadio},
    {2, ITEM(AnsichtDListeL), L"&Dateiliste", 0, 34, &F::AnsichtLinksRechtsClick,
     L"Zeigt im linken Fenster eine einfache Dateiliste an", kRadio},
    {2, ITEM(AnsichtAusDlisteL), L"&Ausführliche Dateiliste", 0, 34, &F::AnsichtLinksRechtsClick,
     L"Zeigt im linken Fenster eine ausführliche Dateiliste an", kRadio},
    {2, ITEM(AnsichtSammelKorbL), L"Inhalt des Sammel&korbes", 0, 35, &F::AnsichtLinksRechtsClick,
     L"Zeigt im linken Fenster den Inhalt des Sammelkorbes an", kRadio},
    {2, ITEM(AnsichtSuchergebnisL), L"Letztes &Suchergebnis", 0, 30, &F::AnsichtLinksRechtsClick,
     L"Zeigt das letzte Suchergebnis im linken Fenster an", kRadio},
    {2, ITEM(AnsichtFileViewL), L"Ar&chivinhalt", 0, 36, &F::AnsichtLinksRechtsClick,
     L"Zeigt den Inhalt des markierten Archives im linken Fenster an", kRadio},
    {1, ITEM(AnsichtRechts), L"&Rechts", 0, 0, nullptr, L"Befehle zur Auswahl des rechten Fensters"},
    {2, ITEM(AnsichtVbaumR), L"&Verzeichnisbaum", 0, 33, &F::AnsichtLinksRechtsClick,
     L"Zeigt im rechten Fenster einen Verzeichnisbaum an", kRadio},
    {2, ITEM(AnsichtDListeR), L"&Dateiliste", 0, 34, &F::AnsichtLinksRechtsClick,
     L"Zeigt im rechten Fenster eine einfache Dateiliste an", kRadio},
    {2, ITEM(AnsichtAusDListeR), L"&Ausführliche Dateiliste", 0, 34, &F::AnsichtLinksRechtsClick,
     L"Zeigt im rechten Fenster eine ausführliche Dateiliste an", kRadio},
    {2, ITEM(AnsichtSammelkorbR), L"Inhalt des Sammel&korbes", 0, 35, &F::AnsichtLinksRechtsClick,
     L"Zeigt im rechten Fenster den Inhalt des Sammelkorbes an", kRadio},
    {2, ITEM(AnsichtSuchergebnisR), L"Letztes &Suchergebnis", 0, 30, &F::AnsichtLinksRechtsClick,
     L"Zeigt das letzte Suchergebnis im rechten Fenster an", kRadio},
    {2, ITEM(AnsichtFileViewR), L"Ar&chivinhalt", 0, 36, &F::AnsichtLinksRechtsClick,
     L"Zeigt den Inhalt des markierten Archives im rechten Fenster an", kRadio},
    {1, ITEM(Dateiauswahl), L"Dateiaus&wahl...", Ctrl(VK_F2), 37, &F::DateiauswahlClick,
     L"Zeigt in den Fenstern nur die Dateien an, die von Ihnen festgelegte Kriterien erfüllen", kLineBefore},
    {1, ITEM(Dateianordnung), L"Dateian&ordnung", 0, 38, nullptr,
     L"Befehle zur Festlegung der Reihenfolge der angezeigten Dateien im aktuellen Fenster"},
    {2, ITEM(NachName), L"Nach &Name", Ctrl(VK_F3), 38, &F::NachNameClick,
     L"Sortiert die Dateien im aktuellen Fenster nach ihrem Namen (alphabetisch)", kRadio},
    {2, ITEM(NachTyp), L"Nach &Typ", Ctrl(VK_F4), 38, &F::NachNameClick,
     L"Sortiert die Dateien im aktuellen Fenster nach ihrer Endung", kRadio},
    {2, ITEM(NachDatum), L"Nach &Datum", Ctrl(VK_F5), 38, &F::NachNameClick,
     L"Sortiert die Dateien im aktuellen Fenster nach ihrem Datum", kRadio},
    {2, ITEM(NachGroesse), L"Nach &Größe", Ctrl(VK_F6), 38, &F::NachNameClick,
     L"Sortiert die Dateien im aktuellen Fenster nach ihrer Größe", kRadio},
    {2, ITEM(Unsortiert), L"&Unsortiert", Ctrl(VK_F7), 38, &F::NachNameClick,
     L"Sortiert die Dateien im aktuellen Fenster gar nicht", kRadio},
    {2, ITEM(NachAttributen), L"Nach &Attributen", Ctrl(VK_F8), 38, &F::NachNameClick,
     L"Sortiert die Dateien im aktuellen Fenster nach ihren Attributen", kRadio},
    {1, ITEM(Aktualisieren1), L"&Aktualisieren", Ctrl('A'), 39, &F::Aktualisieren1Click,
     L"Aktualisiert die Ansicht des aktuellen Fensters", kLineBefore},
    {1, ITEM(Fenstertauschen1), L"Fenster &tauschen", 0, 40, &F::Fenstertauschen1Click,
     L"Vertauscht das linke und das rechte Fenster"},

    {0, ITEM(Extras1), L"&Extras", 0, 0, nullptr,
     L"Zusätzliche Befehle für Datenträger, Verzeichnisse und Dateien", 0, 5},
    {1, ITEM(Datentraeger), L"Datentr&äger", 0, 0, nullptr, L"Befehle zum Bearbeiten von Datenträgern"},
    {2, ITEM(Datentrgeinfo1), L"&Datenträgerinfo...", 0, 41, &F::Datentrgeinfo1Click,
     L"Zeigt Informationen zu Datenträgern an (Clustergröße, Überhang...)"},
    {2, ITEM(Benennen1), L"&Benennen...", 0, 42, &F::Benennen1Click, L"Ändert den Namen eines Datenträgers"},
    {2, ITEM(DiskKopieren), L"&Kopieren...", 0, 43, &F::DiskKopierenClick, L"Kopiert den Inhalt einer Diskette"},
    {2, ITEM(DiskFormatieren), L"&Formatieren...", 0, 44, &F::DiskFormatierenClick,
     L"Formatiert eine oder mehrere Disketten"},
    {2, ITEM(Prfen1), L"&Prüfen...", 0, 45, &F::Prfen1Click,
     L"Überprüft einen Datenträger auf evtl. vorhandene Fehler"},
    {2, ITEM(Optimieren1), L"&Optimieren...", 0, 46, &F::Optimieren1Click, L"Defragmentiert einen Datenträger"},
    {1, ITEM(InhaltdesSamelkorbesanzeigen1), L"&Inhalt des Samelkorbes anzeigen", 0, 35, nullptr,
     L"Zeigt den Inhalt des Sammelkorbes an", kLineBefore},
    {2, ITEM(SammelkorbLinks), L"Im &linken Fenster", 0, 35, &F::AnsichtLinksRechtsClick,
     L"Zeigt den Inhalt des Sammelkorbes im linken Fenster an", kRadio},
    {2, ITEM(SammelkorbRechts), L"Im &rechten Fenster", 0, 35, &F::AnsichtLinksRechtsClick,
     L"Zeigt den Inhalt des Sammelkorbes im rechten Fenster an", kRadio},
    {1, ITEM(MarkierteDateieninSammelkorblegen1), L"Dateien in &Sammelkorb legen", Ctrl('S'), 47,
     &F::MarkierteDateieninSammelkorblegen1Click,
     L"Trägt die markierten Dateien in den Sammelkorb ein"},
    {1, ITEM(Sammelkorbleeren1), L"Sammelkorb l&eeren", Ctrl('L'), 48, &F::AlleEintrgeausListeentfernenClick,
     L"Entfernt alle Einträge aus dem Sammelkorb"},
    {1, ITEM(MarkierteDateienausSammelkorbentfernen1), L"&Markierte Dateien aus Sammelkorb entfernen", Ctrl('E'), 49,
     &F::MarkierteDateienausSammelkorbentfernen1Click,
     L"Entfernt die markierten Einträge aus dem Sammelkorb", kDisabled},
    {1, ITEM(Gehezu1), L"&Gehe zu...", Alt(VK_F10), 50, &F::Gehezu1Click,
     L"Zeigt einen anderen Ordner im aktuellen Fenster an", kLineBefore},
    {1, ITEM(Dokumentverknpfungen1), L"Do&kumentverknüpfungen...", 0, 52, &F::Dokumentverknpfungen1Click,
     L"Zeigt, welche Dokumenttypen welchen EXE-Dateien zugeordnet sind"},
    {1, ITEM(Schnellansicht), L"S&chnellansicht", Key(VK_F3), 53, &F::SchnellansichtClick,
     L"Zeigt die markierten Dateien an"},
    {1, ITEM(Verzeichnissesynchronisieren1), L"&Verzeichnisse synchronisieren...", Ctrl(VK_F10), 54,
     &F::Verzeichnissesynchronisieren1Click,
     L"Vergleicht den Inhalt zweier Verzeichnisse und synchronisiert sie gegebenenfalls"},
    {1, ITEM(Teilen), L"Große Datei &teilen...", Alt(VK_F3), 55, &F::TeilenClick,
     L"Teilt den Inhalt einer sehr großen Datei auf mehrere kleine Dateien auf", kLineBefore},
    {1, ITEM(Zusammenfgen1), L"Wieder &zusammenfügen...", Ctrl('Z'), 56, &F::Zusammenfgen1Click,
     L"Fügt eine vorher aufgeteilte Datei wieder zusammen"},
    {1, ITEM(Autostartmanageraufrufen1), L"&Autostartmanager aufrufen...", 0, 57, &F::Autostartmanageraufrufen1Click,
     L"Ruft den Autostartmanager auf", kLineBefore},
    {1, ITEM(Exittoolskonfigurieren1), L"Und-Tsch&üs-Tools konfigurieren...", 0, 59, &F::Exittoolskonfigurieren1Click,
     L"Legt fest, ob beim Booten die Icons zum sofortigen Beenden von Windows geladen werden sollen"},
    {1, ITEM(ListederzuletztbenutztenDokumente1), L"&Liste der zuletzt benutzten Dokumente...", 0, 60,
     &F::ListederzuletztbenutztenDokumente1Click,
     L"Erlaubt die Bearbeitung der Dokumentenliste (Startmenü - Dokumente)"},
    {1, ITEM(DOSBefehlausfhren1), L"&DOS-Befehl ausführen", Alt(VK_F8), 9, &F::DOSBefehlausfhren1Click,
     L"Führt einen DOS-Befehl aus", kLineBefore},
    {1, ITEM(DOSBoxffnen1), L"DOS-&Box öffnen", 0, 61, &F::DOSBoxffnen1Click,
     L"Öffnet ein DOS-Fenster, d.h. ruft die command.com-Datei auf"},
    {1, ITEM(Optionen1), L"&Optionen...", Ctrl('O'), 6, &F::Optionen1Click,
     L"Zeigt einen Dialog zum Verändern der Velmora-Grundeinstellungen an", kLineBefore},

    {0, ITEM(UnsichtbaresMen1), L"Unsichtbares Menü", 0, 0, nullptr, L"", kHidden, 6},
    {1, ITEM(ImLinkesFensterAnzeigen1), L"Markierung im Linken Fenster anzeigen", Ctrl(VK_LEFT), 0,
     &F::MarkierungAnzeigenClick,
     L"", kHidden},
    {1, ITEM(MarkierungimRechtenFensterAnzeigen), L"Markierung im Rechten Fenster Anzeigen", Ctrl(VK_RIGHT), 0,
     &F::MarkierungAnzeigenClick,
     L"", kHidden},
    {1, ITEM(LinkesLaufwerk1), L"Linkes Laufwerk", Alt(VK_F1), 0, &F::LinkesLaufwerk1Click, L""},
    {1, ITEM(RechtesLaufwerk1), L"Rechtes Laufwerk", Alt(VK_F2), 0, &F::LinkesLaufwerk1Click, L""},

    {0, ITEM(HilfeMenu), L"&Hilfe", 0, 0, nullptr, L"Befehle zum Anzeigen von Hilfe", 0, 7},
    {1, ITEM(Hilfethemen1), L"&Hilfethemen", Key(VK_F1), 0, &F::Hilfethemen1Click, L""},
    {1, ITEM(Info), L"&Info...", 0, 0, &F::InfoClick, L"Zeigt eine kleine Programminformation an", kLineBefore},
};

const TMenuRow kSammelkorbMenu[] = {
    {0, ITEM(AlleEintrgeausListeentfernen), L"&Sammelkorb leeren", Ctrl('L'), 48, &F::AlleEintrgeausListeentfernenClick,
     L""},
};

const TMenuRow kStandardMDIPopUp[] = {
    {0, ITEM(Neu1), L"&Neu", 0, 0, nullptr, L"Befehle zum Erstellen von neuen Objekten"},
    {1, ITEM(Ordner1), L"&Ordner...", Key(VK_F7), 2, &F::DateiVerzeichnisErstellenClick,
     L"Erstellt einen neuen Ordner"},
    {1, ITEM(Verknpfung1), L"&Verknüpfung...", Key(VK_F2), 4, &F::DateiVerknuepfungerstellenClick,
     L"Erstellt eine neue Verknüpfung zu der markierten Datei oder dem markierten Verzeichnis"},
    {1, ITEM(Archiv2), L"&Archiv", Alt(VK_F5), 3, &F::ZuArchivhinzufgen1Click, L"Erstellt ein neues Archiv"},
    {0, ITEM(Kopieren1), L"&Kopieren...", Key(VK_F5), 12, &F::DateiKopierenClick,
     L"Kopiert die markierten Dateien oder Verzeichnisse zu einem anderen Verzeichnis", kLineBefore},
    {0, ITEM(Verschieben1), L"&Verschieben...", Key(VK_F6), 13, &F::DateiVerschiebenClick,
     L"Verschiebt die markierten Dateien oder Verzeichnisse in ein anderes Verzeichnis"},
    {0, ITEM(Lschen1), L"&Löschen", Key(VK_F8), 14, &F::DateiLoeschenClick,
     L"Löscht die markierten Dateien oder Verzeichnisse"},
    {0, ITEM(Umbenennen1), L"&Umbenennen...", Key(VK_F9), 15, &F::DateiUmbenennenClick,
     L"Benennt die markierte Datei oder den markierten Ordner um"},
    {0, ITEM(NeueVerknpfung1), L"&Neue Verknüpfung...", Key(VK_F2), 4, &F::DateiVerknuepfungerstellenClick,
     L"Erstellt eine neue Verknüpfung zu der markierten Datei oder dem markierten Verzeichnis", kHidden},
    {0, ITEM(ZuArchivhinzufgen2), L"Zu Archiv &hinzufügen...", Alt(VK_F5), 3, &F::ZuArchivhinzufgen1Click,
     L"Fügt die markierten Dateien zu einem Archiv (ZIP, ARJ, LHA, RAR, ARC, ZOO) hinzu", kLineBefore},
    {0, ITEM(AusArchivextrahieren2), L"Aus Archiv e&xtrahieren...", Alt(VK_F9), 18, &F::AusArchivextrahieren1Click,
     L"Dekomprimiert Dateien aus einem Archiv (ZIP, ARJ, LHA, RAR,  ARC, ZOO) "},
    {0, ITEM(DateieninSammelkorblegen1), L"Dateien in &Sammelkorb legen", Ctrl('S'), 47,
     &F::MarkierteDateieninSammelkorblegen1Click,
     L"Trägt die markierten Dateien in den Sammelkorb ein", kLineBefore},
    {0, ITEM(Sammelkorbleeren2), L"Sammelkorb l&eeren", Ctrl('L'), 48, &F::AlleEintrgeausListeentfernenClick,
     L"Entfernt alle Einträge aus dem Sammelkorb", kHidden},
    {0, ITEM(MarkierteDateienausSammelkorbentfernen2), L"&Markierte Dateien aus Sammelkorb entfernen", Ctrl('E'), 49,
     &F::MarkierteDateienausSammelkorbentfernen1Click,
     L"Entfernt die markierten Einträge aus dem Sammelkorb", kHidden | kDisabled},
    {0, ITEM(Dateiauswahl1), L"Dateiaus&wahl...", Ctrl(VK_F2), 37, &F::DateiauswahlClick,
     L"Zeigt im aktuellen Fenster nur die Dateien an, die von Ihnen festgelegte Kriterien erfüllen", kLineBefore},
    {0, ITEM(Dateianordnung1), L"Dateian&ordnung", 0, 38, nullptr,
     L"Befehle zur Festlegung der Reihenfolge der angezeigten Dateien im aktuellen Fenster"},
    {1, ITEM(NachName1), L"Nach &Name", Ctrl(VK_F3), 38, &F::NachNameClick,
     L"Sortiert die Dateien im aktuellen Fenster nach ihrem Namen (alphabetisch)", kRadio},
    {1, ITEM(NachTyp1), L"Nach &Typ", Ctrl(VK_F4), 38, &F::NachNameClick,
     L"Sortiert die Dateien im aktuellen Fenster nach ihrer Endung", kRadio},
    {1, ITEM(NachDatum1), L"Nach &Datum", Ctrl(VK_F5), 38, &F::NachNameClick,
     L"Sortiert die Dateien im aktuellen Fenster nach ihrem Datum", kRadio},
    {1, ITEM(NachGroesse1), L"Nach &Größe", Ctrl(VK_F6), 38, &F::NachNameClick,
     L"Sortiert die Dateien im aktuellen Fenster nach ihrer Größe", kRadio},
    {1, ITEM(Unsortiert1), L"&Unsortiert", Ctrl(VK_F7), 38, &F::NachNameClick,
     L"Sortiert die Dateien im aktuellen Fenster gar nicht", kRadio},
    {1, ITEM(NachAttributen1), L"Nach &Attributen", Ctrl(VK_F8), 38, &F::NachNameClick,
     L"Sortiert die Dateien im aktuellen Fenster nach ihren Attributen", kRadio},
    {0, ITEM(Fenstertyp1), L"&Fenstertyp", 0, 0, nullptr, L"Legt den Typ dieses Fensters fest", kLineBefore},
    {1, ITEM(Verzeichnisbaum1), L"&Verzeichnisbaum", 0, 33, &F::AnsichtLinksRechtsClick,
     L"Zeigt in diesem Fenster einen Verzeichnisbaum an", kRadio},
    {1, ITEM(Dateiliste1), L"&Dateiliste", 0, 34, &F::AnsichtLinksRechtsClick,
     L"Zeigt in diesem Fenster eine einfache Dateiliste an", kRadio},
    {1, ITEM(AusfhrlicheDateiliste1), L"&Ausführliche Dateiliste", 0, 34, &F::AnsichtLinksRechtsClick,
     L"Zeigt in diesem Fenster eine ausführliche Dateiliste an", kRadio},
    {1, ITEM(InhaltdesSammelkorbes1), L"Inhalt des Sammel&korbes", 0, 35, &F::AnsichtLinksRechtsClick,
     L"Zeigt in diesem Fenster den Inhalt des Sammelkorbes an", kRadio},
    {1, ITEM(LetztesSuchergebnis1), L"Letztes &Suchergebnis", 0, 30, &F::AnsichtLinksRechtsClick,
     L"Zeigt das letzte Suchergebnis in diesem Fenster an", kRadio},
    {1, ITEM(Archivinhalt1), L"Ar&chivinhalt", 0, 36, &F::AnsichtLinksRechtsClick,
     L"Zeigt den Inhalt des markierten Archives in diesem Fenster an", kRadio},
};

const TMenuRow kMRUPopup[] = {
    {0, ITEM(Gehezu2), L"&Gehe zu...", Alt(VK_F10), 50, &F::Gehezu1Click,
     L"Zeigt einen anderen Ordner im aktuellen Fenster an"},
};

#undef ITEM

void AddRows(THauptform& Form, TMenuItem& Root, std::span<const TMenuRow> Rows) {
    TMenuItem* parents[3] = {&Root, nullptr, nullptr};
    for (const TMenuRow& row : Rows) {
        TMenuItem* parent = parents[row.Level];
        TMenuItem& item = Form.*row.Item;
        if (row.Flags & kLineBefore)
            parent->Add(new TMenuItem(&Form, L"-"));
        item.SetName(row.Name);
        item.SetCaption(row.Caption);
        item.SetShortCut(row.ShortCut);
        item.HelpContext = row.HelpContext;
        item.Hint = row.Hint;
        if (row.Handler)
            item.OnClick = bind(&Form, row.Handler);
        item.SetRadioItem(row.Flags & kRadio);
        item.GroupIndex = row.Flags & kRadio ? 1 : row.GroupIndex;
        item.SetVisible(!(row.Flags & kHidden));
        item.SetEnabled(!(row.Flags & kDisabled));
        parent->Add(&item);
        if (row.Level < 2)
            parents[row.Level + 1] = &item;
    }
}

// The toolbar's buttons as placed at design time; the arrows are narrower.
constexpr int kButtonTop = 14;
constexpr int kButtonWidth = 23;
constexpr int kButtonHeight = 22;
constexpr int kArrowWidth = 19;
constexpr int kToolbarButtons = 13;

#define BUTTON(Name) &THauptform::Name, L"" #Name

struct TButtonRow {
    TExplorerButton THauptform::*Button;
    const wchar_t* Name;
    int Left;
    const wchar_t* ShortHint;
    const wchar_t* LongHint;
    THandler Handler;
    unsigned Flags = 0;
};

const TButtonRow kToolbar[] = {
    {BUTTON(LeftButton), 3, L"Nach links blättern",
     L"Klicken Sie hier, um die Symbolleiste einen Schalter nach links zu blättern", &F::LeftButtonClick, kDisabled},
    {BUTTON(Button1), 23, L"Ordner erstellen", L"Erstellt einen neuen Ordner", &F::DateiVerzeichnisErstellenClick},
    {BUTTON(Button2), 50, L"Verknüpfung erstellen",
     L"Erstellt eine neue Verknüpfung zu der markierten Datei oder dem markierten Verzeichnis",
     &F::DateiVerknuepfungerstellenClick},
    {BUTTON(Button3), 83, L"Datei kopieren",
     L"Kopiert die markierten Dateien oder Verzeichnisse zu einem anderen Verzeichnis", &F::DateiKopierenClick},
    {BUTTON(Button4), 107, L"Datei verschieben",
     L"Verschiebt die markierten Dateien oder Verzeichnisse in ein anderes Verzeichnis", &F::DateiVerschiebenClick},
    {BUTTON(Button5), 139, L"Datei löschen",
     L"Löscht die markierten Dateien oder Verzeichnisse", &F::DateiLoeschenClick},
    {BUTTON(Button6), 171, L"Datei umbenennen",
     L"Benennt die markierte Datei oder den markierten Ordner um", &F::DateiUmbenennenClick},
    {BUTTON(Button7), 203, L"Zu Archiv hinzufügen",
     L"Fügt die markierten Dateien zu einem Archiv (ZIP, ARJ, LHA, RAR, ARC, ZOO) hinzu", &F::ZuArchivhinzufgen1Click},
    {BUTTON(Button8), 227, L"Aus Archiv extrahieren",
     L"Dekomprimiert Dateien aus einem Archiv (ZIP, ARJ, LHA, RAR,  ARC, ZOO) ", &F::AusArchivextrahieren1Click},
    {BUTTON(Button9), 267, L"Datei suchen",
     L"Sucht Dateien nach vorher auszuwählenden Kriterien", &F::DateiSuchenClick},
    {BUTTON(Button10), 291, L"Gehe zu", L"Zeigt einen anderen Ordner im aktuellen Fenster an", &F::Gehezu1Click},
    {BUTTON(Button11), 339, L"Verzeichnisse synchronisieren",
     L"Vergleicht den Inhalt zweier Verzeichnisse und synchronisiert sie gegebenenfalls",
     &F::Verzeichnissesynchronisieren1Click},
    {BUTTON(Button12), 395, L"DOS-Fenster",
     L"Öffnet ein DOS-Fenster, d.h. ruft die command.com-Datei auf", &F::DOSBoxffnen1Click},
    {BUTTON(Button13), 443, L"Optionen",
     L"Zeigt einen Dialog zum Verändern der Velmora-Grundeinstellungen an", &F::Optionen1Click},
    {BUTTON(RightButton), 547, L"Nach rechts blättern",
     L"Klicken Sie hier, um die Symbolleiste einen Schalter nach rechts zu blättern", &F::RightButtonClick, kDisabled},
    
};

#undef BUTTON

}  // namespace

void THauptform::BuildMenus() {
    MainMenu.SetName(L"MainMenu");
    AddRows(*this, MainMenu.Items(), kMainMenu);
    SetMenu(&MainMenu);
    StandardMDIPopUp.SetName(L"StandardMDIPopUp");
    AddRows(*this, StandardMDIPopUp.Items(), kStandardMDIPopUp);
    SammelkorbMenu.SetName(L"SammelkorbMenu");
    AddRows(*this, SammelkorbMenu.Items(), kSammelkorbMenu);
    MRUPopup.SetName(L"MRUPopup");
    AddRows(*this, MRUPopup.Items(), kMRUPopup);
    MRUFileList.SetName(L"MRUFileList");
    MRUFileList.SetMaximum(1);
    MRUFileList.RemoveOnClick = false;
    MRUFileList.AutoSave = false;
    MRUFileList.SetMaxCaptionWidth(250);
    MRUFileList.OnMRUItemClick = bind(this, &THauptform::MRUFileListMRUItemClick);
    BuildToolbar();
}

// Each button's picture is the program's bitmap of the button's name.
void THauptform::BuildToolbar() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    for (const TButtonRow& row : kToolbar) {
        TExplorerButton& button = this->*row.Button;
        const bool arrow = &button == &LeftButton || &button == &RightButton;
        button.SetName(row.Name);
        button.SetParent(&Symbolleiste);
        button.SetBounds(row.Left, kButtonTop, arrow ? kArrowWidth : kButtonWidth, kButtonHeight);
        button.SetOptions(boShowBevel | boPopupMark | boIconOnly);
        button.Hint = std::wstring(row.ShortHint) + L"|" + row.LongHint;
        button.ShowHint = true;
        button.SetEnabled(!(row.Flags & kDisabled));
        auto picture = std::make_unique<TBitmap>();
        if (picture->LoadFromResourceName(instance, row.Name))
            button.Bitmap.SetGraphic(std::move(picture));
        button.OnClick = bind(this, row.Handler);
    }
    m_toolbarRowHeight = Symbolleiste.Height() - LWPanel.Height();
}

TExplorerButton& THauptform::ToolbarButton(int I) {
    static const std::array<TExplorerButton THauptform::*, kToolbarButtons> buttons = {
        &F::Button1, &F::Button2, &F::Button3,  &F::Button4,  &F::Button5,  &F::Button6, &F::Button7,
        &F::Button8, &F::Button9, &F::Button10, &F::Button11, &F::Button12, &F::Button13};
    return this->*buttons.at(static_cast<size_t>(I - 1));
}

void THauptform::LeftButtonClick(TObject*) {
    if (FirstToolbarButton > 1)
        --FirstToolbarButton;
    ArrangeToolbar();
}

void THauptform::RightButtonClick(TObject*) {
    if (FirstToolbarButton < kToolbarButtons)
        ++FirstToolbarButton;
    ArrangeToolbar();
}

// The buttons stand one pixel apart between the arrows; the right arrow keeps
// two pixels off the basket. When not all fit, the first one shown is
// FirstToolbarButton, lowered so that the row ends with the last button.
void THauptform::ArrangeToolbar() {
    if (!m_toolbarShown)
        return;
    Fehlercode = fc::ArrangeToolbar;
    RightButton.Hide();
    RightButton.SetLeft(Sammelbutton.Left() - 2 - RightButton.Width());
    const int step = kButtonWidth + 1;
    int x = LeftButton.Left() + LeftButton.Width() + 1;
    const int fit = std::max(0, RightButton.Left() - x) / step;
    const bool allFit = fit >= kToolbarButtons;
    int first = 1;
    if (allFit) {
        LeftButton.Hide();
        x = LeftButton.Left();
    } else {
        FirstToolbarButton = std::clamp(FirstToolbarButton, 1, std::min(kToolbarButtons, kToolbarButtons + 1 - fit));
        first = FirstToolbarButton;
        LeftButton.Show();
    }
    LeftButton.SetEnabled(false);
    RightButton.SetEnabled(false);
    int shown = 0;
    bool rightPlaced = false;
    for (int i = 1; i <= kToolbarButtons; ++i) {
        TExplorerButton& button = ToolbarButton(i);
        if (i < first) {
            button.Hide();
            LeftButton.SetEnabled(true);
        } else if (shown < fit) {
            button.SetLeft(x);
            button.Show();
            x += step;
            ++shown;
        } else {
            button.Hide();
            RightButton.SetEnabled(true);
            if (!rightPlaced)
                RightButton.SetLeft(x);
            rightPlaced = true;
        }
    }
    if (!allFit) {
        if (!rightPlaced)
            RightButton.SetLeft(x);
        RightButton.Show();
    }
    Fehlercode = 0;
}

// Hidden with the buttons go the arrows too, so that none is left over the
// shrunk top bar's drive boxes.
void THauptform::EnableToolbar(bool Show) {
    if (Show == m_toolbarShown)
        return;
    m_toolbarShown = Show;
    Sammelbutton.SetVisible(Show);
    SammelImage.SetVisible(Show);
    for (int i = 1; i <= kToolbarButtons; ++i)
        ToolbarButton(i).SetVisible(Show);
    if (!Show) {
        LeftButton.Hide();
        RightButton.Hide();
    }
    const int change = m_toolbarRowHeight - 1;
    Symbolleiste.SetHeight(Symbolleiste.Height() + (Show ? change : -change));
    ArrangeToolbar();
    ArrangePanes();
}

void THauptform::CheckSortMenu(std::uint8_t Mode) {
    std::pair<TMenuItem*, TMenuItem*> items;
    switch (Mode) {
    case 0: case 1: items = {&NachName, &NachName1}; break;
    case 2: case 3: items = {&NachGroesse, &NachGroesse1}; break;
    case 4: case 5: items = {&NachDatum, &NachDatum1}; break;
    case 6: case 7: items = {&NachTyp, &NachTyp1}; break;
    case 8: case 9: items = {&NachAttributen, &NachAttributen1}; break;
    default: items = {&Unsortiert, &Unsortiert1}; break;
    }
    items.first->SetChecked(true);
    items.second->SetChecked(true);
}

void THauptform::EnableSortByType(bool Disable) {
    for (TMenuItem* item : {&NachTyp, &NachTyp1, &NachAttributen, &NachAttributen1})
        item->SetEnabled(!Disable);
}

void THauptform::Dokumentverknpfungen1Click(TObject*) { KeptDialog<TVerknuepfungsDlg>().ShowModal(); }

// The orphaned-file search: its parameters, the folders below another listed
// one dropped (that one's search reaches them), then the run, which offers
// its result itself.
void THauptform::Dateileichensuchen1Click(TObject*) {
    Fehlercode = fc::Dateileichensuchen1Click;
    RefreshDialogKontext();
    TStringList masks, folders;
    bool nullDateien = false;
    {
        // Freed before the run: it stores its masks and place when it goes.
        std::unique_ptr<TDateiLeichenSuchenDlg, TComponentDeleter> dlg(
            Create<TDateiLeichenSuchenDlg>(this, DialogKontext));
        dlg->SetParameter(&masks, &folders);
        if (dlg->ShowModal() != mrOk) {
            Fehlercode = 0;
            return;
        }
        nullDateien = dlg->NullDateien.Checked();
    }
    UnterordnerEntfernen(folders);
    std::unique_ptr<TDateileichenFortschrittDlg, TComponentDeleter> run(
        Create<TDateileichenFortschrittDlg>(this, DialogKontext));
    run->SetParameter(masks, folders, nullDateien);
    run->ShowModal();
    if (run->ErgebnisUebergeben()) {
        FoundIndex = -1;
        ReadListPanes();
    } else {
        NachDateibefehl();
    }
    Fehlercode = 0;
}

void THauptform::Verzeichnissesynchronisieren1Click(TObject*) {
    RefreshDialogKontext();
    std::unique_ptr<TSynchronisierenDlg, TComponentDeleter> dlg(Create<TSynchronisierenDlg>(this, DialogKontext));
    if (dlg->ShowModal() != mrOk)
        return;
    std::unique_ptr<TSynchFortschrittDlg, TComponentDeleter> run(Create<TSynchFortschrittDlg>(this, DialogKontext));
    run->SetParameter(dlg->Quellverzeichnis.Text(), dlg->Zielverzeichnis.Text(), dlg->optUpdQuelle.Checked(),
                      dlg->optUVerz.Checked(), dlg->optNurVorh.Checked());
    run->ShowModal();
    NachDateibefehl();
}


// ---- The options command

void THauptform::ApplyOptionsDialog() {
    if (!Settings || !m_optionenDlg)
        return;
    SonstigesSpeichern(*Settings, *m_optionenDlg);
    RefreshMRUList();
}

void THauptform::Optionen1Click(TObject*) {
    if (!Settings)
        return;
    Fehlercode = fc::Optionen1Click;
    if (!m_optionenDlg)
        m_optionenDlg = Create<TOptionenDlg>(this, [this] {
            return WeiterePackerKonfigurieren(this, m_extArcDlg, Settings->Arc);
        });
    TOptionenDlg& dlg = *m_optionenDlg;
    OptionenLaden(*Settings, dlg);
    Fehlercode = fc::Optionen1Click;
    if (dlg.ShowModal() != mrOk) {
        // The packer dialog wrote its values straight into the settings.
        if (dlg.Geaendert.WeiterePacker)
            ApplyArchiverSettings();
        Fehlercode = 0;
        return;
    }
    auto panes = [this](auto test, auto action) {
        for (TDMChildForm* pane : {LeftPane, RightPane})
            if (pane && test(pane->GetPaneKind()))
                action(*pane);
    };
    TOptionenAnwendung anwendung;
    anwendung.EnableToolbar = [this](bool Show) { EnableToolbar(Show); };
    anwendung.Hauptfenster = [this] {
        const TAnsichtEinstellungen& view = Settings->Ansicht;
        HauptStatusZeile.SetVisible(view.StatuszeileAnzeigen);
        ButtonPanel.SetVisible(view.FTastenAnzeigen);
        DOSZeilenPanel.SetVisible(view.DOSZeileAnzeigen);
        ArrangePanes();
    };
    anwendung.Dateilisten = [&](bool FillList) {
        panes([](TFensterTyp k) { return k == ftDateiliste; }, [&](TDMChildForm& p) {
            p.ApplyOptions(Settings->Dateiliste);
            if (FillList)
                p.FillList();
        });
    };
    anwendung.ADateilisten = [&](bool Rebuild, bool FillList) {
        panes([](TFensterTyp k) { return k == ftAusfDateiliste; }, [&](TDMChildForm& p) {
            p.ApplyOptions(Settings->ADateiliste);
            if (Rebuild)
                p.RebuildColumns();
            if (FillList)
                p.FillList();
        });
    };
    anwendung.Suchergebnisse = [&] {
        panes([](TFensterTyp k) { return k == ftSuchergebnis || k == ftSammelkorb; }, [&](TDMChildForm& p) {
            p.ApplyOptions(Settings->Sucherg);
            p.ReadContents();
        });
    };
    anwendung.Archivfenster = [&](bool Read) {
        panes([](TFensterTyp k) { return ZeigtArchiv(k); }, [&](TDMChildForm& p) {
            p.ApplyOptions(Settings->ArcView);
            if (Read)
                p.ReadContents();
        });
    };
    anwendung.ApplyArchiverSettings = [this] { ApplyArchiverSettings(); };
    anwendung.ApplyOptionsDialog = [this] { ApplyOptionsDialog(); };
    OptionenUebernehmen(*Settings, dlg, anwendung);
    Fehlercode = 0;
}

}  // namespace velmora
