#pragma once

#include <QString>

// The test suite's fence around the machine's serial devices: a test that reached /dev/ttyS0
// could write frames onto a console or a live controller. ctest gives every test a temporary
// folder of its own in ZARN_TEST_DEVICE_ROOT; while that is set, a line may lead only into the
// folder (a pseudo-terminal reached through a link there counts as inside, as the simulator's
// does). Unset, as it is for every user, the fence lets everything through.

// Why the line at `path`, which resolves to `device` (empty when nothing is there), must not be
// opened; empty when it may be.
QString TestDeviceRefusal(const QString& path, const QString& device);
