#include <QWidget> // flagged
#include <QtWidgets/QPushButton> // flagged
#include <QtWidgets/../QtWidgets/QLabel> // flagged
#include <QTcpSocket> // flagged
#include <QtNetwork/QNetworkReply> // flagged
#include <SDL.h> // flagged
#include <curl/curl.h> // flagged
#include <zip.h> // flagged
