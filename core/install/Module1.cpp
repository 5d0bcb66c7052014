#include "core/install/Module1.h"

#include "core/base/IniFile.h"
#include "core/system/Services.h"

#include <QStandardPaths>

namespace installer {

namespace {

struct RootKey {
    const char *name;
    quint32 handle;
};

constexpr RootKey RootKeys[] = {
    {"HKEY_CLASSES_ROOT", 0x80000000},  {"HKEY_CURRENT_USER", 0x80000001},     {"HKEY_LOCAL_MACHINE", 0x80000002},
    {"HKEY_USERS", 0x80000003},         {"HKEY_PERFORMANCE_DATA", 0x80000004}, {"HKEY_CURRENT_CONFIG", 0x80000005},
    {"HKEY_DYN_DATA", 0x80000006},
};

// The predefined handle of a root key's name (exact letter case); 0 for any other text.
quint32 GetRootKeyHandle(const QString &rootName)
{
    for (const RootKey &root : RootKeys)
        if (rootName == QLatin1StringView(root.name))
            return root.handle;
    return 0;
}

QString rootKeyName(quint32 handle)
{
    for (const RootKey &root : RootKeys)
        if (root.handle == handle)
            return QString::fromLatin1(root.name);
    return QString();
}

// Checks the key path and splits it: gives the root's handle and leaves the
// subkey (what follows the first "\") in keyPath. A path that does not begin
// with "HKEY_" or ends in "\" is shown to the user and gives no root.
quint32 ParseKeyPath(QString &keyPath)
{
    const qsizetype slash = keyPath.indexOf(u'\\');
    if (!keyPath.startsWith(QLatin1StringView("HKEY_")) || keyPath.endsWith(u'\\')) {
        MsgBox(QStringLiteral("Incorrect Format:\n\n") + keyPath, MsgButtons::Ok);
        return 0;
    }
    if (slash < 0) {
        const quint32 root = GetRootKeyHandle(keyPath);
        keyPath.clear();
        return root;
    }
    const quint32 root = GetRootKeyHandle(keyPath.left(slash));
    keyPath = keyPath.mid(slash + 1);
    return root;
}

} // namespace

QString registryFile()
{
    return QStandardPaths::locate(QStandardPaths::GenericConfigLocation, QLatin1StringView(RegistryFileName));
}

QString RegRead(const QString &keyPath, const QString &valueName, const QString &registry)
{
    QString subkey = keyPath;
    const quint32 root = ParseKeyPath(subkey);
    if (root == 0)
        return QString();

    const QString error = QStringLiteral("Error");
    if (registry.isEmpty())
        return error;
    const IniRead read = readIniFile(registry, RegistryFileMaxSize);
    if (!read)
        return error;
    const QString section = subkey.isEmpty() ? rootKeyName(root) : rootKeyName(root) + u'\\' + subkey;
    const std::optional<QString> value = read.ini.value(section, valueName);
    if (!value || value->toUtf8().size() + 1 > ValueBufferSize)
        return error;

    qsizetype start = 0;
    while (start < value->size() && value->at(start) == u' ')
        ++start;
    return value->mid(start);
}

} // namespace installer
