// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <exception>

// The text of an error as the user reads it, wherever it is shown: the window's message box and
// status line, the command line's output and the style check all word an error this way.
namespace ErrorText {

// The message an error carries: an AppError's own, else the standard library's text.
QString messageOf(const std::exception& error);

// The message as shown, with a full stop after a last character that sorts after '.'.
QString format(const QString& message);

// What the window shows for the error: its message, formatted.
QString shown(const std::exception& error);

} // namespace ErrorText
