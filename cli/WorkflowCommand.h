// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <utility>

// One GitHub Actions workflow command line, such as an annotation:
//   ::error file=Frame/x.png,title=cut-size::is 10 x 10, not 12 x 29: ...
// The runner reads the line up to its end, the properties up to the next ',' and their values
// up to the next "::", so each is escaped the runner's way; properties with empty values are
// left out.
QByteArray workflowCommand(const QByteArray& command,
    const QList<std::pair<QByteArray, QByteArray>>& properties, const QByteArray& message);

// '%', CR and LF as %25, %0D and %0A.
QByteArray escapeWorkflowData(const QByteArray& text);
// The same, and ':' and ',' as %3A and %2C.
QByteArray escapeWorkflowProperty(const QByteArray& text);
