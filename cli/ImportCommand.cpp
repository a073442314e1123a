// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ImportCommand.h"

#include "cli/CommandKit.h"
#include "cli/Printable.h"
#include "xfwm4/ThemeImport.h"

#include <QCommandLineParser>

using namespace CommandKit;

int runImportCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption outputOption(
        { QStringLiteral("o"), QStringLiteral("output") }, QString(), QStringLiteral("DIR"));
    const QCommandLineOption forceOption(QStringLiteral("force"));
    const QCommandLineOption helpOption(QStringLiteral("help"));
    parser.addOptions({ outputOption, forceOption, helpOption });
    if (!parser.parse(arguments))
        return badUsage(bytesOf(parser.errorText()), kImportUsage);
    if (parser.isSet(helpOption))
        return showHelp();
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return badUsage("no theme format given: xfwm4", kImportUsage);
    if (positional.first() != QLatin1String("xfwm4"))
        return badUsage(
            "unknown theme format '" + bytesOf(positional.first()) + "': xfwm4", kImportUsage);
    if (positional.size() < 2)
        return badUsage("no theme given", kImportUsage);
    if (positional.size() > 2)
        return badUsage("one theme at a time", kImportUsage);
    if (!parser.isSet(outputOption) || parser.value(outputOption).isEmpty())
        return badUsage("no style directory given (-o DIR)", kImportUsage);

    const QByteArray dir = bytesOf(parser.value(outputOption));
    const ThemeImport::Result result
        = ThemeImport::importTheme(bytesOf(positional.at(1)), dir, parser.isSet(forceOption));
    if (result.status != 0) {
        err(QByteArray(kProgram) + ": " + printable(result.error));
        return kProblems;
    }
    for (const QByteArray& line : result.style.adaptations)
        out(printable(line));
    out(printable(dir) + ": " + QByteArray::number(result.written) + " files written, "
        + QByteArray::number(result.style.adaptations.size()) + " adaptations");
    return kSuccess;
}
