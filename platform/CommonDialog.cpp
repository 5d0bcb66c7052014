#include "platform/CommonDialog.h"

#include "platform/WindowServices.h"

static void show(CommonDialog &d, bool save)
{
    FileChooserRequest r;
    r.filter = d.Filter;
    r.initDir = d.InitDir;
    r.fileName = d.FileName;
    r.title = d.DialogTitle;
    r.save = save;
    d.FileName = windowServices().files->choose(r);
}

void CommonDialog::ShowOpen() { show(*this, false); }
void CommonDialog::ShowSave() { show(*this, true); }

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
