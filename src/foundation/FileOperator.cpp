#include "FileOperator.h"

#include "platform/gui/Forms.h"

namespace velmora {

namespace {

// The property's flag bits; mapping handle (0x20) and no-error-UI have their own
// ways in.
constexpr TFileOperationFlags kFlagBits = foAllowUndo | foConfirmMouse | foFilesOnly | foMultiDestFiles |
                                          foNoConfirmation | foNoConfirmMkDir | foRenameOnCollision | foSilent |
                                          foSimpleProgress | foNoErrorUI;

}  // namespace

std::wstring ShellNameList(const std::vector<std::wstring>& Names) {
    std::wstring list;
    for (const std::wstring& name : Names) {
        list += name;
        list += L'\0';
    }
    list += L'\0';
    return list;
}

std::vector<std::wstring> SplitCommaNames(const std::wstring& Names) {
    std::vector<std::wstring> names;
    if (Names.empty())
        return names;
    size_t start = 0;
    for (;;) {
        const size_t comma = Names.find(L',', start);
        names.push_back(Names.substr(start, comma - start));
        if (comma == std::wstring::npos)
            break;
        start = comma + 1;
    }
    return names;
}

TFileOperator::TFileOperator(gui::TComponent* owner) : TComponent(owner) {
    m_record.wFunc = FO_COPY;
    m_record.fFlags = foAllowUndo | foNoConfirmMkDir;
    m_source = m_destination = std::wstring(1, L'\0');
}

TFileOperator::~TFileOperator() {
    if (m_record.hNameMappings)
        SHFreeNameMappings(m_record.hNameMappings);
}

TFileOperation TFileOperator::Operation() const {
    switch (m_record.wFunc) {
    case FO_DELETE:
        return TFileOperation::foDelete;
    case FO_MOVE:
        return TFileOperation::foMove;
    case FO_RENAME:
        return TFileOperation::foRename;
    default:
        return TFileOperation::foCopy;
    }
}

void TFileOperator::SetOperation(TFileOperation Value) {
    switch (Value) {
    case TFileOperation::foCopy:
        m_record.wFunc = FO_COPY;
        break;
    case TFileOperation::foDelete:
        m_record.wFunc = FO_DELETE;
        break;
    case TFileOperation::foMove:
        m_record.wFunc = FO_MOVE;
        break;
    case TFileOperation::foRename:
        m_record.wFunc = FO_RENAME;
        break;
    }
}

TFileOperationFlags TFileOperator::Flags() const { return m_record.fFlags & kFlagBits; }

void TFileOperator::SetFlags(TFileOperationFlags Value) {
    m_record.fFlags = static_cast<FILEOP_FLAGS>((m_record.fFlags & ~kFlagBits) | (Value & kFlagBits));
}

bool TFileOperator::WantMappingHandle() const { return (m_record.fFlags & FOF_WANTMAPPINGHANDLE) != 0; }

void TFileOperator::SetWantMappingHandle(bool Value) {
    if (Value)
        m_record.fFlags |= FOF_WANTMAPPINGHANDLE;
    else
        m_record.fFlags &= static_cast<FILEOP_FLAGS>(~FOF_WANTMAPPINGHANDLE);
}

void TFileOperator::SetSource(const std::vector<std::wstring>& Names) { m_source = ShellNameList(Names); }
void TFileOperator::SetDestination(const std::vector<std::wstring>& Names) { m_destination = ShellNameList(Names); }
void TFileOperator::SetSource(const std::wstring& Names) { SetSource(SplitCommaNames(Names)); }
void TFileOperator::SetDestination(const std::wstring& Names) { SetDestination(SplitCommaNames(Names)); }

bool TFileOperator::Execute() {
    m_record.hwnd = ParentForm ? ParentForm->Handle() : nullptr;
    m_record.pFrom = m_source.c_str();
    m_record.pTo = m_destination.c_str();
    m_record.lpszProgressTitle = m_progressTitle.c_str();
    m_record.fAnyOperationsAborted = FALSE;
    if (m_record.hNameMappings) {
        SHFreeNameMappings(m_record.hNameMappings);
        m_record.hNameMappings = nullptr;
    }
    const int result = SHFileOperationW(&m_record);
    return result == 0 && !m_record.fAnyOperationsAborted;
}

}  // namespace velmora
