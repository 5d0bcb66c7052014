#include "adapters/zip/cZip.h"

#include "adapters/zip/mZip.h"

#include <QPointer>

cZip::cZip(QObject *parent)
    : QObject(parent)
{
    setStoreDirectories(false);
    setStoreFolderNames(false);
    setRecurseSubDirs(false);
}

int cZip::MessageLevel() const
{
    if (m_options.fVerbose != 0)
        return 0;
    if (m_options.fQuiet != 0)
        return 1;
    return 2;
}

void cZip::setMessageLevel(int level)
{
    switch (level) {
    case 0: m_options.fVerbose = 1; m_options.fQuiet = 0; break;
    case 1: m_options.fVerbose = 0; m_options.fQuiet = 1; break;
    case 2: m_options.fVerbose = 0; m_options.fQuiet = 0; break;
    default: break;
    }
}

void cZip::ClearFileSpecs()
{
    m_specs.clear();
    m_specCount = 0;
}

void cZip::AddFileSpec(const QString &pattern)
{
    ++m_specCount;
    m_specs.append(pattern);
}

std::optional<QString> cZip::FileSpec(int position) const
{
    if (position < 1 || position > m_specs.size())
        return std::nullopt;
    return m_specs[position - 1];
}

void cZip::Zip()
{
    m_lastResult = 0;
    m_lastError.clear();
    // A handler may delete this object while the run goes on.
    const QPointer<cZip> self(this);
    QString error;
    const int result = RunZip(*this, m_options, m_specs, m_specCount, &error);
    if (!self)
        return;
    m_lastResult = result;
    m_lastError = error;
}

void cZip::Delete()
{
    const QPointer<cZip> self(this);
    m_options.fDeleteEntries = 1;
    ZPOPT options = m_options;
    (void)RunZip(*this, options, m_specs, m_specCount);
    if (self)
        m_options.fDeleteEntries = 0;
}
