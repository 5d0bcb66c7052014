#include "library/VelmNShare.h"

#include "adapters/zip/cZip.h"
#include "core/base/Files.h"
#include "core/scene/SceneListFile.h"
#include "core/scene/SceneDocument.h"
#include "core/scene/SceneState.h"
#include "core/system/Services.h"
#include "platform/WindowServices.h"
#include "library/SharingAddress.h"
#include "platform/PictureBox.h"

#include <QDir>
#include <QEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

VelmNShare::VelmNShare()
{
    makeLayout();
    makeSharing();
    makeSpeech();

    // A list's Click: the selection moved (mouse or keys), or the selected
    // entry was clicked again.
    for (QListWidget *list : {List1, List2})
        list->viewport()->installEventFilter(this);
    connect(List1, &QListWidget::itemSelectionChanged, this, [this] {
        if (!List1->selectedItems().isEmpty())
            List1_Click();
    });
    connect(List2, &QListWidget::itemSelectionChanged, this, [this] {
        if (!List2->selectedItems().isEmpty())
            List2_Click();
    });
    connect(List1, &QListWidget::itemClicked, this, [this] {
        if (m_pressOnSelected)
            List1_Click();
    });
    connect(List2, &QListWidget::itemClicked, this, [this] {
        if (m_pressOnSelected)
            List2_Click();
    });
    connect(Command3, &QPushButton::clicked, this, &VelmNShare::Command3_Click);
    connect(Command6, &QPushButton::clicked, this, &VelmNShare::Command6_Click);
    connect(Command8, &QPushButton::clicked, this, &VelmNShare::Command8_Click);
    connectPlayer();
}

VelmNShare::~VelmNShare()
{
    // The lists empty themselves as they go; that is no click.
    List1->blockSignals(true);
    List2->blockSignals(true);
}

bool VelmNShare::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        for (QListWidget *list : {List1, List2})
            if (watched == list->viewport()) {
                const QListWidgetItem *item = list->itemAt(static_cast<QMouseEvent *>(event)->position().toPoint());
                m_pressOnSelected = item && item->isSelected();
            }
    }
    return Form::eventFilter(watched, event);
}

void VelmNShare::Form_Load()
{
    sceneDocument().editState(setWorkFolderToBase);
    const SceneState &s = scene();
    m_cZ = new cZip(this);

    const FileRead list = readFile(sceneListPath(s.BaseFolder), MaxSceneListSize);
    if (list)
        for (const QString &name : readSceneList(list.value))
            if (isBareName(name))
                List1->addItem(name);

    List2->addItems(sceneFileNames(joinPath(s.BaseFolder, QStringLiteral("/Scenes/"))));
    loadVoices();
    // The background box as the screen scaling left it.
    Player->MainPic->setGeometry(MainPic->geometry());
}

void VelmNShare::Form_Unload(bool &cancel)
{
    Q_UNUSED(cancel);
    stopSpeech();
    Player->stop();
}

void VelmNShare::List1_Click()
{
    loadFromList(List1, 1);
}

void VelmNShare::List2_Click()
{
    loadFromList(List2, 2);
}

void VelmNShare::loadFromList(const QListWidget *list, int16_t which)
{
    const QList<QListWidgetItem *> selected = list->selectedItems();
    if (selected.isEmpty())
        return;
    SelectSceneList = which;
    SelectScene = selected.first()->text();
    LoadScenePreview();
}

void VelmNShare::Command6_Click()
{
    const QList<QListWidgetItem *> selected = List2->selectedItems();
    if (selected.isEmpty())
        return;
    const QString name = selected.first()->text();
    if (const FileResult listed = addSceneToList(sceneListPath(scene().BaseFolder), name); !listed) {
        MsgBox(listed.error, MsgButtons::Ok, programTitle(), MsgIcon::Exclamation);
        return;
    }
    List1->addItem(name);
}

void VelmNShare::Command3_Click()
{
    if (SelectSceneFull.size() <= 4)
        return;
    if (!windowServices().urls->open(QUrl::fromLocalFile(SelectSceneFull)))
        MsgBox(QStringLiteral("Could not open %1.").arg(QDir::toNativeSeparators(SelectSceneFull)), MsgButtons::Ok,
               programTitle(), MsgIcon::Exclamation);
}

void VelmNShare::Command8_Click()
{
    const SharingPage page = sharingPage(services().environment->configFolder());
    if (!page) {
        MsgBox(page.error, MsgButtons::Ok, programTitle(), MsgIcon::Exclamation);
        return;
    }
    if (!windowServices().urls->open(page.value))
        MsgBox(QStringLiteral("Could not open %1 in the web browser.").arg(page.value.toString()), MsgButtons::Ok,
               programTitle(), MsgIcon::Exclamation);
}
