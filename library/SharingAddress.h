#pragma once
// Where the sharing service lives: the host named by "Host" under "[Service]"
// in sharing.ini of the user's config folder. No host is assumed: without
// one, the commands that need it say where to set it.

#include <QString>
#include <QUrl>

// The settings file that names the host.
QString sharingSettingsPath(const QString &configFolder);

struct [[nodiscard]] SharingPage {
    QUrl url;      // http://<host>/VELMnShare.aspx
    QString error; // why there is none: a sentence for a message box
    explicit operator bool() const { return url.isValid(); }
};

// The service's web page from the settings file in `configFolder`.
SharingPage sharingPage(const QString &configFolder);
