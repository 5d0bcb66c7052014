#include "adapters/zip/ZipLibrary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

#include <sys/stat.h>
#include <zip.h>

namespace {

ZpCallbacks g_callbacks;
ZPOPT g_options;
QString g_lastError;

int fail(int code, const QString &why)
{
    g_lastError = why;
    return code;
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString libzipError(int code)
{
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString text = QString::fromLocal8Bit(zip_error_strerror(&error));
    zip_error_fini(&error);
    return text;
}

QString libzipError(zip_t *archive)
{
    return QString::fromLocal8Bit(zip_strerror(archive));
}

bool hasFolder(const QString &pattern)
{
    return pattern.contains(u'/') || pattern.contains(u'\\');
}

// A path below the root ("a/b/c.jpg") against the patterns: one with a folder
// in it is matched against the whole path, the others against the file name.
bool matchesAny(const QString &relative, const QStringList &patterns)
{
    const QString name = relative.section(u'/', -1);
    for (const QString &pattern : patterns) {
        if (pattern.isEmpty())
            continue;
        if (hasFolder(pattern) ? matchesFilePattern(relative, QString(pattern).replace(u'\\', u'/'))
                               : matchesFilePattern(name, pattern))
            return true;
    }
    return false;
}

struct Found {
    QString relative;
    QString source;
};

void collect(const QString &folder, const QString &relative, const ZPOPT &o, const QStringList &patterns,
             const QString &archivePath, QList<Found> &found)
{
    QDir::Filters filters = QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot;
    if (o.fSystem)
        filters |= QDir::Hidden;
    const QFileInfoList entries = QDir(folder).entryInfoList(filters, QDir::Name);
    for (const QFileInfo &info : entries) {
        // A link could lead out of the tree, or round in a circle.
        if (info.isSymLink())
            continue;
        const QString path = relative.isEmpty() ? info.fileName() : relative + u'/' + info.fileName();
        if (info.isDir()) {
            if (o.fRecurse != 0)
                collect(info.filePath(), path, o, patterns, archivePath, found);
            continue;
        }
        // Pipes and devices could be read for ever.
        if (!info.isFile() || !matchesAny(path, patterns))
            continue;
        if (info.absoluteFilePath() == archivePath)
            continue;
        found.append({path, info.filePath()});
    }
}

zip_uint32_t unixAttributes(mode_t type, mode_t mode)
{
    return zip_uint32_t(type | mode) << 16;
}

void callPrint(const QByteArray &text)
{
    if (g_callbacks.print)
        g_callbacks.print(text.constData(), static_cast<unsigned long>(text.size()) + 1);
}

// True when the service callback asks to stop.
bool serviceCancels(const QByteArray &name)
{
    return g_callbacks.service && g_callbacks.service(name.constData(), static_cast<unsigned long>(name.size()) + 1) != 0;
}

const char *unsupportedOption(const ZPOPT &o)
{
    if (o.fEncrypt)
        return "encryption";
    if (o.fCRLF_LF || o.fLF_CRLF)
        return "line-end conversion";
    if (o.fUpdate || o.fFreshen)
        return "updating by date";
    if (o.fMove)
        return "moving files into the archive";
    if (o.fExcludeDate || o.fIncludeDate)
        return "choosing files by date";
    if (o.fRepair)
        return "repairing archives";
    if (o.fLevel < 0 || o.fLevel > 9)
        return "a compression level outside 1 to 9";
    return nullptr;
}

int addFiles(const QString &zipFile, const QString &root, const QStringList &patterns)
{
    const ZPOPT &o = g_options;
    QList<Found> found;
    collect(root, QString(), o, patterns, QFileInfo(zipFile).absoluteFilePath(), found);
    if (found.isEmpty())
        return fail(ZE_NONE, QStringLiteral("Nothing was archived: no file in %1 matches %2.")
                                 .arg(shown(root), patterns.join(QStringLiteral(", "))));

    struct Entry {
        QString name;
        QString source; // empty for a folder entry
    };
    QList<Entry> entries;
    QStringList folders;
    for (const Found &f : std::as_const(found)) {
        const QString name = o.fJunkDir ? f.relative.section(u'/', -1) : f.relative;
        entries.append({name, f.source});
        if (!o.fNoDirEntries && !o.fJunkDir) {
            for (int slash = name.indexOf(u'/'); slash >= 0; slash = name.indexOf(u'/', slash + 1))
                folders.append(name.left(slash + 1));
        }
    }
    folders.removeDuplicates();
    for (const QString &folder : std::as_const(folders))
        entries.append({folder, QString()});
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) { return a.name < b.name; });
    for (qsizetype i = 1; i < entries.size(); ++i) {
        if (entries[i].name == entries[i - 1].name)
            return fail(ZE_PARMS, QStringLiteral("Nothing was archived: two files would be stored as %1.")
                                      .arg(entries[i].name));
    }

    int code = 0;
    zip_t *archive = zip_open(QFile::encodeName(zipFile).constData(), ZIP_CREATE, &code);
    if (!archive)
        return fail(code == ZIP_ER_NOZIP || code == ZIP_ER_INCONS ? ZE_FORM : ZE_OPEN,
                    QStringLiteral("Could not open the archive %1: %2").arg(shown(zipFile), libzipError(code)));
    const zip_uint32_t level = o.fLevel == 0 ? 6 : zip_uint32_t(o.fLevel);

    for (const Entry &entry : std::as_const(entries)) {
        const QByteArray name = entry.name.toUtf8();
        callPrint("  adding: " + name);
        zip_int64_t index = -1;
        if (entry.source.isEmpty()) {
            index = zip_dir_add(archive, name.constData(), ZIP_FL_ENC_UTF_8);
            if (index >= 0)
                zip_file_set_external_attributes(archive, zip_uint64_t(index), 0, ZIP_OPSYS_UNIX,
                                                 unixAttributes(S_IFDIR, 0755) | 0x10);
        } else {
            zip_source_t *source = zip_source_file_create(QFile::encodeName(entry.source).constData(), 0, -1, nullptr);
            if (!source) {
                zip_discard(archive);
                return fail(ZE_READ, QStringLiteral("Could not read %1.").arg(shown(entry.source)));
            }
            index = zip_file_add(archive, name.constData(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
            if (index < 0) {
                zip_source_free(source);
            } else {
                const mode_t mode = entry.name.section(u'/', -1) == QLatin1String("mediadrop.exe") ? 0755 : 0644;
                zip_file_set_external_attributes(archive, zip_uint64_t(index), 0, ZIP_OPSYS_UNIX,
                                                 unixAttributes(S_IFREG, mode));
                zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_DEFLATE, level);
            }
        }
        if (index < 0) {
            const QString why = libzipError(archive);
            zip_discard(archive);
            return fail(ZE_WRITE, QStringLiteral("Could not add %1 to the archive %2: %3")
                                      .arg(entry.name, shown(zipFile), why));
        }
        if (serviceCancels(name)) {
            zip_discard(archive);
            return fail(ZE_ABORT, QStringLiteral("The archive %1 was cancelled.").arg(shown(zipFile)));
        }
    }

    if (o.fComment) {
        char comment[ZpCommentBufferSize + 1] = {};
        if (!g_callbacks.comment || g_callbacks.comment(comment) != 0) {
            zip_discard(archive);
            return fail(ZE_ABORT, QStringLiteral("The archive %1 was cancelled.").arg(shown(zipFile)));
        }
        comment[ZpCommentBufferSize] = 0;
        if (zip_set_archive_comment(archive, comment, zip_uint16_t(std::strlen(comment))) < 0) {
            const QString why = libzipError(archive);
            zip_discard(archive);
            return fail(ZE_PARMS, QStringLiteral("Could not store the comment of %1: %2").arg(shown(zipFile), why));
        }
    }

    if (zip_close(archive) < 0) {
        const QString why = libzipError(archive);
        zip_discard(archive);
        return fail(ZE_CREAT, QStringLiteral("Could not write the archive %1: %2").arg(shown(zipFile), why));
    }
    return ZE_OK;
}

int deleteEntries(const QString &zipFile, const QStringList &patterns)
{
    int code = 0;
    zip_t *archive = zip_open(QFile::encodeName(zipFile).constData(), 0, &code);
    if (!archive)
        return fail(code == ZIP_ER_NOZIP || code == ZIP_ER_INCONS ? ZE_FORM : ZE_OPEN,
                    QStringLiteral("Could not open the archive %1: %2").arg(shown(zipFile), libzipError(code)));
    int deleted = 0;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char *raw = zip_get_name(archive, zip_uint64_t(i), 0);
        if (!raw)
            continue;
        const QByteArray name(raw);
        QString path = QString::fromUtf8(name);
        if (path.endsWith(u'/'))
            path.chop(1);
        if (!matchesAny(path, patterns))
            continue;
        callPrint("deleting: " + name);
        if (zip_delete(archive, zip_uint64_t(i)) < 0) {
            const QString why = libzipError(archive);
            zip_discard(archive);
            return fail(ZE_WRITE, QStringLiteral("Could not remove %1 from the archive %2: %3")
                                      .arg(QString::fromUtf8(name), shown(zipFile), why));
        }
        ++deleted;
        if (serviceCancels(name)) {
            zip_discard(archive);
            return fail(ZE_ABORT, QStringLiteral("The archive %1 was cancelled.").arg(shown(zipFile)));
        }
    }
    if (deleted == 0) {
        zip_discard(archive);
        return fail(ZE_NONE, QStringLiteral("Nothing was removed: no entry of %1 matches %2.")
                                 .arg(shown(zipFile), patterns.join(QStringLiteral(", "))));
    }
    if (zip_close(archive) < 0) {
        const QString why = libzipError(archive);
        zip_discard(archive);
        return fail(ZE_CREAT, QStringLiteral("Could not write the archive %1: %2").arg(shown(zipFile), why));
    }
    return ZE_OK;
}

} // namespace

void ZpInit(const ZpCallbacks &callbacks)
{
    g_callbacks = callbacks;
}

void ZpSetOptions(const ZPOPT &options)
{
    g_options = options;
}

int ZpArchive(int count, const QString &zipFile, const QStringList &names)
{
    g_lastError.clear();
    if (count < 1 || count > names.size())
        return fail(ZE_PARMS, QStringLiteral("Nothing was archived: no file pattern was given."));
    if (const char *option = unsupportedOption(g_options))
        return fail(ZE_PARMS, QStringLiteral("Nothing was archived: %1 is not offered.").arg(QLatin1String(option)));
    const QString root = g_options.szRootDir.trimmed();
    if (root.isEmpty() && !g_options.fDeleteEntries)
        return fail(ZE_PARMS, QStringLiteral("Nothing was archived: no base folder was given."));
    if (zipFile.trimmed().isEmpty())
        return fail(ZE_PARMS, QStringLiteral("Nothing was archived: no archive name was given."));

    const QString rootPath = QDir::fromNativeSeparators(root);
    // A relative archive name is taken from the base folder, as the names are.
    const QString archive = QDir(rootPath.isEmpty() ? QDir::currentPath() : rootPath)
                                .absoluteFilePath(QDir::fromNativeSeparators(zipFile));
    const QStringList patterns = names.mid(0, count);
    if (g_options.fDeleteEntries)
        return deleteEntries(archive, patterns);
    if (!QFileInfo(rootPath).isDir())
        return fail(ZE_NONE, QStringLiteral("Nothing was archived: the folder %1 does not exist.").arg(shown(rootPath)));
    return addFiles(archive, QDir(rootPath).absolutePath(), patterns);
}

QString ZpLastError()
{
    return g_lastError;
}

bool matchesFilePattern(const QString &name, const QString &pattern)
{
    // Greedy match with one point to go back to: the last "*" seen. Neither
    // wildcard crosses a "/", so "Files/*.jpg" takes no file of a subfolder.
    qsizetype n = 0, p = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size()
                   && ((pattern[p] == u'?' && name[n] != u'/') || pattern[p].toCaseFolded() == name[n].toCaseFolded())) {
            ++p;
            ++n;
        } else if (starP >= 0 && name[starN] != u'/') {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}
