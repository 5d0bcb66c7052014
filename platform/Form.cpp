#include "platform/Form.h"

#include "core/system/Services.h"

#include "core/base/Numbers.h"

#include <QCloseEvent>
#include <QHash>
#include <QVariant>

#include <map>

namespace {
const char *kTwips = "scenaraTwips";           // QRectF: left, top, width, height
const char *kClientTwips = "scenaraClientTwips"; // QSizeF

std::map<std::type_index, Form *> &registry()
{
    static std::map<std::type_index, Form *> forms;
    return forms;
}

QRect pixels(const QRectF &twips, double tppX, double tppY)
{
    return QRect(twipsToPixels(twips.left(), tppX), twipsToPixels(twips.top(), tppY),
                 twipsToPixels(twips.width(), tppX), twipsToPixels(twips.height(), tppY));
}
}

Form::Form(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
}

Form::~Form()
{
    forgetForm(this);
}

int twipsToPixels(double twips, double twipsPerPixel)
{
    return int(roundHalfEven(twips / twipsPerPixel));
}

void Form::Show()
{
    show();
    raise();
    activateWindow();
}

void Form::SetClientTwips(double width, double height)
{
    setProperty(kClientTwips, QSizeF(width, height));
    const auto &env = *services().environment;
    resize(twipsToPixels(width, env.twipsPerPixelX()), twipsToPixels(height, env.twipsPerPixelY()));
}

QSizeF Form::ClientTwips() const
{
    const QVariant client = property(kClientTwips);
    if (client.isValid())
        return client.toSizeF();
    const auto &env = *services().environment;
    return QSizeF(width() * env.twipsPerPixelX(), height() * env.twipsPerPixelY());
}

void Form::closeEvent(QCloseEvent *event)
{
    bool cancel = false;
    m_unloading = true;
    Form_Unload(cancel);
    m_unloading = false;
    if (cancel) {
        event->ignore();
        return;
    }
    event->accept();
    forgetForm(this);
    deleteLater();
}

void placeTwips(QWidget *control, double left, double top, double width, double height)
{
    const QRectF twips(left, top, width, height);
    control->setProperty(kTwips, twips);
    const auto &env = *services().environment;
    control->setGeometry(pixels(twips, env.twipsPerPixelX(), env.twipsPerPixelY()));
}

QRectF controlTwips(const QWidget *control)
{
    const QVariant t = control->property(kTwips);
    if (t.isValid())
        return t.toRectF();
    const auto &env = *services().environment;
    const QRect g = control->geometry();
    return QRectF(g.x() * env.twipsPerPixelX(), g.y() * env.twipsPerPixelY(), g.width() * env.twipsPerPixelX(),
                  g.height() * env.twipsPerPixelY());
}

QRectF drawnTwips(const QWidget *control)
{
    const auto &env = *services().environment;
    const double x = 15 / env.twipsPerPixelX(), y = 15 / env.twipsPerPixelY();
    const QRectF t = controlTwips(control);
    if (x == 1 && y == 1)
        return t;
    return QRectF(t.left() * x, t.top() * y, t.width() * x, t.height() * y);
}

void nameControl(QWidget *control, const QString &objectName, const QString &accessibleName)
{
    control->setObjectName(objectName);
    if (!accessibleName.isEmpty())
        control->setAccessibleName(accessibleName);
}

void scaleControl(ScalableControl &c, float horizontal, float vertical)
{
    const float font = horizontal < vertical ? horizontal : vertical;
    if (c.top) *c.top = *c.top * vertical;
    if (c.height) *c.height = *c.height * vertical;
    if (c.left) *c.left = *c.left * horizontal;
    if (c.width) *c.width = *c.width * horizontal;
    if (c.fontSize) *c.fontSize = *c.fontSize * font;
}

void ScaleFormToScreen(Form &form)
{
    const auto &env = *services().environment;
    const double tppX = env.twipsPerPixelX(), tppY = env.twipsPerPixelY();
    const float horizontal = float(tppX / 15.0), vertical = float(tppY / 15.0);

    const QVariant client = form.property(kClientTwips);
    if (client.isValid()) {
        QSizeF size = client.toSizeF();
        size = QSizeF(size.width() * horizontal, size.height() * vertical);
        form.setProperty(kClientTwips, size);
        form.resize(twipsToPixels(size.width(), tppX), twipsToPixels(size.height(), tppY));
    }
    // Controls placed in twips carry their twips; others (pixel windows, layouts)
    // lack the properties and keep their place. Every control's font follows
    // the smaller factor, taken from the sizes as they were before any was
    // changed, so that a font a control inherits is not scaled twice.
    const auto controls = form.findChildren<QWidget *>();
    const float fontFactor = horizontal < vertical ? horizontal : vertical;
    if (fontFactor != 1) {
        std::vector<std::pair<QWidget *, double>> fonts;
        for (QWidget *w : controls)
            if (w->font().pointSizeF() > 0) // a font in pixels keeps its size
                fonts.emplace_back(w, w->font().pointSizeF());
        for (const auto &[w, points] : fonts) {
            ScalableControl c{std::nullopt, std::nullopt, std::nullopt, std::nullopt, points};
            scaleControl(c, horizontal, vertical);
            QFont f = w->font();
            f.setPointSizeF(*c.fontSize);
            w->setFont(f);
        }
    }
    for (QWidget *w : controls) {
        const QVariant t = w->property(kTwips);
        if (!t.isValid())
            continue;
        const QRectF r = t.toRectF();
        ScalableControl c{r.top(), r.height(), r.left(), r.width(), std::nullopt};
        scaleControl(c, horizontal, vertical);
        const QRectF scaled(*c.left, *c.top, *c.width, *c.height);
        w->setProperty(kTwips, scaled);
        w->setGeometry(pixels(scaled, tppX, tppY));
    }
}

void loadForm(Form *form)
{
    if (form->ScalesOnLoad())
        ScaleFormToScreen(*form);
    form->Form_Load();
}

Form *&formSlot(std::type_index type)
{
    return registry()[type];
}

void forgetForm(Form *form)
{
    for (auto &[type, slot] : registry())
        if (slot == form)
            slot = nullptr;
}

void destroyAllForms()
{
    std::vector<Form *> forms;
    for (auto &[type, slot] : registry()) {
        if (slot)
            forms.push_back(slot);
        slot = nullptr;
    }
    for (Form *f : forms)
        delete f;
}
