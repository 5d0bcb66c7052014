#pragma once
// The scene's background sounds.

#include "platform/Form.h"


class Sound : public Form {
    Q_OBJECT
public:
    Sound();
};
