#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzTargets.h"

#include "core/scene/SceneChecks.h"
#include "core/scene/SceneListFile.h"

#include <QStringList>

void fuzzSceneList(const uint8_t *data, size_t size)
{
    // The list's bytes, and after the first zero byte a scene name to add.
    const QList<QByteArray> fields = fuzzFields(data, size);
    const QByteArray contents = fields.value(0);

    // A name the library shows as listed is never written a second time.
    const QStringList listed = readSceneList(contents);
    for (const QString &name : listed)
        FUZZ_CHECK(sceneListContains(contents, name));

    const QString name = QString::fromUtf8(fields.value(1));
    if (name.isEmpty() || !checkSceneName(name).ok())
        return;
    // What the writer adds, its duplicate test finds at once.
    const QByteArray added = appendSceneListEntry(contents, name);
    FUZZ_CHECK(added.startsWith(contents));
    FUZZ_CHECK(sceneListContains(added, name));
    // In a list the writer made, the library lists the name as it was added.
    if (contents.isEmpty())
        FUZZ_CHECK(readSceneList(added) == QStringList{name});
}
