#include "DatumGroesseTest.h"

#include <cmath>
#include <utility>

#include "platform/rtl/LocaleTexts.h"
#include "platform/rtl/Strings.h"

namespace velmora {

namespace {

std::optional<double> Tag(const std::wstring& text) {
    const auto date = TryStrToDateTime(Trim(text));
    if (!date)
        return std::nullopt;
    return std::floor(*date);
}

}  // namespace

TDateTime LokaleDateiZeit(const FILETIME& Time) {
    FILETIME local;
    SYSTEMTIME st;
    if (!FileTimeToLocalFileTime(&Time, &local) || !FileTimeToSystemTime(&local, &st)) return 0;
    return TryEncodeDateTime({st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds})
        .value_or(0);
}

TDatumGroesseTest TDatumGroesseTest::Aus(bool DatumFiltern, const std::wstring& Aelteste,
                                         const std::wstring& Juengste, bool GroesseFiltern,
                                         const std::wstring& Vergleich, std::int32_t GroesseKB) {
    TDatumGroesseTest test;
    test.DatumPruefen = DatumFiltern;
    if (DatumFiltern) {
        test.VonTag = Tag(Aelteste);
        test.BisTag = Tag(Juengste);
        if (test.VonTag && test.BisTag && *test.VonTag > *test.BisTag)
            std::swap(test.VonTag, test.BisTag);
    }
    test.GroessePruefen = GroesseFiltern && !Vergleich.empty();
    if (test.GroessePruefen) {
        test.Vergleich = Vergleich;
        test.GroesseKB = GroesseKB;
    }
    return test;
}

bool TDatumGroesseTest::Passt(std::int64_t Groesse, TDateTime Datum) const {
    if (DatumPruefen) {
        const double tag = std::floor(Datum);
        if ((VonTag && tag < *VonTag) || (BisTag && tag > *BisTag))
            return false;
    }
    if (GroessePruefen) {
        const std::int64_t kb = Groesse / 1024;
        if (Vergleich == L"Genau")
            return kb == GroesseKB || (kb == 0 && GroesseKB == 1) || (Groesse == 0 && GroesseKB == 0);
        if (Vergleich == L"Mindestens")
            return kb >= GroesseKB;
        if (Vergleich == L"Höchstens")
            return kb <= GroesseKB;
    }
    return true;
}

}  // namespace velmora
