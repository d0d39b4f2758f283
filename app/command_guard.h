// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

/// Runs a command of a window; an error it raises is shown in a message box and the window
/// goes on. Signals must not carry exceptions through the toolkit, so handlers run this way.
void RunGuarded(const std::function<void()>& command);
