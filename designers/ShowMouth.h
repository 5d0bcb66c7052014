#pragma once
// Review of the main character's mouth crops.

#include "designers/ReviewPage.h"

class ShowMouth : public ReviewPage {
    Q_OBJECT
public:
    ShowMouth();

    void Image2_Click() override; // BACK
    void Image3_Click() override; // NEXT

protected:
    const ImageWorkspace *FrameWorkspace(int n) const override;
};
