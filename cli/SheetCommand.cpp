// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/SheetCommand.h"

#include "cli/CommandKit.h"
#include "cli/Printable.h"
#include "explorer/ContactSheet.h"
#include "preview/StatesGrid.h"

#include <QCommandLineParser>
#include <QImageWriter>
#include <QRegularExpression>
#include <QSaveFile>
#include <cstdio>

using namespace CommandKit;

namespace {

struct Request
{
    int status = -1; // set when the command ends before drawing
    QByteArray dir;
    QByteArray output;
    int scale = 1;
};

Request parse(const QStringList& arguments, const char* usage, int defaultScale, int largestScale)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption outputOption = CommandKit::outputOption();
    const QCommandLineOption scaleOption(
        QStringLiteral("scale"), QString(), QStringLiteral("N"), QString::number(defaultScale));
    const QCommandLineOption helpOption(QStringLiteral("help"));
    parser.addOptions({ outputOption, scaleOption, helpOption });
    Request request;
    if (!parser.parse(arguments)) {
        request.status = badUsage(parser.errorText().toLatin1(), usage);
        return request;
    }
    if (parser.isSet(helpOption)) {
        request.status = showHelp();
        return request;
    }
    const QStringList dirs = parser.positionalArguments();
    const QString scale = parser.value(scaleOption);
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,9}$"));
    if (dirs.isEmpty())
        request.status = badUsage("no style directory given", usage);
    else if (dirs.size() > 1)
        request.status = badUsage("one style directory at a time", usage);
    else if (!parser.isSet(outputOption) || parser.value(outputOption).isEmpty())
        request.status = badUsage("no output picture given (-o FILE.png)", usage);
    else if (!digits.match(scale).hasMatch() || scale.toInt() < 1 || scale.toInt() > largestScale)
        request.status = badUsage("bad scale '" + scale.toLatin1() + "': a whole number from 1 to "
                + QByteArray::number(largestScale),
            usage);
    if (request.status >= 0)
        return request;
    request.dir = dirs.first().toLatin1();
    request.output = parser.value(outputOption).toLatin1();
    request.scale = scale.toInt();
    return request;
}

// Each file that failed, once, with the window's message; the picture is written all the same.
int finish(const QStringList& failures, const QImage& picture, const Request& request)
{
    for (const QString& message : failures)
        err(printableMessage(message, request.dir));
    const bool written = writePicture(picture, request.output);
    return failures.isEmpty() && written ? kSuccess : kProblems;
}

} // namespace

int runSheetCommand(const QStringList& arguments)
{
    const Request request
        = parse(arguments, kSheetUsage, ContactSheet::kDefaultScale, ContactSheet::kLargestScale);
    if (request.status >= 0)
        return request.status;
    const ContactSheet sheet(request.dir);
    return finish(sheet.failures(), sheet.picture(request.scale), request);
}

int runStatesCommand(const QStringList& arguments)
{
    const Request request
        = parse(arguments, kStatesUsage, StatesGrid::kDefaultScale, StatesGrid::kLargestScale);
    if (request.status >= 0)
        return request.status;
    const StatesGrid grid(request.dir);
    return finish(grid.failures(), grid.picture(request.scale), request);
}
