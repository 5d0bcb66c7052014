#include "scene/AltImageLoad.h"

#include "core/scene/FrameSetFiles.h"
#include "core/scene/PickedFile.h"
#include "core/scene/SceneDocument.h"
#include "app/Help.h"
#include "platform/WindowServices.h"
#include "scene/DialogControls.h"
#include "scene/FramePicks.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

AltImageLoad::AltImageLoad()
{
    SetCaption(QStringLiteral("Alternate Image Load"));
    SetClientTwips(5475, 1995);

    makeText(this, QStringLiteral("Please Load your Alternate Background"), 120, 150, 4700, 420, true);
    Image1 = makeButton(this, "Image1", QStringLiteral("LOAD..."), 75, 795, 1320, 495);
    Text3 = makeNameBox(this, "Text3", QStringLiteral("Alternate background picture"), 1575, 870, 3135, 300);
    Option1 = makeOption(this, "Option1", QStringLiteral("Option1"), QStringLiteral("Love"), 30, 1650, 210, 180, 585);
    Option2 = makeOption(this, "Option2", QStringLiteral("Option1"), QStringLiteral("Ego"), 885, 1650, 210, 180, 585);
    Option3 = makeOption(this, "Option3", QStringLiteral("Option1"), QStringLiteral("Libido"), 1635, 1650, 210, 195,
                         780);
    Option4 = makeOption(this, "Option4", QStringLiteral("Option1"), QStringLiteral("User"), 2685, 1650, 210, 195,
                         780);
    Image2 = makeButton(this, "Image2", QStringLiteral("OK"), 4575, 1425, 825, 495);
    Image3 = makeButton(this, "Image3", QStringLiteral("?"), 4935, 90, 360, 330);
    // The path box takes the focus first, so no trigger type is chosen for the user.
    setTabOrder(Text3, Image1);

    connect(Image1, &QPushButton::clicked, this, &AltImageLoad::Image1_Click);
    connect(Image2, &QPushButton::clicked, this, &AltImageLoad::Image2_Click);
    connect(Image3, &QPushButton::clicked, this, &AltImageLoad::Image3_Click);
}

void AltImageLoad::Form_Load()
{
    // Shown again after a close: the picture's own path, wherever it lies.
    const SceneState &s = sceneDocument().state();
    if (!s.AltImageName.toText().isEmpty())
        Text3->setText(s.AltImagePath.toText());
}

void AltImageLoad::Image1_Click()
{
    const auto picked = choosePickedFile(cdl, imageFilter(), QStringLiteral("Images/"));
    if (!picked)
        return;
    Text3->setText(picked->path);
    sceneDocument().editState([&](SceneState &s) {
        s.AltImagePath = picked->path;
        s.SceneHasAltImage = FlagOn;
        s.AltImageName = picked->name;
    });
}

void AltImageLoad::Image2_Click()
{
    // The trigger type is asked for, though nothing keeps it.
    for (QRadioButton *option : {Option1, Option2, Option3, Option4})
        if (option->isChecked()) {
            Hide();
            return;
        }
    MsgBox(QStringLiteral("Please select a trigger type. Love, Ego, Libido, Or User."));
}

void AltImageLoad::Image3_Click()
{
    OpenHelpPage(QStringLiteral("Docs\\AltImage.html"));
}
