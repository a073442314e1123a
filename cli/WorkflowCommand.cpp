// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/WorkflowCommand.h"

QByteArray escapeWorkflowData(const QByteArray& text)
{
    // '%' first, or the escapes' own '%' would be escaped again.
    return QByteArray(text).replace('%', "%25").replace('\r', "%0D").replace('\n', "%0A");
}

QByteArray escapeWorkflowProperty(const QByteArray& text)
{
    return escapeWorkflowData(text).replace(':', "%3A").replace(',', "%2C");
}

QByteArray workflowCommand(const QByteArray& command,
    const QList<std::pair<QByteArray, QByteArray>>& properties, const QByteArray& message)
{
    QByteArray line = "::" + command;
    char separator = ' ';
    for (const auto& [name, value] : properties) {
        if (value.isEmpty())
            continue;
        line += separator + name + '=' + escapeWorkflowProperty(value);
        separator = ',';
    }
    return line + "::" + escapeWorkflowData(message);
}
