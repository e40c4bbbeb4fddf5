#pragma once

// The link rig under the name the parameter tests still use.
#include "link_rig.h"

struct LinkFixture : LinkRig {
    QByteArray answerAndTick(const char* hex = "07 06 01 92 00 00") { return answer(hex); }
};
