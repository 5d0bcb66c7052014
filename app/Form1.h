#pragma once
// The layer controller: never shown. Its options hold the layer being placed
// on the canvas, and DrawPic and DrawOutline redraw the canvas. It also
// carries the older scene editor: layer boxes, dialog buttons, an arrow pad
// and the New, Load and Save Scene commands, whose work lies in legacy/.

#include "core/scene/SceneState.h"
#include "platform/CommonDialog.h"
#include "platform/Form.h"

#include <array>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
struct LegacyMove;

class Form1 : public Form {
    Q_OBJECT
public:
    Form1();

    // One option per canvas layer, in CanvasLayer order; one group.
    QRadioButton *Option1, *Option2, *Option3, *Option4, *Option5, *Option6, *Option7;
    QCheckBox *Check1; // "Show/Hide Image"
    QCheckBox *Check7; // "Show Alternate Image" of the older scene editor
    QLabel *Label8;    // "Show Alternate Image", beside Check7
    QLabel *Label12;   // "Current Image:", beside Text3
    QLineEdit *Text3;  // the current layer's file name

    // The older scene editor.
    QCheckBox *Check2;  // "User Mouth"
    QCheckBox *Check3;  // "Extra Anim"
    QCheckBox *Check4;  // "User Blink"
    QCheckBox *Check5;  // "Velm Blink"
    QCheckBox *Check11; // "Trigger Anim"
    QCheckBox *Check6;  // "Alternate BG"
    QCheckBox *Check8;  // "Child Anim"
    QCheckBox *Check9;  // "Full BG Anim"
    QPushButton *Command1;  // "ALTERNATE IMAGE"
    QPushButton *Command2;  // "SOUNDS"
    QPushButton *Command16; // "EXTRA ANIMATION PROPERTIES"
    QPushButton *Command17; // "CHILD ANIMATION PROPERTIES"
    QPushButton *Command19; // "FULL BG ANIMATION PROPERTIES"
    QPushButton *Command20; // "TRIGGER ANIMATION PROPERTIES"
    QPushButton *Command12; // "HELP"
    QPushButton *Command15; // "New Scene..."
    QPushButton *Command11; // "Load Scene..."
    QPushButton *Command10; // "Save Scene..."
    // Clear click areas over the painted arrow pad: right, left, up, down.
    QPushButton *Image2, *Image3, *Image4, *Image5;
    QLabel *Label13; // the editor's version
    CommonDialog cdl{"Form1"}; // the file dialog of every command of the editor

    // The background, then the selected layer at its place.
    void DrawPic();
    // Inverts the border of the selected layer's box; twice restores the canvas.
    void DrawOutline();

    QRadioButton *LayerOption(CanvasLayer layer) const { return m_options[layer]; }
    bool LayerSelected(CanvasLayer layer) const;

    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();
    void Option5_Click();
    void Check1_Click();

    // Layer boxes, the alternate background and the dialogs.
    void Check2_Click();
    void Check3_Click();
    void Check4_Click();
    void Check5_Click();
    void Check11_Click();
    void Check6_Click();
    void Check7_Click();
    void Command1_Click();
    void Command2_Click();
    void Command16_Click();
    void Command17_Click();
    void Command19_Click();
    void Command20_Click();
    void Command12_Click();
    // The arrow pad: one unit right, left, up, down.
    void Image2_Click();
    void Image3_Click();
    void Image4_Click();
    void Image5_Click();
    // Scene commands.
    void Command10_Click();
    void Command11_Click();
    void Command15_Click();

    // Operations that no control of the window is bound to.
    void Command3_Click();  // picks the main blink's picture
    void Command4_Click();  // the user mouth's
    void Command5_Click();  // the user blink's
    void Command13_Click(); // the extra animation's
    void Command14_Click(); // picks the alternate picture's name
    void Command6_Click();  // coarse moves: up 1
    void Command7_Click();  // down 1
    void Command8_Click();  // left 20
    void Command9_Click();  // right 10
    // A drag of the current layer, in canvas units.
    void PicBox_MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, double x, double y);
    void PicBox_MouseMove(Qt::MouseButtons Button, Qt::KeyboardModifiers Shift, double x, double y);
    void PicBox_MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, double x, double y);
    void ShowLayerImage();
    void OptionB1_Click();

protected:
    void Form_Load() override;

private:
    void buildEditor();
    void layerBoxClick(QCheckBox *box, CanvasLayer layer);
    void moveCurrentLayer(const LegacyMove &move);
    void pickLayerPicture(CanvasLayer layer, Value SceneState::*fileName);
    // The selected layer among the first `count`, if any.
    std::optional<CanvasLayer> currentLayer(int count) const;

    std::array<QRadioButton *, CanvasLayerCount> m_options{};
    QButtonGroup *m_layerGroup = nullptr;
};
