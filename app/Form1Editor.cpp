// The older scene editor on the layer controller: its controls and their
// handlers. The rules and the scene commands live in legacy/.

#include "app/Form1.h"

#include "app/Form2.h"
#include "core/legacy/LegacyEditRules.h"
#include "core/scene/PickedFile.h"
#include "core/scene/SceneDocument.h"
#include "app/Help.h"
#include "legacy/LegacySceneCommands.h"
#include "platform/Controls.h"
#include "platform/PictureBox.h"
#include "platform/WindowServices.h"
#include "scene/AltImageLoad.h"
#include "scene/ChildAnimProps.h"
#include "scene/ExtraAnimProps.h"
#include "core/scene/FrameSetFiles.h"
#include "scene/FramePicks.h"
#include "scene/FullAnimProps.h"
#include "scene/Sound.h"
#include "scene/TrigAnimProps.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

QCheckBox *checkBox(Form1 *window, const char *name, const char *caption, double top)
{
    auto *box = new QCheckBox(QString::fromUtf8(caption), window);
    nameControl(box, QString::fromUtf8(name), QString::fromUtf8(caption));
    placeTwips(box, 4920, top, 2400, 300);
    return box;
}

QPushButton *button(Form1 *window, const char *name, const char *caption, double left, double top)
{
    auto *b = new QPushButton(QString::fromUtf8(caption), window);
    nameControl(b, QString::fromUtf8(name), QString::fromUtf8(caption));
    placeTwips(b, left, top, 2880, 420);
    return b;
}

// A clear click area over one arrow painted on the window.
QPushButton *padArea(Form1 *window, const char *name, const QString &arrow, const char *meaning, double left,
                     double top)
{
    auto *painted = new QLabel(arrow, window);
    painted->setAlignment(Qt::AlignCenter);
    placeTwips(painted, left, top, 390, 390);
    auto *area = new QPushButton(window);
    nameControl(area, QString::fromUtf8(name), QString::fromUtf8(meaning));
    area->setFlat(true);
    area->setStyleSheet(QStringLiteral("background: transparent; border: none;"));
    placeTwips(area, left, top, 390, 390);
    return area;
}

} // namespace

void Form1::buildEditor()
{
    Check2 = checkBox(this, "Check2", "User Mouth", 120);
    Check3 = checkBox(this, "Check3", "Extra Anim", 480);
    Check4 = checkBox(this, "Check4", "User Blink", 840);
    Check5 = checkBox(this, "Check5", "Velm Blink", 1200);
    Check11 = checkBox(this, "Check11", "Trigger Anim", 1560);
    Check6 = checkBox(this, "Check6", "Alternate BG", 1920);
    Check8 = checkBox(this, "Check8", "Child Anim", 2280);
    Check9 = checkBox(this, "Check9", "Full BG Anim", 2640);

    Command15 = button(this, "Command15", "New Scene...", 120, 3240);
    Command11 = button(this, "Command11", "Load Scene...", 3060, 3240);
    Command10 = button(this, "Command10", "Save Scene...", 6000, 3240);
    Command1 = button(this, "Command1", "ALTERNATE IMAGE", 120, 3720);
    Command2 = button(this, "Command2", "SOUNDS", 3060, 3720);
    Command16 = button(this, "Command16", "EXTRA ANIMATION PROPERTIES", 6000, 3720);
    Command17 = button(this, "Command17", "CHILD ANIMATION PROPERTIES", 120, 4200);
    Command19 = button(this, "Command19", "FULL BG ANIMATION PROPERTIES", 3060, 4200);
    Command20 = button(this, "Command20", "TRIGGER ANIMATION PROPERTIES", 6000, 4200);
    Command12 = button(this, "Command12", "HELP", 6000, 2760);

    // The pad at the top right: up above, left and right beside "1 pixel", down below.
    Image4 = padArea(this, "Image4", QStringLiteral("\u25B2"), "Up 1 pixel", 8070, 120);
    Image3 = padArea(this, "Image3", QStringLiteral("\u25C0"), "Left 1 pixel", 7680, 510);
    Image2 = padArea(this, "Image2", QStringLiteral("\u25B6"), "Right 1 pixel", 8460, 510);
    Image5 = padArea(this, "Image5", QStringLiteral("\u25BC"), "Down 1 pixel", 8070, 900);
    auto *pixel = new QLabel(QStringLiteral("1\npixel"), this);
    pixel->setAlignment(Qt::AlignCenter);
    placeTwips(pixel, 8070, 510, 390, 390);
    pixel->lower();

    Label13 = new QLabel(QStringLiteral("Scenara 3.21 Beta"), this);
    nameControl(Label13, QStringLiteral("Label13"));
    placeTwips(Label13, 120, 4740, 2880, 255);

    const std::pair<QCheckBox *, void (Form1::*)()> boxes[] = {
        {Check2, &Form1::Check2_Click}, {Check3, &Form1::Check3_Click},   {Check4, &Form1::Check4_Click},
        {Check5, &Form1::Check5_Click}, {Check11, &Form1::Check11_Click}, {Check6, &Form1::Check6_Click},
        {Check7, &Form1::Check7_Click},
    };
    for (const auto &[box, handler] : boxes)
        onCheckClick(box, this, handler);
    const std::pair<QPushButton *, void (Form1::*)()> buttons[] = {
        {Command1, &Form1::Command1_Click},   {Command2, &Form1::Command2_Click},
        {Command16, &Form1::Command16_Click}, {Command17, &Form1::Command17_Click},
        {Command19, &Form1::Command19_Click}, {Command20, &Form1::Command20_Click},
        {Command12, &Form1::Command12_Click}, {Command10, &Form1::Command10_Click},
        {Command11, &Form1::Command11_Click}, {Command15, &Form1::Command15_Click},
        {Image2, &Form1::Image2_Click},       {Image3, &Form1::Image3_Click},
        {Image4, &Form1::Image4_Click},       {Image5, &Form1::Image5_Click},
    };
    for (const auto &[b, handler] : buttons)
        connect(b, &QPushButton::clicked, this, handler);
}

std::optional<CanvasLayer> Form1::currentLayer(int count) const
{
    for (int i = 0; i < count; ++i)
        if (LayerSelected(CanvasLayer(i)))
            return CanvasLayer(i);
    return std::nullopt;
}

// A layer box: ticked, it enables its layer's option and selects it; unticked,
// it disables the option. A greyed box leaves the option as it is. The
// trigger box also clears its option when unticked; the others then show the
// canvas's layer again.
void Form1::layerBoxClick(QCheckBox *box, CanvasLayer layer)
{
    const bool trigger = layer == LayerTriggerAnim;
    QRadioButton *option = m_options[layer];
    if (checkValue(box) == 1) {
        option->setEnabled(true);
        option->setChecked(true);
    }
    if (checkValue(box) == 0) {
        option->setEnabled(false);
        if (trigger && option->isChecked()) {
            // One option of the group can only be cleared with the group's rule off.
            m_layerGroup->setExclusive(false);
            option->setChecked(false);
            m_layerGroup->setExclusive(true);
        }
    }
    if (!trigger) {
        setCheckValue(Check1, 1);
        DrawPic();
    }
}

void Form1::Check2_Click() { layerBoxClick(Check2, LayerUserMouth); }
void Form1::Check3_Click() { layerBoxClick(Check3, LayerExtraAnim); }
void Form1::Check4_Click() { layerBoxClick(Check4, LayerUserBlink); }
void Form1::Check5_Click() { layerBoxClick(Check5, LayerMainBlink); }
void Form1::Check11_Click() { layerBoxClick(Check11, LayerTriggerAnim); }

void Form1::Check6_Click()
{
    const int value = checkValue(Check6);
    if (value != 2)
        Check7->setEnabled(value == 1);
}

void Form1::Check7_Click()
{
    // The folder is the one the last command left in WorkFolder.
    const SceneState &s = scene();
    const int value = checkValue(Check7);
    if (value == 2 || (value == 1 && s.AltImagePath.toText().isEmpty()))
        return;
    const Value &name = value == 1 ? s.AltImageName : s.BackgroundFileName;
    const QString images = s.WorkFolder.toText() + QStringLiteral("Images/");
    if (const FileResult loaded = LoadLegacyPicture(*form<Form2>().picBackground, images, name.toText()); !loaded) {
        MsgBox(loaded.error);
        return;
    }
    DrawPic();
}

void Form1::Command1_Click() { form<AltImageLoad>().Show(); }
void Form1::Command2_Click() { form<Sound>().Show(); }
void Form1::Command16_Click() { form<ExtraAnimProps>().Show(); }
void Form1::Command17_Click() { form<ChildAnimProps>().Show(); }
void Form1::Command19_Click() { form<FullAnimProps>().Show(); }
void Form1::Command20_Click() { form<TrigAnimProps>().Show(); }

void Form1::Command12_Click()
{
    OpenHelpFile(LegacyHelpPath(setWorkFolderFromBase()));
}

void Form1::moveCurrentLayer(const LegacyMove &move)
{
    sceneDocument().editState(
        [&](SceneState &s) { MoveLegacyLayer(s, currentLayer(CanvasLayerCount), move); });
    DrawPic();
}

void Form1::Image2_Click() { moveCurrentLayer(LegacyPadRight); }
void Form1::Image3_Click() { moveCurrentLayer(LegacyPadLeft); }
void Form1::Image4_Click() { moveCurrentLayer(LegacyPadUp); }
void Form1::Image5_Click() { moveCurrentLayer(LegacyPadDown); }
void Form1::Command6_Click() { moveCurrentLayer(LegacyCoarseUp); }
void Form1::Command7_Click() { moveCurrentLayer(LegacyCoarseDown); }
void Form1::Command8_Click() { moveCurrentLayer(LegacyCoarseLeft); }
void Form1::Command9_Click() { moveCurrentLayer(LegacyCoarseRight); }

void Form1::Command10_Click() { SaveLegacyScene(*this); }
void Form1::Command11_Click() { LoadLegacyScene(*this); }
void Form1::Command15_Click() { NewLegacyScene(*this); }

void Form1::pickLayerPicture(CanvasLayer layer, Value SceneState::*fileName)
{
    const auto pick = choosePickedFile(cdl, imageFilter(), QStringLiteral("Images"));
    if (!pick)
        return;
    Form2 &canvasWindow = form<Form2>();
    PictureBox &store = *canvasWindow.LayerStore(layer);
    if (const FileResult loaded = LoadLegacyPicture(store, pick->folder, pick->name); !loaded) {
        MsgBox(loaded.error);
        return;
    }
    // The canvas counts in the scene's unit, also a canvas made again since
    // the scene was loaded.
    ShowCanvasUnit(canvasWindow);
    const PictureBox &canvas = *canvasWindow.PicBox;
    sceneDocument().editState([&](SceneState &s) {
        // The size in whole pixels, in the scene's unit.
        LayerPlacement &placement = s.LayerPlacements[layer];
        LayerWholeSizeFromPicture(placement, store.Picture());
        if (s.LegacyCanvasUnit == CanvasUnit::Twips) {
            placement.LayerHeight = Value::real(canvas.UnitsY(placement.LayerHeight.toDouble()));
            placement.LayerWidth = Value::real(canvas.UnitsX(placement.LayerWidth.toDouble()));
        }
        notePickedFile(s, *pick);
        s.*fileName = s.PickedName;
    });
    m_options[layer]->setChecked(true);
    Text3->setText((scene().*fileName).toText());
    DrawPic();
}

void Form1::Command3_Click() { pickLayerPicture(LayerMainBlink, &SceneState::MainBlinkFileName); }
void Form1::Command4_Click() { pickLayerPicture(LayerUserMouth, &SceneState::UserMouthFileName); }
void Form1::Command5_Click() { pickLayerPicture(LayerUserBlink, &SceneState::UserBlinkFileName); }
void Form1::Command13_Click() { pickLayerPicture(LayerExtraAnim, &SceneState::ExtraFileName); }

void Form1::Command14_Click()
{
    const auto pick = choosePickedFile(cdl, imageFilter(), QStringLiteral("Images"));
    if (!pick)
        return;
    sceneDocument().editState([&](SceneState &s) {
        notePickedFile(s, *pick);
        s.AltImageName = s.PickedName;
    });
}

void Form1::PicBox_MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, double x, double y)
{
    const auto layer = currentLayer(LegacyLastDragLayer + 1);
    if (checkValue(Check1) == 0 || !layer)
        return;
    sceneDocument().editState([&](SceneState &s) {
        s.LayerGrabOffsets[*layer].LayerGrabX = Value::real(s.LayerPlacements[*layer].LayerX.toDouble() - x);
        s.LayerGrabOffsets[*layer].LayerGrabY = Value::real(s.LayerPlacements[*layer].LayerY.toDouble() - y);
        // This editor has no outline mode: every step of the drag redraws the picture.
        s.DragShowsOutline = FlagOff;
        s.IsDragging = FlagOn;
    });
}

void Form1::PicBox_MouseMove(Qt::MouseButtons, Qt::KeyboardModifiers, double x, double y)
{
    if (scene().IsDragging == FlagOff)
        return;
    if (const auto layer = currentLayer(LegacyLastDragLayer + 1))
        sceneDocument().editState([&](SceneState &s) {
            DragLayerTo(s.LayerPlacements[*layer], s.LayerGrabOffsets[*layer], x, y, std::nullopt);
        });
    DrawPic();
}

void Form1::PicBox_MouseUp(Qt::MouseButton, Qt::KeyboardModifiers, double, double)
{
    sceneDocument().editState([](SceneState &s) { s.IsDragging = FlagOff; });
}

void Form1::ShowLayerImage()
{
    setCheckValue(Check1, 1);
    DrawPic();
}

void Form1::OptionB1_Click() {}
