#pragma once
// What the panes and their callers share beside the pane base class itself: the
// pane kinds, the totals of an archive listing and the byte-size texts.

#include <cstdint>
#include <string>

namespace velmora {

// The archive kinds have the values the archive routines give for a file, so a
// pane's kind goes to them unchanged.
enum TFensterTyp : std::uint8_t {
    ftVerzeichnisbaum = 0,
    ftDateiliste = 1,
    ftAusfDateiliste = 2,
    ftSuchergebnis = 3,
    ftSammelkorb = 4,
    ftZip = 5,
    ftArj = 6,
    ftLzh = 7,
    ftRar = 8,
    ftArc = 9,
    ftZoo = 10,
    ftZipExe = 11,
    ftArjExe = 12,
    ftRarExe = 13,
    ftArcExe = 14,
};

// The archive test takes 5 to 15, one beyond the last kind.
inline bool ZeigtArchiv(TFensterTyp Kind) { return Kind >= ftZip && Kind <= 15; }
// The tree and the two file lists.
inline bool IstVerzeichnisFenster(TFensterTyp Kind) { return Kind <= ftAusfDateiliste; }

// Totals of one archive listing; sizes are 64-bit so that entries of 2 GiB and more
// neither go negative nor wrap.
struct TArchivDaten {
    std::int64_t OrigGroesse = 0;
    std::int64_t KompGroesse = 0;
    std::int32_t Anzahl = 0;
    std::wstring Kommentar;
};

// "1023 Bytes", "1.50 KBytes", ... up to " GBytes"; always "." and no grouping,
// whatever the user's locale. The argument is single precision: callers holding a
// 64-bit count convert it, and counts above 16777216 lose their last digits.
std::wstring FormatByteSize(float Bytes);

}  // namespace velmora
