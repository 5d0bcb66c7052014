#pragma once
// Review of the user character's blink crops.

#include "designers/ReviewPage.h"

class ShowUserBlink : public ReviewPage {
    Q_OBJECT
public:
    ShowUserBlink();

    void Image2_Click() override; // BACK
    void Image3_Click() override; // NEXT

protected:
    const ImageWorkspace *FrameWorkspace(int n) const override;
};
