#include "library/UploadNotices.h"

#include "platform/WindowServices.h"
#include "sharing/UploadSequence.h"

namespace {

const QString kErrorTitle = QStringLiteral("ERROR");
const QString kUploadFailed = QStringLiteral("Upload failed! Try again.");
const QString kCompleted = QStringLiteral(
    "Scene has completed uploading. After approval it will be posted to VelmNShare. Thank you for sharing!");
const QString kStillRunning = QStringLiteral("An upload is still running. Please wait until it has ended.");

void showFailure(const UploadFailure &failure)
{
    switch (failure.kind) {
    case UploadFailureKind::InvalidHost:
        showInvalidHost(QString());
        return;
    case UploadFailureKind::FileUnreadable:
        MsgBox(failure.reason + u'\n' + failure.stepLine(), MsgButtons::Ok, kErrorTitle, MsgIcon::Critical);
        return;
    case UploadFailureKind::ConnectionFailed:
        MsgBox(failure.reason + u'\n' + failure.stepLine(), MsgButtons::Ok, kErrorTitle, MsgIcon::Exclamation);
        return;
    case UploadFailureKind::ServiceFailed:
        MsgBox(kUploadFailed + u'\n' + failure.stepLine(), MsgButtons::Ok, programTitle(), MsgIcon::None);
        return;
    }
}

}

void showInvalidHost(const QString &reason)
{
    const QString text = QStringLiteral("Invalid Host");
    MsgBox(reason.isEmpty() ? text : text + u'\n' + reason, MsgButtons::Ok, kErrorTitle, MsgIcon::Critical);
}

void showUploadNotices(UploadSequence &sequence)
{
    QObject::connect(&sequence, &UploadSequence::failed, &sequence, &showFailure);
    QObject::connect(&sequence, &UploadSequence::completed, &sequence,
                     [] { MsgBox(kCompleted, MsgButtons::Ok, programTitle()); });
}

bool refuseUploadWhileRunning(const UploadSequence &sequence)
{
    if (!sequence.isRunning())
        return false;
    MsgBox(kStillRunning, MsgButtons::Ok, programTitle(), MsgIcon::Exclamation);
    return true;
}
