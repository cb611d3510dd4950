#!/usr/bin/python3
"""What a screen reader gets from the real program through the desktop's accessibility bus.

Starts the program on a virtual screen with its accessibility bridge on, finds the calculator
window as a screen reader does (walking down from the desktop), checks that the formula memo
is labelled by its caption, types «1/3;» into it, presses «Посчитать» and reads the result
label's name; then opens the graph window and its pop-up menu with the mouse and finds the
open menu and its items from the desktop down, as a screen reader that starts at that moment
does. Usage: screen_reader_check.py <program>.

Runs itself again on a virtual screen (Xvfb) and under dbus-run-session, so that it has a
screen and a session bus of its own. Exits 0 when the screen reader reads the result, 1 when it does not, and 77
(skipped) when a tool it needs is not installed (scripts/install-deps.sh installs them).
"""

import os
import select
import shutil
import subprocess
import sys
import time

INNER = "ZORVO_SCREEN_READER_CHECK_INNER"
STEP_SECONDS = 30  # each wait; ctest's timeout bounds the whole run
RESULT = "Результат=           0.333"


def skip(why):
    print(f"SKIP: {why} (scripts/install-deps.sh installs it)")
    sys.exit(77)


def fail(why):
    print(f"FAIL: {why}")
    sys.exit(1)


def outer(program):
    for tool in ("Xvfb", "dbus-run-session", "xdotool"):
        if shutil.which(tool) is None:
            skip(f"{tool} is not installed")
    # The virtual screen picks a free display number itself and tells it through a pipe:
    # choosing one beforehand (xvfb-run -a) races with the other virtual screens that run
    # on the machine at the same time.
    read_end, write_end = os.pipe()
    # -noreset: by default the server starts afresh whenever its last client leaves (the
    # accessibility bus's launcher is one), and a program connecting then is turned away.
    screen = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp",
                               "-noreset", "-screen", "0", "1024x768x24", "-dpi", "96"],
                              pass_fds=(write_end,), stderr=subprocess.DEVNULL)
    os.close(write_end)
    try:
        ready, _, _ = select.select([read_end], [], [], STEP_SECONDS)
        number = os.read(read_end, 64).decode().strip() if ready else ""
        if not number.isdigit():
            fail("the virtual screen did not start")
        env = dict(os.environ, DISPLAY=f":{number}", **{INNER: "1"})
        command = ["dbus-run-session", "--", sys.executable, os.path.abspath(__file__), program]
        try:
            return subprocess.run(command, env=env, timeout=4 * STEP_SECONDS).returncode
        except subprocess.TimeoutExpired:
            fail("the check did not end in time")
    finally:
        os.close(read_end)
        screen.terminate()
        try:
            screen.wait(timeout=10)
        except subprocess.TimeoutExpired:
            screen.kill()
            screen.wait()


def take_news():
    """Lets the accessibility library take in what the bus announced (a program that
    registered, windows that opened); it keeps a cached tree and learns of changes only so."""
    from gi.repository import GLib
    context = GLib.MainContext.default()
    for _ in range(1000):
        if not context.iteration(False):
            break


def wait_for(what, probe):
    """Asks `probe` until it gives something, for STEP_SECONDS at most."""
    deadline = time.monotonic() + STEP_SECONDS
    while time.monotonic() < deadline:
        take_news()
        try:
            found = probe()
        except Exception:  # the bridge is still coming up, or an object went away
            found = None
        if found:
            return found
        time.sleep(0.2)
    fail(f"{what} did not appear within {STEP_SECONDS} s")


def descendants(node, limit=2000):
    """The accessible objects under `node`, breadth first, at most `limit` of them."""
    queue = [node]
    seen = 0
    while queue and seen < limit:
        current = queue.pop(0)
        seen += 1
        yield current
        for i in range(min(current.childCount, 200)):
            child = current.getChildAtIndex(i)
            if child is not None:
                queue.append(child)


def find(root, role, name_start):
    for node in descendants(root):
        if node.getRole() == role and node.name.startswith(name_start):
            return node
    return None


def program_window(pyatspi, role, name_start):
    """A window of the program found afresh from the desktop down, as a new client sees it."""
    desktop = pyatspi.Registry.getDesktop(0)
    desktop.clear_cache()
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is None:
            continue
        for j in range(app.childCount):
            window = app.getChildAtIndex(j)
            if window is not None and window.getRole() == role and \
                    window.name.startswith(name_start):
                return window
    return None


def click(pyatspi, node, button):
    """A real mouse click in the middle of `node`, as a user gives it."""
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["xdotool", "mousemove", str(box.x + box.width // 2),
                    str(box.y + box.height // 2), "click", str(button)],
                   check=True, timeout=STEP_SECONDS)


def inner(program):
    try:
        import pyatspi
        from gi.repository import Atspi
    except ImportError:
        skip("python3-pyatspi is not installed")
    # A call that the program does not answer fails after 5 s instead of D-Bus's 25 s.
    Atspi.set_timeout(5000, 15000)

    env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_ACCESSIBILITY="1",
               QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", LC_ALL="C.UTF-8",
               ASAN_OPTIONS="detect_leaks=0")
    process = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    try:
        window = wait_for("the calculator window",
                          lambda: program_window(pyatspi, pyatspi.ROLE_FRAME, "Калькулятор"))
        memo = wait_for("the formula memo",
                        lambda: find(window, pyatspi.ROLE_TEXT, "Формула"))
        labels = [target.name
                  for relation in memo.getRelationSet()
                  if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY
                  for target in (relation.getTarget(k) for k in range(relation.getNTargets()))]
        if not any(name.startswith("Введите формулу для вычислений") for name in labels):
            fail(f"the memo is not labelled by its caption: {labels}")

        memo.queryEditableText().insertText(0, "1/3;", len("1/3;"))
        wait_for("the typed formula", lambda: memo.queryText().getText(0, -1) == "1/3;")
        button = find(window, pyatspi.ROLE_PUSH_BUTTON, "Посчитать")
        if button is None:
            fail("no button «Посчитать»")
        button.queryAction().doAction(0)

        result = wait_for("the result", lambda: find(window, pyatspi.ROLE_LABEL, RESULT))
        print(f"the screen reader reads «{result.name}»")
        if result.name != RESULT:
            fail(f"read «{result.name}», expected «{RESULT}»")

        # The graph window from the menu bar (modal: a click, since an action call would
        # wait for it to close), then its pop-up menu with a right click on the chart.
        item = find(window, pyatspi.ROLE_MENU_ITEM, "График и уравнение")
        if item is None:
            fail("no menu item «График и уравнение f ( x ) = 0 |»")
        click(pyatspi, item, 1)
        graph = wait_for("the graph window",
                         lambda: program_window(pyatspi, pyatspi.ROLE_DIALOG, "ВЫЗЫВАЙТЕ"))
        chart = wait_for("the chart", lambda: find(graph, pyatspi.ROLE_FILLER, "График"))
        click(pyatspi, chart, 3)
        menu = wait_for("the open pop-up menu",
                        lambda: program_window(pyatspi, pyatspi.ROLE_POPUP_MENU, "Меню графика"))
        items = [menu.getChildAtIndex(i).name for i in range(menu.childCount)]
        print(f"the open pop-up menu offers {items}")
        # The four commands of the graph, a separator (no name), then the picture's two.
        expected = ["Рисовать график", "Очистить график", "Решить уравнение  f ( x ) = 0",
                    "Выход", "", "Сохранить рисунок…", "Копировать рисунок"]
        if items != expected:
            fail(f"the pop-up menu offers {items}, expected {expected}")
        return 0
    finally:
        process.terminate()
        try:
            process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def main():
    if len(sys.argv) != 2:
        print("usage: screen_reader_check.py <program>")
        return 2
    program = os.path.abspath(sys.argv[1])
    if os.environ.get(INNER):
        return inner(program)
    return outer(program)


if __name__ == "__main__":
    sys.exit(main())
