#pragma once
// Review of the extra animation's crop. The extra designer fits it without
// showing it; only the trigger designer's BACK shows it.

#include "designers/ReviewPage.h"

class ShowExtraAnim : public ReviewPage {
    Q_OBJECT
public:
    ShowExtraAnim();

    void Image2_Click() override; // BACK
    void Image3_Click() override; // NEXT

protected:
    const ImageWorkspace *FrameWorkspace(int) const override { return nullptr; }
};
