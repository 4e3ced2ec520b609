#!/usr/bin/python3
"""Checks what Orca spoke while scripts/orca-check.sh (the window) or scripts/orca-web-check.sh
(the page, --page) typed Tab, Down ×3, Right ×4, Page Up, Shift+Down and Alt+O: the phrases after
each key echo ("tab", "page up", "left shift", "left alt"; the arrows have none). Prints every
phrase, then fails with the phrases of a step that missed.
Usage: orca-heard.py [--page] SPEECH_FILE  (the debug log's "SPEECH OUTPUT" lines)"""
import re
import sys

page = sys.argv[1] == "--page"
phrases = []
for line in open(sys.argv[-1], encoding="utf-8", errors="replace"):
    # A phrase of Orca's say-all has no settings after it.
    m = re.search(r"SPEECH OUTPUT: '(.*)'\s*(\{'established.*)?$", line)
    if m:
        phrases.append(m.group(1).strip())
print("\n".join(f"  {p}" for p in phrases))

failures = []


def after(echo, until):
    """The phrases after the key echo `echo` up to the echo `until` (or the end)."""
    if echo not in phrases:
        return None
    rest = phrases[phrases.index(echo) + 1:]
    return rest[:rest.index(until)] if until in rest else rest


def check(what, heard, ok):
    print(("ok: " if ok else "FAILED: ") + what)
    if not ok:
        failures.append(what)
        print("    heard: " + (" | ".join(heard) if heard else "(nothing)"))


def number(text):
    """A value as Orca speaks it: its own wording with a decimal point, or the page's value text
    with a decimal comma."""
    return float(text.replace(",", "."))


def values(heard):
    """The numbers Orca spoke alone: a focused slider's new value."""
    return [number(p.rstrip(".")) for p in heard if re.fullmatch(r"-?\d+[.,]\d+\.?", p)]


if "Screen reader on." not in phrases:
    sys.exit("FAILED: Orca did not start (no 'Screen reader on.' in its log)")

start = phrases[:phrases.index("tab")] if "tab" in phrases else phrases
if page:
    # Orca reads a page aloud once it has loaded it, the live region's text among the rest.
    check("at start: the page loaded, by its title",
          start, "Finished loading Analiza Składowych Głównych." in start)
else:
    check("at start: the window by its caption, and no announcement of a change nobody made",
          start, any(p.startswith("Analiza Składowych Głównych") for p in start)
          and not any(p.startswith("notification") for p in start))

tab = after("tab", "page up") or []
check("Tab: the chart is spoken with both shares",
      tab, any(p.startswith("Wykres składowych głównych") for p in tab)
      and any(p.startswith("Składowa 1: ") and "składowa 2: " in p for p in tab))
# The points alone: the page also speaks a strip ("Zmienna 2 panel.") as the focus enters it.
cells = [p for p in tab if re.match(r"Zmienna \d+, obserwacja \d+: ", p)]
check("the arrows: each chosen point by its place and value, ending at variable 3, observation 5",
      tab, len(cells) >= 7 and cells[0].startswith("Zmienna 1, obserwacja 1: ")
      and cells[-1].startswith("Zmienna 3, obserwacja 5: 0,12"))
before = re.search(r"(-?\d+[.,]\d+)\.?$", cells[-1]) if cells else None

page_up = after("page up", "left shift")
raised = values(page_up or [])
check("Page Up: the new value, higher than before",
      page_up, before is not None and len(raised) == 1 and raised[0] > number(before.group(1)))
check("Page Up: the data view is announced",
      page_up, any(re.search(r"\bWykres danych\.?$", p) for p in page_up or []))

shift_down = after("left shift", "left alt")
lowered = values(shift_down or [])
check("Shift+Down: the new value, lower than after Page Up",
      shift_down, len(raised) == 1 and len(lowered) == 1 and lowered[0] < raised[0])

alt_o = after("left alt", "Screen reader off.")
check("Alt+O: the components view is announced with both shares",
      alt_o, any("Wykres składowych głównych" in p
                 and re.search(r"Składowa 1: \d+% wariancji, składowa 2: \d+% wariancji", p)
                 for p in alt_o or []))

print(f"orca: {len(failures)} failed")
sys.exit(1 if failures else 0)
