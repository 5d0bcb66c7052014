#pragma once
// The zip wrapper: an archive's settings as properties over the library's
// option record, the archive's name and a list of file patterns. Zip makes the
// archive through mZip; the library's requests come back as the signals below,
// raised on the calling thread while Zip runs. Handlers answer through the
// reference arguments, so connect them directly.
//
// The library window makes one, m_cZ, when it loads; the share package sets
// ZipFile, BasePath, its patterns, StoreFolderNames and RecurseSubDirs, runs
// Zip and reads Success (zipSharePackage in SharePackage.h).

#include "adapters/zip/ZipLibrary.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

class cZip : public QObject {
    Q_OBJECT
public:
    explicit cZip(QObject *parent = nullptr);

    QString ZipFile() const { return m_zipFile; }
    void setZipFile(const QString &path) { m_zipFile = path; }
    QString BasePath() const { return m_options.szRootDir; }
    void setBasePath(const QString &path) { m_options.szRootDir = path; }

    bool Encrypt() const { return m_options.fEncrypt != 0; }
    void setEncrypt(bool on) { m_options.fEncrypt = on ? 1 : 0; }
    bool AddComment() const { return m_options.fComment != 0; }
    void setAddComment(bool on) { m_options.fComment = on ? 1 : 0; }
    bool IncludeSystemAndHiddenFiles() const { return m_options.fSystem != 0; }
    void setIncludeSystemAndHiddenFiles(bool on) { m_options.fSystem = on ? 1 : 0; }
    bool StoreVolumeLabel() const { return m_options.fVolume != 0; }
    void setStoreVolumeLabel(bool on) { m_options.fVolume = on ? 1 : 0; }
    bool StoreDirectories() const { return m_options.fNoDirEntries == 0; }
    void setStoreDirectories(bool on) { m_options.fNoDirEntries = on ? 0 : 1; }
    bool StoreFolderNames() const { return m_options.fJunkDir == 0; }
    void setStoreFolderNames(bool on) { m_options.fJunkDir = on ? 0 : 1; }
    bool RecurseSubDirs() const { return m_options.fRecurse != 0; }
    void setRecurseSubDirs(bool on) { m_options.fRecurse = on ? 2 : 0; }
    bool UpdateOnlyIfNewer() const { return m_options.fUpdate != 0; }
    void setUpdateOnlyIfNewer(bool on) { m_options.fUpdate = on ? 1 : 0; }
    bool FreshenFiles() const { return m_options.fFreshen != 0; }
    void setFreshenFiles(bool on) { m_options.fFreshen = on ? 1 : 0; }
    // 0 verbose, 1 quiet, 2 normal; other values change nothing.
    int MessageLevel() const;
    void setMessageLevel(int level);
    bool ConvertCRLFToLF() const { return m_options.fCRLF_LF != 0; }
    void setConvertCRLFToLF(bool on) { m_options.fCRLF_LF = on ? 1 : 0; }
    bool ConvertLFToCRLF() const { return m_options.fLF_CRLF != 0; }
    void setConvertLFToCRLF(bool on) { m_options.fLF_CRLF = on ? 1 : 0; }

    void ClearFileSpecs();
    void AddFileSpec(const QString &pattern);
    int FileSpecCount() const { return m_specCount; }
    // The pattern at a position from 1; nothing for a position outside the list.
    [[nodiscard]] std::optional<QString> FileSpec(int position) const;

    bool AllowAppend() const { return m_options.fGrow == 1; }
    void setAllowAppend(bool on) { m_options.fGrow = on ? 1 : 0; }

    // Makes the archive; Success tells whether it was written.
    void Zip();
    bool Success() const { return m_lastResult == 0; }
    // Removes the entries that match the patterns from the archive. Success
    // keeps reporting the last Zip.
    void Delete();

    // The library's result of the last Zip (0 = written) and its reason when not.
    int LastResult() const { return m_lastResult; }
    QString LastError() const { return m_lastError; }
    // The option record as the library gets it.
    const ZPOPT &Options() const { return m_options; }

    // For mZip's callbacks only.
    void RaiseProgress(int count, const QString &message) { emit Progress(count, message); }
    void RaisePasswordRequest(QString &password, int maxLength, bool confirm, bool &cancel)
    {
        emit PasswordRequest(password, maxLength, confirm, cancel);
    }
    void RaiseCommentRequest(QString &comment, bool &cancel) { emit CommentRequest(comment, cancel); }
    void RaiseCancel(const QString &name, bool &cancel) { emit Cancel(name, cancel); }

signals:
    // After each entry; set cancel to stop, and nothing is written.
    void Cancel(const QString &name, bool &cancel);
    void PasswordRequest(QString &password, int maxLength, bool confirm, bool &cancel);
    void CommentRequest(QString &comment, bool &cancel);
    void Progress(int count, const QString &message);

private:
    ZPOPT m_options;
    QString m_zipFile;
    QStringList m_specs;
    int m_specCount = 0;
    int m_lastResult = 0;
    QString m_lastError;
};
