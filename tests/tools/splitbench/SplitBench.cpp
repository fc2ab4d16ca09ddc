// Times what a user waits for when splitting a file: the split command's
// progress window from its showing to its close, against a bare Win32 loop in
// this process writing the same pieces (one 102400-byte buffer, pieces made
// with CREATE_NEW). A file of 1 GiB of pseudo-random bytes, split at
// 100,000,000 and at 1,100,000 bytes; three alternating runs each, the best
// counted; the pieces of both compared byte by byte. A program, not a test:
// one line per size with its ratio and "pass" or "FAIL", exit code 1 on a fail.

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "../BenchClock.h"
#include "filetools/DateiAktionFortschrittDlg.h"
#include "filetools/DateiRoutinen.h"
#include "foundation/FileOperator.h"
#include "platform/gui/Application.h"
#include "platform/gui/Testing.h"
#include "platform/rtl/FileSystem.h"

using namespace velmora;
using namespace velmora::gui;

namespace {

constexpr std::int64_t kSize = 1LL << 30;
constexpr DWORD kBlock = 102400;
constexpr int kRuns = 3;
constexpr double kPassMark = 1.5;

bool MakeSource(const std::wstring& name) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExW(name.c_str(), GetFileExInfoStandard, &data) &&
        ((static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow) == kSize)
        return true;
    std::printf("making %ls ...\n", name.c_str());
    HANDLE h = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    std::vector<std::uint64_t> block(1 << 17);
    std::uint64_t x = 0x9E3779B97F4A7C15ULL;
    for (std::int64_t done = 0; done < kSize; done += static_cast<std::int64_t>(block.size() * 8)) {
        for (auto& v : block) {
            x ^= x << 13;
            x ^= x >> 7;
            x ^= x << 17;
            v = x;
        }
        DWORD written = 0;
        WriteFile(h, block.data(), static_cast<DWORD>(block.size() * 8), &written, nullptr);
    }
    CloseHandle(h);
    return true;
}

std::int64_t Pieces(std::int32_t fragment) { return kSize / fragment + (kSize % fragment ? 1 : 0); }

void RemovePieces(const std::wstring& base, std::int32_t fragment) {
    for (std::int64_t i = 0; i < Pieces(fragment); ++i) DeleteFileW((base + L"." + std::to_wstring(i)).c_str());
}

// The baseline: the same pieces, plainly.
bool BareSplit(const std::wstring& source, const std::wstring& base, std::int32_t fragment) {
    HANDLE in = CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (in == INVALID_HANDLE_VALUE)
        return false;
    std::vector<char> buffer(kBlock);
    bool ok = true;
    std::int64_t rest = kSize;
    for (std::int64_t i = 0; ok && rest > 0; ++i) {
        HANDLE out = CreateFileW((base + L"." + std::to_wstring(i)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        if (out == INVALID_HANDLE_VALUE)
            return CloseHandle(in), false;
        for (std::int64_t left = std::min<std::int64_t>(rest, fragment); ok && left > 0;) {
            const DWORD want = static_cast<DWORD>(std::min<std::int64_t>(left, kBlock));
            DWORD read = 0, written = 0;
            ok = ReadFile(in, buffer.data(), want, &read, nullptr) && read == want &&
                 WriteFile(out, buffer.data(), read, &written, nullptr) && written == read;
            left -= read;
            rest -= read;
        }
        CloseHandle(out);
    }
    CloseHandle(in);
    return ok;
}

bool SameFiles(const std::wstring& a, const std::wstring& b) {
    HANDLE ha = CreateFileW(a.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE hb = CreateFileW(b.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    bool same = ha != INVALID_HANDLE_VALUE && hb != INVALID_HANDLE_VALUE;
    std::vector<char> ba(1 << 20), bb(1 << 20);
    while (same) {
        DWORD ra = 0, rb = 0;
        same = ReadFile(ha, ba.data(), 1 << 20, &ra, nullptr) && ReadFile(hb, bb.data(), 1 << 20, &rb, nullptr) &&
               ra == rb && std::equal(ba.begin(), ba.begin() + ra, bb.begin());
        if (ra == 0)
            break;
    }
    if (ha != INVALID_HANDLE_VALUE)
        CloseHandle(ha);
    if (hb != INVALID_HANDLE_VALUE)
        CloseHandle(hb);
    return same;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    TApplication application;
    std::wstring folder = ParamCount() >= 1 ? ParamStr(1) : L"Z:\\dev\\shm\\velmora-splitbench\\";
    if (folder.back() != L'\\')
        folder += L'\\';
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring source = folder + L"quelle.bin", bare = folder + L"bare";
    if (!MakeSource(source)) {
        std::printf("cannot make %ls\n", source.c_str());
        return 2;
    }
    TFileOperator fileOperator(nullptr);
    TDateiRoutinen routinen(fileOperator);
    auto* dlg = Create<TDateiAktionFortschrittDlg>(Application, routinen);
    TEineDatei datei;
    datei.Name = source;
    datei.Size = kSize;
    TMessageBoxRecorder boxes;
    bool allPass = true;
    std::printf("split of a 1 GiB file in %ls, best of %d alternating runs, %s build\n", folder.c_str(), kRuns,
                sizeof(void*) == 8 ? "64-bit stand-in" : "i686");
    for (const std::int32_t fragment : {100000000, 1100000}) {
        double job = 1e9, plain = 1e9;
        bool equal = true;
        for (int run = 0; run < kRuns; ++run) {
            RemovePieces(source, fragment);
            RemovePieces(bare, fragment);
            double start = BenchNow();
            dlg->SplitFile(datei, fragment);
            job = std::min(job, BenchNow() - start);
            start = BenchNow();
            const bool ok = BareSplit(source, bare, fragment);
            plain = std::min(plain, BenchNow() - start);
            equal = equal && ok && boxes.Calls().empty();
        }
        for (std::int64_t i = 0; equal && i < Pieces(fragment); ++i)
            equal = SameFiles(source + L"." + std::to_wstring(i), bare + L"." + std::to_wstring(i));
        RemovePieces(source, fragment);
        RemovePieces(bare, fragment);
        const double ratio = job / plain;
        const bool pass = equal && ratio <= kPassMark;
        allPass = allPass && pass;
        std::printf("  pieces of %d bytes: job %.3f s, bare loop %.3f s%s\n", fragment, job, plain,
                    equal ? "" : ", OUTPUTS DIFFER");
        std::printf("  split at %d bytes against the bare loop: ratio %.2f (pass mark %.1f) %s\n", fragment, ratio,
                    kPassMark, pass ? "pass" : "FAIL");
        std::fflush(stdout);
    }
    DeleteFileW(source.c_str());
    RemoveDirectoryW(folder.c_str());
    return allPass ? 0 : 1;
}
