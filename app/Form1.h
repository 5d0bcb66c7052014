#pragma once
// The layer controller: never shown. Its options hold the layer being placed
// on the canvas, and DrawPic and DrawOutline redraw the canvas.

#include "app/SceneState.h"
#include "platform/Form.h"

#include <array>

class QCheckBox;
class QLineEdit;
class QRadioButton;

class Form1 : public Form {
    Q_OBJECT
public:
    Form1();

    // One option per canvas layer, in CanvasLayer order; one group.
    QRadioButton *Option1, *Option2, *Option3, *Option4, *Option5, *Option6, *Option7;
    QCheckBox *Check1; // "Show/Hide Image"
    QCheckBox *Check7; // "Show Alternate Image" of the older scene editor
    QLineEdit *Text3;  // the current layer's file name

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

protected:
    void Form_Load() override;

private:
    std::array<QRadioButton *, CanvasLayerCount> m_options{};
};
