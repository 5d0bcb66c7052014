#include "designers/Routing.h"

#include "app/Form1.h"
#include "app/Form2.h"
#include "core/scene/CanvasRules.h"
#include "core/scene/DesignerFrames.h"
#include "designers/FrameMessages.h"
#include "core/scene/PositioningSteps.h"
#include "core/scene/SceneDocument.h"
#include "platform/WindowServices.h"
#include "designers/frmFormDesign.h"
#include "designers/frmFormDesignB.h"
#include "designers/frmFormDesignC.h"
#include "designers/frmFormDesignD.h"
#include "designers/frmFormDesignE.h"
#include "designers/frmFormDesignF.h"
#include "designers/ShowBlink.h"
#include "designers/ShowExtraAnim.h"
#include "designers/ShowMouth.h"
#include "designers/ShowUserBlink.h"
#include "designers/ShowUserMouth.h"
#include "platform/PictureBox.h"

#include <QLabel>
#include <QRadioButton>

#include <utility>
#include <vector>

namespace {

using Candidate = std::pair<RouteTo, Flag SceneState::*>;

std::vector<Candidate> candidatesAfter(RouteFrom from)
{
    static const Candidate mainBlink{RouteTo::frmFormDesignB, &SceneState::SceneHasMainBlink};
    static const Candidate userMouth{RouteTo::frmFormDesignC, &SceneState::SceneHasUser};
    static const Candidate userBlink{RouteTo::frmFormDesignD, &SceneState::SceneHasUserBlink};
    static const Candidate extra{RouteTo::frmFormDesignE, &SceneState::SceneHasExtraAnim};
    static const Candidate trigger{RouteTo::frmFormDesignF, &SceneState::SceneHasTrigger};
    // The user blink designer follows only the user mouth page, the main blink
    // designer only the main mouth page.
    switch (from) {
    case RouteFrom::ShowMouth: return {mainBlink, userMouth, extra, trigger};
    case RouteFrom::ShowBlink: return {userMouth, extra, trigger};
    case RouteFrom::ShowUserMouth: return {userBlink, extra, trigger};
    case RouteFrom::ShowUserBlink: return {extra, trigger};
    case RouteFrom::ShowExtraAnim: return {trigger};
    case RouteFrom::frmFormDesignE: return {trigger};
    case RouteFrom::frmFormDesignF: return {};
    case RouteFrom::frmFormDesignG: return {userMouth, extra, trigger};
    }
    return {};
}

CropDesigner &designer(RouteTo X)
{
    switch (X) {
    case RouteTo::frmFormDesignB: return form<frmFormDesignB>();
    case RouteTo::frmFormDesignC: return form<frmFormDesignC>();
    case RouteTo::frmFormDesignD: return form<frmFormDesignD>();
    case RouteTo::frmFormDesignE: return form<frmFormDesignE>();
    case RouteTo::frmFormDesignF: return form<frmFormDesignF>();
    case RouteTo::Canvas: break;
    }
    // The canvas is no designer: callers open it through BeginMouthPlacement.
    Q_UNREACHABLE();
}

bool leavesAnAnimationDesigner(const Form &W)
{
    return dynamic_cast<const frmFormDesignE *>(&W) || dynamic_cast<const frmFormDesignF *>(&W);
}

} // namespace

RouteTo NextLayerAfter(RouteFrom from, const SceneState &s)
{
    for (const auto &[to, flag] : candidatesAfter(from))
        if (s.*flag == FlagOn)
            return to;
    return RouteTo::Canvas;
}

ReviewPageId ReviewPageBefore(bool extraPageCounts, const SceneState &s)
{
    if (extraPageCounts && s.SceneHasExtraAnim == FlagOn)
        return ReviewPageId::ShowExtraAnim;
    if (s.userBlinkOn())
        return ReviewPageId::ShowUserBlink;
    if (s.SceneHasUser == FlagOn)
        return ReviewPageId::ShowUserMouth;
    if (s.SceneHasMainBlink == FlagOn)
        return ReviewPageId::ShowBlink;
    return ReviewPageId::ShowMouth;
}

void ShowReviewPage(ReviewPageId page)
{
    switch (page) {
    case ReviewPageId::ShowMouth: form<ShowMouth>().Show(); break;
    case ReviewPageId::ShowBlink: form<ShowBlink>().Show(); break;
    case ReviewPageId::ShowUserMouth: form<ShowUserMouth>().Show(); break;
    case ReviewPageId::ShowUserBlink: form<ShowUserBlink>().Show(); break;
    case ReviewPageId::ShowExtraAnim: form<ShowExtraAnim>().Show(); break;
    }
}

void RouteToNextLayer(Form &windowLeft, RouteFrom from)
{
    const RouteTo to = NextLayerAfter(from, scene());
    if (to == RouteTo::Canvas)
        BeginMouthPlacement(windowLeft);
    else
        OpenNextDesigner(to, windowLeft);
}

bool OpenNextDesigner(RouteTo X, Form &W)
{
    QString first;
    if (X == RouteTo::frmFormDesignE || X == RouteTo::frmFormDesignF) {
        const bool extra = X == RouteTo::frmFormDesignE;
        first = (extra ? scene().ExtraFrameSet : scene().TriggerFrameSet).FirstFramePath.toText();
        if (first.isEmpty()) {
            MsgBox(extra ? QStringLiteral("The Extra Animation has no frames yet. Please LOAD its first frame in the "
                                          "Extra Animation properties, then click NEXT again.")
                         : QStringLiteral("The Trigger Animation has no frames yet. Please LOAD its first frame in the "
                                          "Trigger Animation properties, then click NEXT again."));
            return false;
        }
    } else {
        first = PrimaryFramePath(1);
    }
    // The frame is read before any window changes, so a failure leaves the user where they are.
    const QImage picture = LoadPictureOrSay(first);
    if (picture.isNull())
        return false;
    CropDesigner &next = designer(X);
    next.Show();
    W.Hide();
    next.SetPicture(picture);
    return true;
}

bool BeginMouthPlacement(Form &W)
{
    const QImage mouth = sceneDocument().cutFrames(LayerMainMouth).value(0);
    if (mouth.isNull()) {
        MsgBox(QStringLiteral("The Main Character Mouth frames have not been cropped yet."));
        return false;
    }
    const QImage background = LoadPictureOrSay(PrimaryFramePath(1));
    if (background.isNull())
        return false;

    // A new round of positioning: every layer is placed afresh.
    SceneDocument &document = sceneDocument();
    document.editState([](SceneState &s) { s.clearPlacedFlags(); });

    Form2 &canvas = form<Form2>();
    // A canvas kept from an earlier scene still shows the last layer's instruction.
    canvas.Label1->setText(MouthPlacementCaption());
    canvas.Show();
    const bool fromAnimation = leavesAnAnimationDesigner(W);
    if (fromAnimation) {
        if (formExists<ShowExtraAnim>())
            form<ShowExtraAnim>().Hide();
    } else {
        W.Hide();
    }
    Form1 &controller = form<Form1>();
    controller.Option1->setChecked(true);
    MsgBox(QString::fromUtf8(MouthPlacementMessage));

    canvas.picImage->SetPicture(mouth);
    canvas.picBackground->SetPicture(background);
    document.editState([&canvas](SceneState &s) {
        LayerPlacement &placement = s.LayerPlacements[LayerMainMouth];
        LayerSizeFromPicture(placement, canvas.picImage->Picture());
        placement.LayerX = Value::integer(350);
        placement.LayerY = Value::integer(250);
    });
    controller.DrawPic();
    if (fromAnimation)
        W.Hide();
    return true;
}
