#pragma once
// Where the sharing service lives: the host named by "Host" under "[Service]"
// in sharing.ini of the user's config folder. No host is assumed: without
// one, whatever needs it says where to set it.

#include "core/base/Result.h"

#include <QString>
#include <QUrl>

// The settings file that names the host.
QString sharingSettingsPath(const QString &configFolder);

// The service's host (a server name, perhaps with ":port"), or why there is
// none: a sentence for a message box that names the settings file.
using SharingHost = Result<QString>;
SharingHost sharingHost(const QString &configFolder);

// The service's web page, http://<host>/VELMnShare.aspx, or why there is none.
using SharingPage = Result<QUrl>;
SharingPage sharingPage(const QString &configFolder);

// The notice mail's relay and addresses: the [Mail] section of the same
// settings file, read afresh at each call. A file that is absent or cannot be
// read gives settings without a host, and so no mail.
struct MailSettings;
MailSettings sharingMailSettings(const QString &configFolder);
