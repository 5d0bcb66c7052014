#pragma once
// Names and saves the scene.

#include "platform/Form.h"


class SaveScene : public Form {
    Q_OBJECT
public:
    SaveScene();

protected:
    void Form_Unload(bool &cancel) override;
};
