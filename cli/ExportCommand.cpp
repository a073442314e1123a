// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ExportCommand.h"

#include "cli/CommandKit.h"
#include "cli/CommandParser.h"
#include "cli/Printable.h"
#include "cli/ProblemLines.h"
#include "style/StyleFiles.h"
#include "xfwm4/ThemeExport.h"
#include "xfwm4/ThemeWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

using namespace CommandKit;

namespace {

void report(const ThemeExport& theme, const QByteArray& dir, const QByteArray& themeDir,
    const QString& format, bool strict)
{
    const char* severity = strict ? "error" : "warning";
    if (format == QLatin1String("json")) {
        QJsonArray problems;
        for (const StyleProblem& problem : theme.problems)
            problems.append(problemObject(problem, severity, dir));
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
    for (const StyleProblem& problem : theme.problems)
        printProblem(problem, severity, dir, format == QLatin1String("github"));
}

} // namespace

namespace {

int exportTheme(const QByteArray& dir, const QByteArray& themeDir, const QString& format, int scale,
    bool strict, bool force)
{
    const QByteArray prefix = QByteArray(kProgram) + ": ";
    if (!ThemeWriter::validName(themeDir)) {
        const QByteArray name = ThemeWriter::themeName(themeDir);
        const bool named = !name.isEmpty() && name != "." && name != "..";
        err(prefix + printable(themeDir)
            + (named ? ": the theme's name is not valid UTF-8, and xfwm4 takes theme names as UTF-8"
                     : ": names no folder whose name the theme could take"));
        return kProblems;
    }
    if (!force && ThemeWriter::occupied(themeDir)) {
        err(prefix + printable(joinStylePath(themeDir, "xfwm4"))
            + " exists and is not empty: --force replaces it");
        return kProblems;
    }

    const ThemeExport theme = ThemeExport::fromStyle(dir, scale);
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

} // namespace

int runExportCommand(const QStringList& arguments)
{
    CommandParser parser(kExportUsage, CommandParser::Dirs::One, CommandParser::Output::Theme);
    const QCommandLineOption scaleOption(
        QStringLiteral("scale"), QString(), QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption strictOption(QStringLiteral("strict"));
    const QCommandLineOption formatOption(QStringLiteral("format"), QString(),
        QStringLiteral("text|json|github"), QStringLiteral("text"));
    const QCommandLineOption forceOption(QStringLiteral("force"));
    for (const QCommandLineOption& option :
        { scaleOption, strictOption, formatOption, forceOption })
        parser.addOption(option);
    QString format;
    int scale = 1;
    if (!parser.read(arguments)
        || !parser.expectWord(
            QStringLiteral("xfwm4"), "no theme format given: xfwm4", "theme format")
        || !parser.checkDirsAndOutput() || !parser.format(formatOption, format)
        || !parser.scale(scaleOption, ThemeExport::kLargestScale, scale))
        return parser.status();
    return exportTheme(parser.dir(), parser.output(), format, scale, parser.isSet(strictOption),
        parser.isSet(forceOption));
}
