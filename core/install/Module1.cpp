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

// A path that begins with "HKEY_" and does not end in "\".
bool IsKeyPath(const QString &keyPath)
{
    return keyPath.startsWith(QLatin1StringView("HKEY_")) && !keyPath.endsWith(u'\\');
}

// Splits a key path: gives the root's handle (0 for no predefined root) and
// leaves the subkey (what follows the first "\") in keyPath.
quint32 ParseKeyPath(QString &keyPath)
{
    const qsizetype slash = keyPath.indexOf(u'\\');
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

Result<QString, RegReadFailure> RegRead(const QString &keyPath, const QString &valueName, const QString &registry)
{
    using Read = Result<QString, RegReadFailure>;
    if (!IsKeyPath(keyPath))
        return Read::failure(RegReadFailure::IncorrectFormat);
    QString subkey = keyPath;
    const quint32 root = ParseKeyPath(subkey);
    if (root == 0)
        return Read::failure(RegReadFailure::UnknownRoot);

    const Read notFound = Read::failure(RegReadFailure::NotFound);
    if (registry.isEmpty())
        return notFound;
    const IniRead read = readIniFile(registry, RegistryFileMaxSize);
    if (!read)
        return notFound;
    const QString section = subkey.isEmpty() ? rootKeyName(root) : rootKeyName(root) + u'\\' + subkey;
    const std::optional<QString> value = read.value.value(section, valueName);
    if (!value || value->toUtf8().size() + 1 > ValueBufferSize)
        return notFound;

    qsizetype start = 0;
    while (start < value->size() && value->at(start) == u' ')
        ++start;
    return Read::success(value->mid(start));
}

} // namespace installer
