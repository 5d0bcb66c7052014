// The layer dialogs as a user sees them: small boxes and buttons drawn whole,
// digits in the narrow boxes and the number labels not cut off, and read out
// by a screen reader as the number they show.

#include "scene/AltImageLoad.h"
#include "scene/ChildAnimLoad.h"
#include "scene/ChildAnimProps.h"
#include "scene/DesktopProps.h"
#include "scene/ExtraAnimProps.h"
#include "scene/FullAnimProps.h"
#include "scene/Sound.h"
#include "scene/TrigAnimProps.h"
#include "tests/scene/DialogFixture.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>

namespace {

class DialogLayoutTest : public DialogTest {
protected:
    QList<Form *> dialogs()
    {
        return {&form<ExtraAnimProps>(), &form<TrigAnimProps>(), &form<ChildAnimProps>(), &form<ChildAnimLoad>(),
                &form<FullAnimProps>(),  &form<AltImageLoad>(),  &form<Sound>(),          &form<DesktopProps>()};
    }

    // Where the box's first character is drawn once the box has shown text
    // with the cursor at its end: further left when the text had to scroll.
    static int textStart(QLineEdit *box, const QString &text)
    {
        box->setText(text);
        box->setCursorPosition(int(text.size()));
        box->grab();
        box->setCursorPosition(0);
        return box->inputMethodQuery(Qt::ImCursorRectangle).toRect().left();
    }
};

} // namespace

TEST_F(DialogLayoutTest, CheckBoxesAndOptionButtonsAreNeverSmallerThanTheirMark)
{
    for (Form *dialog : dialogs()) {
        dialog->Show();
        for (QAbstractButton *box : dialog->findChildren<QAbstractButton *>()) {
            const bool round = qobject_cast<QRadioButton *>(box) != nullptr;
            if (!round && !qobject_cast<QCheckBox *>(box))
                continue;
            const QStyle *style = box->style();
            const QSize mark(style->pixelMetric(round ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth),
                             style->pixelMetric(round ? QStyle::PM_ExclusiveIndicatorHeight
                                                      : QStyle::PM_IndicatorHeight));
            EXPECT_GE(box->width(), mark.width()) << dialog->Caption().toStdString() << " " << qPrintable(box->objectName());
            EXPECT_GE(box->height(), mark.height())
                << dialog->Caption().toStdString() << " " << qPrintable(box->objectName());
        }
    }
}

TEST_F(DialogLayoutTest, NarrowBoxesShowTheDigitsTheyAreMadeFor)
{
    for (Form *dialog : dialogs()) {
        dialog->Show();
        for (QLineEdit *box : dialog->findChildren<QLineEdit *>()) {
            const double twips = controlTwips(box).width();
            if (twips >= 600)
                continue;
            // Boxes up to 330 twips wide hold two digits, those of 375 three.
            const QString widest = twips >= 375 ? QStringLiteral("100") : QStringLiteral("99");
            const int unscrolled = textStart(box, QStringLiteral("1"));
            // A pixel of the first digit's blank side may go.
            EXPECT_GE(textStart(box, widest), unscrolled - 1)
                << dialog->Caption().toStdString() << " " << qPrintable(box->objectName());
        }
    }
}

TEST_F(DialogLayoutTest, NumberLabelsHoldAnySixteenBitNumber)
{
    const QLabel *labels[] = {form<ExtraAnimProps>().Label12, form<TrigAnimProps>().Label12,
                              form<ChildAnimLoad>().Label4, form<ChildAnimLoad>().Label9};
    for (const QLabel *label : labels)
        EXPECT_GE(label->width(), QFontMetrics(label->font()).horizontalAdvance(QStringLiteral("-32768")))
            << qPrintable(label->window()->windowTitle()) << " " << qPrintable(label->objectName());
}

// A screen reader reads the number a label shows, and the words beside it as
// what the number is; the name follows the number when it changes.
TEST_F(DialogLayoutTest, NumberLabelsAreReadAsTheirNumber)
{
    const struct {
        QLabel *label;
        const char *words;
    } rows[] = {
        {form<ExtraAnimProps>().Label8, "First Frame:"},  {form<ExtraAnimProps>().Label12, "Last Frame:"},
        {form<TrigAnimProps>().Label8, "First Frame:"},   {form<TrigAnimProps>().Label12, "Last Frame:"},
        {form<ChildAnimLoad>().Label4, "Number of Child Frames:"}, {form<ChildAnimLoad>().Label6, "First Frame:"},
        {form<ChildAnimLoad>().Label9, "Last Frame:"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(qPrintable(row.label->window()->windowTitle() + u' ' + row.label->objectName()));
        row.label->setText(QStringLiteral("12"));
        QAccessibleInterface *read = QAccessible::queryAccessibleInterface(row.label);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->text(QAccessible::Name), QStringLiteral("12"));
        EXPECT_EQ(read->text(QAccessible::Description), QString::fromUtf8(row.words));
    }
}
