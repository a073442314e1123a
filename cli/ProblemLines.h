// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "style/StyleCheck.h"

#include <QByteArray>
#include <QJsonObject>

// A style's problem as check and export report it, under the severity the command gives it
// (--strict makes warnings errors). dir is the style directory its file lies in; a problem
// with no file is the directory's own.

// {"file", "severity", "message", "rule"}, for --format json.
QJsonObject problemObject(const StyleProblem& problem, const char* severity, const QByteArray& dir);

// "where: severity: message" on standard output, or a workflow command for github.
void printProblem(
    const StyleProblem& problem, const char* severity, const QByteArray& dir, bool github);
