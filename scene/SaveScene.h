#pragma once
// Names and saves the scene: writes Scenes/<name>.scn, has every layer's
// frames exported as JPEG pictures into Images, saves the background and
// alternate pictures and adds the name to the user's scene list.

#include "core/pictures/ImageWorkspace.h"
#include "core/scene/CropRectToPixels.h"
#include "core/scene/SceneFrameFiles.h"
#include "platform/Form.h"

#include <QHash>
#include <QString>

#include <functional>
#include <optional>

class FileTransaction;
class QLineEdit;
class QPushButton;
struct SceneSettings;

class SaveScene : public Form {
    Q_OBJECT
public:
    SaveScene();

    QLineEdit *Text1;     // the scene name
    QPushButton *Image1;  // OK
    ImageWorkspace Xpress1; // the writer's own work picture

    // The root folder of one save: BaseFolder with a trailing separator.
    QString MyPath;

    void Image1_Click();

    // The frame exports, one per layer. Each returns false at its first
    // failure, with the reason (naming the file) in LastExportError(). During
    // a save their pictures join the save's unit of files; called on their
    // own, each puts its pictures in place itself.
    bool ExportMouthFrames();
    bool ExportBlinkFrames();
    bool ExportUserMouthFrames();
    bool ExportUserBlinkFrames();
    bool ExportExtraFrames();
    bool ExportSmileFrames();
    bool ExportBrowFrames();
    bool ExportChildFrames();
    bool ExportFullAnimFrames();
    bool ExportTriggerFrames();
    const QString &LastExportError() const { return m_error; }

protected:
    void Form_Unload(bool &cancel) override;

private:
    bool fail(const QString &error);
    // True when the step succeeded; else false, with its reason in m_error.
    bool took(const Result<> &step);
    // Writes the scene file and every picture into m_unit; false at the
    // first failure, with the reason in m_error. `complete` is cleared when a
    // step failed that reports itself and lets the save go on.
    bool writeSceneFiles(const QString &name, bool *complete);
    // Saves the source picture, cut when a crop is given, as scene & suffix in Images.
    bool savePicture(const QString &source, const QString &suffix, const std::optional<PixelCrop> &crop = {});
    bool saveAlphaBackground();
    QString sceneName() const;
    // Every picture the save of this scene writes, in the order it writes them.
    QStringList picturePaths();
    // The plan of one numbered export: made once in a save, for its checks and
    // then its export; made anew on every call outside a save.
    const FramePlan &planned(const char *word, const std::function<FramePlan()> &make);

    QString m_error;
    FileTransaction *m_unit = nullptr; // the save's files, while a save runs
    bool m_saving = false;
    QHash<QString, FramePlan> m_plans;
    FramePlan m_lastPlan;
};

// Everything the scene file is built from, read from the shared scene state and
// the controls of the property dialogs.
SceneSettings sceneSettingsFromWindows(const QString &name);
