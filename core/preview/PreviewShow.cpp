#include "core/preview/PreviewShow.h"

#include "core/pictures/ImageList.h"
#include "core/preview/PreviewBox.h"

namespace {

std::function<void(const ShownEntry &)> &recorder()
{
    static std::function<void(const ShownEntry &)> r;
    return r;
}

} // namespace

bool ShowListEntry(PreviewBox *box, const ImageList &list, const QString &key, int entry)
{
    const QImage picture = box ? list.Overlay(key, entry) : QImage();
    const bool shown = !picture.isNull();
    if (shown)
        box->SetPicture(picture);
    if (recorder())
        recorder()(ShownEntry{box ? box->objectName() : QString(), key, entry, shown});
    return shown;
}

void setShowRecorder(std::function<void(const ShownEntry &)> r)
{
    recorder() = std::move(r);
}
