// Draws the older editor's template pictures, the starting pictures of its New
// Scene: a background and one picture for each layer, as JPEG files in the
// folder given on the command line.
//
//   make_legacy_templates <folder>

#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <functional>

namespace {

struct Template {
    const char *file;
    QSize size;
    std::function<void(QPainter &, const QRect &)> draw;
};

void background(QPainter &p, const QRect &r)
{
    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0, QColor(120, 170, 230));
    sky.setColorAt(1, QColor(225, 235, 250));
    p.fillRect(r, sky);
    // A plain head and shoulders, so that the layers have a place to sit.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 110, 160));
    p.drawRoundedRect(QRect(r.width() / 2 - 190, r.height() - 120, 380, 160), 60, 60);
    p.setBrush(QColor(238, 200, 170));
    p.drawEllipse(QRect(r.width() / 2 - 110, r.height() / 2 - 170, 220, 280));
}

void skin(QPainter &p, const QRect &r) { p.fillRect(r, QColor(238, 200, 170)); }

void mouth(QPainter &p, const QRect &r, const QColor &lips)
{
    skin(p, r);
    p.setPen(Qt::NoPen);
    p.setBrush(lips);
    p.drawEllipse(r.adjusted(6, r.height() / 4, -6, -r.height() / 4));
    p.setBrush(QColor(90, 20, 30));
    p.drawEllipse(r.adjusted(16, r.height() / 2 - 2, -16, -(r.height() / 2 - 2)));
}

void eyes(QPainter &p, const QRect &r, const QColor &lid)
{
    skin(p, r);
    p.setPen(QPen(lid, 3));
    const int y = r.height() / 2;
    p.drawLine(8, y, r.width() / 2 - 8, y);
    p.drawLine(r.width() / 2 + 8, y, r.width() - 8, y);
}

void star(QPainter &p, const QRect &r, const QColor &colour)
{
    p.fillRect(r, QColor(200, 200, 200));
    QPainterPath path;
    const QPointF c = QRectF(r).center();
    const double outer = r.width() / 2.0 - 4, inner = outer / 2.5;
    for (int i = 0; i < 10; ++i) {
        const double radius = i % 2 ? inner : outer;
        const double angle = -M_PI / 2 + i * M_PI / 5;
        const QPointF at(c.x() + radius * std::cos(angle), c.y() + radius * std::sin(angle));
        if (i == 0)
            path.moveTo(at);
        else
            path.lineTo(at);
    }
    path.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(path);
}

const Template templates[] = {
    {"bg.jpg", QSize(640, 480), background},
    {"velmmouth.jpg", QSize(60, 30), [](QPainter &p, const QRect &r) { mouth(p, r, QColor(200, 60, 70)); }},
    {"velmblink.jpg", QSize(100, 24), [](QPainter &p, const QRect &r) { eyes(p, r, QColor(120, 70, 50)); }},
    {"usermouth.jpg", QSize(50, 26), [](QPainter &p, const QRect &r) { mouth(p, r, QColor(170, 80, 90)); }},
    {"userblink.jpg", QSize(90, 22), [](QPainter &p, const QRect &r) { eyes(p, r, QColor(60, 60, 60)); }},
    {"miscpart.jpg", QSize(80, 80), [](QPainter &p, const QRect &r) { star(p, r, QColor(240, 190, 40)); }},
    {"trigger.jpg", QSize(100, 100), [](QPainter &p, const QRect &r) { star(p, r, QColor(220, 60, 160)); }},
};

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_legacy_templates <folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot make the folder %s\n", argv[1]);
        return 1;
    }
    for (const Template &t : templates) {
        QImage picture(t.size, QImage::Format_RGB32);
        {
            QPainter p(&picture);
            p.setRenderHint(QPainter::Antialiasing);
            t.draw(p, picture.rect());
        }
        QImageWriter writer(QDir(folder).filePath(QLatin1String(t.file)), "jpg");
        writer.setQuality(90);
        if (!writer.write(picture)) {
            std::fprintf(stderr, "cannot write %s: %s\n", t.file, qPrintable(writer.errorString()));
            return 1;
        }
    }
    return 0;
}
