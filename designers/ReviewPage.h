#pragma once
// What the five review pages share: the first cut-out in Picture1, the
// question, BACK and NEXT, the stretched background picture and the frame
// buttons (seven, four or none) that show the designer's other cut-outs.

#include "platform/Form.h"

#include <QRectF>
#include <QSizeF>

#include <array>
#include <vector>

class ImageWorkspace;
class PictureBox;
class QLabel;
class QPushButton;

// A page as laid out, in twips.
struct ReviewPageLayout {
    const char *caption;
    const char *question;
    int frameButtons;
    QSizeF client;
    QRectF label1, image2, image3, image1;
};

class ReviewPage : public Form {
    Q_OBJECT
public:
    PictureBox *Picture1; // the cut-out on view
    QLabel *Label1;       // the question
    QWidget *Image1;      // the background picture
    QPushButton *Image2;  // BACK
    QPushButton *Image3;  // NEXT
    // Frame buttons "1".. ; null beyond the page's count.
    QPushButton *Command1 = nullptr, *Command2 = nullptr, *Command3 = nullptr, *Command4 = nullptr,
                *Command5 = nullptr, *Command6 = nullptr, *Command7 = nullptr;

    int FrameButtonCount() const { return int(m_frameButtons.size()); }
    QPushButton *FrameButton(int n) const { return m_frameButtons[n - 1]; }

    void Command1_Click() { showFrame(1); }
    void Command2_Click() { showFrame(2); }
    void Command3_Click() { showFrame(3); }
    void Command4_Click() { showFrame(4); }
    void Command5_Click() { showFrame(5); }
    void Command6_Click() { showFrame(6); }
    void Command7_Click() { showFrame(7); }
    // BACK: the page's designer again.
    virtual void Image2_Click() = 0;
    // NEXT: on to the next layer.
    virtual void Image3_Click() = 0;

    // Back to the places and size the page was laid out with.
    void RestoreLayout();

protected:
    explicit ReviewPage(const ReviewPageLayout &layout);
    // The designer's workspace that frame button n shows.
    virtual const ImageWorkspace *FrameWorkspace(int n) const = 0;

    void Form_Load() override;

private:
    void showFrame(int n);

    std::vector<QPushButton *> m_frameButtons;
    // The laid-out geometry, taken once the window is scaled.
    std::vector<std::pair<QWidget *, QRectF>> m_laidOut;
    QSizeF m_laidOutClient;
};

// Fits page R to the cut-out in `first`: R's Picture1 shows it at its display
// size; a cut-out taller than the laid-out picture moves the frame buttons,
// BACK, NEXT and the question down and the page grows by as much; a wide one
// widens the page; the background picture covers the page. Each fit starts
// from the page's laid-out geometry, so a later visit fits afresh.
void FitReviewPage(ReviewPage &R, const ImageWorkspace &first);
