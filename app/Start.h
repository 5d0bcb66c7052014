#pragma once
// The launcher: the first and last window of the program.

#include "platform/Form.h"

class QPushButton;
class QLabel;

class Start : public Form {
    Q_OBJECT
public:
    Start();

    QPushButton *Image1; // New Scene
    QPushButton *Image2; // Load Scene
    QLabel *Notice;

    void Image1_Click();
    void Image2_Click();

protected:
    void Form_Load() override;
    void Form_Unload(bool &cancel) override;
};

// The documents folder's path followed by "/Velm5Pro/"; "/Velm5Pro/" when there
// is no documents folder.
QString baseFolderFor(const QString &documentsFolder);
