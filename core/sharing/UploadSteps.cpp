#include "core/sharing/UploadSteps.h"

#include "core/base/Files.h"

UploadCloseAction UploadActionOnClose(const UploadStepFlags &flags)
{
    UploadCloseAction action;
    action.flags = flags;
    if (!flags.ZIPUploadComplete) {
        action.flags.ZIPUploadComplete = true;
        action.nextStep = 2;
    } else if (!flags.JPGUploadComplete) {
        action.flags.JPGUploadComplete = true;
        action.nextStep = 3;
    } else if (!flags.TXTUploadComplete) {
        action.flags.TXTUploadComplete = true;
        action.nextStep = 4;
    } else if (!flags.COMUploadComplete) {
        action.flags.COMUploadComplete = true;
        action.nextStep = 5;
    }
    return action;
}

QString UploadExtension(UploadProcedure procedure)
{
    switch (procedure) {
    case UploadProcedure::Zip:
        return QStringLiteral(".zip");
    case UploadProcedure::Jpg:
        return QStringLiteral(".jpg");
    case UploadProcedure::Txt:
        return QStringLiteral(".txt");
    }
    return {};
}

UploadStepFile UploadStepFileFor(int step, const QString &zipsFolder, const QString &uploadName,
                                 const QString &comment)
{
    const auto in = [&](const QString &name) { return joinPath(zipsFolder + u'/', name); };
    switch (step) {
    case 1:
        return {in(uploadName + QStringLiteral(".zip")), uploadName, UploadProcedure::Zip};
    case 2:
        return {in(uploadName + QStringLiteral(".jpg")), uploadName, UploadProcedure::Jpg};
    case 3:
        return {in(uploadName + QStringLiteral(".txt")), uploadName, UploadProcedure::Txt};
    case 4:
        return {in(uploadName + QStringLiteral("-2.jpg")), uploadName + QStringLiteral("-2"), UploadProcedure::Jpg};
    case 5:
        return {in(uploadName + QStringLiteral("-cmnt.txt")), comment, UploadProcedure::Txt};
    default:
        return {};
    }
}
