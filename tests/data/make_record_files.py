#!/usr/bin/env python3
"""Writes the record files the tests read: the expected bytes of a short
game saved by the window, and a set of damaged files that loading must
refuse.  The files are kept in the repository; run this again only to
change them.  Python's cp932 codec is an independent check of the game's
Shift_JIS output."""
import os

HERE = os.path.dirname(os.path.abspath(__file__))


def line(fc, fr, tc, tr, after, before, captured, lb, la, ub, ua):
    """One 37-column move line, fields right-aligned."""
    widths = (2, 1, 1, 1, 4, 4, 4, 5, 5, 5, 5)
    values = (fc, fr, tc, tr, after, before, captured, lb, la, ub, ua)
    out = "".join(str(v).rjust(w) for v, w in zip(values, widths))
    assert len(out) == 37, out
    return out


def write(path, lines, encoding="cp932", end="\r\n", final_end=True):
    text = end.join(lines) + (end if final_end else "")
    with open(path, "wb") as f:
        f.write(text.encode(encoding))


# The short game of the window tests, two players, with these times per
# move: 5, 3, 12, 7, 1234.7, 2, 9, 4 seconds.  Every mouse move counts on
# the lower clock fields; the upper total grows after the upper side's.
SHORT_GAME = [
    line(1, 5, 1, 4, -20, -20, 0, 0, 5, 0, 0),
    line(6, 2, 6, 3, 20, 20, 0, 5, 8, 0, 0),
    line(5, 6, 2, 3, -800, -800, 0, 5, 17, 3, 3),
    line(6, 3, 6, 4, 20, 20, 0, 17, 24, 3, 3),
    line(2, 3, 4, 1, -801, -800, 100, 17, 1251, 10, 10),
    line(5, 1, 4, 1, 110, 110, -801, 1251, 1253, 10, 10),
    line(8, 3, 3, 3, -100, -100, 0, 1251, 1260, 12, 12),
    line(-1, 2, 2, 4, 800, 800, 0, 1260, 1264, 12, 12),
]
SHORT_HEADER = ["ﾃｽﾄ対局", "後手花子", "先手太郎"]

# Gold steps forward and back on both sides: a game as long as needed.
def shuffle_moves(n):
    cycle = [
        line(2, 6, 2, 5, -110, -110, 0, 0, 0, 0, 0),
        line(5, 1, 5, 2, 110, 110, 0, 0, 0, 0, 0),
        line(2, 5, 2, 6, -110, -110, 0, 0, 0, 0, 0),
        line(5, 2, 5, 1, 110, 110, 0, 0, 0, 0, 0),
    ]
    return [cycle[i % 4] for i in range(n)]


HEADER = ["壊れた棋譜", "上手", "下手"]
FIRST = line(1, 5, 1, 4, -20, -20, 0, 0, 5, 0, 0)

DAMAGED = {
    "short_line": HEADER + [FIRST[:30]],
    "letters_in_number": HEADER + [FIRST[:5] + " -2x" + FIRST[9:]],
    "coordinate_zero": HEADER + [line(1, 5, 0, 4, -20, -20, 0, 0, 5, 0, 0)],
    "coordinate_nine": HEADER + [line(9, 5, 1, 4, -20, -20, 0, 0, 5, 0, 0)],
    "code_no_piece": HEADER + [line(1, 5, 1, 4, -25, -20, 0, 0, 5, 0, 0)],
    "move_from_empty": HEADER + [line(3, 3, 3, 2, -20, -20, 0, 0, 5, 0, 0)],
    "same_side_twice": HEADER + [FIRST, line(2, 6, 2, 5, -110, -110, 0, 5, 6, 0, 0)],
    "wrong_capture": HEADER + [line(1, 5, 1, 4, -20, -20, 20, 0, 5, 0, 0)],
    "illegal_step": HEADER + [line(1, 5, 1, 3, -20, -20, 0, 0, 5, 0, 0)],
    "bad_promotion": HEADER + [line(1, 5, 1, 4, -21, -20, 0, 0, 5, 0, 0)],
    "drop_not_in_hand": HEADER + [line(8, 1, 3, 3, -20, -20, 0, 0, 5, 0, 0)],
    "negative_clock": HEADER + [line(1, 5, 1, 4, -20, -20, 0, 0, -5, 0, 0)],
    "moves_501": HEADER + shuffle_moves(501),
    "missing_header": ["見出しだけ"],
}


def main():
    write(os.path.join(HERE, "short_game.棋譜"), SHORT_HEADER + SHORT_GAME)
    d = os.path.join(HERE, "damaged")
    os.makedirs(d, exist_ok=True)
    for name, lines in DAMAGED.items():
        write(os.path.join(d, name + ".棋譜"), lines)
    with open(os.path.join(d, "empty.棋譜"), "wb"):
        pass
    write(os.path.join(d, "only_headers.棋譜"), HEADER)
    # A picture's bytes where a record should be.
    with open(os.path.join(d, "binary_junk.棋譜"), "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR\x00\x00\x00\x10" + bytes(range(256)))
    # Bytes that are neither UTF-8 nor Shift_JIS in the game name.
    with open(os.path.join(d, "bad_encoding.棋譜"), "wb") as f:
        f.write(b"\x81\x20\xff\r\n" + "上手\r\n下手\r\n".encode("cp932") + FIRST.encode() + b"\r\n")
    # Sound files that are not damaged, for the reader's other paths: the
    # 500-move limit itself, UTF-8 with LF, and a game ending by taking a king.
    write(os.path.join(HERE, "moves_500.棋譜"), HEADER + shuffle_moves(500))
    write(os.path.join(HERE, "utf8_lf.棋譜"), SHORT_HEADER + SHORT_GAME,
          encoding="utf-8", end="\n")


if __name__ == "__main__":
    main()
