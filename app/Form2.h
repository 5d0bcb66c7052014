#pragma once
// The canvas on which every layer is placed over the background. It works in
// pixels: mouse positions and layer placements are canvas pixels.

#include "core/scene/SceneState.h"
#include "platform/Form.h"

#include <array>

class PictureBox;
class QCheckBox;
class QLabel;
class QPushButton;

class Form2 : public Form {
    Q_OBJECT
public:
    Form2();

    PictureBox *PicBox;        // the visible canvas
    PictureBox *picBackground; // hidden store of the background
    // Hidden stores of the layer pictures, in CanvasLayer order.
    PictureBox *picImage, *picImage2, *picImage3, *picImage4, *picImage5, *picImage6, *picImage7;
    QWidget *Picture1;  // the strip with the instruction, the box and the buttons
    QLabel *Label1;     // the instruction
    QCheckBox *Check1;  // "Show/Hide Image"
    QPushButton *Image1; // NEXT
    QPushButton *Image2; // right
    QPushButton *Image3; // left
    QPushButton *Image4; // up
    QPushButton *Image5; // down

    PictureBox *LayerStore(CanvasLayer layer) const { return m_stores[layer]; }

    void Image1_Click();
    void Image2_Click();
    void Image3_Click();
    void Image4_Click();
    void Image5_Click();
    void Check1_Click();
    void PicBox_MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, double x, double y);
    void PicBox_MouseMove(Qt::MouseButtons Button, Qt::KeyboardModifiers Shift, double x, double y);
    void PicBox_MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, double x, double y);

protected:
    void Form_Unload(bool &cancel) override;

private:
    std::array<PictureBox *, CanvasLayerCount> m_stores{};
};
