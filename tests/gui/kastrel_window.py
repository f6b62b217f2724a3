"""Kastrel's window as a person works it: controls found from their twips.

The rectangles restate the window's layout (app/form/frm_points_form.cpp)
deliberately: a control that moved would be missed here, as by a user's habit.
"""

from desktop import STARTUP_TIMEOUT, wait_for

TWIPS_PER_PIXEL = 15
CLIENT_SIZE = (534, 428)
FRAME1 = (240, 2280, 3852, 3132)

# name: (left, top, width, height) in twips; inside Frame1 when marked.
CONTROLS = {
    "cmd_lesen": ((480, 240, 2655, 735), False),
    "cmd_schreiben": ((480, 1080, 2655, 855), False),
    "List1": ((4440, 120, 3255, 4272), False),
    "cmd_allemarkieren": ((4440, 4560, 1455, 495), False),
    "cmd_alledemarkieren": ((6120, 4560, 1455, 495), False),
    "Option1": ((240, 360, 3492, 372), True),
    "Option2": ((240, 840, 3492, 372), True),
    "Option3": ((240, 1320, 3372, 252), True),
    "Option4": ((240, 1680, 3372, 372), True),
    "Check1": ((840, 2160, 2172, 252), True),
    "Check2": ((1080, 4680, 2172, 252), False),
    "Check3": ((1080, 4920, 2172, 252), False),
    "cmd_auswerten": ((4440, 5880, 3255, 435), False),
}

# A check box's caption starts after its indicator; a person clicks the words.
CAPTION_OFFSET = 30
MAIN_WINDOW = "^Kastrel Excel  V[0-9]+[.][0-9]+[.][0-9]+$"
MESSAGE_BOX = "^Sarvinet$"
# The progress window has the message boxes' title; its fixed size tells it apart.
PROGRESS_SIZE = (360, 140)
SAVE_DIALOG = "^Speichern unter$"
EVALUATION = "^Auswertung$"


def pixels(twips):
    return (twips + TWIPS_PER_PIXEL // 2) // TWIPS_PER_PIXEL


def control_rect(name):
    """The control's rectangle in client pixels, each value rounded on its own."""
    (left, top, width, height), in_frame = CONTROLS[name]
    x, y = pixels(left), pixels(top)
    if in_frame:
        x, y = x + pixels(FRAME1[0]), y + pixels(FRAME1[1])
    return x, y, pixels(width), pixels(height)


def control_centre(name):
    x, y, w, h = control_rect(name)
    return x + w // 2, y + h // 2


class KastrelApp:
    """One running Kastrel and its window."""

    def __init__(self, desktop, binary, work_dir, locale):
        self.desktop = desktop
        self.process = desktop.start(
            "kastrel " + locale, [binary],
            env_overrides={"LC_ALL": locale, "LANG": locale}, cwd=work_dir)
        self.window = desktop.wait_window("Kastrel main window", MAIN_WINDOW, self.process.pid,
                                          timeout=STARTUP_TIMEOUT)
        self.origin = desktop.geometry(self.window)[:2]
        self.rows = []

    def close(self):
        return self.desktop.stop(self.process)

    def point(self, x, y):
        return self.origin[0] + x, self.origin[1] + y

    def click(self, name, modifier=None):
        self.desktop.click(*self.point(*control_centre(name)), modifier=modifier)

    def click_caption(self, name):
        x, y, _, h = control_rect(name)
        self.desktop.click(*self.point(x + CAPTION_OFFSET, y + h // 2))

    def list_area(self):
        # Inside List1's sunken frame.
        x, y, w, h = control_rect("List1")
        return self.point(x + 2, y + 2) + (w - 4, h - 4)

    def text_rows(self):
        """Vertical centres (client pixels) of the lines of text shown in List1."""
        x, y, w, h = self.list_area()
        inked = [min(row) < 100 for row in self.desktop.gray_pixels(x, y, w, h)]
        centres, start = [], None
        for i, ink in enumerate(inked + [False]):
            if ink and start is None:
                start = i
            elif not ink and start is not None:
                centres.append(y - self.origin[1] + (start + i - 1) // 2)
                start = None
        return centres

    def read_listing(self, expected_rows):
        """Clicks cmd_lesen and waits until List1 shows the expected number of lines."""
        self.park_pointer()
        self.click("cmd_lesen")
        self.park_pointer()
        self.rows = wait_for(f"{expected_rows} lines in List1",
                             lambda: (r := self.text_rows()) and len(r) == expected_rows and r)
        return self.rows

    def click_entry(self, index, modifier=None):
        x, _, w, _ = control_rect("List1")
        self.desktop.click(*self.point(x + w // 2, self.rows[index]), modifier=modifier)

    def selected_rows(self):
        """Indices of the rows drawn highlighted (a dark band right of the text)."""
        x, _, w, _ = control_rect("List1")
        probe_x = x + w - 20
        result = []
        for index, row_y in enumerate(self.rows):
            gx, gy = self.point(probe_x, row_y)
            if self.desktop.gray_pixels(gx, gy, 1, 1)[0][0] < 200:
                result.append(index)
        return result

    def park_pointer(self):
        # Keeps hover highlights out of pixel checks and screenshots.
        self.desktop.run("xdotool", "mousemove", "1270", "1010")

    # The Save dialog and what follows it.
    def open_save_dialog(self):
        self.click("cmd_schreiben")
        dialog = self.desktop.wait_window("Speichern unter", SAVE_DIALOG, self.process.pid)
        self.desktop.focus(dialog)
        return dialog

    def enter_file_name(self, name):
        # The dialog may propose the last name; the typed one replaces it.
        self.desktop.key("ctrl+a")
        self.desktop.type_text(name)
        self.desktop.key("Return")

    def wait_overwrite_question(self, dialog):
        def question():
            others = [w for w in self.desktop.visible_windows(SAVE_DIALOG, self.process.pid)
                      if w != dialog]
            return others[-1] if others else None
        window = wait_for("the overwrite question", question)
        self.desktop.focus(window)
        return window

    def wait_message(self, timeout=10.0):
        boxes = wait_for("Sarvinet message box", self.message_boxes, timeout)
        self.desktop.focus(boxes[-1])
        return boxes[-1]

    def dismiss_message(self, box):
        self.desktop.key("Return")
        self.desktop.wait_window_gone("Sarvinet message box", box)

    def boxes_of_size(self, is_progress):
        """The visible boxes that are (or are not) the progress window; one
        that goes while it is looked at is neither."""
        found = []
        for window in self.desktop.visible_windows(MESSAGE_BOX, self.process.pid):
            geometry = self.desktop.geometry(window)
            if geometry is not None and (geometry[2:] == PROGRESS_SIZE) == is_progress:
                found.append(window)
        return found

    def message_boxes(self):
        return self.boxes_of_size(is_progress=False)

    def progress_windows(self):
        return self.boxes_of_size(is_progress=True)

    def wait_progress(self, timeout=10.0):
        return wait_for("the progress window", self.progress_windows, timeout)[-1]

    def progress_line(self, window):
        """The pixels of the progress window's text line."""
        x, y, w, _ = self.desktop.geometry(window)
        return self.desktop.gray_pixels(x + 8, y + 8, w - 16, 40)

    def export(self, name, timeout=10.0):
        """Save dialog, typed name, completion box answered: the person's usual export."""
        dialog = self.open_save_dialog()
        self.enter_file_name(name)
        box = self.wait_message(timeout)
        self.dismiss_message(box)

    def wait_exit(self, timeout=10.0):
        """Kastrel's exit code once it has ended by itself."""
        wait_for("end of Kastrel", lambda: self.process.poll() is not None, timeout)
        return self.process.returncode
