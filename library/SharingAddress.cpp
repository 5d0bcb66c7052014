#include "library/SharingAddress.h"

#include "core/base/Files.h"
#include "core/base/IniFile.h"
#include "core/sharing/NoticeMail.h"
#include "core/sharing/UrlHelper.h"
#include "sharing/SharePackage.h"

#include <QDir>
#include <QFileInfo>

namespace {
// A settings file of a few lines; a larger one is not this file.
constexpr qint64 MaxSettingsSize = 64 * 1024;
}

QString sharingSettingsPath(const QString &configFolder)
{
    return joinPath(configFolder, QStringLiteral("/sharing.ini"));
}

SharingHost sharingHost(const QString &configFolder)
{
    const QString path = sharingSettingsPath(configFolder);
    const QString shown = QDir::toNativeSeparators(path);
    QString host;
    if (QFileInfo::exists(path)) {
        const IniRead settings = readIniFile(path, MaxSettingsSize);
        if (!settings)
            return SharingHost::failure(settings.error);
        host = settings.value.value(QStringLiteral("Service"), QStringLiteral("Host")).value_or(QString()).trimmed();
    }
    if (host.isEmpty())
        return SharingHost::failure(QStringLiteral("The address of VelmNShare is not set. Put a line Host=<server "
                                                   "name> under [Service] in %1.")
                                        .arg(shown));
    // A server name and perhaps a port, nothing else: no path, user or query
    // slips in. The upload splits the host off at its first ":", so the name
    // must be written as itself (no bracketed address, no escapes).
    const QUrl url(QStringLiteral("http://") + host + u'/', QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || !url.userInfo().isEmpty() || url.hasQuery() || url.hasFragment()
        || url.path() != QStringLiteral("/")
        || ParseUrl(DestinationUrl(host, true)).Host.compare(url.host(), Qt::CaseInsensitive) != 0)
        return SharingHost::failure(
            QStringLiteral("The VelmNShare host \"%1\" in %2 is not a server name.").arg(host, shown));
    // Port 0 would be taken for "any port" by the connection; no service is there.
    if (url.port() == 0)
        return SharingHost::failure(
            QStringLiteral("The VelmNShare host \"%1\" in %2 names port 0; give the service's port or none.")
                .arg(host, shown));
    return SharingHost::success(host);
}

SharingPage sharingPage(const QString &configFolder)
{
    const SharingHost host = sharingHost(configFolder);
    if (!host)
        return SharingPage::failure(host.error);
    return SharingPage::success(QUrl(QStringLiteral("http://") + host.value + QStringLiteral("/VELMnShare.aspx")));
}

MailSettings sharingMailSettings(const QString &configFolder)
{
    const QString path = sharingSettingsPath(configFolder);
    IniFile settings;
    if (QFileInfo::exists(path)) {
        IniRead read = readIniFile(path, MaxSettingsSize);
        if (read)
            settings = std::move(read.value);
    }
    const IniSection *mail = settings.section(QStringLiteral("Mail"));
    return MailSettingsFrom([mail](const QString &key) {
        return mail ? mail->value(key).value_or(QString()) : QString();
    });
}
