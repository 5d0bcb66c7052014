#include "library/SharingAddress.h"

#include "base/Files.h"
#include "base/Text1252.h"

#include <QDir>
#include <QStringList>

namespace {

// TO BE REPLACED by the program's one INI reader (base/IniFile.h) when it
// arrives: the value of `name` in `[section]`, the text after the first "=",
// lines ended by CR LF or LF, ";" and "#" lines are comments.
QString iniValue(const QString &path, const QString &section, const QString &name)
{
    const FileRead read = readFile(path, 64 * 1024);
    if (!read)
        return QString();
    QString current;
    const QStringList lines = fromWindows1252(read.bytes).split(u'\n');
    for (QString line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u';') || trimmed.startsWith(u'#'))
            continue;
        if (trimmed.startsWith(u'[') && trimmed.endsWith(u']')) {
            current = trimmed.mid(1, trimmed.size() - 2).trimmed();
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (eq > 0 && current.compare(section, Qt::CaseInsensitive) == 0
            && line.left(eq).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return line.mid(eq + 1);
    }
    return QString();
}

} // namespace

QString sharingSettingsPath(const QString &configFolder)
{
    return joinPath(configFolder, QStringLiteral("/sharing.ini"));
}

SharingPage sharingPage(const QString &configFolder)
{
    const QString path = sharingSettingsPath(configFolder);
    const QString host = iniValue(path, QStringLiteral("Service"), QStringLiteral("Host")).trimmed();
    SharingPage page;
    if (host.isEmpty()) {
        page.error = QStringLiteral("The address of VelmNShare is not set. Put a line Host=<server name> under "
                                    "[Service] in %1.")
                         .arg(QDir::toNativeSeparators(path));
        return page;
    }
    // A host and perhaps a port, nothing else: no path, user or query slips in.
    const QUrl url(QStringLiteral("http://") + host + QStringLiteral("/VELMnShare.aspx"), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || !url.userInfo().isEmpty() || url.hasQuery() || url.hasFragment()
        || url.path() != QStringLiteral("/VELMnShare.aspx")) {
        page.error = QStringLiteral("The VelmNShare host \"%1\" in %2 is not a server name.")
                         .arg(host, QDir::toNativeSeparators(path));
        return page;
    }
    page.url = url;
    return page;
}
