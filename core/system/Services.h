#pragma once
// The machine facts the core asks for: the folders and the screen density,
// random numbers. The program uses the real ones; tests install scripted ones
// (tests/support) that answer as the test set them. The core asks the user
// nothing and starts no other program: what goes wrong it reports as a Result,
// and the window that called it shows the message (platform/WindowServices.h).

#include <QString>
#include <QStringList>

class EnvironmentService {
public:
    virtual ~EnvironmentService() = default;
    virtual QString documentsFolder() const = 0; // without a trailing "/"; "" when unknown
    virtual QString programFolder() const = 0;   // the running executable's folder, without a trailing "/"
    virtual QString configFolder() const = 0;    // the user's settings folder for this program, without a trailing "/"
    // Where a file chooser opens that has no folder of its own yet: the user's
    // pictures folder, or the home folder when there is none; without a trailing "/".
    virtual QString picturesFolder() const = 0;
    // Twips per logical pixel, by axis: 1440 / the screen's logical DPI. Every
    // window works in Qt's logical pixels, which Qt keeps at 96 per inch at any
    // device pixel ratio (a desktop scale, QT_SCALE_FACTOR, a font DPI under
    // Qt's high-DPI scaling), so this is 15 there. Only where Qt reports another
    // logical DPI (high-DPI scaling turned off) does it differ; ScaleFormToScreen
    // then keeps every window's pixel size and its fonts' pixel size, and every
    // twips-to-pixel conversion takes the same figure back, so nothing placed or
    // stored changes with the screen. A picture's HIMETRIC size is not a screen
    // unit: see HimetricSize.
    virtual double twipsPerPixelX() const = 0;
    virtual double twipsPerPixelY() const = 0;
};

class RandomService {
public:
    virtual ~RandomService() = default;
    // The next draw r, 0 <= r < 1, in single precision: a multiple of 1 / 2^24.
    virtual float next() = 0;
};

struct Services {
    EnvironmentService *environment;
    RandomService *random;
};

// The services in use. Starts with the real ones.
Services &services();
// The real implementations (for tests that restore them).
Services realServices();
