#!/usr/bin/python3
"""Reads pca's window through AT-SPI, as a screen reader does, while driving it like a user:
at start, after a key edit, after a mouse edit, after pressing the button through its
accessible action, in the help and in the table window. Writes each tree to OUTDIR and fails on
a tree that says the wrong thing.
Usage: atspi-read.py OUTDIR  (DISPLAY and the accessibility bus set up by scripts/atspi-check.sh)"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

outdir = sys.argv[1]
failures = []
heard = []  # (event type, source name), since the last step


def check(what, ok, detail=""):
    print(("ok: " if ok else "FAILED: ") + what + ("" if ok else f" ({detail})"))
    if not ok:
        failures.append(what)


def listen(event):
    try:
        heard.append((event.type, event.source.name))
    except Exception:  # a source already gone
        heard.append((event.type, ""))


def wait_for(condition, seconds=20):
    """Handles the bus's events until condition() holds; a busy machine may take seconds. Returns
    whether it held: a check that follows says what was missing."""
    end = time.time() + seconds
    context = GLib.MainContext.default()
    while True:
        while context.iteration(False):
            pass
        try:
            if condition():
                return True
        except Exception:  # an object not yet there, or already gone
            pass
        if time.time() > end:
            return False
        time.sleep(0.02)


def renamed(prefix):
    """Whether a reader has heard an object renamed to a name starting with prefix."""
    return lambda: any(kind == "object:property-change:accessible-name" and name.startswith(prefix)
                       for kind, name in heard)


def find_app():
    for _ in range(100):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name.lower() == "pca":
                return app
        time.sleep(0.1)
    sys.exit("FAILED: pca is not on the accessibility bus")


def children(node):
    return [node.getChildAtIndex(i) for i in range(node.childCount)]


def find(node, predicate):
    if predicate(node):
        return node
    for child in children(node):
        found = find(child, predicate)
        if found is not None:
            return found
    return None


def describe(node):
    role = node.getRoleName()
    line = f"{role} \"{node.name}\""
    if node.description:
        line += f" ({node.description})"
    try:
        text = node.queryText()
        line += f" text=\"{text.getText(0, -1)}\""
    except NotImplementedError:
        pass
    states = node.getState()
    if states.contains(pyatspi.STATE_FOCUSED):
        line += " focused"
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return line + f" [{box.x},{box.y} {box.width}x{box.height}]"


def dump(node, name):
    lines = []

    def walk(n, depth):
        lines.append("  " * depth + describe(n))
        if n.getRole() == pyatspi.ROLE_CHART and n.parent.getRole() == pyatspi.ROLE_CHART and n.childCount:
            first = n.getChildAtIndex(0)  # a strip's 20 cells: the first one stands for all
            lines.append("  " * (depth + 1) + describe(first) + f"  (+ {n.childCount - 1} cells)")
            return
        for child in children(n):
            walk(child, depth + 1)

    walk(node, 0)
    with open(f"{outdir}/{name}.txt", "w") as f:
        f.write("\n".join(lines) + "\n")
    print(f"--- {name}")
    print("\n".join(lines))


def chart_of(window):
    return find(window, lambda n: n.getRole() == pyatspi.ROLE_CHART and n.parent.getRole() != pyatspi.ROLE_CHART)


def cell(chart, variable, observation):
    return chart.getChildAtIndex(variable - 1).getChildAtIndex(observation - 1)


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True)


pyatspi.Registry.registerEventListener(
    listen, "focus:", "object:state-changed", "object:property-change:accessible-name",
    "object:children-changed", "object:text-changed", "object:property-change:accessible-value")

app = find_app()
wait_for(lambda: app.childCount > 0 and chart_of(app.getChildAtIndex(0)).childCount == 16)
window = app.getChildAtIndex(0)

# At start: the components view.
dump(window, "1-start")
check("the window is named by its caption",
      window.name == "Analiza Składowych Głównych", window.name)
check("the window has a window role", window.getRole() == pyatspi.ROLE_FRAME, window.getRoleName())
chart = chart_of(window)
check("the chart is there", chart is not None)
names = [c.name for c in children(chart)]
check("the chart names the components view", chart.name == "Wykres składowych głównych", chart.name)
check("its description gives both shares",
      chart.description.startswith("Składowa 1: ") and "składowa 2: " in chart.description,
      chart.description)
check("ten variables, two score strips, two loadings, two shares", len(names) == 16, names)
check("the variables by name", names[:10] == [f"Zmienna {k}" for k in range(1, 11)], names[:10])
check("the shares by name and value",
      names[14].startswith("Składowa 1: ") and names[14].endswith("% wariancji"), names[14:])
strip = chart.getChildAtIndex(2).queryText().getText(0, -1)
check("a strip's 20 values as text, decimal comma", len(strip.split("; ")) == 20 and "." not in strip, strip)
check("a cell's name gives its place and value",
      cell(chart, 3, 5).name.startswith("Zmienna 3, obserwacja 5: "), cell(chart, 3, 5).name)
box = chart.getChildAtIndex(0).queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
check("a strip has its place on the screen", box.width > 100 and box.height > 10, box)

# A key edit: Tab to the chart, to variable 3, observation 5, and one pixel up.
before = cell(chart, 3, 5).name
heard.clear()
xdotool("windowfocus", "--sync", sys.argv[2])  # no window manager here gives it the focus
xdotool("key", "Tab", "Down", "Down", "Down", "Right", "Right", "Right",
        "Right", "Page_Up")
wait_for(renamed("Zmienna 3, obserwacja 5: "))
dump(window, "2-key-edit")
focus = [name for kind, name in heard if kind.startswith("focus") or kind.endswith("focused")]
check("moving the choice moved the focus, cell by cell",
      any(n.startswith("Zmienna 1, obserwacja 1: ") for n in focus)
      and any(n.startswith("Zmienna 3, obserwacja 5: ") for n in focus), focus)
check("the key edit went to the data view", chart.name == "Wykres danych", chart.name)
check("the components are gone from the tree", chart.childCount == 10, chart.childCount)
after = cell(chart, 3, 5).name
check("the edited cell says its new value", after != before and after.startswith("Zmienna 3, obserwacja 5: "),
      f"{before} -> {after}")
check("the edited cell has the focus", cell(chart, 3, 5).getState().contains(pyatspi.STATE_FOCUSED))
check("a screen reader heard the new name",
      ("object:property-change:accessible-name", after) in heard, heard[-8:])
# The role by its number: at-spi2-core names it "push button" up to 2.54, "button" from 2.56 on.
button = find(window, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON)
check("the button is shown", button is not None and button.getState().contains(pyatspi.STATE_SHOWING))
if button is None:
    sys.exit(f"atspi: {len(failures)} failed, the rest not checked without the button")

# A mouse edit on variable 5, observation 10: pressed on its point, released 8 pixels higher.
target = cell(chart, 5, 10)
before = target.name
b = target.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
x, y = b.x + b.width // 2, b.y + b.height // 2
heard.clear()
xdotool("mousemove", str(x), str(y), "mousedown", "1", "mousemove", str(x), str(y - 8), "mouseup", "1")
wait_for(renamed("Zmienna 5, obserwacja 10: "))
dump(window, "3-mouse-edit")
after = cell(chart, 5, 10).name
check("the mouse edit changed the cell's value", after != before, f"{before} -> {after}")
check("a screen reader heard it", ("object:property-change:accessible-name", after) in heard, heard[-8:])

# The button, pressed through its accessible action as a screen reader user would.
heard.clear()
action = button.queryAction()
names = [action.getName(i) for i in range(action.nActions)]
action.doAction(names.index("Press") if "Press" in names else 0)
wait_for(lambda: ("object:property-change:accessible-name", "Wykres składowych głównych") in heard
         and chart.childCount == 16)
dump(window, "4-button")
check("the button brought the components view", chart.name == "Wykres składowych głównych", chart.name)
check("its parts are back", chart.childCount == 16, chart.childCount)
check("the shares are named again", chart.getChildAtIndex(14).name.startswith("Składowa 1: "))
check("a screen reader heard the view change",
      ("object:property-change:accessible-name", "Wykres składowych głównych") in heard
      and any(kind.startswith("object:children-changed:add") for kind, _ in heard), heard[-8:])

# The hint tells where the help is; F1 opens it as a dialog of its own, whose text a reader reads
# like any text; Escape closes it.
hint = find(window, lambda n: n.name == " Klikaj na zmiennych")
check("the hint tells that F1 opens the help",
      hint is not None and "F1" in hint.description, hint.description if hint else "no hint")


def help_dialog():
    return next((w for w in app if w is not None and w.name == "Pomoc"), None)


xdotool("key", "F1")
wait_for(lambda: help_dialog() is not None and find(help_dialog(), lambda n: n.getRole() != pyatspi.ROLE_DIALOG
                                                     and "queryText" in dir(n)) is not None)
dialog = help_dialog()
check("F1 opens the dialog Pomoc", dialog is not None and dialog.getRole() == pyatspi.ROLE_DIALOG,
      dialog.getRoleName() if dialog else "none")
if dialog is not None:
    dump(dialog, "5-help")
    texts = []
    stack = [dialog]
    while stack:
        node = stack.pop()
        try:
            texts.append(node.queryText().getText(0, -1))
        except NotImplementedError:
            pass
        stack.extend(node.getChildAtIndex(i) for i in range(node.childCount))
    text = " ".join(texts)
    check("its text is read: what the program shows and what the chart shows now",
          "Ten program pokazuje, jak analiza składowych głównych" in text
          and "Na składową 1 najmocniej składają się zmienna" in text, text[:200])
    xdotool("key", "Escape")
    wait_for(lambda: help_dialog() is None)
    check("Escape closes it", help_dialog() is None)

# T opens the window Tabela danych: a table whose rows and columns are headed, and whose cells a
# reader hears by their headers and the value that the chart gives the same point.
def table_window():
    return next((w for w in app if w is not None and w.name == "Tabela danych"), None)


def table_of(window):
    return find(window, lambda n: n.getRole() == pyatspi.ROLE_TABLE) if window is not None else None


xdotool("key", "t")
wait_for(lambda: table_of(table_window()) is not None and table_of(table_window()).queryTable().nRows == 22)
grid = table_of(table_window())
check("T opens the window Tabela danych with a table", grid is not None,
      table_window().getRoleName() if table_window() else "no window")
if grid is not None:
    cells = grid.queryTable()
    check("20 observations and the two components' loadings by 10 variables and the two scores",
          (cells.nRows, cells.nColumns) == (22, 12), (cells.nRows, cells.nColumns))
    heads = (cells.getRowHeader(4), cells.getRowHeader(21), cells.getColumnHeader(2), cells.getColumnHeader(11))
    check("its rows and columns are headed",
          [h.name if h else None for h in heads] == ["Obserwacja 5", "Ładunki składowej 2", "Zmienna 3", "Wynik 2"],
          [h.name if h else None for h in heads])
    point = find(window, lambda n: n.name.startswith("Zmienna 3, obserwacja 5: "))
    cell = cells.getAccessibleAt(4, 2)
    check("a cell is named by its headers and the chart's value",
          point is not None and cell is not None
          and cell.name == "Obserwacja 5, Zmienna 3, " + point.name.split(": ")[1],
          (cell.name if cell else None, point.name if point else None))
    def table_closed():
        return table_window() is None or not table_window().getState().contains(pyatspi.STATE_SHOWING)
    xdotool("key", "Escape")
    wait_for(table_closed)
    check("Escape closes it", table_closed())

print(f"atspi: {len(failures)} failed")
sys.exit(1 if failures else 0)
