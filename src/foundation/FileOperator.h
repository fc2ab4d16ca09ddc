#pragma once
// TFileOperator: the shell's own file operation (copy, move, delete, rename a list
// of names, with the shell's progress, confirmation and error dialogs), filled from
// properties. Names travel as lists of whole names, so a comma inside a name is
// just a character; the comma-separated forms remain for callers whose names
// cannot hold one.

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/gui/Component.h"

namespace velmora {

namespace gui {
class TForm;
}

enum class TFileOperation { foCopy, foDelete, foMove, foRename };

// The bits of the shell's flag word.
enum TFileOperationFlag : std::uint16_t {
    foAllowUndo = FOF_ALLOWUNDO,
    foConfirmMouse = FOF_CONFIRMMOUSE,
    foFilesOnly = FOF_FILESONLY,
    foMultiDestFiles = FOF_MULTIDESTFILES,
    foNoConfirmation = FOF_NOCONFIRMATION,
    foNoConfirmMkDir = FOF_NOCONFIRMMKDIR,
    foRenameOnCollision = FOF_RENAMEONCOLLISION,
    foSilent = FOF_SILENT,
    foSimpleProgress = FOF_SIMPLEPROGRESS,
    // No error boxes at all: a silent operation must never wait on one.
    foNoErrorUI = FOF_NOERRORUI,
};
// A set of TFileOperationFlag bits.
using TFileOperationFlags = std::uint16_t;

class TFileOperator : public gui::TComponent {
public:
    explicit TFileOperator(gui::TComponent* owner);
    ~TFileOperator() override;

    TFileOperation Operation() const;
    void SetOperation(TFileOperation Value);
    TFileOperationFlags Flags() const;
    void SetFlags(TFileOperationFlags Value);
    bool WantMappingHandle() const;
    void SetWantMappingHandle(bool Value);
    const std::wstring& ProgressTitle() const { return m_progressTitle; }
    void SetProgressTitle(std::wstring Value) { m_progressTitle = std::move(Value); }
    gui::TForm* ParentForm = nullptr;

    // Whole names, each one entry of the shell's list.
    void SetSource(const std::vector<std::wstring>& Names);
    void SetDestination(const std::vector<std::wstring>& Names);
    // Names separated by ",": only for names that hold no comma.
    void SetSource(const std::wstring& Names);
    void SetDestination(const std::wstring& Names);
    // The lists as the shell receives them: each name with its NUL, then one more.
    const std::wstring& SourceList() const { return m_source; }
    const std::wstring& DestinationList() const { return m_destination; }

    // Runs the operation in the calling thread, with the shell's dialogs; true
    // only when the shell reports success and no part of it was cancelled.
    virtual bool Execute();
    // The shell's own word that the user cancelled a part of the last run.
    bool Aborted() const { return m_record.fAnyOperationsAborted != FALSE; }

    // The record's raw operation code and flag word, as the form stores them.
    UINT RawOperation() const { return m_record.wFunc; }
    void SetRawOperation(UINT Code) { m_record.wFunc = Code; }
    FILEOP_FLAGS RawFlags() const { return m_record.fFlags; }

protected:
    // For recorders standing in for the shell.
    void SetAborted(bool Value) { m_record.fAnyOperationsAborted = Value; }

private:
    SHFILEOPSTRUCTW m_record{};
    std::wstring m_source;
    std::wstring m_destination;
    std::wstring m_progressTitle = L"File  Operation";
};

// The shell's list form: every name followed by a NUL, then one more NUL (an
// empty list is a single NUL).
std::wstring ShellNameList(const std::vector<std::wstring>& Names);
// Splits at every ","; an empty text is an empty list.
std::vector<std::wstring> SplitCommaNames(const std::wstring& Names);

}  // namespace velmora
