#include "core/sharing/UploadRequestStream.h"

#include <QDir>


UploadRequestStream::UploadRequestStream() = default;
UploadRequestStream::~UploadRequestStream() = default;

FileResult UploadRequestStream::open(const QString &path)
{
    path_ = path;
    position_ = 0;
    failure_.clear();
    file_ = std::make_unique<OpenedFile>(path);
    FileResult checked = checkFileToRead(*file_, kMaxUploadFileSize, path);
    if (!checked)
        file_.reset();
    return checked;
}

qint64 UploadRequestStream::fileSize() const
{
    return file_ ? file_->size() : 0;
}

void UploadRequestStream::setFrame(UploadRequestFrame frame)
{
    frame_ = std::move(frame);
}

qint64 UploadRequestStream::size() const
{
    return frame_.head.size() + fileSize() + frame_.tail.size();
}

FileRead UploadRequestStream::next(qint64 maxBytes)
{
    if (!failure_.isEmpty())
        return FileRead::failure(failure_);
    const qint64 headEnd = frame_.head.size();
    const qint64 fileEnd = headEnd + fileSize();
    QByteArray bytes;
    if (position_ < headEnd) {
        bytes = frame_.head;
    } else if (position_ < size()) {
        // Checked before every block and once more before the tail, so a file
        // that changed after its last block still fails.
        FileResult checked = checkUnchanged();
        if (checked && position_ < fileEnd) {
            const qint64 count = std::min(std::max<qint64>(maxBytes, 1), fileEnd - position_);
            FileRead read = readOpenedFile(*file_, count, path_, position_ - headEnd);
            if (read)
                bytes = std::move(read.value);
            else
                checked = FileResult::failure(read.error);
        } else if (checked) {
            bytes = frame_.tail;
        }
        if (!checked) {
            failure_ = checked.error;
            return FileRead::failure(failure_);
        }
    }
    position_ += bytes.size();
    return FileRead::success(std::move(bytes));
}

FileResult UploadRequestStream::checkUnchanged() const
{
    const auto failure = [this](const char *what) {
        return FileResult::failure(
            QStringLiteral("Could not read %1: %2").arg(QDir::toNativeSeparators(path_), QLatin1String(what)));
    };
    const std::optional<FileStamp> open = file_ ? fileStamp(file_->descriptor()) : std::nullopt;
    if (!open || open->size != file_->size())
        return failure("it changed size while it was sent");
    // Written again in place, with the same length.
    if (open->modifiedNs != file_->stamp().modifiedNs)
        return failure("it was written again while it was sent");
    // Another file has taken its name, or it has none any more.
    const std::optional<FileStamp> named = fileStamp(path_);
    if (!named || !named->sameFile(*open))
        return failure("it was replaced or removed while it was sent");
    return FileResult::success();
}
