#include "core/pictures/PictureCache.h"

#include "core/pictures/ImageList.h"

#include <QThreadPool>

#include <condition_variable>
#include <mutex>

struct PictureCache::State {
    struct Slot {
        std::shared_ptr<const DeferredPicture> source;
        Made picture;
        bool made = false;
        quint64 used = 0; // when it was last asked for, on the clock below
    };

    std::mutex mutex;
    std::condition_variable madeOne;
    std::vector<Slot> entries;
    quint64 clock = 0;

    // Callers hold the mutex.
    Slot *find(const DeferredPicture *source)
    {
        for (Slot &slot : entries)
            if (slot.source.get() == source)
                return &slot;
        return nullptr;
    }
    // A slot being made for `source`; the least recently asked-for made
    // picture gives way when Kept are there. One being made never does.
    void add(const std::shared_ptr<const DeferredPicture> &source)
    {
        while (entries.size() >= size_t(PictureCache::Kept)) {
            auto oldest = entries.end();
            for (auto it = entries.begin(); it != entries.end(); ++it)
                if (it->made && (oldest == entries.end() || it->used < oldest->used))
                    oldest = it;
            if (oldest == entries.end())
                break;
            entries.erase(oldest);
        }
        entries.push_back(Slot{source, Made(), false, ++clock});
    }
    // Makes the picture of `source` on the calling thread, and keeps it.
    Made make(const std::shared_ptr<const DeferredPicture> &source)
    {
        QImage picture = source->make();
        const bool masked = hasMaskColor(picture);
        const Made made{std::move(picture), masked};
        finish(source.get(), made);
        return made;
    }
    void finish(const DeferredPicture *source, const Made &picture)
    {
        {
            const std::lock_guard lock(mutex);
            if (Slot *slot = find(source)) {
                slot->picture = picture;
                slot->made = true;
            }
        }
        madeOne.notify_all();
    }
};

PictureCache::PictureCache() : m_state(std::make_shared<State>())
{
}

PictureCache::Made PictureCache::picture(const std::shared_ptr<const DeferredPicture> &source) const
{
    State &s = *m_state;
    std::unique_lock lock(s.mutex);
    for (;;) {
        State::Slot *slot = s.find(source.get());
        if (!slot)
            break;
        if (slot->made) {
            slot->used = ++s.clock;
            return slot->picture;
        }
        s.madeOne.wait(lock);
    }
    s.add(source);
    lock.unlock();
    return s.make(source);
}

void PictureCache::makeAhead(const std::vector<std::shared_ptr<const DeferredPicture>> &sources) const
{
    std::vector<std::shared_ptr<const DeferredPicture>> started;
    {
        const std::lock_guard lock(m_state->mutex);
        for (const auto &source : sources) {
            if (!source || m_state->find(source.get()))
                continue;
            m_state->add(source);
            started.push_back(source);
        }
    }
    for (auto &source : started)
        QThreadPool::globalInstance()->start([state = m_state, source = std::move(source)] { state->make(source); });
}

std::vector<QImage> PictureCache::madePictures() const
{
    const std::lock_guard lock(m_state->mutex);
    std::vector<QImage> made;
    for (const State::Slot &slot : m_state->entries)
        if (slot.made && !slot.picture.picture.isNull())
            made.push_back(slot.picture.picture);
    return made;
}
