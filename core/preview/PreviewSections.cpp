// The table of the preview loader's layer sections. A new layer adds its
// section here; addPreviewSection keeps them in table order.

#include "core/preview/PreviewSection.h"

#include "core/preview/ExtraChildSection.h"
#include "core/preview/FullBackgroundSection.h"
#include "core/preview/MouthSection.h"
#include "core/preview/TriggerSection.h"
#include "core/preview/BlinkBrowSection.h"
#include "core/preview/SmileSection.h"
#include "core/preview/UserSection.h"
#include "core/preview/SoundSection.h"

#include <algorithm>

PreviewSections makePreviewSections()
{
    PreviewSections sections;
    addPreviewSection(sections, std::make_unique<MainMouthSection>());
    addPreviewSection(sections, std::make_unique<ExtraChildSection>());
    addPreviewSection(sections, std::make_unique<FullBackgroundSection>());
    addPreviewSection(sections, std::make_unique<TriggerSection>());
    addPreviewSection(sections, std::make_unique<SmileSection>());
    addPreviewSection(sections, std::make_unique<BlinkBrowSection>());
    addPreviewSection(sections, std::make_unique<UserSection>());
    addPreviewSection(sections, std::make_unique<SceneSoundSection>());
    return sections;
}

void addPreviewSection(PreviewSections &sections, std::unique_ptr<PreviewSection> section)
{
    const int order = section->order();
    const auto at = std::find_if(sections.begin(), sections.end(),
                                 [order](const auto &s) { return s->order() > order; });
    sections.insert(at, std::move(section));
}
