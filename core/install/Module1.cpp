#include "core/install/Module1.h"

#include "core/base/IniFile.h"
#include "core/system/Services.h"

#include <QDir>
#include <QFileInfo>
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

// The section of the registry file that holds the key at a path: the root's
// name as the table spells it, then the subkey. Or why the path names no key.
Result<QString, RegReadFailure> sectionOfKey(const QString &keyPath)
{
    using Section = Result<QString, RegReadFailure>;
    if (!IsKeyPath(keyPath))
        return Section::failure(RegReadFailure::IncorrectFormat);
    QString subkey = keyPath;
    const quint32 root = ParseKeyPath(subkey);
    if (root == 0)
        return Section::failure(RegReadFailure::UnknownRoot);
    return Section::success(subkey.isEmpty() ? rootKeyName(root) : rootKeyName(root) + u'\\' + subkey);
}

// True when the value's UTF-8 bytes and the terminating zero fit the value buffer.
bool fitsTheBuffer(const QString &value)
{
    return value.toUtf8().size() + 1 <= ValueBufferSize;
}

QString withoutLeadingSpaces(const QString &value)
{
    qsizetype start = 0;
    while (start < value.size() && value.at(start) == u' ')
        ++start;
    return value.mid(start);
}

} // namespace

QStringList registryFilePlaces()
{
    QStringList places;
    for (const QString &folder : QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation))
        places << QDir(folder).filePath(QLatin1StringView(RegistryFileName));
    return places;
}

QString registryFile()
{
    for (const QString &place : registryFilePlaces())
        if (QFileInfo(place).isFile())
            return place;
    return QString();
}

Result<QString, RegReadFailure> RegRead(const QString &keyPath, const QString &valueName, const QString &registry)
{
    using Read = Result<QString, RegReadFailure>;
    const Result<QString, RegReadFailure> section = sectionOfKey(keyPath);
    if (!section)
        return Read::failure(section.error);

    const Read notFound = Read::failure(RegReadFailure::NotFound);
    if (registry.isEmpty())
        return notFound;
    const IniRead read = readIniFile(registry, RegistryFileMaxSize);
    if (!read)
        return notFound;
    const std::optional<QString> value = read.value.value(section.value, valueName);
    if (!value || !fitsTheBuffer(*value))
        return notFound;
    return Read::success(withoutLeadingSpaces(*value));
}

QString installFolderLookup(const QStringList &keyPaths, const QString &valueName, const QString &registry)
{
    const QString readFrom = QStringLiteral("The installation directory is read from the file %1");
    if (registry.isEmpty()) {
        QStringList places;
        for (const QString &place : registryFilePlaces())
            places << QDir::toNativeSeparators(place);
        return readFrom.arg(QLatin1StringView(RegistryFileName))
               + QStringLiteral(", which is in none of the places it is looked for:\n") + places.join(u'\n');
    }
    const IniRead read = readIniFile(registry, RegistryFileMaxSize);
    if (!read)
        return readFrom.arg(QLatin1StringView(RegistryFileName)) + QStringLiteral(". ") + read.error + u'.';
    // The keys as the window reads them: the next one only while there is no
    // value, and an empty value ends the look-up as a folder does.
    QStringList found;
    for (const QString &keyPath : keyPaths) {
        const Result<QString, RegReadFailure> key = sectionOfKey(keyPath);
        if (!key)
            continue;
        const std::optional<QString> value = read.value.value(key.value, valueName);
        if (!value) {
            found << QStringLiteral("the section [%1] has no %2 value").arg(key.value, valueName);
        } else if (!fitsTheBuffer(*value)) {
            found << QStringLiteral("the %1 value of the section [%2] is longer than the %3 bytes that can be read")
                         .arg(valueName, key.value)
                         .arg(ValueBufferSize - 1);
        } else if (withoutLeadingSpaces(*value).isEmpty()) {
            found << QStringLiteral("the %1 value of the section [%2] is empty").arg(valueName, key.value);
            break;
        } else {
            return QString();
        }
    }
    if (found.isEmpty())
        return QString();
    return readFrom.arg(QDir::toNativeSeparators(registry)) + QStringLiteral(", in which ")
           + found.join(QStringLiteral(", and ")) + u'.';
}

} // namespace installer
