// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/SheetCommand.h"

#include "cli/CommandKit.h"
#include "cli/CommandParser.h"
#include "cli/Printable.h"
#include "review/ContactSheet.h"
#include "review/StatesGrid.h"

using namespace CommandKit;

namespace {

// The one style directory, -o and --scale; false when the command ends there.
bool parsePicture(CommandParser& parser, const QStringList& arguments, int defaultScale,
    int largestScale, int& scale)
{
    const QCommandLineOption scaleOption(
        QStringLiteral("scale"), QString(), QStringLiteral("N"), QString::number(defaultScale));
    parser.addOption(scaleOption);
    return parser.parse(arguments) && parser.scale(scaleOption, largestScale, scale);
}

// Each file that failed, once, with the window's message; the picture is written all the same.
int finish(const QStringList& failures, const QImage& picture, const CommandParser& parser)
{
    for (const QString& message : failures)
        err(printableMessage(message, parser.dir()));
    const bool written = writePicture(picture, parser.output());
    return failures.isEmpty() && written ? kSuccess : kProblems;
}

} // namespace

int runSheetCommand(const QStringList& arguments)
{
    CommandParser parser(kSheetUsage, CommandParser::Dirs::One, CommandParser::Output::Picture);
    int scale = 1;
    if (!parsePicture(
            parser, arguments, ContactSheet::kDefaultScale, ContactSheet::kLargestScale, scale))
        return parser.status();
    const ContactSheet sheet(parser.dir());
    return finish(sheet.failures(), sheet.picture(scale), parser);
}

int runStatesCommand(const QStringList& arguments)
{
    CommandParser parser(kStatesUsage, CommandParser::Dirs::One, CommandParser::Output::Picture);
    int scale = 1;
    if (!parsePicture(
            parser, arguments, StatesGrid::kDefaultScale, StatesGrid::kLargestScale, scale))
        return parser.status();
    const StatesGrid grid(parser.dir());
    return finish(grid.failures(), grid.picture(scale), parser);
}
