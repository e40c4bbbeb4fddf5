#pragma once

// Slave addresses the line uses: the address list offers 0..127, and an own-address write
// never moves the controller (or the link) beyond it.
constexpr int kMaxSlaveAddress = 127;
