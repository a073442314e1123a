// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ImportCommand.h"

#include "cli/CommandKit.h"
#include "cli/CommandParser.h"
#include "cli/Printable.h"
#include "xfwm4/ThemeImport.h"

using namespace CommandKit;

int runImportCommand(const QStringList& arguments)
{
    CommandParser parser(
        kImportUsage, CommandParser::Dirs::OneTheme, CommandParser::Output::StyleDir);
    const QCommandLineOption forceOption(QStringLiteral("force"));
    parser.addOption(forceOption);
    if (!parser.read(arguments)
        || !parser.expectWord(
            QStringLiteral("xfwm4"), "no theme format given: xfwm4", "theme format")
        || !parser.checkDirsAndOutput())
        return parser.status();

    const QByteArray dir = parser.output();
    const ThemeImport::Result result
        = ThemeImport::importTheme(parser.dir(), dir, parser.isSet(forceOption));
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
