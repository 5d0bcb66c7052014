#include "app/LoadImages.h"

#include "app/Form2.h"
#include "app/Wizard1.h"
#include "core/base/Files.h"
#include "core/scene/PrimaryFrameSeries.h"
#include "core/scene/SceneDocument.h"
#include "app/Help.h"
#include "core/system/Services.h"
#include "platform/WindowServices.h"
#include "designers/frmFormDesign.h"
#include "designers/frmFormDesignB.h"
#include "designers/frmFormDesignC.h"
#include "designers/frmFormDesignD.h"
#include "designers/frmFormDesignE.h"
#include "designers/frmFormDesignF.h"
#include "designers/frmFormDesignG.h"
#include "platform/PictureBox.h"
#include "core/scene/FrameSetFiles.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {
// Frames this wide get the wide layout of the designers and the canvas.
constexpr int WideSeriesWidth = 1200;

QPushButton *button(QWidget *parent, const QString &name, const QString &text, double left, double top,
                    double width, double height)
{
    auto *b = new QPushButton(text, parent);
    nameControl(b, name, text);
    placeTwips(b, left, top, width, height);
    return b;
}

// The wide layout of a crop designer, in twips at 96 dots per inch, scaled to
// the screen as the window's load scaled the rest of it.
template <class Designer>
void widenDesigner(Designer &designer)
{
    const auto &env = *services().environment;
    const double x = env.twipsPerPixelX() / 15, y = env.twipsPerPixelY() / 15;
    designer.SetClientTwips(18090 * x, 14430 * y);
    const QRectF strip = controlTwips(designer.Picture1);
    placeTwips(designer.Picture1, 4065 * x, 12870 * y, strip.width(), strip.height());
}

QLabel *label(QWidget *parent, const QString &text, double left, double top, double width, double height)
{
    auto *l = new QLabel(text, parent);
    l->setWordWrap(true);
    placeTwips(l, left, top, width, height);
    return l;
}
}

StatusBox::StatusBox(QWidget *parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setTabChangesFocus(true);
    // Paths have no spaces to break at.
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
}

LoadImages::LoadImages()
{
    SetCaption(QStringLiteral("Load Primary Images"));
    SetClientTwips(5325, 3735);
    setStyleSheet(QStringLiteral("LoadImages { background: #10206a; } QLabel { color: white; }"));

    label(this, QStringLiteral("Do you have the 7 setup images of your scene ready?"), 300, 180, 4300, 480);
    label(this, QStringLiteral("Load the first image of the 7-Frame Setup (its name ends in 0001.bmp or 0001.jpg)."),
          300, 780, 4700, 480);

    Image4 = button(this, QStringLiteral("Image4"), QStringLiteral("?"), 4725, 180, 330, 300);
    Image1 = button(this, QStringLiteral("Image1"), QStringLiteral("LOAD..."), 300, 1440, 1365, 420);
    Text1 = new StatusBox(this);
    nameControl(Text1, QStringLiteral("Text1"), QStringLiteral("Status"));
    // Four lines tall, so that "Can't Find: " and a long path both show.
    placeTwips(Text1, 1815, 1440, 3120, 1140);
    Image3 = button(this, QStringLiteral("Image3"), QStringLiteral("BACK"), 2100, 3000, 1365, 480);
    Image2 = button(this, QStringLiteral("Image2"), QStringLiteral("NEXT"), 3660, 3000, 1365, 480);

    connect(Image1, &QPushButton::clicked, this, &LoadImages::Image1_Click);
    connect(Image2, &QPushButton::clicked, this, &LoadImages::Image2_Click);
    connect(Image3, &QPushButton::clicked, this, &LoadImages::Image3_Click);
    connect(Image4, &QPushButton::clicked, this, &LoadImages::Image4_Click);
}

void LoadImages::Form_Load()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void LoadImages::Form_Unload(bool &cancel)
{
    Q_UNUSED(cancel);
    form<Wizard1>().Show();
}

bool LoadImages::FileExists(const QString &FileName)
{
    const QFileInfo info(FileName);
    if (!info.exists()) {
        FileExists1 = "NotExist";
        return false;
    }
    if (info.isDir())
        return false;
    FileExists1 = "DoesExist";
    return true;
}

bool LoadImages::checkSeries(const QString &firstFramePath, int fromFrame, bool withLayerFrames)
{
    const SeriesName name = ParsePrimaryFrameName(firstFramePath);
    if (name.check == SeriesNameCheck::NotBmpOrJpg) {
        MsgBox(NotBmpOrJpgText);
        Text1->setText(NotBmpOrJpgText);
        return false;
    }
    if (name.check == SeriesNameCheck::NoFrameNumber) {
        MsgBox(NamingMessage);
        Text1->setText(NamingStatus);
        return false;
    }
    Text1->setText(firstFramePath);
    sceneDocument().editState([&name](SceneState &s) { s.PrimaryFrameExt = name.ext; });

    // Every missing frame is named; the status box keeps the last one. A folder
    // where a frame should be is no frame either.
    bool complete = true;
    for (int frame = fromFrame; frame <= RequiredPrimaryFrames; ++frame) {
        const QString path = PrimaryFrameName(name.prefix, name.ext, frame);
        if (!frameExists(path)) {
            MsgBox(MissingFrameMessage(path));
            Text1->setText(MissingFrameStatus(path));
            complete = false;
        }
    }
    if (!withLayerFrames)
        return complete;

    // The frames the smile and brow animations take, named in one message.
    const bool smile = isFlagOn(scene().SceneHasSmile), brow = isFlagOn(scene().SceneHasBrow);
    QStringList missing;
    for (int frame : LayerPrimaryFrames(smile, brow)) {
        const QString path = PrimaryFrameName(name.prefix, name.ext, frame);
        if (!frameExists(path))
            missing << path;
    }
    if (missing.isEmpty())
        return complete;
    MsgBox(MissingLayerFramesMessage(smile, brow, missing));
    Text1->setText(MissingFrameStatus(missing.last()));
    return false;
}

bool LoadImages::frameExists(const QString &path)
{
    const bool exists = FileExists(resolvePathIgnoringCase(path));
    FileExists1 = "";
    return exists;
}

void LoadImages::Image1_Click()
{
    sceneDocument().editState(setWorkFolderToBase);

    // A cancelled chooser leaves the previous pick, which is checked again.
    const QString previous = cdl.FileName;
    cdl.Filter = imageFilter();
    cdl.ShowOpen();
    if (cdl.FileName.isEmpty())
        cdl.FileName = previous;
    sceneDocument().editState([this](SceneState &s) { s.PrimaryFirstFramePath = cdl.FileName; });
    // The pick itself is frame 0001; the frames after it are looked for.
    checkSeries(cdl.FileName, 2, false);
}

void LoadImages::Image2_Click()
{
    if (cdl.FileName.isEmpty()) {
        MsgBox(QStringLiteral("Please load your first image of the 7-Frame Setup"));
        return;
    }
    // The files may have changed since LOAD...: every designer after this one
    // opens frames 0001 to 0007 without asking, and the save cuts the smile
    // and brow frames.
    if (!checkSeries(cdl.FileName, 1, true))
        return;
    const SeriesName name = ParsePrimaryFrameName(cdl.FileName);
    sceneDocument().editState([&name](SceneState &s) {
        s.PrimaryFramePrefix = name.prefix;
        s.PrimaryFrameExt = name.ext;
    });
    if (const Result<> loaded = Xpress1.LoadImageFile(PrimaryFramePath(1)); !loaded) {
        MsgBox(loaded.error);
        return;
    }
    form<frmFormDesign>().SetPicture(Xpress1.Picture());
    if (Xpress1.ImageWidth() == WideSeriesWidth)
        layoutForWideSeries();
    form<frmFormDesign>().Show();
    Hide();
}

void LoadImages::layoutForWideSeries()
{
    widenDesigner(form<frmFormDesign>());
    widenDesigner(form<frmFormDesignB>());
    widenDesigner(form<frmFormDesignC>());
    widenDesigner(form<frmFormDesignD>());
    widenDesigner(form<frmFormDesignE>());
    widenDesigner(form<frmFormDesignF>());
    widenDesigner(form<frmFormDesignG>());
    // The canvas works in pixels: 1206 x 962 holds the 1200 x 857 canvas and
    // the strip below it. The loader keeps its size; it was scaled once when
    // it loaded.
    Form2 &canvas = form<Form2>();
    canvas.resize(1206, 962);
    canvas.PicBox->resize(1200, 857);
    canvas.Picture1->move(173, 860);
}

void LoadImages::Image3_Click()
{
    form<Wizard1>().Show();
    Hide();
}

void LoadImages::Image4_Click()
{
    OpenHelpPage(QStringLiteral("Docs\\7FrameSetup.html"));
}
