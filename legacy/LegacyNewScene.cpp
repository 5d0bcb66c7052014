#include "legacy/LegacySceneCommands.h"

#include "app/Form1.h"
#include "app/Form2.h"
#include "core/legacy/LegacyEditRules.h"
#include "core/scene/CanvasRules.h"
#include "core/scene/SceneDocument.h"
#include "core/system/Services.h"
#include "platform/WindowServices.h"
#include "platform/Controls.h"
#include "platform/PictureBox.h"

#include <QLineEdit>
#include <QRadioButton>

void NewLegacyScene(Form1 &editor)
{
    SceneDocument &document = sceneDocument();
    Form2 &canvas = form<Form2>();

    for (QCheckBox *box : {editor.Check2, editor.Check3, editor.Check4, editor.Check5, editor.Check11})
        setCheckValue(box, 0);
    editor.Option1->setChecked(true);
    editor.Check7->setEnabled(false);
    for (QRadioButton *option : {editor.Option3, editor.Option4, editor.Option6, editor.Option5, editor.Option2})
        option->setEnabled(false);
    setCheckValue(editor.Check1, 1);

    // The templates lie in the program's own folder.
    QString work = services().environment->programFolder();
    if (!work.endsWith(u'/'))
        work += u'/';
    document.editState([&work](SceneState &s) { s.WorkFolder = work; });
    const QString images = work + QStringLiteral("Images/");
    for (const LegacyTemplate &t : LegacyTemplates) {
        PictureBox &store = t.layer ? *canvas.LayerStore(*t.layer) : *canvas.picBackground;
        if (const FileResult loaded = LoadLegacyPicture(store, images, QLatin1String(t.file)); !loaded) {
            MsgBox(loaded.error);
            return;
        }
    }
    // A new scene is built in pixels, also after a scene that measured in twips.
    document.editState([](SceneState &s) { s.LegacyCanvasUnit = CanvasUnit::Pixels; });
    ShowCanvasUnit(canvas);
    document.editState([&canvas](SceneState &s) {
        for (const LegacyTemplate &t : LegacyTemplates)
            if (t.fileName)
                s.*t.fileName = QString::fromLatin1(t.file);
        s.CanvasWidth = Value::single(float(canvas.PicBox->ScaleWidth()));
        s.CanvasHeight = Value::single(float(canvas.PicBox->ScaleHeight()));
        for (int i = LayerMainMouth; i <= LayerExtraAnim; ++i)
            LayerWholeSizeFromPicture(s.LayerPlacements[i], canvas.LayerStore(CanvasLayer(i))->Picture());
        for (int i = LayerMainMouth; i <= LayerExtraAnim; ++i) {
            LayerPlacement &p = s.LayerPlacements[i];
            p.LayerX = p.LayerWidth;
            p.LayerY = p.LayerHeight;
        }
    });

    editor.Option1->setChecked(true);
    editor.Text3->setText(QString());
    editor.DrawPic();
}
