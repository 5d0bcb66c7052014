#include "core/system/Services.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QScreen>
#include <QStandardPaths>

#include <cmath>

namespace {

class RealEnvironment : public EnvironmentService {
public:
    QString documentsFolder() const override
    {
        QString d = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        while (d.size() > 1 && d.endsWith(u'/'))
            d.chop(1);
        return d;
    }
    QString programFolder() const override { return QCoreApplication::applicationDirPath(); }
    QString configFolder() const override
    {
        QString d = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
        while (d.size() > 1 && d.endsWith(u'/'))
            d.chop(1);
        return d;
    }
    QString picturesFolder() const override
    {
        QString d = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
        if (d.isEmpty() || !QFileInfo(d).isDir())
            d = QDir::homePath();
        while (d.size() > 1 && d.endsWith(u'/'))
            d.chop(1);
        return d;
    }
    double twipsPerPixelX() const override { return twips(true); }
    double twipsPerPixelY() const override { return twips(false); }

private:
    static double twips(bool across)
    {
        const QScreen *screen = QGuiApplication::primaryScreen();
        if (!screen)
            return 15.0;
        // A figure no screen has (none, or beyond 15 times either way of 96)
        // counts as 96 dots per inch: the windows keep the size they were drawn at.
        const double dpi = across ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
        return std::isfinite(dpi) && dpi >= 96.0 / 15 && dpi <= 96.0 * 15 ? 1440.0 / dpi : 15.0;
    }
};

class RealRandom : public RandomService {
public:
    float next() override { return float(QRandomGenerator::global()->generate() >> 8) / 16777216.0f; }
};

} // namespace

Services realServices()
{
    static RealEnvironment environment;
    static RealRandom random;
    return Services{&environment, &random};
}

Services &services()
{
    static Services current = realServices();
    return current;
}
