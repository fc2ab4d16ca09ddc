#pragma once
// Stands in for the spin edit until it is available: an integer edit with the
// same reading rules (text that is no number reads as MinValue; CheckValue
// forces a value into MinValue..MaxValue when the two differ), so the entry
// dialog can take the spin edit over by changing one type.

#include "platform/gui/Edits.h"

namespace velmora::manager {

class TWaitEdit : public gui::TEdit {
public:
    explicit TWaitEdit(gui::TComponent* owner) : gui::TEdit(owner) {}
    double MinValue = 0;
    double MaxValue = 0;
    double Increment = 1;
    double Value() const;
    void SetValue(double value);
    double CheckValue(double value) const;
};

}  // namespace velmora::manager
