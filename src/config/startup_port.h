#pragma once

#include "config/chosen_line.h"

#include <functional>

class MessageBoxService;

// The port at start-up: the line to the configured address is opened. When the address names no
// line or it does not open, the user is told why and may choose another port (chooseAnother
// shows the port dialog) or end the program (false).
bool OpenPortAtStart(ChosenLine& line, const LineAddress& configured, MessageBoxService& boxes,
                     const std::function<void()>& chooseAnother);
