#pragma once
// TDateEdit: a date field in the user's short date format, over the system's
// date picker.

#include "platform/rtl/DateTime.h"

#include "Controls.h"

namespace velmora::gui {

class TDateEdit : public TWinControl {
public:
    explicit TDateEdit(TComponent* owner);
    velmora::TDateTime Date() const;
    void SetDate(velmora::TDateTime date);
    TNotifyEvent OnChange;
    bool CNNotify(NMHDR* header, LRESULT& result) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitWnd() override;

private:
    velmora::TDateTime m_date = 0;
};

}  // namespace velmora::gui
