#pragma once
// The scene library window: lists the user's scenes and every scene file,
// previews and shares them.

#include "platform/Form.h"

class VelmNShare : public Form {
    Q_OBJECT
public:
    VelmNShare();

protected:
    void Form_Load() override;
};
