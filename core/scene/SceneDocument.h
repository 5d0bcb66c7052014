#pragma once
// The scene being made: the shared scene state, the values of the layer
// property dialogs, and per designer its crop rectangle and the frames it cut.
// The dialogs and the designers fill their controls from it and write what the
// user edits into it; the scene save (core/scene/SceneSave.h) and the older
// editor's load (core/legacy/LegacySceneDocument.h) work on it alone, with no
// window.
//
// There is one document, from program start to program end. `changed` is
// emitted when a value of the dialogs, a crop or the cut frames change, and
// by a reset or a load; the windows that show a value then refresh from it.
// The members of the state record are written directly by the windows.

#include "core/scene/SceneFileText.h"
#include "core/scene/SceneState.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QRectF>

#include <array>

// The values of the layer property dialogs as their controls hold them: the
// texts of the boxes, the chosen options and whether a check box is ticked.
struct SceneDialogValues {
    SceneSettings::Trigger trigger;   // TrigAnimProps
    SceneSettings::Extra extra;       // ExtraAnimProps
    SceneSettings::Child child;       // ChildAnimProps (its preloadName is not used: see ChildPreloadName)
    SceneSettings::FullAnim fullAnim; // FullAnimProps
    SceneSettings::Sounds sounds;     // Sound
};

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
    // only that dialog showed them).
    void restartTriggerValues() { m_dialogs.trigger = startingTriggerValues(); }
    void restartExtraValues() { m_dialogs.extra = startingExtraValues(); }
    void restartChildValues() { m_dialogs.child = startingChildValues(); }
    void restartFullAnimValues() { m_dialogs.fullAnim = startingFullAnimValues(); }
    void restartSoundValues() { m_dialogs.sounds = startingSoundValues(); }

    // An abandoned set-up: the wizard's layer flags and the placed flags are
    // cleared; the dialogs, the rectangles and the cut frames carry over.
    void resetWizard();
    // Everything back to the start values (a test's fresh start).
    void reset();

    // Emits `changed` after a window wrote into the state or the dialog values.
    void noteChanged() { emit changed(); }

signals:
    void changed();

private:
    SceneState m_state;
    SceneDialogValues m_dialogs;
    std::array<QRectF, CanvasLayerCount> m_crops;
    std::array<QList<QImage>, CanvasLayerCount> m_cutFrames;
};

// The program's one document.
SceneDocument &sceneDocument();

// Everything the scene file is built from, read from the document.
SceneSettings sceneSettings(const SceneDocument &document, const QString &name);
