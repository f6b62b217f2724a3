#!/usr/bin/env python3
"""Works the real Kastrel window with mouse and keyboard beside the stand-in host.

Usage: kastrel_gui_test.py KASTREL VORMESA_SIM SOURCE_DIR [--screenshots DIR]

Kastrel has no test hooks, so every check goes through what a person sees:
the files written, the windows that appear, the exit code, List1's pixels.
Needs a session bus (ctest runs under dbus-run-session; without one the script
starts itself under dbus-run-session).
"""

import argparse
import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback

# The helpers sit beside this script; no byte code is left in the source tree.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from desktop import STARTUP_TIMEOUT, Desktop, WaitTimeout, require_tools, wait_for  # noqa: E402
from kastrel_window import EVALUATION, SAVE_DIALOG, KastrelApp, control_rect  # noqa: E402

HOST_BUS_NAME = "ZORVAT.Application"
GERMAN = "de_DE.UTF-8"
ENGLISH = "en_US.UTF-8"


class CheckFailed(Exception):
    pass


class SessionStopped(Exception):
    """A check failed and was reported; the window's state is unknown from here."""


def expect(condition, message):
    if not condition:
        raise CheckFailed(message)


def first_difference(actual, expected):
    a_lines, e_lines = actual.split(b"\n"), expected.split(b"\n")
    for number, (a, e) in enumerate(zip(a_lines, e_lines), 1):
        if a != e:
            return f"line {number}: got {a!r}, expected {e!r}"
    return f"got {len(a_lines)} lines, expected {len(e_lines)}"


class Run:
    """Shared state of one driver run and the tally of its checks."""

    def __init__(self, args, work_dir):
        self.kastrel = os.path.abspath(args.kastrel)
        self.sim = os.path.abspath(args.vormesa_sim)
        self.source = os.path.abspath(args.source_dir)
        self.screenshots = args.screenshots
        # Kastrel starts here, so its Save dialog does; every export goes
        # through a path with umlauts and blanks. (Typing umlauts is left out:
        # xdotool rebinds a key for each one, which the toolkit can miss.)
        self.out = os.path.join(work_dir, "Prüfprotokolle Maß")
        os.makedirs(self.out)
        self.desktop = Desktop(work_dir)
        self.passed, self.failed, self.known = 0, [], []

    def example(self, name):
        return os.path.join(self.source, "examples", name)

    def expected(self, case):
        with open(os.path.join(self.source, "tests", "data", "expected", case + ".xls"), "rb") as f:
            return f.read()

    def output(self, name):
        with open(os.path.join(self.out, name), "rb") as f:
            return f.read()

    def expect_file(self, name, expected, what):
        path = os.path.join(self.out, name)
        expect(os.path.isfile(path), f"{what}: no file {name!r}")
        actual = self.output(name)
        expect(actual == expected,
               f"{what}: {name!r} differs, {first_difference(actual, expected)}")

    def check(self, title, body, known_fault=None):
        started = time.monotonic()
        try:
            body()
        except Exception as error:  # a failed check must not stop the others
            plain = isinstance(error, (CheckFailed, WaitTimeout))
            detail = str(error) if plain else traceback.format_exc()
            if known_fault and plain:
                self.known.append(title)
                print(f"KNOWN FAULT {title}: {known_fault}\n    {detail.strip().splitlines()[-1]}")
                return
            self.fail(title, detail)
            raise SessionStopped() from error
        if known_fault:
            print(f"NOW PASSES  {title}: remove its known-fault mark")
        self.passed += 1
        print(f"ok   {title} ({time.monotonic() - started:.1f} s)")

    def fail(self, title, detail):
        self.failed.append(title)
        print(f"FAIL {title}\n    {detail}")

    def shot(self, name, **where):
        if self.screenshots:
            os.makedirs(self.screenshots, exist_ok=True)
            self.desktop.screenshot(os.path.join(self.screenshots, name), **where)


class StandIn:
    """vormesa-sim on the session bus, its window moved off Kastrel's corner."""

    def __init__(self, run, *args):
        self.desktop = run.desktop
        self.process = self.desktop.start("vormesa-sim", [run.sim, *args])
        wait_for(f"{HOST_BUS_NAME} owned by the started vormesa-sim",
                 lambda: self.desktop.bus_name_owner(HOST_BUS_NAME) == self.process.pid,
                 STARTUP_TIMEOUT)
        if "--no-window" not in args:
            window = self.desktop.wait_window("Vormesa main window", "^Vormesa",
                                              self.process.pid, STARTUP_TIMEOUT)
            self.desktop.move(window, 640, 0)

    def close(self):
        self.desktop.stop(self.process)
        wait_for(f"release of {HOST_BUS_NAME}",
                 lambda: self.desktop.bus_name_owner(HOST_BUS_NAME) is None)


def session(run, title, host_args, locale, scenario):
    """One stand-in host and one Kastrel; a failed check ends the session."""
    host = app = None
    try:
        host = StandIn(run, *host_args)
        app = KastrelApp(run.desktop, run.kastrel, run.out, locale)
        scenario(run, app)
    except SessionStopped:
        print(f"     (rest of session '{title}' left out)")
    except WaitTimeout as error:
        run.fail(f"session '{title}' could not start", str(error))
    except Exception:
        run.fail(f"session '{title}' could not start", traceback.format_exc())
    finally:
        for started in (app, host):
            try:
                if started is not None:
                    started.close()
            except Exception:
                run.fail(f"session '{title}' could not end cleanly", traceback.format_exc())


def demo_listing_order(run):
    """(ID, number of hits) of each feature of demo.json that Kastrel lists, in order."""
    with open(run.example("demo.json"), encoding="utf-8") as f:
        commands = json.load(f)["commands"]
    features = [c for c in commands if c["type"] == "feature" and c.get("id")]
    return [(c["id"], len(c["hits"])) for c in features]


def option2_lines_of(run, wanted_ids):
    """Lines of demo_opt2_en (all selected) that belong to the features with wanted IDs.

    With everything selected an ID listed k times writes each of its features k times.
    """
    listing = demo_listing_order(run)
    listed = [feature_id for feature_id, _ in listing]
    lines = run.expected("demo_opt2_en").split(b"\r\n")
    picked, at = [], 0
    for feature_id, hits in listing:
        block = lines[at:at + hits * listed.count(feature_id)]
        at += len(block)
        if feature_id in wanted_ids:
            picked += block[:hits]
    return b"".join(line.replace(b".", b",") + b"\r\n" for line in picked)


def demo_session(run, app):
    d = run.desktop
    listed = [feature_id for feature_id, _ in demo_listing_order(run)]

    def opens():
        x, y, w, h = d.geometry(app.window)
        expect((w, h) == (534, 428), f"client area is {w}x{h}, expected 534x428")
        app.park_pointer()
        run.shot("kastrel-start.png", window=app.window)

    run.check("window opens with its caption at 534x428", opens)

    def listing():
        app.read_listing(len(listed))
        expect(app.selected_rows() == [], "entries selected right after the listing")

    run.check(f"listing shows {len(listed)} entries (empty ID left out)", listing)

    def ctrl_click_export():
        app.click_entry(listed.index("LK1"))
        app.click_entry(listed.index("ZYL1"), modifier="ctrl")
        app.park_pointer()
        wanted = [listed.index("LK1"), listed.index("ZYL1")]
        wait_for("LK1 and ZYL1 drawn selected", lambda: app.selected_rows() == wanted, 3.0)
        run.shot("kastrel-listing.png", window=app.window)  # shown in the README
        app.click("Option2")
        app.export("auswahl.xls")
        run.expect_file("auswahl.xls", option2_lines_of(run, {"LK1", "ZYL1"}),
                        "click LK1, Ctrl-click ZYL1, Option 2")

    run.check("click + Ctrl-click: Option 2 file holds only LK1 and ZYL1", ctrl_click_export)

    def select_all_export():
        app.click("cmd_allemarkieren")
        app.click("Option4")
        dialog = app.open_save_dialog()
        app.enter_file_name("Demo alle.xls")
        box = app.wait_message()
        # The box stands over Kastrel's client area, so a crop of it shows both.
        run.shot("kastrel-message.png", crop=(*app.origin, 534, 428))
        app.dismiss_message(box)
        run.expect_file("Demo alle.xls", run.expected("demo_opt4_xy_de"), "select all, Option 4")

    run.check("select all + Option 4 export equals demo_opt4_xy_de, completion box shown",
              select_all_export)

    def deselect_all_exports():
        app.click("cmd_alledemarkieren")
        for option in ("Option1", "Option2", "Option3"):
            app.click(option)
            app.export("leer_" + option)  # typed without extension
            expect(not os.path.exists(os.path.join(run.out, "leer_" + option + ".xls")),
                   "an extension was added to a name typed without one")
            expect(run.output("leer_" + option) == b"",
                   f"{option} with nothing selected wrote {run.output('leer_' + option)[:60]!r}")

    run.check("deselect all: Option 1..3 write empty files under the names as typed",
              deselect_all_exports)

    def cancel_without_message(dialog, after):
        """Cancels the Save dialog and checks that no message box follows."""
        d.key("Escape")
        d.wait_window_gone("Speichern unter", dialog)
        # A message box would be modal: the next Save dialog could not open.
        dialog = app.open_save_dialog()
        expect(app.message_boxes() == [], f"a message box appeared after {after}")
        d.key("Escape")
        d.wait_window_gone("Speichern unter", dialog)

    def overwrite_no():
        old = run.output("auswahl.xls")
        app.click("cmd_allemarkieren")
        app.click("Option4")
        dialog = app.open_save_dialog()
        app.enter_file_name("auswahl.xls")
        question = app.wait_overwrite_question(dialog)
        d.key("alt+n")
        d.wait_window_gone("overwrite question", question)
        expect(d.visible_windows(SAVE_DIALOG, app.process.pid) == [dialog],
               "the Save dialog did not stay open after No")
        cancel_without_message(dialog, "No + Cancel")
        expect(run.output("auswahl.xls") == old, "No did not keep the old file")

    run.check("overwrite question answered No keeps the file, no message", overwrite_no)

    def overwrite_yes():
        dialog = app.open_save_dialog()
        app.enter_file_name("auswahl.xls")
        app.wait_overwrite_question(dialog)
        d.key("alt+j")  # "Ja"
        app.dismiss_message(app.wait_message())
        run.expect_file("auswahl.xls", run.expected("demo_opt4_xy_de"), "overwritten with Yes")

    run.check("overwrite question answered Yes replaces the file", overwrite_yes)

    def workbook_type():
        dialog = app.open_save_dialog()
        d.key("ctrl+a")
        d.type_text("Flansch")
        d.key("Tab")  # the type list, below the name
        d.key("Down")  # "Excel-Arbeitsmappe (*.xlsx)"
        d.key("Return")
        d.wait_window_gone("Speichern unter", dialog)
        app.dismiss_message(app.wait_message())
        expect(not os.path.exists(os.path.join(run.out, "Flansch")),
               "the name was used as typed under the workbook type")
        check = subprocess.run(
            ["/usr/bin/python3", os.path.join(run.source, "tests", "support", "workbook_check.py"),
             "cells", ",", os.path.join(run.source, "tests", "data", "expected",
                                        "demo_opt4_xy_de.xls"),
             os.path.join(run.out, "Flansch.xlsx")], capture_output=True, text=True)
        expect(check.returncode == 0, f"Flansch.xlsx: {check.stdout}{check.stderr}")

    run.check("workbook type: a name typed without extension becomes a workbook .xlsx",
              workbook_type)

    def aqdef_type():
        # Twice under the third type: no overwrite question the second time.
        for _ in range(2):
            dialog = app.open_save_dialog()
            d.key("ctrl+a")
            d.type_text("Demo")
            d.key("Tab")
            d.key("Down")
            d.key("Down")  # "AQDEF-Datei für SPC (*.dfq)"
            d.key("Return")
            d.wait_window_gone("Speichern unter", dialog)
            app.dismiss_message(app.wait_message())
        # The command line's file of the same name, run as often, is the same.
        os.makedirs(os.path.join(run.out, "cli"))
        for _ in range(2):
            done = subprocess.run([run.kastrel, "--export", os.path.join(run.out, "cli", "Demo.dfq"),
                                   "--all"], capture_output=True, text=True)
            expect(done.returncode == 0, f"kastrel --export Demo.dfq: {done.stderr}")
        check = subprocess.run(
            ["/usr/bin/python3", os.path.join(run.source, "tests", "support", "aqdef_check.py"),
             "same", os.path.join(run.out, "Demo.dfq"), os.path.join(run.out, "cli", "Demo.dfq")],
            capture_output=True, text=True)
        expect(check.returncode == 0, f"Demo.dfq: {check.stdout}{check.stderr}")
        values = [line for line in run.output("Demo.dfq").split(b"\r\n")[:-1]
                  if not line.startswith(b"K")]
        expect(len(values) == 2, f"Demo.dfq has {len(values)} value lines, not 2")

    run.check("AQDEF type: continued without a question, the command line's file", aqdef_type)

    def cancel_dialog():
        names_before = sorted(os.listdir(run.out))
        dialog = app.open_save_dialog()
        d.key("ctrl+a")
        d.type_text("nie.xls")
        cancel_without_message(dialog, "Cancel")
        expect(sorted(os.listdir(run.out)) == names_before,
               f"Cancel changed the folder: {sorted(os.listdir(run.out))}")

    run.check("Cancel in the Save dialog writes nothing and shows nothing", cancel_dialog)

    def check_box_middle():
        x, y, w, h = control_rect("Check2")
        gx, gy = app.point(x + 7, y + h // 2)  # the indicator
        indicator = lambda: d.gray_pixels(gx - 5, gy - 5, 11, 11)  # noqa: E731
        before_pixels = indicator()
        d.click(*app.point(x + w - 10, y + h // 2))  # inside the box, right of "XZ Ebene"
        app.park_pointer()
        wait_for("Check2 to change", lambda: indicator() != before_pixels, 1.0)

    run.check("a click anywhere in a check box's rectangle toggles it", check_box_middle)


def read_single_feature(run, app, language):
    def body():
        app.read_listing(1)
        app.click("cmd_allemarkieren")

    run.check(f"bolt circle, {language}: listing shows its one feature", body)


def bolt8_german_session(run, app):
    read_single_feature(run, app, "German")
    # (what to click, name typed, expected case); the plane clicks run in order.
    steps = [
        ([], "xy.xls", "bolt8_opt4_xy_de"),
        (["Option2"], "opt2", "bolt8_opt2_de"),
        (["Option4", "Check3"], "yz.xls", "bolt8_opt4_yz_de"),
        (["Option3", "Check2"], "opt3_xz.xls", "bolt8_opt3_xz_de"),
        (["Option1", "Check1"], "opt1.xls", "bolt8_opt1_xy_de"),
        (["Option3"], "opt3.xls", "bolt8_opt3_xy_de"),
        (["Option4", "Check1"], "keine_ebene.xls", "bolt8_opt4_noplane_de"),
        (["Check1", "cmd_alledemarkieren"], "nichts4.xls", "bolt8_opt4_none_selected_de"),
        (["Option1"], "nichts1.xls", "bolt8_opt1_none_selected_de"),
    ]
    for clicks, name, case in steps:
        def step(clicks=clicks, name=name, case=case):
            for control in clicks:
                if control.startswith("Check"):
                    app.click_caption(control)
                else:
                    app.click(control)
            app.export(name)
            run.expect_file(name, run.expected(case), " then ".join(clicks) or "as loaded")

        run.check(f"bolt circle, German: {' + '.join(clicks) or 'defaults'} -> {case}", step)


def bolt8_english_session(run, app):
    read_single_feature(run, app, "English")
    for clicks, name, case in ([], "en4.xls", "bolt8_opt4_xy_en"), (["Option2"], "en2.xls",
                                                                    "bolt8_opt2_en"):
        def step(clicks=clicks, name=name, case=case):
            for control in clicks:
                app.click(control)
            app.export(name)
            run.expect_file(name, run.expected(case), "English locale")

        run.check(f"bolt circle, English: {' + '.join(clicks) or 'defaults'} -> {case}", step)


def ends_with_message(what):
    def scenario(run, app):
        def body():
            app.click("cmd_lesen")
            box = app.wait_message()
            expect(app.process.poll() is None, "Kastrel ended before the message was answered")
            app.dismiss_message(box)
            code = app.wait_exit()
            expect(code == 1, f"exit code {code}, expected 1")
        run.check(f"{what}: message box, then Kastrel ends with code 1", body)

    return scenario


def cancel_progress(run, app, progress):
    """Escape on the progress window; the seconds until it has gone."""
    run.desktop.focus(progress)
    started = time.monotonic()
    run.desktop.key("Escape")
    run.desktop.wait_window_gone("progress window", progress, 5.0)
    return time.monotonic() - started


def start_export_with_progress(run, app, name):
    """Starts an export to `name`: the folder's names before, and the progress window."""
    before = sorted(os.listdir(run.out))
    app.open_save_dialog()
    app.enter_file_name(name)
    return before, app.wait_progress()


def expect_folder_unchanged(run, before, what):
    after = sorted(os.listdir(run.out))
    expect(after == before, f"{what}: the folder changed from {before} to {after}")


def slow_calls_log(run):
    return os.path.join(run.desktop.work_dir, "slow_host_calls.log")


def slow_export_session(run, app):
    read_single_feature(run, app, "slow host")

    def shows_progress_and_cancels():
        before, progress = start_export_with_progress(run, app, "langsam.xls")
        first = app.progress_line(progress)
        wait_for("the progress line to change", lambda: app.progress_line(progress) != first, 3.0)
        run.shot("kastrel-progress.png")
        took = cancel_progress(run, app, progress)
        print(f"     progress window gone {took * 1000:.0f} ms after Escape")
        app.dismiss_message(app.wait_message())
        expect_folder_unchanged(run, before, "Escape during the export")

    run.check("slow export: progress window, its line advances; Escape leaves no file",
              shows_progress_and_cancels)

    def completes():
        app.export("langsam.xls", timeout=60.0)
        expect(app.progress_windows() == [], "the progress window stayed")
        run.expect_file("langsam.xls", run.expected("hits600_opt4_xy_de"), "slow export")

    run.check("slow export not cancelled equals hits600_opt4_xy_de", completes)

    def sigterm_gives_the_run_up_then_ends():
        before = sorted(os.listdir(run.out))
        old = run.output("langsam.xls")
        dialog = app.open_save_dialog()
        app.enter_file_name("langsam.xls")
        app.wait_overwrite_question(dialog)
        run.desktop.key("alt+j")  # "Ja"
        app.wait_progress()
        app.process.send_signal(signal.SIGTERM)
        code = app.wait_exit()
        expect(code == -signal.SIGTERM, f"Kastrel ended with {code}, not by SIGTERM")
        expect(run.output("langsam.xls") == old, "the target changed")
        expect_folder_unchanged(run, before, "SIGTERM during the export")
        # Given up as by "Abbrechen": the walk's enumerator released, nothing after it.
        with open(slow_calls_log(run), encoding="utf-8") as log:
            last = log.read().splitlines()[-1]
        expect(last == "Enumerator Release", f"the host's last call was {last!r}")

    run.check("SIGTERM during an export over a file: the run gives up, the file stays, "
              "Kastrel ends by the signal", sigterm_gives_the_run_up_then_ends)


def hung_host_session(run, app):
    read_single_feature(run, app, "hung host")

    def says_silent_then_cancels():
        before, progress = start_export_with_progress(run, app, "haengt.xls")
        log = os.path.join(run.desktop.work_dir, "kastrel_" + GERMAN + ".log")
        wait_for("'antwortet nicht' in Kastrel's log",
                 lambda: "antwortet seit 3 s nicht" in open(log, encoding="utf-8").read(), 8.0)
        run.shot("kastrel-host-silent.png")
        took = cancel_progress(run, app, progress)
        print(f"     progress window gone {took * 1000:.0f} ms after Escape, host hanging")
        expect(took < 0.5, f"the cancel took {took:.2f} s")
        app.dismiss_message(app.wait_message())
        expect_folder_unchanged(run, before, "Escape while the host hangs")

    run.check("hung host: the run waits, says so, and Escape ends it at once",
              says_silent_then_cancels)


def slow_listing_session(run, app):
    listed = [feature_id for feature_id, _ in demo_listing_order(run)]

    def cancel_then_list_again():
        app.click("cmd_lesen")
        progress = app.wait_progress()
        cancel_progress(run, app, progress)
        app.dismiss_message(app.wait_message())
        app.park_pointer()
        expect(app.text_rows() == [], "entries listed after the cancelled listing")
        app.read_listing(len(listed))

    run.check("long listing cancelled, then a second listing lists everything",
              cancel_then_list_again)


def shown_number(text, column):
    """A number of --evaluate's output as the window shows it under German settings."""
    if column == 2:
        return text
    shown = f"{float(text):.4f}".replace(".", ",")
    return "0,0000" if shown == "-0,0000" else shown


def evaluation_session(run, app):
    d = run.desktop
    with open(os.path.join(run.source, "tests", "data", "expected", "roundness_xy.tsv"),
              encoding="utf-8") as f:
        lines = [line.split("\t") for line in f.read().splitlines()]
    expected = "\n".join(["\t".join(lines[0])] + [
        "\t".join(cell if c < 2 or cell == "" else shown_number(cell, c)
                  for c, cell in enumerate(row)) for row in lines[1:]]) + "\n"
    window = {}

    def opens_with_the_rows():
        app.read_listing(3)
        app.click("cmd_allemarkieren")
        app.click("cmd_auswerten")
        window["id"] = d.wait_window("the window Auswertung", EVALUATION, app.process.pid)
        d.focus(window["id"])
        app.park_pointer()
        time.sleep(0.5)
        run.shot("kastrel-auswertung.png", window=window["id"])
        d.key("ctrl+c")
        copied = wait_for("the table on the clipboard", lambda: (
            t := d.run("xclip", "-o", "-selection", "clipboard")) == expected and t, 5)
        expect(copied == expected, f"clipboard: {copied!r}")

    run.check("Auswertung anzeigen shows the rows; Ctrl+C copies them as cells",
              opens_with_the_rows)

    def plot_follows_the_row():
        x, y, w, h = d.geometry(window["id"])
        plot = (x + w * 2 // 3, y + 40, w // 3 - 20, h - 100)
        before = d.gray_pixels(*plot)
        d.key("Down")
        wait_for("the plot of the second row", lambda: d.gray_pixels(*plot) != before, 5)

    run.check("another row redraws the plot", plot_follows_the_row)

    def closes_and_leaves_the_window():
        d.key("Escape")
        d.wait_window_gone("the window Auswertung", window["id"])
        expect(app.selected_rows() == [0, 1, 2], f"selected after: {app.selected_rows()}")

    run.check("Escape closes it; the list stays selected", closes_and_leaves_the_window)


def parse_args():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("kastrel")
    parser.add_argument("vormesa_sim")
    parser.add_argument("source_dir")
    parser.add_argument("--screenshots", metavar="DIR",
                        help="write kastrel-start/-listing/-message.png here")
    parser.add_argument("--keep", action="store_true", help="keep the work folder")
    return parser.parse_args()


def main():
    args = parse_args()
    if not os.environ.get("DBUS_SESSION_BUS_ADDRESS"):
        require_tools("dbus-run-session")
        os.execvp("dbus-run-session", ["dbus-run-session", "--", sys.executable, *sys.argv])
    require_tools("Xvfb", "xdotool", "xwininfo", "import", "dbus-send", "xclip")

    started = time.monotonic()
    work_dir = tempfile.mkdtemp(prefix="kastrel-gui-")
    run = None
    try:
        run = Run(args, work_dir)
        session(run, "demo", [run.example("demo.json")], GERMAN, demo_session)
        session(run, "bolt circle, German", [run.example("bolt_circle_8.json")], GERMAN,
                bolt8_german_session)
        session(run, "bolt circle, English", [run.example("bolt_circle_8.json")], ENGLISH,
                bolt8_english_session)
        session(run, "Auswertung", [run.example("roundness.json")], GERMAN, evaluation_session)
        session(run, "slow host", ["--call-delay-ms", "1", "--call-log", slow_calls_log(run),
                                   run.example("hits_600.json")], GERMAN, slow_export_session)
        session(run, "hung host", ["--hang-after-calls", "200", run.example("hits_600.json")],
                GERMAN, hung_host_session)
        session(run, "slow listing", ["--call-delay-ms", "60", run.example("demo.json")],
                GERMAN, slow_listing_session)
        session(run, "host without window", ["--no-window", run.example("demo.json")], GERMAN,
                ends_with_message("host without window"))
        session(run, "no part program", [], GERMAN,
                ends_with_message("no active part program"))
    finally:
        if run is not None:
            run.desktop.close()
        if args.keep:
            print("work folder kept:", work_dir)
        else:
            shutil.rmtree(work_dir, ignore_errors=True)

    known = f", {len(run.known)} known faults" if run.known else ""
    print(f"took {time.monotonic() - started:.1f} s{known}")
    for title in run.failed:
        print("failed:", title)
    print(f"{run.passed} passed, {len(run.failed)} failed")
    return 1 if run.failed else 0


if __name__ == "__main__":
    sys.exit(main())
