// A layer section on the loader's hook: its reset runs at the start of every
// load and at the window's close, its load in table order, with the loader's
// locals and the sections before it done.

#include "tests/library/LibraryFixture.h"

#include <algorithm>

namespace {

// Writes what it sees into a shared log.
class RecordingSection : public PreviewSection {
public:
    RecordingSection(int order, QStringList *log) : m_order(order), m_log(log) {}
    int order() const override { return m_order; }
    void reset(PreviewPlayer &player) override
    {
        *m_log << QStringLiteral("reset %1: mouth %2").arg(m_order).arg(player.VelmMouth->isShown());
    }
    void load(PreviewLoad &load) override
    {
        const KeyValue mine = load.key(QStringLiteral("REC%1=").arg(m_order));
        *m_log << QStringLiteral("load %1: %2, x %3, mouth %4, ratio %5")
                      .arg(m_order)
                      .arg(mine.present ? mine.value : QStringLiteral("-"), load.locals.xText)
                      .arg(load.player.VelmMouth->isShown())
                      .arg(load.ratio() ? *load.ratio() : 0.0);
    }

private:
    int m_order;
    QStringList *m_log;
};

using PreviewSectionTest = LibraryTest;

TEST_F(PreviewSectionTest, ARecordingSectionSeesEachLoadInOrder)
{
    writeBeach(QStringLiteral("Beach"), "REC3=smile;\r\nREC9=sounds;\r\n");
    writeScene(QStringLiteral("Empty"), "\r\n");
    VelmNShare &w = openLibrary();
    QStringList log;
    const size_t layers = w.Player->Sections.size();
    // Added out of order; they run in table order, the main mouth (2) first.
    addPreviewSection(w.Player->Sections, std::make_unique<RecordingSection>(9, &log));
    addPreviewSection(w.Player->Sections, std::make_unique<RecordingSection>(3, &log));
    ASSERT_EQ(w.Player->Sections.size(), layers + 2);
    EXPECT_EQ(w.Player->Sections[0]->order(), 2);
    for (size_t i = 1; i < w.Player->Sections.size(); ++i)
        EXPECT_LE(w.Player->Sections[i - 1]->order(), w.Player->Sections[i]->order()) << i;

    click(w.List2, QStringLiteral("Beach"));
    EXPECT_EQ(log, (QStringList{"reset 3: mouth 0", "reset 9: mouth 0", "load 3: smile, x 10, mouth 1, ratio 2",
                                "load 9: sounds, x 10, mouth 1, ratio 2"}));

    // The next load resets first: the mouth is hidden again before any section loads.
    log.clear();
    click(w.List2, QStringLiteral("Empty"));
    EXPECT_EQ(log, (QStringList{"reset 3: mouth 0", "reset 9: mouth 0", "load 3: -, x , mouth 0, ratio 0",
                                "load 9: -, x , mouth 0, ratio 0"}));

    // A close resets every section, before the window goes.
    log.clear();
    click(w.List2, QStringLiteral("Beach"));
    log.clear();
    closeLibrary();
    EXPECT_EQ(log, (QStringList{"reset 3: mouth 1", "reset 9: mouth 1"}));
    EXPECT_TRUE(messages.shown.isEmpty());
}

} // namespace
