// Every file of the fuzz corpus through the target it belongs to, compiled as
// ordinary code: an input that once broke a reader is tried on every run,
// without clang or the fuzzer.

#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzTargets.h"

#include "core/base/Files.h"
#include "tests/support/QtNotes.h"

#include <QDir>

#include <gtest/gtest.h>

// A target by its name in the test's listing.
inline void PrintTo(const FuzzTarget &target, std::ostream *out)
{
    *out << target.name;
}

namespace {

const QString kCorpus = QStringLiteral(SCENARA_FUZZ_CORPUS);

void reportFailure(const char *what, const char *file, int line)
{
    ADD_FAILURE_AT(file, line) << "demand failed: " << what;
}

class FuzzCorpus : public ::testing::TestWithParam<FuzzTarget> {};

TEST_P(FuzzCorpus, EveryFilePasses)
{
    const FuzzTarget &target = GetParam();
    const QDir dir(kCorpus + u'/' + QLatin1String(target.name));
    const QStringList files = dir.entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty()) << "no seed corpus in " << dir.path().toStdString();
    setFuzzFailureHandler(reportFailure);
    const AllowedQtNotes damaged(AllowedQtNotes::JpegDecoder, "the corpus is damaged pictures; the decoder says so");
    for (const QString &name : files) {
        SCOPED_TRACE(dir.filePath(name).toStdString());
        const FileRead read = readFile(dir.filePath(name), 1024 * 1024);
        ASSERT_TRUE(read.ok()) << read.error.toStdString();
        target.run(reinterpret_cast<const uint8_t *>(read.value.constData()), size_t(read.value.size()));
    }
    setFuzzFailureHandler(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzCorpus, ::testing::ValuesIn(kFuzzTargets),
                         [](const ::testing::TestParamInfo<FuzzTarget> &info) { return std::string(info.param.name); });

// A corpus folder without a target would never be replayed.
TEST(FuzzCorpusFolders, EachBelongsToATarget)
{
    QStringList targets;
    for (const FuzzTarget &target : kFuzzTargets)
        targets << QLatin1String(target.name);
    const QStringList folders = QDir(kCorpus).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &folder : folders)
        EXPECT_TRUE(targets.contains(folder)) << folder.toStdString();
}

} // namespace
