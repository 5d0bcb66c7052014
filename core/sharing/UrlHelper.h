#pragma once
// Splits an upload address into the parts the request and the socket need.

#include <QString>

struct UrlParts {
    QString Scheme; // text before "://"; empty when the address has none
    QString Host;   // host name, or host and port when no "/" follows them
    // The port written between the host and the first "/": 0 when none is
    // given or when it is not all digits (the upload then uses 80); -1 when the
    // digits give 0 or more than 65535, which no upload can use.
    int Port = 0;
    QString Path;  // from the first "/" up to "?", or "/" when the address has no "/" after the host
    QString Query; // text after the first "?" of the path part
};

// Case-sensitive, as the service's addresses are written.
UrlParts ParseUrl(const QString &url);
