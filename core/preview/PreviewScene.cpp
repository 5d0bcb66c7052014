#include "core/preview/PreviewScene.h"

#include "core/base/Files.h"
#include "core/base/Numbers.h"

#include <cfloat>
#include <climits>
#include <cmath>

KeyValue SceneKeyValue(const QString &sceneText, const QString &key)
{
    const qsizetype at = sceneText.indexOf(key);
    if (key.isEmpty() || at < 0)
        return {};
    const qsizetype from = at + key.size();
    const qsizetype end = sceneText.indexOf(u';', from);
    if (end < 0)
        return {};
    return {true, sceneText.mid(from, end - from)};
}

KeyValue SceneNameValue(const QString &sceneText, const QString &key)
{
    KeyValue v = SceneKeyValue(sceneText, key);
    if (v.present && !isBareName(v.value))
        return {};
    return v;
}

LayerKeys readLayerKeys(const QString &sceneText, const QString &prefix)
{
    LayerKeys keys;
    keys.name = SceneNameValue(sceneText, prefix + u'=');
    keys.x = SceneKeyValue(sceneText, prefix + QStringLiteral("x="));
    keys.y = SceneKeyValue(sceneText, prefix + QStringLiteral("y="));
    return keys;
}

void takeLayerPlace(PreviewLocals &locals, const LayerKeys &keys)
{
    if (keys.x.present)
        locals.xText = keys.x.value;
    if (keys.y.present)
        locals.yText = keys.y.value;
}

BackgroundKeys readBackgroundKeys(const QString &sceneText)
{
    return {SceneNameValue(sceneText, QStringLiteral("BG=")), SceneNameValue(sceneText, QStringLiteral("NI="))};
}

QString backgroundPictureName(const QString &value)
{
    QString name = value;
    return name.remove(QStringLiteral(".jpg"), Qt::CaseSensitive);
}

QString PreviewFrameName(PreviewLocals &locals, const QString &value, const QString &k)
{
    const QString jpg = QStringLiteral(".jpg"), bmp = QStringLiteral(".bmp");
    const qsizetype last = value.lastIndexOf(QStringLiteral("01"));
    if (last >= 0)
        locals.baseName = value.left(last);
    const QString tail = last >= 0 ? value.mid(last + 2) : QString();
    if (tail == jpg || tail == bmp) {
        locals.extension = tail;
    } else {
        if (value.contains(jpg))
            locals.extension = jpg;
        if (value.contains(bmp))
            locals.extension = bmp;
    }
    return locals.baseName + k + locals.extension;
}

std::optional<double> PreviewRatio(double mainPicWidth, int backgroundWidth)
{
    if (backgroundWidth <= 0)
        return std::nullopt;
    return mainPicWidth / backgroundWidth;
}

namespace {
std::optional<float> single(double v)
{
    if (!std::isfinite(v) || std::fabs(v) > double(FLT_MAX))
        return std::nullopt;
    return float(v);
}

std::optional<float> size(double v)
{
    const auto s = single(v);
    return s && *s >= 0 ? s : std::nullopt;
}
}

BoxPlace PlacePreviewLayer(QSize firstHimetric, const PreviewLocals &locals, std::optional<double> ratio,
                           QPointF mainPicCorner)
{
    BoxPlace place;
    if (!ratio)
        return place;
    const double r = *ratio;
    if (locals.xFactor != 0)
        place.width = size(firstHimetric.width() / 26.4444 / locals.xFactor * r - 1);
    if (locals.yFactor != 0)
        place.height = size(firstHimetric.height() / 26.4444 / locals.yFactor * r - 1);
    if (const auto x = toReal(locals.xText))
        place.left = single(*x * r + mainPicCorner.x());
    if (const auto y = toReal(locals.yText))
        place.top = single(*y * r + mainPicCorner.y());
    return place;
}

std::optional<QSize> previewFrameSize(QSize first, std::optional<double> ratio)
{
    if (!ratio || first.isEmpty() || !std::isfinite(*ratio))
        return std::nullopt;
    // A size too large for a whole number stays too large: the resize refuses it.
    auto side = [&](int pixels) {
        const double scaled = pixels * *ratio;
        return scaled >= double(INT_MAX) ? INT_MAX : int(roundHalfEven(scaled));
    };
    const int w = side(first.width()), h = side(first.height());
    if (w <= 0 || h <= 0)
        return std::nullopt;
    return QSize(w, h);
}
