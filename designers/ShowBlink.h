#pragma once
// Review of the main character's blink crops.

#include "designers/ReviewPage.h"

class ShowBlink : public ReviewPage {
    Q_OBJECT
public:
    ShowBlink();

    void Image2_Click() override; // BACK
    void Image3_Click() override; // NEXT

protected:
    const ImageWorkspace *FrameWorkspace(int n) const override;
};
