#pragma once
// Runs the archiver library for a cZip and turns the library's callbacks into
// the cZip's signals. One archive run at a time: a run asked for while one is
// going on (from a signal handler, say) is refused with ZE_LOGIC.

#include <QString>
#include <QStringList>

class cZip;
struct ZPOPT;

// Most patterns one run takes: the library's name list has 1024 entries, and
// the two after the patterns mark its end.
inline constexpr int MaxZipPatterns = 1022;

// Makes `zip` the running archive for the callbacks, with the abort and
// password-asked flags cleared, until it ends. Refused (active() false) while
// another run holds it.
class ZipRunScope {
public:
    explicit ZipRunScope(cZip &zip);
    ~ZipRunScope();
    ZipRunScope(const ZipRunScope &) = delete;
    ZipRunScope &operator=(const ZipRunScope &) = delete;
    bool active() const { return m_active; }

private:
    bool m_active = false;
};

// Runs the library once over the first `count` patterns and returns its
// result, 0 when the archive was written. On failure `error` gets the reason.
[[nodiscard]] int RunZip(cZip &zip, ZPOPT &options, const QStringList &patterns, int count, QString *error = nullptr);

// The callbacks handed to the library. Texts of 2 to 1023 bytes (the length
// counts the closing zero) are passed on, others are not.
int ZipPrintCallback(const char *text, unsigned long length);
int ZipServiceCallback(const char *name, unsigned long length);
int ZipCommentCallback(char *buffer);
int ZipPasswordCallback(char *buffer, int size, const char *prompt, const char *name);

// Every "/" becomes "\".
void SlashToBackslash(QString &text);
