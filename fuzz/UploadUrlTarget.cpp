#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzTargets.h"

#include "core/sharing/UrlHelper.h"
#include "library/SharingAddress.h"
#include "sharing/SharePackage.h"

#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

namespace {

bool hasBlankOrControl(const QString &text)
{
    for (QChar c : text)
        if (c.isSpace() || c.category() == QChar::Other_Control)
            return true;
    return false;
}

// The host the user's sharing settings give for `line`, through the settings
// file as the library window reads it.
SharingHost hostFromSettings(const QByteArray &line)
{
    static QTemporaryDir config;
    FUZZ_CHECK(config.isValid());
    QFile file(sharingSettingsPath(config.path()));
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write("[Service]\r\nHost=" + line + "\r\n") > 0);
    file.close();
    return sharingHost(config.path());
}

} // namespace

void fuzzUploadUrl(const uint8_t *data, size_t size)
{
    // An address, then after a zero byte the host line of the sharing settings.
    const QList<QByteArray> fields = fuzzFields(data, size);
    const QString url = QString::fromUtf8(fields.value(0));

    // Any address: the host is cut before the first "/", the path starts at
    // it, the query after the path's first "?", and the port is a usable one,
    // none (0) or unusable (-1).
    const UrlParts parts = ParseUrl(url);
    FUZZ_CHECK(!parts.Host.contains(u'/'));
    FUZZ_CHECK(parts.Path.startsWith(u'/') && !parts.Path.contains(u'?'));
    FUZZ_CHECK(parts.Port >= -1 && parts.Port <= 65535);
    const qsizetype scheme = url.indexOf(QStringLiteral("://"));
    FUZZ_CHECK(parts.Scheme == (scheme < 0 ? QString() : url.left(scheme)));
    const QString rest = scheme < 0 ? url : url.mid(scheme + 3);
    if (!rest.contains(u'/')) {
        FUZZ_CHECK(parts.Host == rest && parts.Path == u'/' && parts.Query.isEmpty() && parts.Port == 0);
    } else {
        // The parts put back together give the address again.
        const bool query = rest.indexOf(u'?', rest.indexOf(u'/')) >= 0;
        const QString tail = parts.Path + (query ? u'?' + parts.Query : QString());
        FUZZ_CHECK(rest.startsWith(parts.Host) && rest.endsWith(tail));
        const QString between = rest.mid(parts.Host.size(), rest.size() - parts.Host.size() - tail.size());
        FUZZ_CHECK(between.isEmpty() || (between.startsWith(u':') && !between.contains(u'/')));
    }

    // The upload's own address, from a host the settings accept: the upload
    // connects to that very server and port, and the request goes to the
    // upload script.
    const SharingHost host = hostFromSettings(fields.value(1));
    if (!host)
        return;
    const QUrl written(QStringLiteral("http://") + host.value + u'/');
    for (bool approved : {false, true}) {
        const UrlParts upload = ParseUrl(DestinationUrl(host.value, approved));
        FUZZ_CHECK(upload.Scheme == QStringLiteral("http"));
        FUZZ_CHECK(!upload.Host.isEmpty() && !hasBlankOrControl(upload.Host));
        FUZZ_CHECK(upload.Host.compare(written.host(), Qt::CaseInsensitive) == 0);
        const int port = written.port();
        FUZZ_CHECK(upload.Port == (port < 0 ? 0 : port == 0 ? -1 : port));
        FUZZ_CHECK(upload.Path
                   == (approved ? QStringLiteral("/VSH/post_dump.php") : QStringLiteral("/VSH-APRV/post_dump.php")));
        FUZZ_CHECK(upload.Query.isEmpty());
    }
}
