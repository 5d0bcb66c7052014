#pragma once
// How the guided set-up leads on after a crop: the routing table over the
// layer flags, the BACK targets of the animation designers, and the steps that
// open the next designer or the canvas.

#include <optional>

class Form;
struct SceneState;

// The windows whose NEXT routes.
enum class RouteFrom { ShowMouth, ShowBlink, ShowUserMouth, ShowUserBlink, ShowExtraAnim, frmFormDesignE,
                       frmFormDesignF, frmFormDesignG };
// Where a route leads.
enum class RouteTo { frmFormDesignB, frmFormDesignC, frmFormDesignD, frmFormDesignE, frmFormDesignF, Canvas };

// The first designer due after `from` whose layer flag is set; the canvas when none is.
RouteTo NextLayerAfter(RouteFrom from, const SceneState &s);

// The review pages that BACK of the extra and trigger designers can show.
enum class ReviewPageId { ShowMouth, ShowBlink, ShowUserMouth, ShowUserBlink, ShowExtraAnim };
// The review page before an animation designer, on the road the flags make:
// the extra page (for the trigger designer only), the user blink page when the
// user character has blinks, the user mouth page, the main blink page, and
// the main mouth page when no layer before it is on.
ReviewPageId ReviewPageBefore(bool extraPageCounts, const SceneState &s);
// Shows that page (modeless).
void ShowReviewPage(ReviewPageId page);

// Opens the next layer's designer or the canvas, leaving `windowLeft`. A
// designer or picture that cannot be opened is reported and the user stays.
void RouteToNextLayer(Form &windowLeft, RouteFrom from);
// Shows designer X at its first frame and hides W. False, with a message and
// nothing changed, when the frame cannot be loaded or the set was never picked.
bool OpenNextDesigner(RouteTo X, Form &W);
// Opens the canvas with the main character's mouth at (350, 250) over frame
// 0001 and hides W (and, after the extra or trigger designer, the extra review
// page). The placed flags are cleared: every layer is positioned afresh.
bool BeginMouthPlacement(Form &W);

// The message that opens the mouth's placement.
inline const char *MouthPlacementMessage = "We will now position the Main Character Mouth frames over the background.";
