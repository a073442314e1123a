// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandKit.h"

#include "cli/Printable.h"
#include "review/PictureKit.h"

#include <QImageWriter>
#include <QSaveFile>
#include <cstdio>

namespace CommandKit {

const char kProgram[] = "framewright-style";
const char kCheckUsage[] = "framewright-style check [--strict] [--format text|json|github] DIR...";
const char kRenderUsage[]
    = "framewright-style render DIR -o FILE.png [--minimize normal|over|press] [--size WxH]"
      " [--compare REF.png [--diff DIFF.png] [--update-reference]]";

const char kDiffUsage[]
    = "framewright-style diff OLD NEW -o FILE.png [--minimize normal|over|press]"
      " [--size WxH]";
const char kSheetUsage[] = "framewright-style sheet DIR -o FILE.png [--scale N]";
const char kStatesUsage[] = "framewright-style states DIR -o FILE.png [--scale N]";
const char kExportUsage[] = "framewright-style export xfwm4 DIR -o THEME [--scale N] [--strict]"
                            " [--format text|json|github] [--force]";
const char kImportUsage[] = "framewright-style import xfwm4 THEME -o DIR [--force]";

namespace {

const char kHelp[] = R"(Usage: %1
  or:  %2
  or:  %3
  or:  %4
  or:  %5
  or:  %6
  or:  %7
Check a window-frame style directory for every problem at once, draw the preview of it that
Framewright shows, every file of it or every caption button state, without a display, make it a
theme of the Xfce window manager, or make a style of such a theme.

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
  diff      render OLD and NEW alike, name the style files that differ and write OLD,
            NEW and NEW with the differing pixels in red side by side
  export    write THEME/xfwm4, a theme that xfwm4 4.18 draws as the sample windows
            show DIR after a load pass (see Exporting to xfwm4 below)
  import    make a style in DIR from the xfwm4 theme THEME (a theme directory holding
            xfwm4/, or that folder), reading it as xfwm4 4.18 does; one line for each
            piece it had to fit, make from a neighbour or leave out

Options of check:
      --strict             count warnings as errors
      --format FORMAT      text: lines (the default); json: one JSON document;
                           github: one GitHub Actions annotation per problem

Options of render:
  -o, --output FILE.png    write the picture to FILE.png
      --minimize STATE     the live minimize button in STATE: normal (the default),
                           over or press
      --compare REF.png    compare the picture with REF.png pixel for pixel
      --diff DIFF.png      with --compare, write a picture marking the differing pixels
      --size WxH           both sample windows W x H pixels (from 113x38 to 3840x2160)
                           in place of the form's sizes; the panel is (W+151) x (2H+125)
      --update-reference   with --compare, write the render to REF.png when it differs
                           or REF.png does not exist; a stopped pass never does

The render carries the conditions it was made under as PNG text: Software, Qt,
Caption font, Size and Minimize. When a render differs from a reference that carries
them, the conditions that differ are named beside the pixel count.

Options of diff:
  -o, --output FILE.png    write the three pictures side by side to FILE.png
      --minimize STATE     both renders with the live minimize button in STATE
      --size WxH           both renders with sample windows of W x H pixels

Options of sheet and states:
  -o, --output FILE.png    write the picture to FILE.png
      --scale N            magnify N times, 1 to 8, nearest neighbour (sheet: the
                           magnified copy beside each file, default 4; states: every
                           cell, default 1)

Options of export:
  -o, --output THEME       write the theme into THEME/xfwm4; the theme's name is
                           THEME's last path component, which must be valid UTF-8
      --scale N            every piece, offset and spacing N times, 1 to 3, nearest
                           neighbour, for high density screens (default 1)
      --strict             count warnings as errors: exit 1 and no theme
      --format FORMAT      the warnings as check gives them: text, json or github
      --force              replace a THEME/xfwm4 that is not empty (only xfwm4/:
                           whatever else THEME holds, such as gtk-3.0/, stays)

Exporting to xfwm4: THEME/xfwm4 gets a themerc and PNG pictures with explicit
colours, so the theme needs no GTK theme. Each piece is taken from the load pass's
composed pictures: the caption corners as the window composes mask and corner, cut
to 12 x 29, the window's body colour baked in where the colour key lets it through
and transparent only where the mask shows its cut-away corner; the edges 5 wide
and the bottom 8 high as the window stretches them, the right edge showing the
left-edge picture; title-1 to title-5 the caption middle. The buttons are hide
(minimize), maximize and close on the right, 2 apart, the close button as far
from the right edge as in the focused sample window; maximize's toggled look
shows the restore glyph. Each button picture is the face with its glyph at the
form's offset: -active the normal face and glyph, -prelight over and over,
-pressed press and press, -inactive the normal face and the disable glyph. The
themerc sets every setting that changes the frame's look (button_layout,
button_offset, button_spacing, title_alignment, full_width_title, the title
offsets and font, title_shadow_active and _inactive, show_app_icon,
frame_border_top, maximized_offset and the caption colours), so the user's own
xfwm4 settings do not change it. Install it with cp -r THEME ~/.themes/.
What xfwm4 cannot draw as the window does is a warning, and the theme is still
written: partial-alpha (a pixel of the mask's cut-away corner only partly
covered: xfwm4 keeps a pixel only at full alpha), tiled-varies (a piece the
window stretches and xfwm4 repeats, whose pixels vary along that direction),
glyph-fallback (an over or press glyph not in the style: the normal glyph
stands in). The theme is written whole into a hidden folder in THEME and moved
into place in one step, so an export stopped at any moment leaves THEME/xfwm4
absent, old or new, never half written. A THEME/xfwm4 that is not empty is
refused without --force. On success the last line is "THEME: N files, M warnings".
Options of import:
  -o, --output DIR         write the style to DIR, whole, through a hidden folder beside it
      --force              replace a DIR that is not empty

      --help               display this help and exit
      --version            output version information and exit

Exit status: 0 if all is well (warnings alone included, unless --strict), 1 if problems
were found, a file of sheet or states is missing or unreadable, the render differs (from
the reference, or NEW from OLD, files included), a pass stops, a picture or theme cannot
be written or a theme is refused, 2 for bad usage.
)";

void print(FILE* stream, const QByteArray& line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stream);
    std::fputc('\n', stream);
}

} // namespace

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
        err(QByteArray("  or:  ") + kDiffUsage);
        err(QByteArray("  or:  ") + kSheetUsage);
        err(QByteArray("  or:  ") + kStatesUsage);
        err(QByteArray("  or:  ") + kExportUsage);
        err(QByteArray("  or:  ") + kImportUsage);
    }
    err(QByteArray("Try '") + kProgram + " --help' for more information.");
    return kBadUsage;
}

int showHelp()
{
    std::fflush(stderr);
    const QString text = QString::fromLatin1(kHelp).arg(QLatin1String(kCheckUsage),
        QLatin1String(kRenderUsage), QLatin1String(kDiffUsage), QLatin1String(kSheetUsage),
        QLatin1String(kStatesUsage), QLatin1String(kExportUsage), QLatin1String(kImportUsage));
    std::fputs(text.toUtf8().constData(), stdout);
    return kSuccess;
}

QByteArray bytesOf(const QString& parsed)
{
    return parsed.toLatin1();
}

QByteArray plural(qsizetype count, const char* one, const char* many)
{
    return QByteArray::number(count) + ' ' + (count == 1 ? one : many);
}

QCommandLineOption minimizeOption()
{
    return QCommandLineOption(QStringLiteral("minimize"), QString(),
        QStringLiteral("normal|over|press"), QStringLiteral("normal"));
}

QCommandLineOption sizeOption()
{
    return QCommandLineOption(QStringLiteral("size"), QString(), QStringLiteral("WxH"));
}

// Written whole or not at all: a reader never sees half a picture, and a failed write leaves
// whatever was there before.
bool writePicture(const QImage& picture, const QByteArray& path)
{
    QSaveFile file(QString::fromLocal8Bit(path));
    QImageWriter writer(&file, "png");
    const bool written
        = file.open(QIODevice::WriteOnly) && PictureKit::encode(writer, picture) && file.commit();
    if (!written) {
        const QString reason = writer.error() != QImageWriter::UnknownError ? writer.errorString()
                                                                            : file.errorString();
        err(QByteArray(kProgram) + ": cannot write " + printable(path) + ": " + reason.toUtf8());
    }
    return written;
}

} // namespace CommandKit
