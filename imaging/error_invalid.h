// SPDX-License-Identifier: MIT
#pragma once

#include "platform/core/errors.h"

namespace imaging {

/// Raised for failed preconditions, missing libraries and unhandled engine failures.
class ErrorInvalid : public platform::Exception {
public:
    using platform::Exception::Exception;
};

} // namespace imaging
