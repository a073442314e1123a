// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/DiffCommand.h"

#include "cli/CommandKit.h"
#include "cli/CommandParser.h"
#include "cli/Printable.h"
#include "review/StyleDiff.h"
#include "style/ErrorText.h"

using namespace CommandKit;

namespace {

QByteArray changeLine(
    const StyleFileChange& change, const QByteArray& oldDir, const QByteArray& newDir)
{
    const QByteArray name(change.name);
    switch (change.kind) {
    case StyleFileChange::Kind::Differs:
        break;
    case StyleFileChange::Kind::OnlyInOld:
        return name + ": only in " + printable(oldDir);
    case StyleFileChange::Kind::OnlyInNew:
        return name + ": only in " + printable(newDir);
    case StyleFileChange::Kind::Unreadable:
        // The message names the path, under either directory.
        return name + ": "
            + printableMessage(
                QString::fromUtf8(printableMessage(ErrorText::format(change.message), oldDir)),
                newDir);
    }
    return name + ": differs";
}

} // namespace

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
    CommandParser parser(
        kDiffUsage, CommandParser::Dirs::OldAndNew, CommandParser::Output::Picture);
    const QCommandLineOption minimizeOption = CommandKit::minimizeOption();
    const QCommandLineOption sizeOption = CommandKit::sizeOption();
    parser.addOption(minimizeOption);
    parser.addOption(sizeOption);
    StyleFile::State look = StyleFile::State::Normal;
    QSize windowSize;
    if (!parser.parse(arguments) || !parser.minimize(minimizeOption, look)
        || !parser.size(sizeOption, windowSize))
        return parser.status();

    const QByteArray oldDir = parser.dirs().at(0);
    const QByteArray newDir = parser.dirs().at(1);
    const StyleDiff diff = diffStyles(
        oldDir, newDir, look, printableText(oldDir), printableText(newDir), windowSize);
    for (const auto& [dir, render] :
        { std::pair { oldDir, &diff.oldRender }, std::pair { newDir, &diff.newRender } })
        if (!render->failure.isEmpty())
            err(printable(dir) + ": " + printableMessage(ErrorText::format(render->failure), dir));
    for (const StyleFileChange& change : diff.files)
        out(changeLine(change, oldDir, newDir));
    if (diff.difference.pixels > 0)
        out(differenceLine(diff.difference, printable(oldDir)));

    const bool written = writePicture(diff.picture, parser.output());
    return written && diff.identical() ? kSuccess : kProblems;
}
