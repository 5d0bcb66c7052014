#pragma once
// Review of the user character's mouth crops.

#include "designers/ReviewPage.h"

class ShowUserMouth : public ReviewPage {
    Q_OBJECT
public:
    ShowUserMouth();

    void Image2_Click() override; // BACK
    void Image3_Click() override; // NEXT

protected:
    const ImageWorkspace *FrameWorkspace(int n) const override;
};
