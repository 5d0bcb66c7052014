#include "app/Start.h"

#include "app/Wizard1.h"
#include "core/scene/SceneDocument.h"
#include "core/scene/SceneSave.h"
#include "core/system/Services.h"
#include "library/VelmNShare.h"
#include "platform/WindowServices.h"
#include "scene/SaveScene.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

QString baseFolderFor(const QString &documentsFolder)
{
    QString d = documentsFolder;
    while (d.endsWith(u'/'))
        d.chop(1);
    return d + QStringLiteral("/Velm5Pro/");
}

namespace {

// Makes the base folder's Scenes, Images, Sounds and Data folders where they
// are missing, so that the choosers open in them and the user finds where
// sounds go.
void makeBaseFolders(const QString &documentsFolder, const QString &baseFolder)
{
    // Without a documents folder the base folder hangs from the root of the
    // disk: nothing is made there.
    if (documentsFolder.isEmpty())
        return;
    // A folder that cannot be made is named by the save that needs it.
    for (const char *folder : {"Scenes", "Images", "Sounds", "Data"})
        (void)QDir().mkpath(baseFolder + QLatin1String(folder));
}

} // namespace

Start::Start()
{
    SetCaption(QStringLiteral(" Scenara 5.01"));
    SetClientTwips(3225, 2940);
    setStyleSheet(QStringLiteral("Start { background: #10206a; } QLabel { color: white; }"));

    Image1 = new QPushButton(QStringLiteral("New Scene"), this);
    nameControl(Image1, QStringLiteral("Image1"), QStringLiteral("New Scene"));
    placeTwips(Image1, 300, 240, 2625, 900);

    Image2 = new QPushButton(QStringLiteral("Load Scene"), this);
    nameControl(Image2, QStringLiteral("Image2"), QStringLiteral("Load Scene"));
    placeTwips(Image2, 300, 1260, 2625, 900);

    Notice = new QLabel(QStringLiteral("Closing this window exits the program."), this);
    Notice->setAlignment(Qt::AlignCenter);
    Notice->setWordWrap(true);
    nameControl(Notice, QStringLiteral("Notice"));
    placeTwips(Notice, 150, 2280, 2925, 540);

    connect(Image1, &QPushButton::clicked, this, &Start::Image1_Click);
    connect(Image2, &QPushButton::clicked, this, &Start::Image2_Click);
}

void Start::Form_Load()
{
    sceneDocument().editState([](SceneState &s) {
        s.BaseFolder = baseFolderFor(services().environment->documentsFolder());
        QString work = s.BaseFolder;
        if (!work.isEmpty() && !work.endsWith(u'/'))
            work += u'/';
        s.WorkFolder = work;
        s.ExtraFrameSet.CurrentFrame = Value::integer(1);
        s.ExtraHasAlpha = FlagOff;
    });
    makeBaseFolders(services().environment->documentsFolder(), scene().BaseFolder);
    // A save cut off by a crash or a power cut is made whole before any window
    // reads the scenes. What cannot be is said once, naming the files left.
    if (const auto recovered = recoverSaves(scene().BaseFolder); !recovered)
        MsgBox(recovered.error, MsgButtons::Ok, programTitle(), MsgIcon::Exclamation);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void Start::Image1_Click()
{
    ClearSceneName();
    form<Wizard1>().Show();
    sceneDocument().offerChildAutoCrop();
}

void Start::Image2_Click()
{
    form<VelmNShare>().Show();
}

void Start::Form_Unload(bool &cancel)
{
    // Closing the launcher ends the program at once; no other window unloads.
    Q_UNUSED(cancel);
    QCoreApplication::quit();
}
