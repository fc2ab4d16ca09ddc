#pragma once
// Repairing an archive: "-F" rebuilds the directory from the local headers,
// "-FF" searches the whole file and keeps every entry whose data checks.

#include <string>

#include "platform/ziplib/ZlCore.h"

namespace velmora::zl {

// The count of entries recovered. Throws ZlFailure: 110 when the walk over the
// local headers breaks ("-F") or nothing can be recovered ("-FF").
int Repair(const std::string& password, const std::wstring& archive, const std::wstring& tempFolder, bool thorough,
           Session& session);

}  // namespace velmora::zl
