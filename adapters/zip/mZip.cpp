#include "adapters/zip/mZip.h"

#include "adapters/zip/cZip.h"
#include "adapters/zip/ZipLibrary.h"
#include "core/base/Text1252.h"

#include <QPointer>

#include <algorithm>
#include <cstring>

namespace {

struct RunState {
    bool running = false;
    QPointer<cZip> zip; // cleared should a handler delete the object mid-run
    bool abort = false;
    bool passwordAsked = false;
};

RunState &state()
{
    static RunState s;
    return s;
}

// The text at `text`, `length` bytes with its closing zero, or nothing when
// the length is out of bounds.
bool readText(const char *text, unsigned long length, QString *out)
{
    if (!text || length < 2 || length > 1023)
        return false;
    *out = QString::fromUtf8(text, qsizetype(qstrnlen(text, uint(length))));
    return true;
}

QString trimSpaces(const QString &text)
{
    qsizetype start = 0, end = text.size();
    while (start < end && text[start] == u' ')
        ++start;
    while (end > start && text[end - 1] == u' ')
        --end;
    return text.mid(start, end - start);
}

} // namespace

ZipRunScope::ZipRunScope(cZip &zip)
{
    RunState &s = state();
    if (s.running)
        return;
    s.running = true;
    s.zip = &zip;
    s.abort = false;
    s.passwordAsked = false;
    m_active = true;
}

ZipRunScope::~ZipRunScope()
{
    if (!m_active)
        return;
    RunState &s = state();
    s.running = false;
    s.zip = nullptr;
}

int RunZip(cZip &zip, ZPOPT &options, const QStringList &patterns, int count, QString *error)
{
    const auto refuse = [error](int code, const QString &why) {
        if (error)
            *error = why;
        return code;
    };
    if (count > MaxZipPatterns)
        return refuse(ZE_PARMS, QStringLiteral("Nothing was archived: more than %1 file patterns.").arg(MaxZipPatterns));
    if (count < 0 || count > patterns.size())
        return refuse(ZE_PARMS, QStringLiteral("Nothing was archived: the pattern count does not fit the list."));
    const ZipRunScope run(zip);
    if (!run.active())
        return refuse(ZE_LOGIC, QStringLiteral("Nothing was archived: another archive is being made."));

    ZpInit(ZpCallbacks{ZipPrintCallback, ZipCommentCallback, ZipPasswordCallback, ZipServiceCallback});
    ZPOPT record = options;
    record.szRootDir = trimSpaces(options.szRootDir);
    ZpSetOptions(record);

    // Entries 0..count-1 the patterns, then an empty one and one of a single
    // zero character that end the list.
    QStringList names = patterns.mid(0, count);
    names.append(QString());
    names.append(QString(QChar(0)));
    while (names.size() < MaxZipPatterns + 2)
        names.append(QString());

    const int result = ZpArchive(count, zip.ZipFile(), names);
    if (result != 0 && error)
        *error = ZpLastError();
    return result;
}

int ZipPrintCallback(const char *text, unsigned long length)
{
    QString message;
    if (!readText(text, length, &message))
        return 0;
    SlashToBackslash(message);
    if (cZip *zip = state().zip)
        zip->RaiseProgress(1, message);
    return 0;
}

int ZipServiceCallback(const char *name, unsigned long length)
{
    QString entry;
    if (!readText(name, length, &entry))
        return 0;
    cZip *zip = state().zip;
    if (!zip)
        return 0;
    bool cancel = false;
    zip->RaiseCancel(entry, cancel);
    if (cancel) {
        state().abort = true;
        return 1;
    }
    return 0;
}

int ZipCommentCallback(char *buffer)
{
    RunState &s = state();
    if (s.abort || !s.zip || !buffer)
        return 1;
    QString comment;
    bool cancel = false;
    s.zip->RaiseCommentRequest(comment, cancel);
    comment = trimSpaces(comment);
    if (comment.isEmpty() || cancel) {
        s.abort = true;
        return 1;
    }
    const QByteArray bytes = toWindows1252(comment).left(ZpCommentBufferSize - 1);
    std::memcpy(buffer, bytes.constData(), size_t(bytes.size()));
    buffer[bytes.size()] = 0;
    return 0;
}

int ZipPasswordCallback(char *buffer, int size, const char *, const char *)
{
    RunState &s = state();
    if (s.abort || !s.zip || !buffer || size < 1)
        return 1;
    QString password;
    bool cancel = false;
    s.zip->RaisePasswordRequest(password, size, s.passwordAsked, cancel);
    password = trimSpaces(password);
    if (password.isEmpty() || cancel) {
        s.abort = true;
        return 1;
    }
    // At most 256 positions; the last one written is always a zero.
    const int positions = std::min(size, 256);
    const QByteArray bytes = toWindows1252(password).left(positions - 1);
    std::memcpy(buffer, bytes.constData(), size_t(bytes.size()));
    std::memset(buffer + bytes.size(), 0, size_t(positions - bytes.size()));
    s.passwordAsked = true;
    return 0;
}

void SlashToBackslash(QString &text)
{
    text.replace(u'/', u'\\');
}
