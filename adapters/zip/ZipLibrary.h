#pragma once
// The archiver library behind the zip wrapper: the Zip DLL interface of
// Info-ZIP (an option record, four callbacks, one archive call), written over
// libzip.
//
// ZpInit hands over the callbacks, ZpSetOptions the option record, and
// ZpArchive(count, zipFile, names) makes the archive and returns 0. It adds
// every regular file below szRootDir whose name matches one of the first
// `count` names (letter case ignored, "*" and "?" as wildcards; a pattern with
// a folder in it is matched against the path below the root), at any depth
// when fRecurse is not 0, else in the root only. Entries are stored under
// their path below the root with "/" (fJunkDir 0) or their file name alone
// (fJunkDir 1), in sorted order, with UTF-8 names; folders get entries of
// their own only with fNoDirEntries 0. "mediadrop.exe" gets the Unix mode
// 0755, every other file 0644. Links, pipes and devices are never archived;
// hidden (dot) files and folders only with fSystem 1.
//
// For every entry the print callback gets "  adding: <name>" and then the
// service callback the entry's name, each with the length strlen + 1, before
// ZpArchive returns. A non-zero service answer cancels: nothing is written.
// With fComment 1 the comment callback fills the archive comment. An archive
// that exists is updated: same-named entries are replaced in their places,
// new ones follow the entries it held, and the others are kept. With
// fDeleteEntries 1 the matching entries are removed from the archive instead.
// The archive is written to a temporary file and renamed at the end, so a
// failure or a cancel never leaves half an archive. The current directory is
// never changed.
//
// Options this layer does not carry out are refused with ZE_PARMS rather than
// ignored: encryption, line-end conversion, update or freshen by date, moving
// files, date ranges and repair. Options without a meaning here (volume label,
// DOS names, privileges, temporary folder, SFX offsets, verbosity) are ignored.
//
// Texts handed to the callbacks are UTF-8, as file names are here.

#include <QString>
#include <QStringList>

// Results of ZpArchive, with Info-ZIP's numbers.
enum ZpResult : int {
    ZE_OK = 0,
    ZE_FORM = 3,   // the archive that exists is no zip archive
    ZE_MEM = 4,    // out of memory
    ZE_LOGIC = 5,  // an archive run is going on already
    ZE_ABORT = 9,  // cancelled by a callback
    ZE_READ = 11,  // a file could not be read
    ZE_NONE = 12,  // nothing to do: no file matched
    ZE_WRITE = 14, // the archive could not be written
    ZE_CREAT = 15, // the archive could not be created
    ZE_PARMS = 16, // bad or unsupported options
    ZE_OPEN = 18,  // the archive could not be opened
};

// The option record, with Info-ZIP's field names. Flags are 0 or 1.
struct ZPOPT {
    QString Date;      // date for fExcludeDate / fIncludeDate
    QString szRootDir; // base folder of the names
    QString szTempDir; // folder for the temporary archive
    int fTemp = 0;
    int fSuffix = 0;
    int fEncrypt = 0;
    int fSystem = 0; // include hidden and system files
    int fVolume = 0;
    int fExtra = 0;
    int fNoDirEntries = 0; // no entries for folders
    int fExcludeDate = 0;
    int fIncludeDate = 0;
    int fVerbose = 0;
    int fQuiet = 0;
    int fCRLF_LF = 0;
    int fLF_CRLF = 0;
    int fJunkDir = 0; // store file names without their folders
    int fGrow = 0;
    int fForce = 0;
    int fMove = 0;
    int fDeleteEntries = 0; // remove matching entries instead of adding
    int fUpdate = 0;
    int fFreshen = 0;
    int fJunkSFX = 0;
    int fLatestTime = 0;
    int fComment = 0; // ask for an archive comment
    int fOffsets = 0;
    int fPrivilege = 0;
    int fEncryption = 0;
    int fRecurse = 0; // 0: the root folder only; 1 or 2: every depth
    int fRepair = 0;
    int fLevel = 0; // deflate level 1..9; 0 means 6

    bool operator==(const ZPOPT &) const = default;
};

// The callbacks, in the order print, comment, password, service.
// print: a progress text and its length (strlen + 1); returns 0.
// comment: a buffer of ZpCommentBufferSize bytes for the zero-ended comment;
//   0 when it was filled, non-zero to cancel.
// password: a buffer, its size, a prompt and the entry's name; 0 when filled.
// service: an entry's name and its length (strlen + 1); non-zero cancels.
using ZpPrintFunction = int (*)(const char *text, unsigned long length);
using ZpCommentFunction = int (*)(char *buffer);
using ZpPasswordFunction = int (*)(char *buffer, int size, const char *prompt, const char *name);
using ZpServiceFunction = int (*)(const char *name, unsigned long length);

inline constexpr int ZpCommentBufferSize = 256;

struct ZpCallbacks {
    ZpPrintFunction print = nullptr;
    ZpCommentFunction comment = nullptr;
    ZpPasswordFunction password = nullptr;
    ZpServiceFunction service = nullptr;
};

void ZpInit(const ZpCallbacks &callbacks);
void ZpSetOptions(const ZPOPT &options);
// Makes (or, with fDeleteEntries, thins) the archive. `names` holds at least
// `count` patterns; entries past them are not read.
[[nodiscard]] int ZpArchive(int count, const QString &zipFile, const QStringList &names);

// A sentence that names the archive or file and says why the last ZpArchive
// failed; empty after a success.
QString ZpLastError();

// Windows file patterns: "*" any run of characters, "?" one, neither
// crossing a "/"; letter case ignored.
bool matchesFilePattern(const QString &name, const QString &pattern);
