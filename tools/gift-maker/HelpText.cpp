#include "HelpText.h"

namespace zg::maker {

const char* helpText() {
    return R"(Usage:
  gift-maker [OPTIONS] PICTURE.jpg -o GIFT   make a jigsaw gift
  gift-maker info GIFT                       list the trailer fields of a gift
  gift-maker preview GIFT --out FILE.png     draw the cut of a gift as a picture
  gift-maker --help                          show this text

A gift is a copy of the bare player with the picture, the optional music and a
3,421-byte information trailer appended. Run the gift to play its puzzle.
By default the player is the portable one: a small launcher and a compressed
bundle of the player with every library it needs, so the gift starts on any
x86-64 Linux desktop with nothing installed (about 30 MB; the first start
unpacks the bundle into ~/.cache/zanthoria-gift). --system-libraries makes a
small gift instead that needs Qt 6, SDL2_mixer and a soundfont installed.
The picture must be a JPEG file that decodes completely and can be cut into the
requested number of pieces; the music must be a standard MIDI file. On any
error nothing is written: the gift is made in a temporary file beside GIFT and
renamed to GIFT only when complete. The output is marked executable.

Files:
  -o, --output GIFT        the gift to write (replaced when it exists)
  --music FILE.mid         background music (default: none)
  --player PATH            the bare player to copy (default: zanthoria-gift-portable
                           beside gift-maker, or zanthoria-gift with --system-libraries)
  --system-libraries       make a gift that uses the libraries installed on the
                           machine it runs on (the plain player)

Picture (a JPEG file: colour, grey or CMYK, baseline or progressive):
  --max-size N             a picture whose longer side exceeds N pixels is
                           scaled down to N, keeping its proportions (area
                           average), and stored re-encoded; 16..16384
                           (default: 1024, so that the puzzle fits a window)
  --keep-size              store the picture at any size (pieces of a large
                           picture can come out larger than the window)
  A photo that the camera recorded as turned (EXIF orientation) is stored
  turned upright and re-encoded. gift-maker says when it turns or scales a
  picture; any other picture is stored byte for byte as given.
  The last of --max-size and --keep-size counts.

Texts (UTF-8; stored in Windows-1252, so characters without a Windows-1252
form, such as emoji, are refused, as is a text too long for its field):
  --title TEXT             puzzle title, at most 64 characters (default: empty)
  --creator TEXT           who made the gift, at most 64 characters (default: empty)
  --description TEXT       text of the "About this jigsaw" window, at most 1,024
                           characters, each line break counting as two
  --description-file FILE  the same, read from a UTF-8 file
  --start-message TEXT     message in the splash window at start, at most 1,024
  --start-message-file FILE
  --end-message TEXT       message in the splash window at exit, at most 1,024
  --end-message-file FILE
  --maker-version TEXT     version text of the maker, at most 15 characters
                           (default: v2.21; the gift label shows it up to the first ".")
  Line breaks in texts (LF, CR LF or CR) are stored as CR LF. A text read from a
  file loses a leading byte-order mark and the line breaks at its end. Escapes
  such as \n are not interpreted; use a file or a real line break.

Message looks (START applies to the start message, END to the end message):
  --start-font NAME[,HEIGHT[,STYLE]]
  --end-font NAME[,HEIGHT[,STYLE]]
                           font face (at most 31 characters), pixel height
                           (negative: without internal leading) and style letters
                           b bold, i italic, u underline, s strike-out;
                           parts left out stay as they were, an empty STYLE
                           means regular (default: Arial,-11, regular)
                           example: --start-font "Liberation Serif,-16,bi"
  --start-font-color COLOR, --end-font-color COLOR
                           text colour (default: clWindowText)
  --start-font-pitch P, --end-font-pitch P
                           default, variable or fixed (default: default)
  --start-background COLOR, --end-background COLOR
                           message box colour, stored as written
                           (default: clWindow)
  --start-align A, --end-align A
                           left, right or center (default: center)

Puzzle:
  --background-color COLOR board colour (default: clWindow)
  --pieces N               requested number of pieces, 1..65535 (default: 42)
  --oddness N              shape irregularity, 0..10 (default: 2)
  --style S                classic, blip, squares, stars, bubbles, mixture, or
                           1..6 (default: classic)
  --outline O              none, paper, card or wood, or 0..3 (default: card)
  --rotation on|off        start with rotating pieces (default: off)
  --seed N                 random seed of the cut, 0..4294967295, decimal or
                           $hex (default: the 32-bit FNV-1a hash of the picture
                           file's bytes, so the same picture always gives the
                           same cut)
  --created DATE           "YYYY-MM-DD HH:MM:SS" (or "YYYY-MM-DD"), local time
                           (default: now)

Colours (COLOR) are names, matched in any letter case: clBlack, clMaroon,
clGreen, clOlive, clNavy, clPurple, clTeal, clGray, clSilver, clRed, clLime,
clYellow, clBlue, clFuchsia, clAqua, clWhite, the system colours clScrollBar,
clBackground, clActiveCaption, clInactiveCaption, clMenu, clWindow,
clWindowFrame, clMenuText, clWindowText, clCaptionText, clActiveBorder,
clInactiveBorder, clAppWorkSpace, clHighlight, clHighlightText, clBtnFace,
clBtnShadow, clGrayText, clBtnText, clInactiveCaptionText, clBtnHighlight,
cl3DDkShadow, cl3DLight, clInfoText, clInfoBk, and clNone; or a number taken as
the value itself: $BBGGRR hexadecimal (e.g. $00FF00 is green) or decimal.

Options take their value as the next argument or after "=" (--pieces=100).
"--" ends the options. A picture whose name is a sub-command ("info",
"preview") can be given as ./info.

gift-maker info GIFT prints which kind of gift it is ("Kind: portable" or
"Kind: system-libraries"), then one "Name: value" line per trailer field, in the
trailer's order. Texts appear on one line with \r, \n, \\ and \xHH escapes.

gift-maker preview GIFT --out FILE.png [--style S] [--oddness N] [--scale P]
[--atlas] builds the gift's puzzle as the player does and writes a PNG picture:
the gift's picture with every cut line drawn over it (black over light parts,
white over dark ones), or with --atlas the picture of all pieces side by side
that the player draws the pieces from.
  -o, --out FILE.png       the picture to write (replaced when it exists)
  --style S                cut in this style instead of the gift's (the names
                           and numbers of the --style option above)
  --oddness N              cut with this oddness instead of the gift's, 0..10
  --scale P                the size of the puzzle in percent of the picture,
                           10..300 (default: 100); away from 100 the pieces
                           must come out 8 to 640 pixels on each side
  --atlas                  write the pieces' picture instead of the cut lines
A damaged gift is refused with exit status 1.

Exit status: 0 on success, 1 when the gift cannot be made or read (the message
says why), 2 for a command line that cannot be understood.
)";
}

} // namespace zg::maker
