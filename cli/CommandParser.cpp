// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandParser.h"

#include "cli/CommandKit.h"
#include "preview/PreviewPanel.h"

#include <QRegularExpression>

using namespace CommandKit;

namespace {

// As --size takes it: WxH, no spaces.
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

} // namespace

CommandParser::CommandParser(const char* usage, Dirs dirs, Output output)
    : m_usage(usage)
    , m_dirs(dirs)
    , m_outputKind(output)
    , m_help(QStringLiteral("help"))
    , m_output({ QStringLiteral("o"), QStringLiteral("output") }, QString(),
          output == Output::Theme          ? QStringLiteral("THEME")
              : output == Output::StyleDir ? QStringLiteral("DIR")
                                           : QStringLiteral("FILE.png"))
{
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.addOption(m_help);
    if (output != Output::None)
        m_parser.addOption(m_output);
}

bool CommandParser::parse(const QStringList& arguments)
{
    return read(arguments) && checkDirsAndOutput();
}

bool CommandParser::read(const QStringList& arguments)
{
    if (!m_parser.parse(arguments))
        return fail(bytesOf(m_parser.errorText()));
    if (m_parser.isSet(m_help)) {
        m_status = showHelp();
        return false;
    }
    return true;
}

bool CommandParser::checkDirsAndOutput()
{
    m_dirList.clear();
    for (const QString& dir : m_parser.positionalArguments().mid(m_words))
        m_dirList.append(bytesOf(dir));
    const qsizetype count = m_dirList.size();
    if (m_dirs == Dirs::OldAndNew && count != 2)
        return fail(count < 2 ? "two style directories needed, OLD and NEW"
                              : "two style directories at a time, OLD and NEW");
    if (m_dirs == Dirs::OneTheme && count != 1)
        return fail(count == 0 ? "no theme given" : "one theme at a time");
    if (count == 0)
        return fail("no style directory given");
    if (m_dirs == Dirs::One && count > 1)
        return fail("one style directory at a time");
    if (m_outputKind == Output::Picture && output().isEmpty())
        return fail("no output picture given (-o FILE.png)");
    if (m_outputKind == Output::Theme && output().isEmpty())
        return fail("no theme directory given (-o THEME)");
    if (m_outputKind == Output::StyleDir && output().isEmpty())
        return fail("no style directory given (-o DIR)");
    return true;
}

bool CommandParser::expectWord(
    const QString& word, const QByteArray& missing, const QByteArray& what)
{
    const QStringList positional = m_parser.positionalArguments();
    if (positional.isEmpty())
        return fail(missing);
    if (positional.first() != word)
        return fail("unknown " + what + " '" + bytesOf(positional.first()) + "': " + bytesOf(word));
    m_words = 1;
    return true;
}

bool CommandParser::format(const QCommandLineOption& option, QString& format)
{
    format = m_parser.value(option);
    if (format != QLatin1String("text") && format != QLatin1String("json")
        && format != QLatin1String("github"))
        return fail("unknown format '" + bytesOf(format) + "': text, json or github");
    return true;
}

bool CommandParser::fail(const QByteArray& message)
{
    m_status = badUsage(message, m_usage);
    return false;
}

QByteArray CommandParser::output() const
{
    return m_parser.isSet(m_output) ? bytesOf(m_parser.value(m_output)) : QByteArray();
}

bool CommandParser::minimize(const QCommandLineOption& option, StyleFile::State& state)
{
    const QString name = m_parser.value(option);
    for (const StyleFile::State shown :
        { StyleFile::State::Normal, StyleFile::State::Over, StyleFile::State::Press })
        if (name == QLatin1String(StyleFiles::stateName(shown))) {
            state = shown;
            return true;
        }
    return fail("unknown minimize state '" + bytesOf(name) + "': normal, over or press");
}

bool CommandParser::size(const QCommandLineOption& option, QSize& size)
{
    const QString text = m_parser.value(option);
    if (m_parser.isSet(option) && !parseSize(text, size))
        return fail("bad size '" + bytesOf(text) + "': WxH in digits, from "
            + sizeText(PreviewPanel::kSmallestWindow) + " to "
            + sizeText(PreviewPanel::kLargestWindow));
    return true;
}

bool CommandParser::scale(const QCommandLineOption& option, int largest, int& scale)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,9}$"));
    const QString text = m_parser.value(option);
    if (!digits.match(text).hasMatch() || text.toInt() < 1 || text.toInt() > largest)
        return fail("bad scale '" + bytesOf(text) + "': a whole number from 1 to "
            + QByteArray::number(largest));
    scale = text.toInt();
    return true;
}

bool CommandParser::needs(const QCommandLineOption& option, const QCommandLineOption& needed)
{
    if (m_parser.isSet(option) && !m_parser.isSet(needed))
        return fail("--" + bytesOf(option.names().constLast()) + " needs --"
            + bytesOf(needed.names().constLast()));
    return true;
}
