// The library window's upload button: the checks and questions, the share
// package of the scene last loaded (sharing/SharePackage.h), its archive, and
// the five uploads with the notice mail (sharing/UploadSequence.h).

#include "library/VelmNShare.h"

#include "adapters/mail/SmtpMailSender.h"
#include "adapters/zip/cZip.h"
#include "core/base/Files.h"
#include "core/scene/SceneState.h"
#include "core/sharing/ShareFolders.h"
#include "core/sharing/TimerTickSource.h"
#include "core/system/Services.h"
#include "platform/WindowServices.h"
#include "core/system/Timer.h"
#include "library/SharingAddress.h"
#include "library/UploadNotices.h"
#include "sharing/SharePackage.h"
#include "sharing/UploadSequence.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

namespace {

void showFailure(const QString &text)
{
    MsgBox(text, MsgButtons::Ok, programTitle(), MsgIcon::Exclamation);
}

bool copied(const ShareCopy &copy)
{
    const FileResult result = copyFileAtomically(copy.source, copy.destination);
    if (!result)
        showFailure(result.error);
    return bool(result);
}

bool written(const ShareFile &file)
{
    const FileResult result = writeFileAtomically(file.path, file.bytes);
    if (!result)
        showFailure(result.error);
    return bool(result);
}

}

void VelmNShare::makeSharing()
{
    UploadTimeOut = new Timer(this, UploadSequence::UploadTimeOutInterval, false);
    UploadTimeOut->setObjectName(QStringLiteral("UploadTimeOut"));
    m_uploadTicks = std::make_shared<TimerTickSource>(UploadTimeOut);

    const QPointer<QLineEdit> comment = Text3;
    m_upload = new UploadSequence(
        UploadSequence::Wiring{
            m_uploadTicks.get(),
            std::make_shared<SmtpMailSender>(),
            [] { return sharingMailSettings(services().environment->configFolder()); },
            [comment] { return comment ? comment->text() : QString(); },
            [comment](const QString &text) {
                if (comment)
                    comment->setText(text);
            },
        },
        this);
    showUploadNotices(*m_upload);
    connect(Command7, &QPushButton::clicked, this, &VelmNShare::Command7_Click);
}

void VelmNShare::Command7_Click()
{
    if (refuseUploadWhileRunning(*m_upload))
        return;
    if (SelectSceneList == 2) {
        MsgBox(ShareOnlyYourListText);
        return;
    }
    // The host is read at every click, before any question: without one the
    // user learns where to set it, not after answering for nothing.
    const SharingHost host = sharingHost(services().environment->configFolder());
    if (!host) {
        showInvalidHost(host.error);
        return;
    }
    m_serviceHost = host.value;
    DestinationUrl = ::DestinationUrl(m_serviceHost, Check2->isChecked());
    const QString handle = Text2->text();
    if (handle.isEmpty()) {
        MsgBox(ShareNeedsHandleText);
        return;
    }
    if (handle == QLatin1String("Anonymous") && MsgBox(ShareAnonymousText, MsgButtons::YesNo) != MsgResult::Yes)
        return;
    if (MsgBox(ShareConfirmText, MsgButtons::YesNo) != MsgResult::Yes)
        return;

    ShareInputs inputs;
    inputs.BaseFolder = scene().BaseFolder;
    inputs.programFolder = services().environment->programFolder();
    inputs.SelectSceneList = SelectSceneList;
    inputs.SelectScene = SelectScene;
    // The share names the scene's own background, also one the preview left out.
    inputs.MainPicFileName = SceneBackgroundFile;
    inputs.NudyFilename = NudyFilename;
    inputs.handle = handle;
    inputs.comment = Text3->text();
    inputs.Files = scene().Files;
    const SharePlan plan = planSharePackage(inputs);
    if (!plan.refusal.isEmpty()) {
        showFailure(plan.refusal);
        return;
    }
    if (!plan.leftOut.isEmpty())
        showFailure(leftOutMessage(plan.leftOut));
    if (!buildSharePackage(plan))
        return;
    MsgBox(ShareStartText);
    ZipSharePackage(UploadName);
}

bool VelmNShare::buildSharePackage(const SharePlan &plan)
{
    const FileResult prepared = PrepareShareFolders(scene().BaseFolder);
    if (!prepared) {
        showFailure(prepared.error);
        return false;
    }
    for (const ShareCopy &picture : plan.pictures)
        if (!copied(picture))
            return false;
    if (!copied(plan.installer))
        return false;
    UploadName = plan.UploadName;

    Xpress1.SaveImageFileName(plan.thumbnail);
    Result<> thumbnail = Xpress1.LoadImageFile(plan.background);
    if (thumbnail)
        thumbnail = Xpress1.MakeThumbnail(140, 100);
    if (thumbnail)
        thumbnail = Xpress1.SaveImageFile();
    if (!thumbnail) {
        showFailure(thumbnail.error);
        return false;
    }
    return written(plan.commentFile) && copied(plan.secondPicture) && copied(plan.scene) && written(plan.handleFile);
}

void VelmNShare::ZipSharePackage(const QString &name)
{
    zipSharePackage(*m_cZ, scene().BaseFolder, name);
    if (!m_cZ->Success()) {
        showFailure(m_cZ->LastError());
        return;
    }
    const QString zips = joinPath(scene().BaseFolder, QStringLiteral("Data/Temp/zips"));
    m_upload->start(UploadJob{DestinationUrl, name, zips, m_serviceHost});
}
