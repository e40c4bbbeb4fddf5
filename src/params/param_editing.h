#pragma once

#include "link/exchange_cycle.h"
#include "params/param_boxes.h"
#include "params/param_catalogue.h"

// Enter in box `index`: the box turns white and exactly that parameter is queued for writing,
// converted from its text to the range of its size and sign. The controller's own address (23)
// is limited to 127, its box shows the value sent, and the link switches to it once the write
// leaves. False when the ring is full (nothing queued, nothing armed, the box unchanged).
bool WriteSingleParameter(int index, ParamBoxes& boxes, const ParamCatalogue& catalogue,
                          ExchangeCycle& cycle);
