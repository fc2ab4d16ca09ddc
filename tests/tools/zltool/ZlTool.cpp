// zltool OPERATION ARCHIVE [options] [names...]: one TZipLib call on the real
// zip library, every event printed as a line, then "result N".
// Operations: list test extract add delete fix fixall date comment count.
// Options: -p password, -d folder (extract), -0..-9 level, -r recurse, -j no
// paths, -n never / -o always overwrite, -f freshen / -u update, -b temp folder,
// -$ the volume label.

#include <cstdio>
#include <string>

#include "archive/operations/ZipLib32.h"
#include "platform/rtl/Strings.h"

using namespace velmora;
using namespace velmora::archive;

namespace {

void Print(const std::wstring& line)
{
    std::fputs(ToUtf8(line).c_str(), stdout);
    std::fputc('\n', stdout);
}

std::wstring Stats(const TZlFileStats& s)
{
    const DateParts d = DecodeDateTime(s.DateTime);
    wchar_t when[32];
    std::swprintf(when, 32, L"%04d-%02d-%02d %02d:%02d:%02d", d.year, d.month, d.day, d.hour, d.minute, d.second);
    return s.FileName + L" " + std::to_wstring(s.Size) + L" " + std::to_wstring(s.CompressedSize) + L" " + when +
           L" attr=" + std::to_wstring(s.Attributes) + (s.Comment.empty() ? L"" : L" comment=" + s.Comment);
}

void Bind(TZipLib& zip)
{
    auto stats = [](const wchar_t* what) {
        return [what](TZipLib*, const TZlFileStats& s) { Print(std::wstring(what) + L" " + Stats(s)); };
    };
    zip.OnListing = stats(L"list");
    zip.OnTesting = stats(L"test");
    zip.OnExtracting = stats(L"extract");
    zip.OnAdding = stats(L"add");
    zip.OnUpdating = stats(L"update");
    zip.OnStatus = [](TZipLib*, const TZlFileStats& s) {
        Print(L"status " + s.FileName + L" " + std::to_wstring(s.Bytes[1]) + L"%");
    };
    zip.OnDeleting = [](TZipLib*, const std::wstring& n) { Print(L"delete " + n); };
    zip.OnFixing = [](TZipLib*, const std::wstring& n) { Print(L"fix " + n); };
    zip.OnSkippingFile = [](TZipLib*, const TZlSkipping& s) {
        Print(L"skip " + s.FileName + L" reason=" + std::to_wstring(s.Reason));
    };
    zip.OnReplace = [](TZipLib*, TZlReplace& r) {
        Print(L"replace? " + r.FileName + L" (answered skip)");
        r.Answer = 0;
    };
    zip.OnPwdQuery = [](TZipLib*, TZlPwdQuery& q) {
        Print(L"password? " + q.FileName + L" (answered skip)");
        q.Answer = 0;
    };
    zip.OnNewdisk = [](TZipLib*, int disk) { Print(L"disk " + std::to_wstring(disk)); };
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::fputs("zltool list|test|extract|add|delete|fix|fixall|date|comment|count ARCHIVE [options] [names]\n",
                   stderr);
        return 2;
    }
    const std::wstring op = argv[1];
    TZipLib zip(nullptr);
    Bind(zip);
    zip.ZipFileName = argv[2];
    int mode = 0;
    for (int i = 3; i < argc; ++i) {
        const std::wstring a = argv[i];
        if (a == L"-p" && i + 1 < argc) zip.Password = argv[++i];
        else if (a == L"-d" && i + 1 < argc) zip.ExtractDirectory = argv[++i];
        else if (a == L"-b" && i + 1 < argc) zip.TempPath = argv[++i];
        else if (a.size() == 2 && a[0] == L'-' && a[1] >= L'0' && a[1] <= L'9') zip.Compression = a[1] - L'0';
        else if (a == L"-r") zip.Recurse = true;
        else if (a == L"-$") zip.IncludeVolumeLabel = true;
        else if (a == L"-j") zip.UsePaths = false;
        else if (a == L"-n") zip.Overwrite = TZlOverwrite::zowNever;
        else if (a == L"-o") zip.Overwrite = TZlOverwrite::zowAlways;
        else if (a == L"-f") mode = 1;
        else if (a == L"-u") mode = 2;
        else zip.FilesToProcess.Add(a);
    }
    int result = 0;
    if (op == L"list") result = zip.List();
    else if (op == L"test") result = zip.Test();
    else if (op == L"extract") result = zip.Extract(mode);
    else if (op == L"add") result = zip.Add(mode);
    else if (op == L"delete") result = zip.Delete();
    else if (op == L"fix") result = zip.Fix(false);
    else if (op == L"fixall") result = zip.Fix(true);
    else if (op == L"date") result = zip.UpdateDate();
    else if (op == L"comment") {
        std::wstring comment;
        result = zip.GetComment(comment);
        Print(L"comment " + comment);
    } else if (op == L"count") {
        Print(L"count " + std::to_wstring(zip.GetFileCount()));
    } else {
        std::fputs("unknown operation\n", stderr);
        return 2;
    }
    std::printf("result %d\n", result);
    return result == 0 ? 0 : 1;
}
