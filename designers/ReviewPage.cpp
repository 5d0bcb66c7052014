#include "designers/ReviewPage.h"

#include "core/base/Numbers.h"
#include "core/pictures/ImageWorkspace.h"
#include "core/system/Services.h"
#include "designers/DesignerControls.h"
#include "platform/PictureBox.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>

namespace {

// The page's background: a blue picture stretched over the control.
class BackgroundPicture : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        QLinearGradient shade(rect().topLeft(), rect().bottomRight());
        shade.setColorAt(0, QColor(0, 0, 192));
        shade.setColorAt(0.5, QColor(40, 90, 220));
        shade.setColorAt(1, QColor(0, 0, 128));
        painter.fillRect(rect(), shade);
    }
};

// The page's layout in twips at 15 twips per pixel.
constexpr double kPictureLeft = 315, kPictureTop = 285, kPictureWidth = 1800, kPictureHeight = 2475;
constexpr double kButtonLeft = 405, kButtonStep = 285, kButtonTop = 2925;
constexpr double kWideAbove = 5100, kWideMargin = 925;

} // namespace

ReviewPage::ReviewPage(const ReviewPageLayout &layout)
{
    SetCaption(QString::fromUtf8(layout.caption));
    SetClientTwips(layout.client.width(), layout.client.height());
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0, 0, 192));
    setPalette(pal);
    setAutoFillBackground(true);

    // Created first, so that it lies behind every other control.
    Image1 = new BackgroundPicture(this);
    nameControl(Image1, QStringLiteral("Image1"));
    placeAt(Image1, layout.image1);

    Picture1 = new PictureBox(this);
    nameControl(Picture1, QStringLiteral("Picture1"), QStringLiteral("Cropped frame"));
    Picture1->SetBackColor(QColor(0, 0, 192));
    placeTwips(Picture1, kPictureLeft, kPictureTop, kPictureWidth, kPictureHeight);

    Label1 = makeLabel(this, QStringLiteral("Label1"), QString::fromUtf8(layout.question), layout.label1);
    Image2 = makeButton(this, QStringLiteral("Image2"), QStringLiteral("BACK"), layout.image2);
    Image3 = makeButton(this, QStringLiteral("Image3"), QStringLiteral("NEXT"), layout.image3);
    connect(Image2, &QPushButton::clicked, this, [this] { Image2_Click(); });
    connect(Image3, &QPushButton::clicked, this, [this] { Image3_Click(); });

    QPushButton **named[] = {&Command1, &Command2, &Command3, &Command4, &Command5, &Command6, &Command7};
    void (ReviewPage::*handlers[])() = {&ReviewPage::Command1_Click, &ReviewPage::Command2_Click,
                                        &ReviewPage::Command3_Click, &ReviewPage::Command4_Click,
                                        &ReviewPage::Command5_Click, &ReviewPage::Command6_Click,
                                        &ReviewPage::Command7_Click};
    for (int i = 0; i < layout.frameButtons; ++i) {
        const QString number = QString::number(i + 1);
        auto *button = makeFrameButton(this, QStringLiteral("Command%1").arg(number), number,
                                       QStringLiteral("Frame %1").arg(number),
                                       QPointF(kButtonLeft + i * kButtonStep, kButtonTop));
        connect(button, &QPushButton::clicked, this, handlers[i]);
        *named[i] = button;
        m_frameButtons.push_back(button);
    }
}

void ReviewPage::Form_Load()
{
    m_laidOutClient = ClientTwips();
    for (QWidget *control : std::initializer_list<QWidget *>{Image1, Picture1, Label1, Image2, Image3})
        m_laidOut.emplace_back(control, controlTwips(control));
    for (QPushButton *button : m_frameButtons)
        m_laidOut.emplace_back(button, controlTwips(button));
}

void ReviewPage::RestoreLayout()
{
    for (const auto &[control, at] : m_laidOut)
        placeTwips(control, at.left(), at.top(), at.width(), at.height());
    SetClientTwips(m_laidOutClient.width(), m_laidOutClient.height());
}

void ReviewPage::showFrame(int n)
{
    if (const ImageWorkspace *workspace = FrameWorkspace(n))
        Picture1->SetPicture(workspace->Picture());
}

void FitReviewPage(ReviewPage &R, const ImageWorkspace &first)
{
    R.RestoreLayout();
    // The limits are the laid-out picture's height and the layout's width
    // rule, in this screen's twips.
    const auto &env = *services().environment;
    const double fx = env.twipsPerPixelX() / 15, fy = env.twipsPerPixelY() / 15;

    const QRectF picture = controlTwips(R.Picture1);
    const double width = double(roundHalfEven(first.ImageDisplayWidth()));
    const double height = double(roundHalfEven(first.ImageDisplayHeight()));
    // Sized first: the box draws its picture into its area as it is when the
    // picture is set, so a cut-out larger than the laid-out box shows whole.
    placeTwips(R.Picture1, picture.left(), picture.top(), width, height);
    R.Picture1->SetPicture(first.Picture());

    QSizeF client = R.ClientTwips();
    const double laidOutHeight = kPictureHeight * fy;
    if (height > laidOutHeight) {
        const double d = height - laidOutHeight;
        std::vector<QWidget *> below;
        for (int n = 1; n <= R.FrameButtonCount(); ++n)
            below.push_back(R.FrameButton(n));
        below.insert(below.end(), {R.Image2, R.Image3, R.Label1});
        for (QWidget *control : below) {
            const QRectF at = controlTwips(control);
            placeTwips(control, at.left(), at.top() + d, at.width(), at.height());
        }
        client.setHeight(client.height() + d);
    }
    if (width > kWideAbove * fx)
        client.setWidth(width + kWideMargin * fx);
    R.SetClientTwips(client.width(), client.height());

    const QRectF background = controlTwips(R.Image1);
    placeTwips(R.Image1, background.left(), background.top(), client.width(), client.height());
}
