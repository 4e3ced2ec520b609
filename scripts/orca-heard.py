#!/usr/bin/python3
"""Checks what Orca spoke while scripts/orca-check.sh (the window) or scripts/orca-web-check.sh
(the page, --page) typed Tab, Down ×3, Right ×4, Page Up, Shift+Down, Alt+O, the help key (F1, or "?" on
the page), Escape, Ctrl+Z, then T, Down and Escape: the phrases after each key echo ("tab",
"page up", "left shift", "left alt", "escape", "left control", "t"; the arrows have none). Prints every
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


def values(heard, point):
    """The values Orca spoke for the chosen point: a slider's value text alone, or the point's
    name, which ends in its value (the focused point renamed, or a notification of it). A reader
    may say the new value more than once; every time it must be the same."""
    alone = [p for p in heard if re.fullmatch(r"-?\d+[.,]\d+\.?", p)]
    named = [re.search(r"(?:^|notification )" + re.escape(point) + r"(-?\d+,\d+)", p) for p in heard]
    return [number(p.rstrip(".")) for p in alone] + [number(m.group(1)) for m in named if m]


if "Screen reader on." not in phrases:
    sys.exit("FAILED: Orca did not start (no 'Screen reader on.' in its log)")

start = phrases[:phrases.index("tab")] if "tab" in phrases else phrases
if page:
    # Orca names the page by its title, then reads it aloud once it has loaded it, down to the
    # chart and its shares, the page's last part; the live region has nothing to say yet. How it
    # names it differs: the window by the title ("… frame", or "Chromium frame" when the window
    # was shown before its title), Orca 43 "Finished loading …", Orca 48 nothing; and both read
    # the page's heading, the title again.
    title = re.compile(r"(Finished loading )?Analiza Składowych Głównych( frame)?\.?")
    check("at start: the page by its title, read down to the chart and both shares, no announcement",
          start, any(title.fullmatch(p) for p in start)
          and "Wykres składowych głównych" in start
          and "Składowa 1: 59% wariancji" in start and "Składowa 2: 10% wariancji" in start
          and not any(re.search(r"\bWykres danych\b", p) for p in start))
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
# The chosen point's value before the edit: its name ends in it ("… 0,12 slider." on the desktop).
before = re.match(r"Zmienna 3, obserwacja 5: (-?\d+[.,]\d+)", cells[-1]) if cells else None

point = "Zmienna 3, obserwacja 5: "
page_up = after("page up", "left shift")
raised = values(page_up or [], point)
check("Page Up: the new value, higher than before",
      page_up, before is not None and len(set(raised)) == 1 and raised[0] > number(before.group(1)))
# The last word after a key is the state the window is in now. The point's new value may come
# once more after it (Orca 48 on the page, when the slider's own event reaches it late): the
# same value again tells of no other state.
settled = list(page_up or [])
while settled and len(set(raised)) == 1 and re.fullmatch(r"-?\d+[.,]\d+\.?", settled[-1]) \
        and number(settled[-1].rstrip(".")) == raised[0]:
    settled.pop()
check("Page Up: the data view is announced, last",
      page_up, bool(settled) and re.search(r"\bWykres danych\.?$", settled[-1]) is not None)

shift_down = after("left shift", "left alt")
lowered = values(shift_down or [], point)
check("Shift+Down: the new value, lower than after Page Up",
      shift_down, len(set(raised)) == 1 and len(set(lowered)) == 1 and lowered[0] < raised[0])

# The help's keys follow Alt+O: F1 on the desktop, "?" (Shift+/) on the page, then Escape.
# Orca echoes "?" as "left shift", then "question" (Orca 43) or "?" (Orca 48).
help_key = next((k for k in ("question", "?") if k in phrases), "question") if page else "F1"
alt_o = after("left alt", "left shift" if page else help_key) or []
# Orca 48 may speak the help before it logs the help key's echo: those phrases are the help's.
opened = next((i for i, p in enumerate(alt_o) if p.startswith("Pomoc")), len(alt_o))
help_early, alt_o = alt_o[opened:], alt_o[:opened]
check("Alt+O: the components view is announced with both shares, last",
      alt_o, bool(alt_o) and "Wykres składowych głównych" in " ".join(alt_o[-2:])
      and re.search(r"Składowa 1: \d+% wariancji, składowa 2: \d+% wariancji\.?$", alt_o[-1]) is not None)

# Orca's own word for its mode ("Browse mode") may come first.
help_heard = [p for p in help_early + (after(help_key, "escape") or []) if p not in ("Browse mode", "Focus mode")]
check("the help key: the help by its title, then its first sentence",
      help_heard, bool(help_heard) and help_heard[0].startswith("Pomoc")
      and any("Ten program pokazuje, jak analiza składowych głównych streszcza tabelę liczb" in p
              for p in help_heard))
back = after("escape", "left control")
# The page's live region may tell the view once more as the page behind the dialog comes back.
# Orca 48 on the page at times never moves its focus into the dialog (it hears only the dialog's
# live region), and then says nothing when the focus comes back to the point it never left; that
# the point is Orca's focus shows at Ctrl+Z, where Orca speaks the focused point renamed.
refocused = any(p.startswith(point) for p in back or []) or (
    page and any(p.startswith(point) for p in after("left control", "t") or []))
check("Escape: the help closed, the focus back on the chosen point",
      back, bool(back) and refocused
      and not any(re.search(r"\bWykres danych\b", p) for p in back))

# Ctrl+Z takes Shift+Down back: the value after Page Up again, in the data view it was made in.
undo = after("left control", "t") or []
undone = [float(m.group(1).replace(",", ".")) for m in
          (re.search(r"Cofnięto: " + re.escape(point) + r"(-?\d+,\d+)", p) for p in undo) if m]
check("Ctrl+Z: what was undone, the value after Page Up, then the data view",
      undo, len(raised) >= 1 and bool(undone) and set(undone) == {raised[0]}
      and any(re.search(r"Cofnięto: .*\bWykres danych\.?$", p) for p in undo))

# T opens the table at the chosen point; Down moves to observation 6 of variable 3: its headers and
# its value. The desktop's cells are named by both headers; the page's are spoken as a browser's
# table cells, the column header when it is new and the row by its place among the table's rows
# (Orca 43: "Zmienna 3 column header 0,12.", "row 7 column 4."), or by its header.
table = after("t", "escape") or []
spoken = " | ".join(table)
check("T, Down: the table cell by its headers and its value",
      table, re.search(r"Obserwacja 6, Zmienna 3, -?\d,\d\d", spoken) is not None
      or (page and re.search(r"Zmienna 3 column header -?\d,\d\d", spoken) is not None
          and re.search(r"Obserwacja 6|row 7 column 4", spoken) is not None))
# After the last Escape.
closed = phrases[len(phrases) - phrases[::-1].index("escape"):] if "escape" in phrases else []
check("Escape: the table closed, the focus back on the chosen point",
      closed, any(p.startswith(point) for p in closed))

# A number is spoken as the program words it: a Polish voice reads "0.15" as "zero piętnaście",
# the decimal point a pause and the minus sign lost. Nor does a reader add a percentage of a
# slider's range, which means nothing here (the shares are the program's own "59% wariancji").
pointed = [p for p in phrases if re.search(r"\d\.\d", p)]
check("every number with a decimal comma, none with a decimal point", pointed, not pointed)
percent = [p for p in phrases if re.search(r"\bpercent\b", p, re.IGNORECASE)]
check("no percentage of a slider's range", percent, not percent)

print(f"orca: {len(failures)} failed")
sys.exit(1 if failures else 0)
