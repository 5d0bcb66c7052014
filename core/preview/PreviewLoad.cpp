// The preview loader: turns a scene's file into the playing preview. Its
// steps: reset what the last scene left running, read the scene file, show
// the background and note the alternate image, then every layer section in
// table order.

#include "core/preview/PreviewPlayer.h"

#include "core/base/Files.h"
#include "core/base/Numbers.h"
#include "core/base/Text1252.h"
#include "core/scene/SceneFileText.h"
#include "core/scene/SceneDocument.h"
#include "core/system/Timer.h"

#include <QFileInfo>

#include <algorithm>

namespace {

// Box coordinates stay within what a window's geometry holds (Qt's largest
// widget size).
constexpr int MaxCoordinate = (1 << 24) - 1;

int widgetCoordinate(float v, int low)
{
    return int(roundHalfEven(std::clamp<double>(v, low, MaxCoordinate)));
}

} // namespace

PreviewLoad::PreviewLoad(PreviewPlayer &player, const QString &sceneText, const QString &imagesFolder)
    : player(player), text(sceneText), imagesFolder(imagesFolder), images(imagesFolder),
      budget(largestPreviewFrame(player.MainPic->size()), PreviewBudgetBytes, PreviewFileBudgetBytes)
{
}

std::optional<double> PreviewLoad::ratio() const
{
    return PreviewRatio(player.MainPic->width(), locals.backgroundWidth);
}

LayerFrames PreviewLoad::loadFrames(const QStringList &names, std::optional<QSize> sizeFrom, int composed)
{
    LayerFrames frames = loadLayerFrames(player.Xpress1, images, names, ratio(), budget, sizeFrom, composed);
    if (frames.loaded && !sizeFrom)
        locals.firstFrame = frames.firstSize;
    return frames;
}

LayerFrames PreviewLoad::loadHeldFrames(const QStringList &names, std::optional<QSize> sizeFrom)
{
    LayerFrames frames = ::loadHeldFrames(player.Xpress1, images, names, ratio(), budget, sizeFrom);
    if (frames.loaded && !sizeFrom)
        locals.firstFrame = frames.firstSize;
    return frames;
}

void PreviewLoad::placeLayer(PreviewBox *box, const LayerFrames &frames) const
{
    const BoxPlace place = PlacePreviewLayer(frames.firstHimetric, locals, ratio(), player.MainPic->pos());
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
                                        PreviewBox *box, int firstEntry, std::optional<QSize> sizeFrom,
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

QList<QImage> PreviewPlayer::HeldPictures() const
{
    DistinctPictures held;
    for (const ImageList *list : {&ImageList1, &ImageList2, &ImageList3, &ImageList4, &ImageList8, &ImageList9,
                                  &ImageList10, &ImageList11, &ImageList12, &ImageList13, &ImageList14})
        list->HeldPictures(held);
    for (const PreviewBox *box : boxes())
        held.add(box->Picture());
    for (const QImage *picture : {&Xpress1.Picture(), &BackgroundPicture, &AlternatePicture})
        held.add(*picture);
    return held.pictures();
}

void PreviewPlayer::ClearFilenames()
{
    SceneFileLists &f = sceneDocument().state().Files;
    for (QStringList *list : {&f.MainMouthFrameFiles, &f.MainBlinkFrameFiles, &f.UserMouthFrameFiles,
                              &f.UserBlinkFrameFiles, &f.SmileFrameFiles, &f.BrowFrameFiles, &f.ExtraFrameFiles,
                              &f.ChildFrameFiles, &f.FullAnimFrameFiles, &f.TriggerFrameFiles, &f.SoundFiles})
        std::fill(list->begin(), list->end(), QString());
    NudyFilename.clear();
    MainPicName.clear();
    MainPicFileName.clear();
    SceneBackgroundFile.clear();
}

void PreviewPlayer::stop()
{
    for (const auto &section : Sections)
        section->reset(*this);
}

void PreviewPlayer::reset()
{
    HasNudy = false;
    Timer5->SetEnabled(false);
    Timer6->SetEnabled(false);
    Timer13->SetEnabled(false);
    HasTrigger = false;
    for (PreviewBox *box : {VelmMouth, UserMouth, VelmBlink, UserBlink, MiscPic, TriggerPic})
        box->hide();
    stop();
}

PreviewOpened PreviewPlayer::load(const QString &name)
{
    const PreviewOpened opened = readScene(name);
    showScene(opened);
    return opened;
}

PreviewOpened PreviewPlayer::readScene(const QString &name)
{
    // No share carries the previous scene's files.
    ClearFilenames();
    reset();
    const QString scenes = joinPath(scene().BaseFolder, QStringLiteral("/Scenes/"));
    const QString fileName = name + QStringLiteral(".scn");
    PreviewOpened opened;
    opened.sceneFile = isBareName(name) ? findFileIgnoringCase(scenes, fileName) : scenes + fileName;
    if (!isBareName(name) || !QFileInfo::exists(opened.sceneFile)) {
        opened.message = QStringLiteral("Can't find ") + opened.sceneFile;
    } else {
        const FileRead read = readFile(opened.sceneFile, SceneFileMaxSize);
        if (read)
            opened.text = fromWindows1252(read.value);
        else
            opened.message = read.error;
    }
    return opened;
}

void PreviewPlayer::showScene(const PreviewOpened &opened)
{
    PreviewLoad load(*this, opened.text, joinPath(scene().BaseFolder, QStringLiteral("/Images/")));
    // The screen's twips per pixel over 15 would undo a HIMETRIC size taken at
    // the screen's density; HimetricSize takes it at 96 dpi on every screen, so
    // the factor is 1 and a box covers the logical pixels its frame covers.
    load.locals.xFactor = 1;
    load.locals.yFactor = 1;
    showBackground(load);
    for (const auto &section : Sections)
        section->load(load);
}

void PreviewPlayer::showBackground(PreviewLoad &load)
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
