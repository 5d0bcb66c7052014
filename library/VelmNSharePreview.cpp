// The library window's preview: a click on a scene loads it into the player,
// and each preview box paints what the player's box of its name reports. The
// "Trigger Anim" box and the frame stepper's buttons reach the player here.

#include "library/VelmNShare.h"

#include "core/pictures/ImageList.h"
#include "platform/WindowServices.h"
#include "platform/Controls.h"
#include "platform/PictureBox.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

void VelmNShare::connectPlayer()
{
    const std::pair<PreviewBox *, PictureBox *> boxes[] = {
        {Player->MainPic, MainPic},     {Player->VelmMouth, VelmMouth}, {Player->VelmBlink, VelmBlink},
        {Player->UserMouth, UserMouth}, {Player->UserBlink, UserBlink}, {Player->MiscPic, MiscPic},
        {Player->TriggerPic, TriggerPic},
    };
    for (const auto &pair : boxes) {
        // Named copies: a lambda may not capture a structured binding in clang before 16.
        PreviewBox *shown = pair.first;
        PictureBox *box = pair.second;
        connect(shown, &PreviewBox::pictureChanged, box, [shown, box] { box->SetPicture(shown->Picture()); });
        connect(shown, &PreviewBox::placeChanged, box, [shown, box] { box->setGeometry(shown->geometry()); });
        connect(shown, &PreviewBox::shownChanged, box, [shown, box] { box->setVisible(shown->isShown()); });
    }
    onCheckClick(Check1, this, &VelmNShare::Check1_Click);
    connect(Command1, &QPushButton::clicked, this, &VelmNShare::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &VelmNShare::Command2_Click);
}

void VelmNShare::LoadScenePreview()
{
    const PreviewOpened opened = Player->readScene(SelectScene);
    SelectSceneFull = opened.sceneFile;
    if (!opened.message.isEmpty())
        MsgBox(opened.message);
    Player->showScene(opened);
    Check1->setEnabled(Player->triggerEnabled());
}

void VelmNShare::Check1_Click()
{
    Player->Check1_Click(checkValue(Check1));
}

void VelmNShare::Command1_Click()
{
    Player->Command1_Click();
    TextB1->setText(QString::number(Player->ImageNum));
}

void VelmNShare::Command2_Click()
{
    Player->Command2_Click();
    TextB1->setText(QString::number(Player->ImageNum));
}

QList<QImage> VelmNShare::HeldPictures() const
{
    DistinctPictures held;
    for (const QImage &picture : Player->HeldPictures())
        held.add(picture);
    for (const PictureBox *box : {MainPic, VelmMouth, VelmBlink, UserMouth, UserBlink, MiscPic, TriggerPic})
        held.add(box->Picture());
    held.add(Xpress1.Picture());
    return held.pictures();
}
