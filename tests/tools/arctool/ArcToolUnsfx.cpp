// arctool unsfx PROGRAM OUTPUT: turns a self-extracting program into a plain
// archive. Every message box is answered No and printed on standard error as
// "message", its kind and its text; exit status 0 only when OUTPUT was written.

#include <ostream>

#include "ArcTool.h"
#include "archive/formats/UnSFX.h"
#include "platform/rtl/Strings.h"

using namespace velmora;
using namespace velmora::arc;

namespace arctool {

namespace {

std::string MessageLine(const std::wstring& text, TArcMsgKind kind)
{
    const char* kinds[] = {"warning", "information", "question"};
    std::string line = std::string("message\t") + kinds[static_cast<int>(kind)] + "\t";
    for (char c : ToUtf8(text))
        line += c == '\r' ? std::string("\\r") : std::string(1, c);
    return line;
}

int RunUnsfx(const std::vector<std::string>& args, std::ostream&, std::ostream& err)
{
    if (args.size() != 2)
        return Usage(err);
    SetArcMessageBoxHook([&err](const std::wstring& text, TArcMsgKind kind, TArcMsgButtons) {
        err << MessageLine(text, kind) << "\n";
        return 7;
    });
    int status = 1;
    try {
        TUnSFX sfx;
        sfx.SetArchiveFile(ArgToName(args[0]));
        if (!sfx.ArchiveFile().empty()) {
            sfx.SetOutFilename(ArgToName(args[1]));
            status = sfx.Activate() ? 0 : 1;
        }
    } catch (const E_RAISE& e) {
        err << "error\t" << e.Code() << "\t" << ToUtf8(ArcErrorText(e.Code())) << "\n";
    } catch (const Exception& e) {
        err << "error\t0\t" << ToUtf8(e.Message()) << "\n";
    }
    SetArcMessageBoxHook(nullptr);
    return status;
}

const Registration kUnsfx{{"unsfx", "unsfx PROGRAM OUTPUT", &RunUnsfx}};

}  // namespace

}  // namespace arctool
