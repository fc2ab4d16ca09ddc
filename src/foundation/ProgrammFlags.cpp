#include "ProgrammFlags.h"

namespace velmora {

bool DateiOperationLaeuft = false;
bool DropWirdVerarbeitet = false;
bool LaufwerkWirdGewechselt = false;
bool OrdnerWirdErstellt = false;
bool NachLesenFokussieren = false;
std::wstring NachLesenFokusName;

}  // namespace velmora
