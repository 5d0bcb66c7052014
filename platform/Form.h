#pragma once
// The window model. Every window is one instance of its class, created hidden
// on first reference through form<T>(), which runs the window's load step
// (ScaleFormToScreen, then Form_Load). The program shows and hides windows; a
// close from the window box runs Form_Unload (which may cancel it) and then
// destroys the window, so that the next reference creates it again, empty.
//
// So a window can go at any moment the user closes it. Whatever reaches a
// window later than the handler that is running (a timer's timeout, a speech
// event, a network reply, a queued call) holds it through a QPointer and finds
// it null once it is gone, or is connected with the window as its context
// object, so that Qt disconnects it when the window is destroyed. A raw pointer
// or reference to a window is kept only for the length of one handler.

#include <QWidget>

#include <optional>
#include <typeindex>

class QCloseEvent;

class Form : public QWidget {
    Q_OBJECT
public:
    explicit Form(QWidget *parent = nullptr);
    // Leaves the registry, however the window is destroyed.
    ~Form() override;

    void Show();        // modeless, brought forward when already shown
    void Hide() { hide(); }
    bool Visible() const { return isVisible(); }
    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString &caption) { setWindowTitle(caption); }
    // True while this window's Form_Unload runs.
    bool Unloading() const { return m_unloading; }

    // The client area in twips, as the window was laid out.
    void SetClientTwips(double width, double height);
    // The client area in twips as it now is (after scaling and any change).
    QSizeF ClientTwips() const;

protected:
    virtual void Form_Load() {}
    // A close from the window box; set cancel to keep the window.
    virtual void Form_Unload(bool &cancel) { Q_UNUSED(cancel); }
    // Only the desktop-scene dialog has no load step and so no scaling.
    virtual bool ScalesOnLoad() const { return true; }

    void closeEvent(QCloseEvent *event) override;

private:
    friend void loadForm(Form *form);
    bool m_unloading = false;
};

// Twips to whole pixels at the given density: the nearest whole number, a
// half to the even neighbour. Every window and control size and place takes it.
int twipsToPixels(double twips, double twipsPerPixel);

// Places a control in twips. The twips are kept on the control, so that
// ScaleFormToScreen can scale them; the pixel geometry is twips / 15 at 96 dpi.
void placeTwips(QWidget *control, double left, double top, double width, double height);
// A control's place in twips (left, top, width, height), as placed and scaled;
// from its pixel geometry when it was never placed in twips.
QRectF controlTwips(const QWidget *control);
// The same place in the twips the window was drawn in, 15 a pixel, whatever
// the screen's twips per pixel: what a rule that measures a control in fixed
// twips (the crop's 15 and 15.15) takes, so that it gives on every screen what
// it gives at 96 dpi.
QRectF drawnTwips(const QWidget *control);
// Names a control for the program (objectName) and for a person (accessible name).
void nameControl(QWidget *control, const QString &objectName, const QString &accessibleName = QString());

// The scalable properties of one control: each is present only when the control
// has it (a timer has no font size, a line no Top).
struct ScalableControl {
    std::optional<double> top, height, left, width, fontSize;
};
// Scales one control: positions and sizes by their axis' factor, the font by the
// smaller of the two factors.
void scaleControl(ScalableControl &control, float horizontal, float vertical);
// Scales a window and every control of it from 15 twips per pixel to the
// screen's density, so that they keep their pixel size.
void ScaleFormToScreen(Form &form);

// --- the registry of windows ---

void loadForm(Form *form);
Form *&formSlot(std::type_index type);
void forgetForm(Form *form);

template <class T>
T &form()
{
    Form *&slot = formSlot(typeid(T));
    if (!slot) {
        T *created = new T;
        slot = created;
        loadForm(created);
    }
    return *static_cast<T *>(slot);
}

template <class T>
bool formExists()
{
    return formSlot(typeid(T)) != nullptr;
}

// Destroys every window without running any unload step: the end of the
// program, and a test's fresh start.
void destroyAllForms();
