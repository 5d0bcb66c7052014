#include "platform/CommonDialog.h"

#include "core/system/ChooserFolders.h"
#include "platform/WindowServices.h"

QString CommonDialog::memoryName() const
{
    QStringList patterns;
    const QStringList parts = Filter.split(u'|');
    for (int i = 1; i < parts.size(); i += 2)
        patterns << parts[i];
    return m_chooser + u'|' + patterns.join(u'|');
}

void CommonDialog::show(bool save)
{
    const QString memory = memoryName();
    FileChooserRequest r;
    r.filter = Filter;
    r.initDir = chooserFolders().startFolder(memory, InitDir);
    r.fileName = FileName;
    r.title = DialogTitle;
    r.save = save;
    FileName = windowServices().files->choose(r);
    chooserFolders().noteChosen(memory, FileName);
}

void CommonDialog::ShowOpen() { show(false); }
void CommonDialog::ShowSave() { show(true); }

static QString caseFreePattern(const QString &pattern)
{
    QString out;
    for (QChar c : pattern) {
        if (c.isLetter() && c.toLower() != c.toUpper())
            out += QStringLiteral("[%1%2]").arg(c.toLower(), c.toUpper());
        else
            out += c;
    }
    return out;
}

QStringList qtFilters(const QString &filter)
{
    QStringList out;
    const QStringList parts = filter.split(u'|');
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
        for (QString &p : patterns)
            p = caseFreePattern(p.trimmed());
        QString description = parts[i];
        const int paren = description.indexOf(u'(');
        if (paren >= 0)
            description = description.left(paren).trimmed();
        out << QStringLiteral("%1 (%2)").arg(description, patterns.join(u' '));
    }
    return out;
}
