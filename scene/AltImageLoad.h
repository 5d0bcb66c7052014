#pragma once
// Picks the alternate background picture.

#include "platform/Form.h"


class AltImageLoad : public Form {
    Q_OBJECT
public:
    AltImageLoad();
};
