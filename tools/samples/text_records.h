// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

namespace samples {

/// The collection's records that are no picture files of the engine's.
QByteArray WelcomeScrollingMessage(); // a credit text scrolling across the view (SCM)
QByteArray CreditsRollingMessage();   // credit lines rolling up the view (CMS)
QByteArray LicenceRichText();         // a rich-text note (the view shows its placeholder)
/// A picture behind the 8-byte header a record source writes before picture fields.
QByteArray WithGraphicFieldHeader(const QByteArray& picture);

} // namespace samples
