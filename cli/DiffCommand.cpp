// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/DiffCommand.h"

#include "cli/CommandKit.h"
#include "cli/Printable.h"
#include "cli/StyleDiff.h"
#include "style/ErrorText.h"

#include <QCommandLineParser>

using namespace CommandKit;

QByteArray differenceLine(const PictureDifference& difference, const QByteArray& from)
{
    const QRect& box = difference.bounds;
    return QByteArray::number(difference.pixels)
        + (difference.pixels == 1 ? " pixel differs" : " pixels differ") + " from " + from
        + ", within " + QByteArray::number(box.width()) + 'x' + QByteArray::number(box.height())
        + " at (" + QByteArray::number(box.x()) + ", " + QByteArray::number(box.y()) + ')';
}

int runDiff(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption outputOption = CommandKit::outputOption();
    const QCommandLineOption minimizeOption = CommandKit::minimizeOption();
    const QCommandLineOption sizeOption = CommandKit::sizeOption();
    const QCommandLineOption helpOption(QStringLiteral("help"));
    parser.addOptions({ outputOption, minimizeOption, sizeOption, helpOption });
    if (!parser.parse(arguments))
        return badUsage(bytesOf(parser.errorText()), kDiffUsage);
    if (parser.isSet(helpOption))
        return showHelp();
    const QStringList dirs = parser.positionalArguments();
    if (dirs.size() != 2)
        return badUsage(dirs.size() < 2 ? "two style directories needed, OLD and NEW"
                                        : "two style directories at a time, OLD and NEW",
            kDiffUsage);
    if (!parser.isSet(outputOption) || parser.value(outputOption).isEmpty())
        return badUsage("no output picture given (-o FILE.png)", kDiffUsage);
    StyleFile::State look = StyleFile::State::Normal;
    if (!parseLook(parser.value(minimizeOption), look))
        return badUsage("unknown minimize state '" + bytesOf(parser.value(minimizeOption))
                + "': normal, over or press",
            kDiffUsage);
    QSize windowSize;
    if (const int status = parseSizeOption(
            parser.isSet(sizeOption), parser.value(sizeOption), kDiffUsage, windowSize))
        return status;

    const QByteArray oldDir = bytesOf(dirs.at(0));
    const QByteArray newDir = bytesOf(dirs.at(1));
    const StyleDiff diff = diffStyles(
        oldDir, newDir, look, printableText(oldDir), printableText(newDir), windowSize);

    for (const auto& [dir, render] :
        { std::pair { oldDir, &diff.oldRender }, std::pair { newDir, &diff.newRender } })
        if (!render->failure.isEmpty())
            err(printable(dir) + ": " + printableMessage(ErrorText::format(render->failure), dir));
    for (const StyleFileChange& change : diff.files) {
        const QByteArray name(change.name);
        switch (change.kind) {
        case StyleFileChange::Kind::Differs:
            out(name + ": differs");
            break;
        case StyleFileChange::Kind::OnlyInOld:
            out(name + ": only in " + printable(oldDir));
            break;
        case StyleFileChange::Kind::OnlyInNew:
            out(name + ": only in " + printable(newDir));
            break;
        case StyleFileChange::Kind::Unreadable:
            // The message names the path, under either directory.
            out(name + ": "
                + printableMessage(
                    QString::fromUtf8(printableMessage(ErrorText::format(change.message), oldDir)),
                    newDir));
            break;
        }
    }
    if (diff.difference.pixels > 0)
        out(differenceLine(diff.difference, printable(oldDir)));

    const bool written = writePicture(diff.picture, bytesOf(parser.value(outputOption)));
    return written && diff.identical() ? 0 : 1;
}
