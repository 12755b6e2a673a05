#!/usr/bin/env python3
"""Copies C++ sources, spelling each non-ASCII character of a narrow string or
character literal as the octal escapes of its code-page-949 bytes.

g++ does this with -fexec-charset=CP949; clang has no such option, so the
clang builds compile these copies and their literals hold the same bytes.
Prefixed literals (u8, u, U, L) and comments stay as they are.
  scripts/cp949_literals.py SOURCE_ROOT OUT_ROOT FILE...   (FILE relative to SOURCE_ROOT)
"""
import pathlib
import re
import sys

TOKEN = re.compile(
    r"""//[^\n]*
      | /\*.*?\*/
      | (?P<rawp>u8|[uUL])?R"(?P<delim>[^()\\\s]{0,16})\((?P<raw>.*?)\)(?P=delim)"
      | (?P<prefix>u8|[uUL])?(?P<lit>"(?:\\.|[^"\\\n])*"|'(?:\\.|[^'\\\n])*')
      | [0-9](?:'?[0-9A-Za-z_.])*
      | [A-Za-z_][A-Za-z_0-9]*""",
    re.S | re.X,
)


def escape(ch):
    if ord(ch) < 0x80:
        return ch
    return "".join(f"\\{b:03o}" for b in ch.encode("cp949"))


def rewrite(match):
    if match.group("raw") is not None and not match.group("rawp"):
        if not match.group("raw").isascii():
            raise ValueError("non-ASCII text in a raw narrow literal")
    if match.group("lit") is None or match.group("prefix"):
        return match.group(0)
    return "".join(escape(ch) for ch in match.group("lit"))


def convert(source, target):
    try:
        text = TOKEN.sub(rewrite, source.read_text(encoding="utf-8"))
        # Diagnostics and __FILE__ name the original.
        text = f'#line 1 "{source.resolve()}"\n' + text
    except (ValueError, UnicodeError) as error:
        sys.exit(f"{source}: {error}")
    target.parent.mkdir(parents=True, exist_ok=True)
    if not target.exists() or target.read_text(encoding="utf-8") != text:
        target.write_text(text, encoding="utf-8")


def main():
    root, out = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    for name in sys.argv[3:]:
        convert(root / name, out / name)


if __name__ == "__main__":
    main()
