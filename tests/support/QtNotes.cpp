#include "tests/support/QtNotes.h"

#include <QMutex>
#include <QVector>

#include <cstring>

namespace {

// Notes may come from any thread; the list changes on the test's own.
QMutex &lock()
{
    static QMutex mutex;
    return mutex;
}

QVector<const AllowedQtNotes *> &active()
{
    static QVector<const AllowedQtNotes *> notes;
    return notes;
}

} // namespace

AllowedQtNotes::AllowedQtNotes(const char *category, const char *why) : m_category(category), m_why(why)
{
    const QMutexLocker locked(&lock());
    active() << this;
}

AllowedQtNotes::~AllowedQtNotes()
{
    const QMutexLocker locked(&lock());
    active().removeOne(this);
}

bool AllowedQtNotes::allowed(const char *category)
{
    if (!category)
        return false;
    const QMutexLocker locked(&lock());
    for (const AllowedQtNotes *notes : active())
        if (std::strcmp(notes->m_category, category) == 0)
            return true;
    return false;
}
