#include "platform/WindowServices.h"

#include "platform/CommonDialog.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {

class RealMessages : public MessageService {
public:
    MsgResult show(const QString &text, MsgButtons buttons, const QString &title, MsgIcon icon) override
    {
        QMessageBox::Icon qtIcon = QMessageBox::NoIcon;
        if (icon == MsgIcon::Critical)
            qtIcon = QMessageBox::Critical;
        else if (icon == MsgIcon::Exclamation)
            qtIcon = QMessageBox::Warning;
        QMessageBox box(qtIcon, title, text);
        switch (buttons) {
        case MsgButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
        case MsgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        case MsgButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
        }
        switch (box.exec()) {
        case QMessageBox::Yes: return MsgResult::Yes;
        case QMessageBox::No: return MsgResult::No;
        case QMessageBox::Cancel: return MsgResult::Cancel;
        default: return MsgResult::Ok;
        }
    }
};

class RealFiles : public FileChooserService {
public:
    QString choose(const FileChooserRequest &r) override
    {
        QFileDialog dialog(nullptr, r.title, r.initDir);
        dialog.setAcceptMode(r.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(r.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        const QStringList filters = qtFilters(r.filter);
        if (!filters.isEmpty()) {
            dialog.setNameFilters(filters);
            // The patterns spell out both letter cases; the list shows the descriptions only.
            dialog.setOption(QFileDialog::HideNameFilterDetails);
        }
        // The name is offered in the folder the chooser opens in: a full path
        // would take the dialog to its own folder.
        if (!r.fileName.isEmpty())
            dialog.selectFile(QFileInfo(r.fileName).fileName());
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().first();
    }
};

class RealUrls : public UrlService {
public:
    bool open(const QUrl &url) override { return QDesktopServices::openUrl(url); }
};

} // namespace

WindowServices realWindowServices()
{
    static RealMessages messages;
    static RealFiles files;
    static RealUrls urls;
    return WindowServices{&messages, &files, &urls};
}

WindowServices &windowServices()
{
    static WindowServices current = realWindowServices();
    return current;
}

static QString &titleInUse()
{
    static QString title = QStringLiteral("Scenara5");
    return title;
}

QString programTitle()
{
    return titleInUse();
}

void setProgramTitle(const QString &title)
{
    titleInUse() = title;
}

MsgResult MsgBox(const QString &text, MsgButtons buttons, const QString &title, MsgIcon icon)
{
    return windowServices().messages->show(text, buttons, title, icon);
}
