#pragma once
// The date and size tests that the file search, the list filter and marking by
// a filter share.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "platform/rtl/DateTime.h"

namespace velmora {

// The date and size tests of the list filter and of marking by a filter, with
// the date texts converted once. A date text that does not convert leaves its
// end of the range open.
struct TDatumGroesseTest {
    bool DatumPruefen = false;
    std::optional<double> VonTag, BisTag;  // whole days, both included
    bool GroessePruefen = false;
    std::wstring Vergleich;  // "Genau", "Mindestens", "Höchstens"; anything else passes
    std::int32_t GroesseKB = 0;

    static TDatumGroesseTest Aus(bool DatumFiltern, const std::wstring& Aelteste, const std::wstring& Juengste,
                                 bool GroesseFiltern, const std::wstring& Vergleich, std::int32_t GroesseKB);
    bool BrauchtDaten() const { return DatumPruefen || GroessePruefen; }
    // Both tests on loaded file data.
    bool Passt(std::int64_t Groesse, TDateTime Datum) const;
};

// A file time as local date and time; 0 when it converts to none.
TDateTime LokaleDateiZeit(const FILETIME& Time);

}  // namespace velmora
