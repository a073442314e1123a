// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/StyleCommand.h"

#include "cli/Printable.h"
#include "cli/SheetCommand.h"
#include "preview/PanelRender.h"
#include "preview/PreviewPanel.h"
#include "style/AppError.h"
#include "style/BitmapReader.h"
#include "style/ErrorText.h"
#include "style/StyleCheck.h"
#include "style/StyleFiles.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QImageWriter>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>
#include <cstdio>

namespace {

constexpr int kSuccess = 0;
constexpr int kProblems = 1;
constexpr int kBadUsage = 2;

const char kProgram[] = "framewright-style";
const char kCheckUsage[] = "framewright-style check [--strict] [--format text|json] DIR...";
const char kRenderUsage[]
    = "framewright-style render DIR -o FILE.png [--minimize normal|over|press] [--size WxH]"
      " [--compare REF.png [--diff DIFF.png]]";

const char kHelp[] = R"(Usage: %1
  or:  %2
  or:  %3
  or:  %4
Check a window-frame style directory for every problem at once, or draw the preview of it that
Framewright shows, every file of it or every caption button state, without a display.

Commands:
  check     list every error (what would stop Framewright's load pass or its live
            minimize button) and every warning (what Framewright would draw other
            than the author likely means) of each DIR, then a summary line per DIR
  render    write the preview panel after the first load pass of DIR as a PNG picture
  sheet     write a contact sheet of DIR: one cell per style file, in the element
            tree's order, at its own size and magnified, with its size, how the
            window draws it and the colour key it leaves out; a missing or
            unreadable file gets a red cell with the window's message, an absent
            over or press glyph the window never reads a "not in this style" cell
  states    write a grid of the four caption buttons (minimize, restore, maximize,
            close) in the states normal, over, press and disable, each cut from a
            preview panel the load pass composed

Options of check:
      --strict             count warnings as errors
      --format text|json   print lines (the default) or one JSON document

Options of render:
  -o, --output FILE.png    write the picture to FILE.png
      --minimize STATE     the live minimize button in STATE: normal (the default),
                           over or press
      --compare REF.png    compare the picture with REF.png pixel for pixel
      --diff DIFF.png      with --compare, write a picture marking the differing pixels
      --size WxH           both sample windows W x H pixels (from 113x38 to 3840x2160)
                           in place of the form's sizes; the panel is (W+151) x (2H+125)

Options of sheet and states:
  -o, --output FILE.png    write the picture to FILE.png
      --scale N            magnify N times, 1 to 8, nearest neighbour (sheet: the
                           magnified copy beside each file, default 4; states: every
                           cell, default 1)

      --help               display this help and exit
      --version            output version information and exit

Exit status: 0 if all is well (warnings alone included, unless --strict), 1 if problems
were found, a file of sheet or states is missing or unreadable, or the render differs or
cannot be written, 2 for bad usage.
)";

void print(FILE* stream, const QByteArray& line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stream);
    std::fputc('\n', stream);
}

void out(const QByteArray& line)
{
    print(stdout, line);
}

void err(const QByteArray& line)
{
    print(stderr, line);
}

int badUsage(const QByteArray& message, const char* usage)
{
    err(QByteArray(kProgram) + ": " + message);
    if (usage) {
        err(QByteArray("Usage: ") + usage);
    } else {
        err(QByteArray("Usage: ") + kCheckUsage);
        err(QByteArray("  or:  ") + kRenderUsage);
        err(QByteArray("  or:  ") + kSheetUsage);
        err(QByteArray("  or:  ") + kStatesUsage);
    }
    err(QByteArray("Try '") + kProgram + " --help' for more information.");
    return kBadUsage;
}

int showHelp()
{
    std::fflush(stderr);
    const QString text = QString::fromLatin1(kHelp).arg(QLatin1String(kCheckUsage),
        QLatin1String(kRenderUsage), QLatin1String(kSheetUsage), QLatin1String(kStatesUsage));
    std::fputs(text.toUtf8().constData(), stdout);
    return kSuccess;
}

int showVersion()
{
    out(QByteArray(kProgram) + " (Framewright) " + QCoreApplication::applicationVersion().toUtf8());
    return kSuccess;
}

// Each argument's bytes as the Latin-1 characters of the same codes, so the parser sees options
// as text and every path comes back to its exact bytes.
QStringList asParserArguments(const QList<QByteArray>& arguments)
{
    QStringList list;
    for (const QByteArray& argument : arguments)
        list.append(QString::fromLatin1(argument));
    return list;
}

QByteArray bytesOf(const QString& parsed)
{
    return parsed.toLatin1();
}

QByteArray plural(int count, const char* one, const char* many)
{
    return QByteArray::number(count) + ' ' + (count == 1 ? one : many);
}

const char* severityName(StyleProblem::Severity severity, bool strict)
{
    return severity == StyleProblem::Severity::Error || strict ? "error" : "warning";
}

bool listedNothing(const StyleReport& report)
{
    return !report.problems.isEmpty()
        && std::all_of(report.problems.cbegin(), report.problems.cend(),
            [](const StyleProblem& problem) { return problem.file.isEmpty(); });
}

int check(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption strictOption(QStringLiteral("strict"));
    const QCommandLineOption formatOption(
        QStringLiteral("format"), QString(), QStringLiteral("text|json"), QStringLiteral("text"));
    const QCommandLineOption helpOption(QStringLiteral("help"));
    parser.addOptions({ strictOption, formatOption, helpOption });
    parser.addPositionalArgument(QStringLiteral("DIR"), QString(), QStringLiteral("DIR..."));
    if (!parser.parse(arguments))
        return badUsage(bytesOf(parser.errorText()), kCheckUsage);
    if (parser.isSet(helpOption))
        return showHelp();
    const QString format = parser.value(formatOption);
    if (format != QLatin1String("text") && format != QLatin1String("json"))
        return badUsage("unknown format '" + bytesOf(format) + "': text or json", kCheckUsage);
    const QStringList dirs = parser.positionalArguments();
    if (dirs.isEmpty())
        return badUsage("no style directory given", kCheckUsage);

    const bool strict = parser.isSet(strictOption);
    const bool json = format == QLatin1String("json");
    QJsonArray directories;
    int status = kSuccess;
    for (const QString& given : dirs) {
        const StyleReport report = checkStyle(bytesOf(given));
        const int errors = report.errors() + (strict ? report.warnings() : 0);
        const int warnings = strict ? 0 : report.warnings();
        if (errors > 0)
            status = kProblems;

        if (json) {
            QJsonArray problems;
            for (const StyleProblem& problem : report.problems)
                problems.append(QJsonObject {
                    { QStringLiteral("file"), printableText(problem.file) },
                    { QStringLiteral("severity"),
                        QLatin1String(severityName(problem.severity, strict)) },
                    { QStringLiteral("message"),
                        QString::fromUtf8(printableMessage(problem.message, report.dir)) },
                });
            directories.append(QJsonObject {
                { QStringLiteral("dir"), printableText(report.dir) },
                { QStringLiteral("errors"), errors },
                { QStringLiteral("warnings"), warnings },
                { QStringLiteral("problems"), problems },
            });
            continue;
        }

        const QByteArray dir = printable(report.dir);
        for (const StyleProblem& problem : report.problems) {
            const QByteArray where
                = problem.file.isEmpty() ? dir : printable(joinStylePath(report.dir, problem.file));
            out(where + ": " + severityName(problem.severity, strict) + ": "
                + printableMessage(problem.message, report.dir));
        }
        // A directory that could not be listed has its one line and nothing to sum up.
        if (!listedNothing(report))
            out(dir + ": " + plural(errors, "error", "errors") + ", "
                + plural(warnings, "warning", "warnings"));
    }
    if (json)
        std::fputs(QJsonDocument(QJsonObject { { QStringLiteral("directories"), directories } })
                       .toJson(QJsonDocument::Indented)
                       .constData(),
            stdout);
    return status;
}

bool parseLook(const QString& name, LiveMinimizeButton::Look& look)
{
    if (name == QLatin1String("normal"))
        look = LiveMinimizeButton::Look::Normal;
    else if (name == QLatin1String("over"))
        look = LiveMinimizeButton::Look::Over;
    else if (name == QLatin1String("press"))
        look = LiveMinimizeButton::Look::Press;
    else
        return false;
    return true;
}

QByteArray sizeText(QSize size)
{
    return QByteArray::number(size.width()) + 'x' + QByteArray::number(size.height());
}

// Digits only, within the sizes a render can be drawn and read back at.
bool parseSize(const QString& text, QSize& size)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{1,9})x([0-9]{1,9})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    size = QSize(match.captured(1).toInt(), match.captured(2).toInt());
    const QSize smallest = PreviewPanel::kSmallestWindow;
    const QSize largest = PreviewPanel::kLargestWindow;
    return size.width() >= smallest.width() && size.height() >= smallest.height()
        && size.width() <= largest.width() && size.height() <= largest.height();
}

// Written whole or not at all: a reader never sees half a picture, and a failed write leaves
// whatever was there before.
bool writePicture(const QImage& picture, const QByteArray& path)
{
    QSaveFile file(QString::fromLocal8Bit(path));
    QImageWriter writer(&file, "png");
    const bool written = file.open(QIODevice::WriteOnly) && writer.write(picture) && file.commit();
    if (!written) {
        const QString reason = writer.error() != QImageWriter::UnknownError ? writer.errorString()
                                                                            : file.errorString();
        err(QByteArray(kProgram) + ": cannot write " + printable(path) + ": " + reason.toUtf8());
    }
    return written;
}

int render(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption outputOption(
        { QStringLiteral("o"), QStringLiteral("output") }, QString(), QStringLiteral("FILE.png"));
    const QCommandLineOption minimizeOption(QStringLiteral("minimize"), QString(),
        QStringLiteral("normal|over|press"), QStringLiteral("normal"));
    const QCommandLineOption compareOption(
        QStringLiteral("compare"), QString(), QStringLiteral("REF.png"));
    const QCommandLineOption diffOption(
        QStringLiteral("diff"), QString(), QStringLiteral("DIFF.png"));
    const QCommandLineOption sizeOption(QStringLiteral("size"), QString(), QStringLiteral("WxH"));
    const QCommandLineOption helpOption(QStringLiteral("help"));
    parser.addOptions(
        { outputOption, minimizeOption, compareOption, diffOption, sizeOption, helpOption });
    if (!parser.parse(arguments))
        return badUsage(bytesOf(parser.errorText()), kRenderUsage);
    if (parser.isSet(helpOption))
        return showHelp();
    const QStringList dirs = parser.positionalArguments();
    if (dirs.isEmpty())
        return badUsage("no style directory given", kRenderUsage);
    if (dirs.size() > 1)
        return badUsage("one style directory at a time", kRenderUsage);
    if (!parser.isSet(outputOption) || parser.value(outputOption).isEmpty())
        return badUsage("no output picture given (-o FILE.png)", kRenderUsage);
    LiveMinimizeButton::Look look = LiveMinimizeButton::Look::Normal;
    if (!parseLook(parser.value(minimizeOption), look))
        return badUsage("unknown minimize state '" + bytesOf(parser.value(minimizeOption))
                + "': normal, over or press",
            kRenderUsage);
    if (parser.isSet(diffOption) && !parser.isSet(compareOption))
        return badUsage("--diff needs --compare", kRenderUsage);
    QSize windowSize;
    if (parser.isSet(sizeOption) && !parseSize(parser.value(sizeOption), windowSize))
        return badUsage("bad size '" + bytesOf(parser.value(sizeOption)) + "': WxH in digits, from "
                + sizeText(PreviewPanel::kSmallestWindow) + " to "
                + sizeText(PreviewPanel::kLargestWindow),
            kRenderUsage);

    const QByteArray dir = bytesOf(dirs.first());
    const PanelRender result = renderPanel(dir, look, windowSize);
    int status = kSuccess;
    if (!result.failure.isEmpty()) {
        err(printableMessage(ErrorText::format(result.failure), dir));
        status = kProblems;
    }
    if (!writePicture(result.picture, bytesOf(parser.value(outputOption))))
        status = kProblems;
    if (!parser.isSet(compareOption))
        return status;

    const QByteArray referencePath = bytesOf(parser.value(compareOption));
    QImage reference;
    try {
        reference = readBitmap(referencePath);
    } catch (const AppError& error) {
        err(QByteArray(kProgram) + ": " + printable(referencePath) + ": "
            + printableMessage(ErrorText::format(error.message()), referencePath));
        return kProblems;
    }
    const PictureDifference difference = comparePictures(result.picture, reference);
    if (difference.pixels > 0) {
        const QRect& box = difference.bounds;
        out(QByteArray::number(difference.pixels)
            + (difference.pixels == 1 ? " pixel differs" : " pixels differ") + " from "
            + printable(referencePath) + ", within " + QByteArray::number(box.width()) + 'x'
            + QByteArray::number(box.height()) + " at (" + QByteArray::number(box.x()) + ", "
            + QByteArray::number(box.y()) + ')');
        status = kProblems;
    }
    if (parser.isSet(diffOption)
        && !writePicture(
            markDifferences(result.picture, reference), bytesOf(parser.value(diffOption))))
        status = kProblems;
    return status;
}

} // namespace

int runStyleCommand(const QList<QByteArray>& arguments)
{
    const QStringList parsed = asParserArguments(arguments);
    if (parsed.size() < 2)
        return badUsage("no command given", nullptr);
    const QString command = parsed.at(1);
    QStringList rest = parsed.mid(2);
    rest.prepend(parsed.first());
    if (command == QLatin1String("check"))
        return check(rest);
    if (command == QLatin1String("render"))
        return render(rest);
    if (command == QLatin1String("sheet"))
        return runSheetCommand(rest, &showHelp);
    if (command == QLatin1String("states"))
        return runStatesCommand(rest, &showHelp);
    if (command == QLatin1String("--help"))
        return showHelp();
    if (command == QLatin1String("--version"))
        return showVersion();
    if (command.startsWith(QLatin1Char('-')))
        return badUsage("unknown option '" + bytesOf(command) + '\'', nullptr);
    return badUsage(
        "unknown command '" + bytesOf(command) + "': check, render, sheet or states", nullptr);
}
