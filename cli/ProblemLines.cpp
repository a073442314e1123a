// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ProblemLines.h"

#include "cli/CommandKit.h"
#include "cli/Printable.h"
#include "cli/WorkflowCommand.h"
#include "style/StyleFiles.h"

QJsonObject problemObject(const StyleProblem& problem, const char* severity, const QByteArray& dir)
{
    return {
        { QStringLiteral("file"), printableText(problem.file) },
        { QStringLiteral("severity"), QLatin1String(severity) },
        { QStringLiteral("message"), QString::fromUtf8(printableMessage(problem.message, dir)) },
        { QStringLiteral("rule"), QLatin1String(problem.rule) },
    };
}

void printProblem(
    const StyleProblem& problem, const char* severity, const QByteArray& dir, bool github)
{
    const QByteArray message = printableMessage(problem.message, dir);
    if (github && problem.file.isEmpty()) {
        // No file to hang it on: the message says which directory.
        CommandKit::out(workflowCommand(
            severity, { { "title", problem.rule } }, printable(dir) + ": " + message));
        return;
    }
    const QByteArray where
        = problem.file.isEmpty() ? printable(dir) : printable(joinStylePath(dir, problem.file));
    if (github)
        CommandKit::out(
            workflowCommand(severity, { { "file", where }, { "title", problem.rule } }, message));
    else
        CommandKit::out(where + ": " + severity + ": " + message);
}
