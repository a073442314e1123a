// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/DiffCommand.h"

#include "cli/Printable.h"
#include "cli/StyleDiff.h"

#include <QCommandLineParser>

const char kDiffUsage[]
    = "framewright-style diff OLD NEW -o FILE.png [--minimize normal|over|press]";

namespace {

QByteArray bytesOf(const QString& parsed)
{
    return parsed.toLatin1();
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

int runDiff(const QStringList& arguments, const CommandKit& kit)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption outputOption(
        { QStringLiteral("o"), QStringLiteral("output") }, QString(), QStringLiteral("FILE.png"));
    const QCommandLineOption minimizeOption(QStringLiteral("minimize"), QString(),
        QStringLiteral("normal|over|press"), QStringLiteral("normal"));
    // --size WxH joins here once the render takes a panel size, and goes to both renders.
    const QCommandLineOption helpOption(QStringLiteral("help"));
    parser.addOptions({ outputOption, minimizeOption, helpOption });
    if (!parser.parse(arguments))
        return kit.badUsage(bytesOf(parser.errorText()), kDiffUsage);
    if (parser.isSet(helpOption))
        return kit.showHelp();
    const QStringList dirs = parser.positionalArguments();
    if (dirs.size() != 2)
        return kit.badUsage(dirs.size() < 2 ? "two style directories needed, OLD and NEW"
                                            : "two style directories at a time, OLD and NEW",
            kDiffUsage);
    if (!parser.isSet(outputOption) || parser.value(outputOption).isEmpty())
        return kit.badUsage("no output picture given (-o FILE.png)", kDiffUsage);
    LiveMinimizeButton::Look look = LiveMinimizeButton::Look::Normal;
    if (!kit.parseLook(parser.value(minimizeOption), look))
        return kit.badUsage("unknown minimize state '" + bytesOf(parser.value(minimizeOption))
                + "': normal, over or press",
            kDiffUsage);

    const QByteArray oldDir = bytesOf(dirs.at(0));
    const QByteArray newDir = bytesOf(dirs.at(1));
    const StyleDiff diff
        = diffStyles(oldDir, newDir, look, printableText(oldDir), printableText(newDir));

    for (const auto& [dir, render] :
        { std::pair { oldDir, &diff.oldRender }, std::pair { newDir, &diff.newRender } })
        if (!render->failure.isEmpty())
            kit.err(printable(dir) + ": " + printableMessage(kit.errorText(render->failure), dir));
    for (const StyleFileChange& change : diff.files) {
        const QByteArray name(change.name);
        switch (change.kind) {
        case StyleFileChange::Kind::Differs:
            kit.out(name + ": differs");
            break;
        case StyleFileChange::Kind::OnlyInOld:
            kit.out(name + ": only in " + printable(oldDir));
            break;
        case StyleFileChange::Kind::OnlyInNew:
            kit.out(name + ": only in " + printable(newDir));
            break;
        case StyleFileChange::Kind::Unreadable:
            // The message names the path, under either directory.
            kit.out(name + ": "
                + printableMessage(
                    QString::fromUtf8(printableMessage(kit.errorText(change.message), oldDir)),
                    newDir));
            break;
        }
    }
    if (diff.difference.pixels > 0)
        kit.out(differenceLine(diff.difference, printable(oldDir)));

    const bool written = kit.writePicture(diff.picture, bytesOf(parser.value(outputOption)));
    return written && diff.identical() ? 0 : 1;
}
