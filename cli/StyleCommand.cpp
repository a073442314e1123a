// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/StyleCommand.h"

#include "cli/CommandKit.h"
#include "cli/CommandParser.h"
#include "cli/DiffCommand.h"
#include "cli/ExportCommand.h"
#include "cli/ImportCommand.h"
#include "cli/Printable.h"
#include "cli/ProblemLines.h"
#include "cli/SheetCommand.h"
#include "review/PanelRender.h"
#include "review/RenderConditions.h"
#include "style/AppError.h"
#include "style/BitmapReader.h"
#include "style/ErrorText.h"
#include "style/StyleCheck.h"
#include "style/StyleFiles.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <sys/stat.h>

using namespace CommandKit;

namespace {

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

// The counts a directory's summary gives: with --strict every warning is an error.
struct Counts
{
    int errors = 0;
    int warnings = 0;
};

Counts countsOf(const StyleReport& report, bool strict)
{
    return { report.errors() + (strict ? report.warnings() : 0), strict ? 0 : report.warnings() };
}

QJsonObject jsonOf(const StyleReport& report, bool strict)
{
    QJsonArray problems;
    for (const StyleProblem& problem : report.problems)
        problems.append(problemObject(problem, severityName(problem.severity, strict), report.dir));
    const Counts counts = countsOf(report, strict);
    return {
        { QStringLiteral("dir"), printableText(report.dir) },
        { QStringLiteral("errors"), counts.errors },
        { QStringLiteral("warnings"), counts.warnings },
        { QStringLiteral("problems"), problems },
    };
}

// One line per problem (a workflow command each for github), then the directory's summary.
void printReport(const StyleReport& report, bool strict, bool github)
{
    for (const StyleProblem& problem : report.problems)
        printProblem(problem, severityName(problem.severity, strict), report.dir, github);
    // A directory that could not be listed has its one line and nothing to sum up.
    const Counts counts = countsOf(report, strict);
    if (!listedNothing(report))
        out(printable(report.dir) + ": " + plural(counts.errors, "error", "errors") + ", "
            + plural(counts.warnings, "warning", "warnings"));
}

int check(const QStringList& arguments)
{
    CommandParser parser(kCheckUsage, CommandParser::Dirs::OneOrMore, CommandParser::Output::None);
    const QCommandLineOption strictOption(QStringLiteral("strict"));
    const QCommandLineOption formatOption(QStringLiteral("format"), QString(),
        QStringLiteral("text|json|github"), QStringLiteral("text"));
    parser.addOption(strictOption);
    parser.addOption(formatOption);
    QString format;
    if (!parser.read(arguments) || !parser.format(formatOption, format)
        || !parser.checkDirsAndOutput())
        return parser.status();

    const bool strict = parser.isSet(strictOption);
    QJsonArray directories;
    int status = kSuccess;
    for (const QByteArray& dir : parser.dirs()) {
        const StyleReport report = checkStyle(dir);
        if (countsOf(report, strict).errors > 0)
            status = kProblems;
        if (format == QLatin1String("json"))
            directories.append(jsonOf(report, strict));
        else
            printReport(report, strict, format == QLatin1String("github"));
    }
    if (format == QLatin1String("json"))
        std::fputs(QJsonDocument(QJsonObject { { QStringLiteral("directories"), directories } })
                       .toJson(QJsonDocument::Indented)
                       .constData(),
            stdout);
    return status;
}

// render --compare: the render against REF.png, which update writes when it is missing or
// differs; a picture marking the differences goes to diffPath, where given.
int compareWithReference(const QImage& picture, const RenderConditions& conditions,
    const QByteArray& referencePath, bool update, const std::optional<QByteArray>& diffPath,
    int status)
{
    QImage reference;
    try {
        reference = readBitmap(referencePath);
    } catch (const AppError& error) {
        struct stat info = {};
        if (update && ::stat(referencePath.constData(), &info) != 0 && errno == ENOENT) {
            if (!writePicture(picture, referencePath))
                return kProblems;
            out(printable(referencePath) + ": reference written");
            return status;
        }
        err(QByteArray(kProgram) + ": " + printable(referencePath) + ": "
            + printableMessage(ErrorText::format(error.message()), referencePath));
        return kProblems;
    }
    const PictureDifference difference = comparePictures(picture, reference);
    if (difference.pixels > 0) {
        QByteArray line = differenceLine(difference, printable(referencePath));
        // Told apart from a change of the style: another machine, toolkit or font.
        for (const QString& phrase :
            conditions.differencesFrom(RenderConditions::readFrom(reference)))
            line += "; " + printable(phrase.toUtf8()); // one line, whatever the chunks hold
        out(line);
        if (update && writePicture(picture, referencePath))
            out(printable(referencePath) + ": reference updated");
        else
            status = kProblems;
    }
    if (diffPath && !writePicture(markDifferences(picture, reference), *diffPath))
        status = kProblems;
    return status;
}

int render(const QStringList& arguments)
{
    CommandParser parser(kRenderUsage, CommandParser::Dirs::One, CommandParser::Output::Picture);
    const QCommandLineOption minimizeOption = CommandKit::minimizeOption();
    const QCommandLineOption compareOption(
        QStringLiteral("compare"), QString(), QStringLiteral("REF.png"));
    const QCommandLineOption diffOption(
        QStringLiteral("diff"), QString(), QStringLiteral("DIFF.png"));
    const QCommandLineOption sizeOption = CommandKit::sizeOption();
    const QCommandLineOption updateOption(QStringLiteral("update-reference"));
    for (const QCommandLineOption& option :
        { minimizeOption, compareOption, diffOption, sizeOption, updateOption })
        parser.addOption(option);
    StyleFile::State look = StyleFile::State::Normal;
    QSize windowSize;
    if (!parser.parse(arguments) || !parser.minimize(minimizeOption, look)
        || !parser.needs(diffOption, compareOption) || !parser.size(sizeOption, windowSize)
        || !parser.needs(updateOption, compareOption))
        return parser.status();

    PanelRender result = renderPanel(parser.dir(), look, windowSize);
    const RenderConditions conditions = RenderConditions::current(
        result.captionFont, result.picture.size(), parser.value(minimizeOption));
    conditions.writeTo(result.picture);
    int status = kSuccess;
    const bool stopped = !result.failure.isEmpty();
    if (stopped) {
        err(printableMessage(ErrorText::format(result.failure), parser.dir()));
        status = kProblems;
    }
    if (!writePicture(result.picture, parser.output()))
        status = kProblems;
    if (!parser.isSet(compareOption))
        return status;
    // A render cut short by a bad file is no reference for anything.
    const bool update = parser.isSet(updateOption) && !stopped;
    return compareWithReference(result.picture, conditions, bytesOf(parser.value(compareOption)),
        update,
        parser.isSet(diffOption) ? std::optional(bytesOf(parser.value(diffOption))) : std::nullopt,
        status);
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
    if (command == QLatin1String("diff"))
        return runDiff(rest);
    if (command == QLatin1String("sheet"))
        return runSheetCommand(rest);
    if (command == QLatin1String("states"))
        return runStatesCommand(rest);
    if (command == QLatin1String("export"))
        return runExportCommand(rest);
    if (command == QLatin1String("import"))
        return runImportCommand(rest);
    if (command == QLatin1String("--help"))
        return showHelp();
    if (command == QLatin1String("--version"))
        return showVersion();
    if (command.startsWith(QLatin1Char('-')))
        return badUsage("unknown option '" + bytesOf(command) + '\'', nullptr);
    return badUsage("unknown command '" + bytesOf(command)
            + "': check, render, diff, sheet, states, export or import",
        nullptr);
}
