#include "app/LoadImages.h"

#include <QLineEdit>

LoadImages::LoadImages()
{
    SetCaption(QStringLiteral("Load Primary Images"));
    Text1 = new QLineEdit(this);
    nameControl(Text1, QStringLiteral("Text1"), QStringLiteral("Status"));
    Text1->setReadOnly(true);
}
