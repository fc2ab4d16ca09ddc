#pragma once
// The program-wide trace word. Each of the main program's routines that can fail
// stores its own number here as its first step and 0 as the last step of a normal
// run, never from a destructor or scope guard: when an exception escapes, the
// number of the routine that ran last stays for the exception handler to show.
//
// Every subsystem keeps its routine numbers in a header of its own, listed once
// through a macro that makes both the constants and the subsystem's table
// `fc::TRoutineNumbers<digit>` (the subsystem's number: 1 foundation, 2 main window,
// 3 file commands and tools, 5 archive operations). A number fixed by the design
// stays as it is (those lie below 200); every other one comes from its subsystem's
// block, 1xxx, 2xxx, 3xxx or 5xxx, so that no two routines share a number.

#include <cstdint>

namespace velmora {

extern std::uint16_t Fehlercode;

// Start-up step, run before any window exists.
void InitFehlercode();

namespace fc {

struct TRoutineNumber {
    const char* Routine;
    std::uint16_t Number;
};

// Specialised by each subsystem's header with `static constexpr TRoutineNumber All[]`.
template <int Subsystem>
struct TRoutineNumbers;

}  // namespace fc

}  // namespace velmora

#define VELMORA_FC_CONSTANT(name, number) inline constexpr std::uint16_t name = number;
#define VELMORA_FC_ENTRY(name, number) TRoutineNumber{#name, name},
// Declares the numbers of LIST (an X-macro of (name, number) pairs) in velmora::fc
// and their table for the subsystem DIGIT.
#define VELMORA_FC_SUBSYSTEM(DIGIT, LIST)                                \
    namespace velmora::fc {                                              \
    LIST(VELMORA_FC_CONSTANT)                                            \
    template <>                                                          \
    struct TRoutineNumbers<DIGIT> {                                      \
        static constexpr TRoutineNumber All[] = {LIST(VELMORA_FC_ENTRY)}; \
    };                                                                   \
    }

// The foundation's routines.
#define VELMORA_FOUNDATION_CODES(X)            \
    X(RegExpandKeyPattern, 1101)               \
    /* Settings object: one number per loader and saver. */ \
    X(EinstellungenLoadAll, 1301)              \
    X(EinstellungenSaveAll, 1302)              \
    X(LoadDateiliste, 1303)                    \
    X(LoadADateiliste, 1304)                   \
    X(LoadSucherg, 1305)                       \
    X(LoadArcView, 1306)                       \
    X(LoadAnsicht, 1307)                       \
    X(LoadBest, 1308)                          \
    X(LoadArc, 1309)                           \
    X(LoadArcDragDrop, 1310)                   \
    X(LoadSonstiges, 1311)                     \
    X(LoadDragDrop, 1312)                      \
    X(LoadOftBenVerz, 1313)                    \
    X(SaveDateiliste, 1323)                    \
    X(SaveADateiliste, 1324)                   \
    X(SaveSucherg, 1325)                       \
    X(SaveArcView, 1326)                       \
    X(SaveAnsicht, 1327)                       \
    X(SaveBest, 1328)                          \
    X(SaveArc, 1329)                           \
    X(SaveArcDragDrop, 1330)                   \
    X(SaveSonstiges, 1331)                     \
    X(SaveDragDrop, 1332)                      \
    X(SaveOftBenVerz, 1333)                    \
    /* File records. */                        \
    X(SortierRoutinenQuickSort, 1501)         \
    /* File-type registrations. */             \
    X(GetFileTypes, 1601)                      \
    X(ResolveProgramPath, 1602)                \
    X(DeleteFileType, 1603)                    \
    X(RegisterExtension, 1604)                 \
    X(SetOpenCommand, 1605)                    \
    /* Byte-size texts of the panes and the status line. */ \
    X(FormatByteSize, 164)

VELMORA_FC_SUBSYSTEM(1, VELMORA_FOUNDATION_CODES)
