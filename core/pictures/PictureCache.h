#pragma once
// The pictures a list makes when they are shown (DeferredPicture): the last
// few made are kept, and the ones about to be shown are made ahead on worker
// threads, so that showing one is mostly a lookup. A picture asked for while a
// worker makes it is waited for, never made twice, so every entry that shares
// a source gets the one same picture while it is kept.

#include <QImage>

#include <memory>
#include <vector>

class DeferredPicture;

class PictureCache {
public:
    // How many made pictures are kept at most (those being made come on top).
    static constexpr int Kept = 12;

    PictureCache();

    struct Made {
        QImage picture;      // null when it cannot be made
        bool masked = true;  // hasMaskColor (core/pictures/ImageList.h), found as it was made
    };
    // The picture of `source`: the kept one, the one a worker is making (waited
    // for), or one made now on this thread.
    Made picture(const std::shared_ptr<const DeferredPicture> &source) const;
    // Starts making each source that is neither kept nor being made, on a
    // worker thread; returns at once.
    void makeAhead(const std::vector<std::shared_ptr<const DeferredPicture>> &sources) const;

    // The pictures made and kept now.
    std::vector<QImage> madePictures() const;

private:
    struct State;
    // Shared with the workers, which may finish after the cache is gone.
    std::shared_ptr<State> m_state;
};
