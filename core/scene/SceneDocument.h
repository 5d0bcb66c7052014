#pragma once
// The scene being made: the shared scene state, the values of the layer
// property dialogs, and per designer its crop rectangle and the frames it cut.
// The dialogs and the designers fill their controls from it and write what the
// user edits into it; the scene save (core/scene/SceneSave.h) and the older
// editor's load (core/legacy/LegacySceneDocument.h) work on it alone, with no
// window.
//
// There is one document, from program start to program end. `changed` is
// emitted when a value of the dialogs, a crop or the cut frames change, when
// a window edits the state record (editState), and by a reset or a load; the
// windows that show a value then refresh from it. The rules that follow from
// a value live here too: the extra and trigger animations' frame counts
// follow their Frames boxes (the child and full-background animations read
// their boxes' values themselves), and the child animation's frame source
// decides whether its frames are cut, whoever sets them, so that a load, a
// test or the save has them with no window.

#include "core/scene/SceneFileText.h"
#include "core/scene/SceneState.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QRectF>

#include <array>

// Where the child animation's frames come from, as the two boxes of its
// dialog choose: not chosen yet (both unticked), preloaded in Images, or cut
// along with the extra animation (automatic crop).
enum class ChildFrameSource { Unchosen, Preloaded, AutoCrop };

// What the child animation's dialog shows beside the file's values.
struct ChildDialogBoxes {
    ChildFrameSource source = ChildFrameSource::Unchosen; // the pair of boxes
    // Automatic crop can be chosen; not after the older editor loaded a scene
    // with preloaded frames, until a new scene starts.
    bool autoCropOffered = true;
    QString preloadBox; // the preloaded first frame picked, or why the pick failed
};

// The values of the layer property dialogs as their controls hold them: the
// texts of the boxes, the chosen options and whether a check box is ticked.
struct SceneDialogValues {
    SceneSettings::Trigger trigger;   // TrigAnimProps
    SceneSettings::Extra extra;       // ExtraAnimProps
    SceneSettings::Child child;       // ChildAnimProps (its preloadName is not used: see ChildPreloadName)
    ChildDialogBoxes childBoxes;      // ChildAnimProps
    SceneSettings::FullAnim fullAnim; // FullAnimProps
    QString fullAnimNameBox;          // FullAnimProps: the first frame's name as picked or loaded
    SceneSettings::Sounds sounds;     // Sound
};

// Sets the child animation's frame source with what follows from it:
// preloaded frames are not cut along with the extra animation, and choosing
// automatic crop forgets the preloaded frame's name. The one writer of
// ChildAutoCropOn and of the source.
void applyChildFrameSource(SceneState &state, SceneDialogValues &dialogs, ChildFrameSource source);

// Every dialog's values as the dialog starts with them.
SceneSettings::Trigger startingTriggerValues();
SceneSettings::Extra startingExtraValues();
SceneSettings::Child startingChildValues();
SceneSettings::FullAnim startingFullAnimValues();
SceneSettings::Sounds startingSoundValues();

// Where a designer's crop rectangle starts, in the twips the designer was
// drawn in (15 a pixel); each designer is named by the layer it cuts.
QRectF startingCropTwips(CanvasLayer layer);

class SceneDocument : public QObject {
    Q_OBJECT
public:
    SceneDocument();

    SceneState &state() { return m_state; }
    const SceneState &state() const { return m_state; }

    SceneDialogValues &dialogs() { return m_dialogs; }
    const SceneDialogValues &dialogs() const { return m_dialogs; }

    // The designer's crop rectangle in drawn twips, as CropRectToPixels takes it.
    QRectF cropTwips(CanvasLayer layer) const { return m_crops[layer]; }
    void setCropTwips(CanvasLayer layer, const QRectF &twips);

    // The frames a character designer cut with NEXT (its work pictures 1 to 7).
    const QList<QImage> &cutFrames(CanvasLayer layer) const { return m_cutFrames[layer]; }
    void setCutFrames(CanvasLayer layer, const QList<QImage> &frames);

    // A designer window went: its rectangle starts again and its frames are gone.
    void forgetDesigner(CanvasLayer layer);
    // A dialog window went: its values start again (without `changed`, as
    // only that dialog showed them). The frame sets keep their counts.
    void restartTriggerValues();
    void restartExtraValues();
    // The same with `changed`, as the Automatic Cropper Loader shows the count too.
    void restartChildValues();
    void restartFullAnimValues();
    void restartSoundValues() { m_dialogs.sounds = startingSoundValues(); }

    // The child dialog's pair of boxes chose (applyChildFrameSource).
    void chooseChildFrames(ChildFrameSource source);
    // A new scene starts: automatic crop can be chosen again.
    void offerChildAutoCrop();

    // Runs an edit of the state record and says `changed`: how a window
    // writes into it, every step of a drag on the canvas included.
    template <class Edit>
    void editState(Edit &&edit)
    {
        edit(m_state);
        noteChanged();
    }

    // An abandoned set-up: the wizard's layer flags and the placed flags are
    // cleared; the dialogs, the rectangles and the cut frames carry over.
    void resetWizard();
    // Everything back to the start values (a test's fresh start).
    void reset();

    // Emits `changed` after a window wrote into the dialog values (or a load
    // into the document); the frame counts follow a Frames box that changed.
    void noteChanged();

signals:
    void changed();

private:
    // Each frame count that follows a Frames box, from the box's text when it
    // changed to a count: the extra animation's as a whole number, the
    // trigger animation's as the text typed.
    void countFrames();
    // The Frames boxes' texts as they are now count as followed: a restart
    // or a reset changes no count.
    void markFramesCounted();

    SceneState m_state;
    SceneDialogValues m_dialogs;
    QString m_countedExtraFrames, m_countedTriggerFrames;
    std::array<QRectF, CanvasLayerCount> m_crops;
    std::array<QList<QImage>, CanvasLayerCount> m_cutFrames;
};

// The program's one document.
SceneDocument &sceneDocument();

// Everything the scene file is built from, read from the document.
SceneSettings sceneSettings(const SceneDocument &document, const QString &name);
