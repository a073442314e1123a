// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ExportCommand.h"

#include "cli/CommandKit.h"
#include "cli/Printable.h"
#include "cli/WorkflowCommand.h"
#include "style/StyleFiles.h"
#include "xfwm4/ThemeExport.h"
#include "xfwm4/ThemeWriter.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <cstdio>

using namespace CommandKit;

namespace {

QByteArray plural(qsizetype count, const char* one, const char* many)
{
    return QByteArray::number(count) + ' ' + (count == 1 ? one : many);
}

void report(const ThemeExport& theme, const QByteArray& dir, const QByteArray& themeDir,
    const QString& format, bool strict)
{
    const char* severity = strict ? "error" : "warning";
    if (format == QLatin1String("json")) {
        QJsonArray problems;
        for (const StyleProblem& problem : theme.problems)
            problems.append(QJsonObject {
                { QStringLiteral("file"), printableText(problem.file) },
                { QStringLiteral("severity"), QLatin1String(severity) },
                { QStringLiteral("message"),
                    QString::fromUtf8(printableMessage(problem.message, dir)) },
                { QStringLiteral("rule"), QLatin1String(problem.rule) },
            });
        const qsizetype count = theme.problems.size();
        const QJsonObject document {
            { QStringLiteral("theme"), printableText(themeDir) },
            { QStringLiteral("errors"), strict ? count : 0 },
            { QStringLiteral("warnings"), strict ? 0 : count },
            { QStringLiteral("problems"), problems },
        };
        std::fputs(QJsonDocument(document).toJson(QJsonDocument::Indented).constData(), stdout);
        return;
    }
    const bool github = format == QLatin1String("github");
    for (const StyleProblem& problem : theme.problems) {
        const QByteArray where = printable(joinStylePath(dir, problem.file));
        const QByteArray message = printableMessage(problem.message, dir);
        if (github)
            out(workflowCommand(
                severity, { { "file", where }, { "title", problem.rule } }, message));
        else
            out(where + ": " + severity + ": " + message);
    }
}

} // namespace

int runExportCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption outputOption(
        { QStringLiteral("o"), QStringLiteral("output") }, QString(), QStringLiteral("THEME"));
    const QCommandLineOption scaleOption(
        QStringLiteral("scale"), QString(), QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption strictOption(QStringLiteral("strict"));
    const QCommandLineOption formatOption(QStringLiteral("format"), QString(),
        QStringLiteral("text|json|github"), QStringLiteral("text"));
    const QCommandLineOption forceOption(QStringLiteral("force"));
    const QCommandLineOption helpOption(QStringLiteral("help"));
    parser.addOptions(
        { outputOption, scaleOption, strictOption, formatOption, forceOption, helpOption });
    if (!parser.parse(arguments))
        return badUsage(bytesOf(parser.errorText()), kExportUsage);
    if (parser.isSet(helpOption))
        return showHelp();

    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return badUsage("no theme format given: xfwm4", kExportUsage);
    if (positional.first() != QLatin1String("xfwm4"))
        return badUsage(
            "unknown theme format '" + bytesOf(positional.first()) + "': xfwm4", kExportUsage);
    if (positional.size() < 2)
        return badUsage("no style directory given", kExportUsage);
    if (positional.size() > 2)
        return badUsage("one style directory at a time", kExportUsage);
    if (!parser.isSet(outputOption) || parser.value(outputOption).isEmpty())
        return badUsage("no theme directory given (-o THEME)", kExportUsage);
    const QString format = parser.value(formatOption);
    if (format != QLatin1String("text") && format != QLatin1String("json")
        && format != QLatin1String("github"))
        return badUsage(
            "unknown format '" + bytesOf(format) + "': text, json or github", kExportUsage);
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,9}$"));
    const QString scaleText = parser.value(scaleOption);
    if (!digits.match(scaleText).hasMatch() || scaleText.toInt() < 1
        || scaleText.toInt() > ThemeExport::kLargestScale)
        return badUsage("bad scale '" + bytesOf(scaleText) + "': a whole number from 1 to "
                + QByteArray::number(ThemeExport::kLargestScale),
            kExportUsage);

    const QByteArray dir = bytesOf(positional.at(1));
    const QByteArray themeDir = bytesOf(parser.value(outputOption));
    const bool force = parser.isSet(forceOption);
    const bool strict = parser.isSet(strictOption);
    const QByteArray prefix = QByteArray(kProgram) + ": ";
    if (!ThemeWriter::validName(themeDir)) {
        err(prefix + printable(themeDir)
            + ": the theme's name is not valid UTF-8, and xfwm4 takes theme names as UTF-8");
        return kProblems;
    }
    if (!force && ThemeWriter::occupied(themeDir)) {
        err(prefix + printable(joinStylePath(themeDir, "xfwm4"))
            + " exists and is not empty: --force replaces it");
        return kProblems;
    }

    const ThemeExport theme = ThemeExport::fromStyle(dir, scaleText.toInt());
    if (theme.failed()) {
        err(printableMessage(theme.failure, dir));
        return kProblems;
    }
    report(theme, dir, themeDir, format, strict);
    if (strict && !theme.problems.isEmpty())
        return kProblems;

    const QList<ThemeExport::File> files = theme.files();
    const ThemeWriter::Result written = ThemeWriter::write(themeDir, files, force);
    if (written.outcome != ThemeWriter::Outcome::Written) {
        err(prefix + printable(written.message)
            + (written.outcome == ThemeWriter::Outcome::Refused ? ": --force replaces it" : ""));
        return kProblems;
    }
    if (format != QLatin1String("json"))
        out(printable(themeDir) + ": " + plural(files.size(), "file", "files") + ", "
            + plural(theme.problems.size(), "warning", "warnings"));
    return kSuccess;
}
