#pragma once

#include "eeprom_image.h"

// Gives every catalogued parameter a value a commissioned panel could hold: speeds, times and
// set points inside their ranges, the slave address and object type the simulator runs with.
void StorePlausibleParameters(EepromImage& image, int slaveAddress, int objectType);
