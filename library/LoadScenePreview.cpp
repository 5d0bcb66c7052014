// The preview loader: turns the clicked scene's file into the live preview.
// Its steps: clear the last scene's file names, reset, read the scene file,
// the background and alternate image, every layer section in table order,
// and the "Trigger Anim" box.

#include "library/VelmNShare.h"

#include "core/scene/SceneState.h"
#include "core/base/Files.h"
#include "core/base/Numbers.h"
#include "core/base/Text1252.h"
#include "platform/PictureBox.h"
#include "core/scene/SceneFileText.h"
#include "platform/WindowServices.h"
#include "core/system/Timer.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {
// Widget coordinates stay within what Qt's geometry holds.
constexpr int MaxCoordinate = QWIDGETSIZE_MAX;

int widgetCoordinate(float v, int low)
{
    return int(roundHalfEven(std::clamp<double>(v, low, MaxCoordinate)));
}
}

PreviewLoad::PreviewLoad(VelmNShare &window, const QString &sceneText, const QString &imagesFolder)
    : window(window), text(sceneText), imagesFolder(imagesFolder), images(imagesFolder),
      budget(largestPreviewFrame(window.MainPic->size()), PreviewBudgetBytes, PreviewFileBudgetBytes)
{
}

std::optional<double> PreviewLoad::ratio() const
{
    return PreviewRatio(window.MainPic->width(), locals.backgroundWidth);
}

LayerFrames PreviewLoad::loadFrames(const QStringList &names, std::optional<QSize> sizeFrom, int composed)
{
    LayerFrames frames = loadLayerFrames(window.Xpress1, images, names, ratio(), budget, sizeFrom, composed);
    if (frames.loaded && !sizeFrom)
        locals.firstFrame = frames.firstSize;
    return frames;
}

LayerFrames PreviewLoad::loadHeldFrames(const QStringList &names, std::optional<QSize> sizeFrom)
{
    LayerFrames frames = ::loadHeldFrames(window.Xpress1, images, names, ratio(), budget, sizeFrom);
    if (frames.loaded && !sizeFrom)
        locals.firstFrame = frames.firstSize;
    return frames;
}

void PreviewLoad::placeLayer(PictureBox *box, const LayerFrames &frames) const
{
    const BoxPlace place = PlacePreviewLayer(frames.firstHimetric, locals, ratio(), window.MainPic->pos());
    QRect g = box->geometry();
    if (place.width)
        g.setWidth(widgetCoordinate(*place.width, 0));
    if (place.height)
        g.setHeight(widgetCoordinate(*place.height, 0));
    if (place.left)
        g.moveLeft(widgetCoordinate(*place.left, -MaxCoordinate));
    if (place.top)
        g.moveTop(widgetCoordinate(*place.top, -MaxCoordinate));
    box->setGeometry(g);
    if (!frames.frames.isEmpty())
        box->SetPicture(frames.frames.first());
}

LayerFrames PreviewLoad::LoadListFrames(const QStringList &names, ImageList &list, const QString &key,
                                        PictureBox *box, int firstEntry, std::optional<QSize> sizeFrom,
                                        int composed)
{
    LayerFrames frames = loadFrames(names, sizeFrom, composed);
    if (!frames.loaded)
        return frames;
    if (box)
        placeLayer(box, frames);
    for (int n = 1; n <= frames.frames.size(); ++n)
        if (!list.Add(firstEntry - 1 + n, n == 1 ? key : QString(), frames.frames[n - 1]))
            break;
    return frames;
}

QList<QImage> VelmNShare::HeldPictures() const
{
    DistinctPictures held;
    for (const ImageList *list : {&ImageList1, &ImageList2, &ImageList3, &ImageList4, &ImageList8, &ImageList9,
                                  &ImageList10, &ImageList11, &ImageList12, &ImageList13, &ImageList14})
        list->HeldPictures(held);
    for (const PictureBox *box : {MainPic, VelmMouth, VelmBlink, UserMouth, UserBlink, MiscPic, TriggerPic})
        held.add(box->Picture());
    for (const QImage *picture : {&Xpress1.Picture(), &BackgroundPicture, &AlternatePicture})
        held.add(*picture);
    return held.pictures();
}

void VelmNShare::resetPreview()
{
    HasNudy = false;
    MainAnimState = QStringLiteral("Open");
    Timer5->SetEnabled(false);
    Timer6->SetEnabled(false);
    Timer13->SetEnabled(false);
    HasTrigger = false;
    for (PictureBox *box : {VelmMouth, UserMouth, VelmBlink, UserBlink, MiscPic, TriggerPic})
        box->hide();
    for (const auto &section : Sections)
        section->reset(*this);
}

void VelmNShare::LoadScenePreview()
{
    // No share carries the previous scene's files, whichever list the click came from.
    ClearFilenames();
    resetPreview();

    const SceneState &s = scene();
    const QString scenes = joinPath(s.BaseFolder, QStringLiteral("/Scenes/"));
    const QString fileName = SelectScene + QStringLiteral(".scn");
    SelectSceneFull = isBareName(SelectScene) ? findFileIgnoringCase(scenes, fileName) : scenes + fileName;

    QString text;
    if (!isBareName(SelectScene) || !QFileInfo::exists(SelectSceneFull)) {
        MsgBox(QStringLiteral("Can't find ") + SelectSceneFull);
    } else {
        const FileRead read = readFile(SelectSceneFull, SceneFileMaxSize);
        if (read)
            text = fromWindows1252(read.value);
        else
            MsgBox(read.error);
    }

    PreviewLoad load(*this, text, joinPath(s.BaseFolder, QStringLiteral("/Images/")));
    // The screen's twips per pixel over 15 would undo a HIMETRIC size taken at
    // the screen's density; HimetricSize takes it at 96 dpi on every screen, so
    // the factor is 1 and a box covers the logical pixels its frame covers.
    load.locals.xFactor = 1;
    load.locals.yFactor = 1;

    showBackground(load);
    for (const auto &section : Sections)
        section->load(load);

    Check1->setEnabled(!NudyFilename.isEmpty() || HasTrigger);
}

void VelmNShare::showBackground(PreviewLoad &load)
{
    // The share names the background as the scene gives it, also a name the
    // preview takes for none (a path).
    if (const KeyValue given = SceneKeyValue(load.text, QStringLiteral("BG=")); !given.value.isEmpty())
        SceneBackgroundFile = backgroundPictureName(given.value) + QStringLiteral(".jpg");
    const BackgroundKeys keys = readBackgroundKeys(load.text);
    if (keys.background.present) {
        const QString name = backgroundPictureName(keys.background.value);
        const QString file = name + QStringLiteral(".jpg");
        // A background that cannot be loaded counts as none.
        if (loadPreviewPicture(Xpress1, load.images, file)) {
            load.locals.backgroundWidth = Xpress1.ImageWidth();
            if (Xpress1.ResizeImage(MainPic->width(), MainPic->height())
                && load.budget.take(pictureBytes(MainPic->size()))) {
                MainPicName = name;
                MainPicFileName = file;
                MainPic->SetPicture(Xpress1.Picture());
            } else {
                load.locals.backgroundWidth = 0;
            }
        }
    }
    if (keys.alternate.present) {
        NudyFilename = keys.alternate.value;
        HasNudy = true;
    }
}
