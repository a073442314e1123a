// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/StyleCommand.h"

#include "cli/CommandKit.h"
#include "cli/DiffCommand.h"
#include "cli/ExportCommand.h"
#include "cli/ImportCommand.h"
#include "cli/Printable.h"
#include "cli/RenderConditions.h"
#include "cli/SheetCommand.h"
#include "cli/WorkflowCommand.h"
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
#include <cerrno>
#include <cstdio>
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
    const QCommandLineOption formatOption(QStringLiteral("format"), QString(),
        QStringLiteral("text|json|github"), QStringLiteral("text"));
    const QCommandLineOption helpOption(QStringLiteral("help"));
    parser.addOptions({ strictOption, formatOption, helpOption });
    parser.addPositionalArgument(QStringLiteral("DIR"), QString(), QStringLiteral("DIR..."));
    if (!parser.parse(arguments))
        return badUsage(bytesOf(parser.errorText()), kCheckUsage);
    if (parser.isSet(helpOption))
        return showHelp();
    const QString format = parser.value(formatOption);
    if (format != QLatin1String("text") && format != QLatin1String("json")
        && format != QLatin1String("github"))
        return badUsage(
            "unknown format '" + bytesOf(format) + "': text, json or github", kCheckUsage);
    const QStringList dirs = parser.positionalArguments();
    if (dirs.isEmpty())
        return badUsage("no style directory given", kCheckUsage);

    const bool strict = parser.isSet(strictOption);
    const bool json = format == QLatin1String("json");
    const bool github = format == QLatin1String("github");
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
                    { QStringLiteral("rule"), QLatin1String(problem.rule) },
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
            const QByteArray message = printableMessage(problem.message, report.dir);
            if (github && problem.file.isEmpty()) {
                // No file to hang it on: the message says which directory.
                out(workflowCommand(severityName(problem.severity, strict),
                    { { "title", problem.rule } }, dir + ": " + message));
                continue;
            }
            const QByteArray where
                = problem.file.isEmpty() ? dir : printable(joinStylePath(report.dir, problem.file));
            if (github)
                out(workflowCommand(severityName(problem.severity, strict),
                    { { "file", where }, { "title", problem.rule } }, message));
            else
                out(where + ": " + severityName(problem.severity, strict) + ": " + message);
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

int render(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption outputOption = CommandKit::outputOption();
    const QCommandLineOption minimizeOption = CommandKit::minimizeOption();
    const QCommandLineOption compareOption(
        QStringLiteral("compare"), QString(), QStringLiteral("REF.png"));
    const QCommandLineOption diffOption(
        QStringLiteral("diff"), QString(), QStringLiteral("DIFF.png"));
    const QCommandLineOption sizeOption = CommandKit::sizeOption();
    const QCommandLineOption updateOption(QStringLiteral("update-reference"));
    const QCommandLineOption helpOption(QStringLiteral("help"));
    parser.addOptions({ outputOption, minimizeOption, compareOption, diffOption, sizeOption,
        updateOption, helpOption });
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
    if (const int status = parseSizeOption(
            parser.isSet(sizeOption), parser.value(sizeOption), kRenderUsage, windowSize))
        return status;

    if (parser.isSet(updateOption) && !parser.isSet(compareOption))
        return badUsage("--update-reference needs --compare", kRenderUsage);

    const QByteArray dir = bytesOf(dirs.first());
    PanelRender result = renderPanel(dir, look, windowSize);
    const RenderConditions conditions = RenderConditions::current(
        result.captionFont, result.picture.size(), parser.value(minimizeOption));
    conditions.writeTo(result.picture);
    int status = kSuccess;
    const bool stopped = !result.failure.isEmpty();
    if (stopped) {
        err(printableMessage(ErrorText::format(result.failure), dir));
        status = kProblems;
    }
    if (!writePicture(result.picture, bytesOf(parser.value(outputOption))))
        status = kProblems;
    if (!parser.isSet(compareOption))
        return status;

    const QByteArray referencePath = bytesOf(parser.value(compareOption));
    // A render cut short by a bad file is no reference for anything.
    const bool update = parser.isSet(updateOption) && !stopped;
    QImage reference;
    try {
        reference = readBitmap(referencePath);
    } catch (const AppError& error) {
        struct stat info = {};
        if (update && ::stat(referencePath.constData(), &info) != 0 && errno == ENOENT) {
            if (!writePicture(result.picture, referencePath))
                return kProblems;
            out(printable(referencePath) + ": reference written");
            return status;
        }
        err(QByteArray(kProgram) + ": " + printable(referencePath) + ": "
            + printableMessage(ErrorText::format(error.message()), referencePath));
        return kProblems;
    }
    const PictureDifference difference = comparePictures(result.picture, reference);
    if (difference.pixels > 0) {
        QByteArray line = differenceLine(difference, printable(referencePath));
        // Told apart from a change of the style: another machine, toolkit or font.
        for (const QString& phrase :
            conditions.differencesFrom(RenderConditions::readFrom(reference)))
            line += "; " + printable(phrase.toUtf8()); // one line, whatever the chunks hold
        out(line);
        if (update && writePicture(result.picture, referencePath))
            out(printable(referencePath) + ": reference updated");
        else
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
