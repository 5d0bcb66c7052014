#pragma once
// The bytes of one upload request, handed out block by block as the
// connection takes them: the head, the file's bytes read from disk, then the
// tail. The file is opened and checked once, before the request is framed,
// and is never held in memory whole. Before every block and before the tail
// the file must still be the one opened, unchanged: the same file under its
// path, with its size and modification time. One that changed, or cannot be
// read, ends the stream with the reason, so no request of mixed versions
// ends; nothing past the length announced in the head is ever given out.

#include "core/base/Files.h"
#include "core/sharing/UploadRequest.h"

#include <memory>

class UploadRequestStream {
public:
    UploadRequestStream();
    ~UploadRequestStream();
    UploadRequestStream(const UploadRequestStream &) = delete;
    UploadRequestStream &operator=(const UploadRequestStream &) = delete;

    // Opens the file to send: a regular file of at most kMaxUploadFileSize
    // bytes. Its size at this check is the size the request announces.
    [[nodiscard]] FileResult open(const QString &path);
    qint64 fileSize() const;

    // The text around the file's bytes, framed for fileSize().
    void setFrame(UploadRequestFrame frame);

    // The whole request's length, and how much of it has been given out.
    qint64 size() const;
    qint64 position() const { return position_; }
    bool atEnd() const { return position_ >= size(); }

    // The next bytes of the request, at most `maxBytes` (the head and the tail
    // whole, whatever their length); empty at the end. Fails, and stays
    // failed, when the file has changed or cannot be read.
    [[nodiscard]] FileRead next(qint64 maxBytes);

private:
    // The file is still the one opened, with its size and modification time.
    [[nodiscard]] FileResult checkUnchanged() const;

    QString path_;
    std::unique_ptr<OpenedFile> file_;
    UploadRequestFrame frame_;
    qint64 position_ = 0;
    QString failure_;
};
