// The dialogs and the designers on the scene document: what the user sets
// goes into it, what the document is given shows in the controls, and a window
// closed from its window box takes its values with it, as its controls did.

#include "core/scene/SceneDocument.h"
#include "designers/frmFormDesignE.h"
#include "platform/Controls.h"
#include "scene/ExtraAnimProps.h"
#include "scene/FullAnimProps.h"
#include "scene/Sound.h"
#include "tests/scene/DialogFixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {

class DialogDocumentTest : public DialogTest {};

TEST_F(DialogDocumentTest, TypedValuesGoIntoTheDocumentAndItsValuesShow)
{
    ExtraAnimProps &extra = form<ExtraAnimProps>();
    extra.Show();
    SceneSettings::Extra &values = sceneDocument().dialogs().extra;
    EXPECT_EQ(values.speed, QStringLiteral("100"));
    type(extra.Text5, QStringLiteral("85"));
    EXPECT_EQ(values.speed, QStringLiteral("85"));
    click(extra.Option2);
    EXPECT_TRUE(values.pong);
    EXPECT_FALSE(values.loop);

    // Given to the document (as the older editor's load gives it), shown in the box and the options.
    values.frames = QStringLiteral("9");
    values.loop = true;
    values.pong = false;
    sceneDocument().noteChanged();
    EXPECT_EQ(extra.Text2->text(), QStringLiteral("9"));
    EXPECT_EQ(extra.Label12->text(), QStringLiteral("9")); // the box's own step ran
    EXPECT_TRUE(extra.Option1->isChecked());
    EXPECT_FALSE(extra.Option2->isChecked());

    // A grey box is not ticked and stays grey.
    FullAnimProps &full = form<FullAnimProps>();
    setCheckValue(full.Check1, 2);
    EXPECT_FALSE(sceneDocument().dialogs().fullAnim.pauseForTalk);
    sceneDocument().noteChanged();
    EXPECT_EQ(checkValue(full.Check1), 2);
    click(form<Sound>().Check1);
    EXPECT_TRUE(sceneDocument().dialogs().sounds.sound1Loop);

    // Closed from the window box, the dialog comes back with its start values.
    closeFromWindowBox(extra);
    EXPECT_EQ(values.speed, QStringLiteral("100"));
    EXPECT_EQ(values.frames, QStringLiteral("1"));
    EXPECT_EQ(form<ExtraAnimProps>().Text5->text(), QStringLiteral("100"));
}

TEST_F(DialogDocumentTest, ADesignersRectangleIsTheDocumentsUntilTheWindowGoes)
{
    frmFormDesignE &designer = form<frmFormDesignE>();
    EXPECT_EQ(sceneDocument().cropTwips(LayerExtraAnim), startingCropTwips(LayerExtraAnim));
    placeTwips(designer.Shape1, 1500, 750, 1515, 1515);
    EXPECT_EQ(CropRectToPixels(sceneDocument().cropTwips(LayerExtraAnim)), designer.CropBox());
    EXPECT_EQ(designer.CropBox(), (PixelCrop{100, 50, 100, 100}));
    designer.Show();
    closeFromWindowBox(designer);
    EXPECT_EQ(sceneDocument().cropTwips(LayerExtraAnim), startingCropTwips(LayerExtraAnim));
    EXPECT_EQ(form<frmFormDesignE>().CropBox(), CropRectToPixels(startingCropTwips(LayerExtraAnim)));
}

} // namespace
