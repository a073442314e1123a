// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "style/StyleFiles.h"

#include <QByteArray>
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QSize>
#include <QString>

// One command's arguments under the usage rules every command shares, each rule worded in this
// one place: --help, the style directories, -o, --minimize, --size and --scale. Every check
// that fails has printed its usage error and left status() at the bad-usage exit status.
class CommandParser
{
public:
    enum class Dirs { One, OneOrMore, OldAndNew, OneTheme };
    // What -o names, when the command writes something.
    enum class Output { None, Picture, Theme, StyleDir };

    CommandParser(const char* usage, Dirs dirs, Output output);

    void addOption(const QCommandLineOption& option) { m_parser.addOption(option); }

    // The arguments read and the shared rules applied; false when the command ends here (help
    // shown, or bad usage).
    bool parse(const QStringList& arguments);
    // The two halves of parse, for a command that checks an option of its own in between.
    bool read(const QStringList& arguments);
    bool checkDirsAndOutput();

    // The first argument must be word (export xfwm4 ...); the directories follow it.
    bool expectWord(const QString& word, const QByteArray& missing, const QByteArray& what);
    // --format text|json|github.
    bool format(const QCommandLineOption& option, QString& format);

    // A usage error of the command; always false.
    bool fail(const QByteArray& message);
    int status() const { return m_status; }

    // The style directories as given, once checkDirsAndOutput has passed.
    const QList<QByteArray>& dirs() const { return m_dirList; }
    QByteArray dir() const { return m_dirList.value(0); }
    QByteArray output() const;
    bool isSet(const QCommandLineOption& option) const { return m_parser.isSet(option); }
    QString value(const QCommandLineOption& option) const { return m_parser.value(option); }

    // Each option's value checked, or false with its usage error.
    bool minimize(const QCommandLineOption& option, StyleFile::State& state);
    bool size(const QCommandLineOption& option, QSize& size);
    bool scale(const QCommandLineOption& option, int largest, int& scale);
    // option only together with needed: "--diff needs --compare".
    bool needs(const QCommandLineOption& option, const QCommandLineOption& needed);

private:
    QCommandLineParser m_parser;
    const char* m_usage = "";
    Dirs m_dirs = Dirs::One;
    Output m_outputKind = Output::None;
    int m_words = 0; // leading arguments that are no directory
    QList<QByteArray> m_dirList;
    QCommandLineOption m_help;
    QCommandLineOption m_output;
    int m_status = 0;
};
