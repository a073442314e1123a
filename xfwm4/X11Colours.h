// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QRgb>
#include <optional>

// The X11 colour names an XPM may use ("alice blue", "AliceBlue", "grey50"), matched without
// regard to case, as xfwm4 matches them. Not the CSS names: X11's "green" is 0, 255, 0.
namespace X11Colours {

std::optional<QRgb> find(QByteArrayView name);

} // namespace X11Colours
