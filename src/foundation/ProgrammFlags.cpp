#include "ProgrammFlags.h"

namespace velmora {

bool DateiOperationLaeuft = false;
bool DropWirdVerarbeitet = false;
bool LaufwerkWirdGewechselt = false;
bool OrdnerWirdErstellt = false;

}  // namespace velmora
