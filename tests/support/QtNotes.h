#pragma once
// Qt notes a test expects. A Qt warning fails the running test (tests/support/
// main.cpp), except while an AllowedQtNotes of its logging category lives: for
// a test that feeds damaged input on purpose, where the decoder's notes say
// only what the test already knows. `why` says so at the place of use.

#include <QLoggingCategory>

class AllowedQtNotes {
public:
    AllowedQtNotes(const char *category, const char *why);
    ~AllowedQtNotes();
    AllowedQtNotes(const AllowedQtNotes &) = delete;
    AllowedQtNotes &operator=(const AllowedQtNotes &) = delete;

    // True while notes of `category` are allowed.
    static bool allowed(const char *category);

    // The JPEG decoder's notes on damaged data ("Corrupt JPEG data: ...").
    static constexpr const char *JpegDecoder = "qt.gui.imageio.jpeg";

private:
    const char *m_category;
    const char *m_why;
};
