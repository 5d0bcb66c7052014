#pragma once
// Names and saves the scene: the name box, OK and the save's messages. The
// save itself works on the scene document (core/scene/SceneSave.h).

#include "platform/Form.h"

class QLineEdit;
class QPushButton;

class SaveScene : public Form {
    Q_OBJECT
public:
    SaveScene();

    QLineEdit *Text1;     // the scene name
    QPushButton *Image1;  // OK

    void Image1_Click();

protected:
    void Form_Unload(bool &cancel) override;
};

// A new scene starts with an empty name box: New Scene and the wizard's reset
// empty the save window's, when it exists.
void ClearSceneName();
