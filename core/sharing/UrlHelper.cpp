#include "core/sharing/UrlHelper.h"

namespace {

constexpr int kUnusablePort = -1;

// Digits only; anything else is no port at all.
int portFromText(const QString &text)
{
    if (text.isEmpty())
        return 0;
    qint64 value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return 0;
        value = value * 10 + (c.unicode() - u'0');
        if (value > 65535)
            return kUnusablePort;
    }
    return value == 0 ? kUnusablePort : int(value);
}

}

UrlParts ParseUrl(const QString &url)
{
    UrlParts parts;
    QString rest = url;
    const qsizetype schemeEnd = url.indexOf(QStringLiteral("://"));
    if (schemeEnd >= 0) {
        parts.Scheme = url.left(schemeEnd);
        rest = url.mid(schemeEnd + 3);
    }

    const qsizetype colon = rest.indexOf(u':');
    const qsizetype slash = rest.indexOf(u'/');
    if (slash < 0) {
        parts.Host = rest;
        parts.Path = QStringLiteral("/");
        return parts;
    }
    if (colon >= 0 && colon < slash) {
        parts.Host = rest.left(colon);
        parts.Port = portFromText(rest.mid(colon + 1, slash - colon - 1));
    } else {
        parts.Host = rest.left(slash);
    }

    const QString pathPart = rest.mid(slash);
    const qsizetype question = pathPart.indexOf(u'?');
    if (question >= 0) {
        parts.Path = pathPart.left(question);
        parts.Query = pathPart.mid(question + 1);
    } else {
        parts.Path = pathPart;
    }
    return parts;
}
