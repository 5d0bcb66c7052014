#include "scene/ChildAnimLoad.h"

#include "core/scene/FrameSetFiles.h"
#include "core/scene/SceneDocument.h"
#include "app/Help.h"
#include "scene/ChildAnimProps.h"
#include "scene/DialogControls.h"
#include "scene/FramePicks.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

ChildAnimLoad::ChildAnimLoad()
{
    SetCaption(QStringLiteral("Automatic Cropper Loader"));
    SetClientTwips(6750, 4065);

    makeText(this, QStringLiteral("Please Load First Frame of Child Animation for Autoctop"), 60, 150, 6240, 420,
             true);
    makeText(this, QStringLiteral("Number of Child Frames:"), 600, 795, 2385, 270)->setAlignment(Qt::AlignRight);
    // The count and the last frame get room for any 16-bit number.
    Label4 = makeNumberLabel(this, "Label4", QString(), QStringLiteral("Number of Child Frames:"),
                             3045, 795, 1200, 270);
    bindLabel(Label4, sceneDocument().dialogs().child.frames);
    Image1 = makeButton(this, "Image1", QStringLiteral("Child Anim Properties"), 4440, 645, 2085, 645);

    makeText(this,
             QStringLiteral("Load first frame of Child Animation. Use #### convention. ie: Child-0001.bmp . If your "
                            "first frame starts at 16, for example, load frame 16. ie: Child-0016.bmp"),
             240, 1500, 4300, 1100);
    Image2 = makeButton(this, "Image2", QStringLiteral("LOAD..."), 4695, 1785, 1335, 630);
    Text1 = makeNameBox(this, "Text1", QStringLiteral("First frame"), 1515, 2685, 3150, 330);

    makeText(this, QStringLiteral("First Frame:"), 120, 3405, 1335, 270)->setAlignment(Qt::AlignRight);
    Label6 = makeNumberLabel(this, "Label6", QString(), QStringLiteral("First Frame:"), 1515, 3405, 495, 270);
    makeText(this, QStringLiteral("Last Frame:"), 2100, 3405, 1230, 270)->setAlignment(Qt::AlignRight);
    Label9 = makeNumberLabel(this, "Label9", QString(), QStringLiteral("Last Frame:"), 3390, 3405, 1200, 270);

    Image3 = makeButton(this, "Image3", QStringLiteral("OK"), 5745, 3225, 960, 645);
    Image4 = makeButton(this, "Image4", QStringLiteral("?"), 6360, 105, 360, 345);

    connect(Image1, &QPushButton::clicked, this, &ChildAnimLoad::Image1_Click);
    connect(Image2, &QPushButton::clicked, this, &ChildAnimLoad::Image2_Click);
    connect(Image3, &QPushButton::clicked, this, &ChildAnimLoad::Image3_Click);
    connect(Image4, &QPushButton::clicked, this, &ChildAnimLoad::Image4_Click);
}

bool ChildAnimLoad::FileExists(const QString &path) const
{
    return frameFileExists(path);
}

void ChildAnimLoad::Image1_Click()
{
    form<ChildAnimProps>().Show();
}

void ChildAnimLoad::Image2_Click()
{
    // Any count that reads as a number will do, even one below 2.
    const auto pick = pickFrameSet(cdl, sceneDocument().dialogs().child.frames, std::nullopt);
    if (!pick)
        return;
    sceneDocument().editState([&](SceneState &s) {
        recordFrameNames(s.ChildFrameSet, *pick);
        recordFrameNumbers(s.ChildFrameSet, *pick, false);
    });
    showFrameSetPick(*pick, Text1, Label6, QString::number(pick->series.first), Label9, Text1);
}

void ChildAnimLoad::Image3_Click()
{
    Hide();
}

void ChildAnimLoad::Image4_Click()
{
    OpenHelpPage(QStringLiteral("Docs\\ChildAnimLoad.html"));
}
