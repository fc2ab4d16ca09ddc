// Without the file list pane in this build, the bench times the baseline only.
#include "FileListBenchPane.h"

namespace velmora {

TBenchPanes::TBenchPanes(gui::TForm& Frame, const std::wstring& Folder) : m_frame(Frame), m_folder(Folder) {}
TBenchPanes::~TBenchPanes() = default;
bool TBenchPanes::Available() const { return false; }
double TBenchPanes::DefaultRead(int) { return 0; }
double TBenchPanes::AttributeSortRead() { return 0; }
double TBenchPanes::ReaderRun() { return 0; }
TPaneHeap TBenchPanes::Heap() { return {}; }

}  // namespace velmora
