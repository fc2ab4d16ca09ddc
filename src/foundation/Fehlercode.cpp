#include "Fehlercode.h"

namespace velmora {

std::uint16_t Fehlercode = 0;

void InitFehlercode() { Fehlercode = 0; }

}  // namespace velmora
