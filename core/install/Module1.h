#pragma once
// The registry value reader of the media installer. The companion program's
// install records its keys in velm-registry.ini: a section names a whole key
// path such as "HKEY_LOCAL_MACHINE\Software\Pellwick Studios\Velm5Pro", and
// its "name=value" lines are the key's text values. Key and value names
// compare without regard to letter case, as the registry does.

#include "core/base/Result.h"

#include <QString>
#include <QStringList>

namespace installer {

inline constexpr char RegistryFileName[] = "velm-registry.ini";
// The registry file is read whole; a larger one counts as unreadable.
inline constexpr qint64 RegistryFileMaxSize = 1024 * 1024;
// The value buffer: a value that does not fit with its terminating zero cannot be read.
inline constexpr int ValueBufferSize = 255;

// Where velm-registry.ini is looked for, in order: the user's config folder,
// then the system's.
QStringList registryFilePlaces();
// The first of those places that holds the file; "" when none does.
QString registryFile();

// Why a value could not be read.
enum class RegReadFailure {
    IncorrectFormat, // the path does not begin with "HKEY_" or ends in "\"
    UnknownRoot,     // its root is not one of the seven predefined roots
    NotFound,        // the key or the value is missing, the file cannot be read, or the
                     // value's UTF-8 bytes do not fit the 255-byte buffer with the zero
};

// One text value. The key path begins with a root key's name ("HKEY_LOCAL_MACHINE"
// alone reads the root key itself). Gives the value with its leading spaces
// dropped (trailing ones stay), or why there is none. Shows nothing.
Result<QString, RegReadFailure> RegRead(const QString &keyPath, const QString &valueName,
                                        const QString &registry = registryFile());

// Why the keys give no install folder, in words for the user, when RegRead
// gives none or an empty one for each of them in turn: the registry file and
// where it was looked for when there is none, or what the file lacks. "" when
// a key gives a folder (whatever the folder is).
QString installFolderLookup(const QStringList &keyPaths, const QString &valueName,
                            const QString &registry = registryFile());

} // namespace installer
