"""The music panel through the real window, the real open-file dialog and
the real music.ini of the prefix's user."""
import os
import shutil
import tempfile
import time
import unittest

from harness import (RATE, Inspector, ProgramTestCase, Recorder, app_data_folder, click_at, gbk, make_tone,
                     tone_power, wait_for_window, wait_gone, windows_path, xdotool)

DIALOG_TITLE = "打开"
HEADER = gbk("[音乐]") + b"\r\n"


class MusicPanelTest(ProgramTestCase):
    @classmethod
    def setUpClass(cls):
        cls.ini = os.path.join(app_data_folder(), "music.ini")
        cls.fixtures = tempfile.mkdtemp(prefix="soundboard-music-")
        cls.low = make_tone(os.path.join(cls.fixtures, "low.mp3"), 440, 3.0)
        cls.high = make_tone(os.path.join(cls.fixtures, "high.mp3"), 1760, 0.6)
        cls.wave = make_tone(os.path.join(cls.fixtures, "intro.wav"), 880, 0.6, kind="wav")
        cls.chinese = shutil.copy(cls.high, os.path.join(cls.fixtures, "運.mp3"))

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.fixtures, ignore_errors=True)

    def setUp(self):
        super().setUp()
        self.remove_ini()
        self.inspector = Inspector()

    def tearDown(self):
        super().tearDown()
        self.remove_ini()  # the prefix is also the one `make run` uses

    def remove_ini(self):
        if os.path.exists(self.ini):
            os.unlink(self.ini)

    def read_ini(self):
        with open(self.ini, "rb") as f:
            return f.read()

    def click(self, caption, count=1):
        click_at(*self.inspector.control_centre(caption), count=count)

    def open_dialog(self):
        self.click("添加")
        dialog = wait_for_window(DIALOG_TITLE)
        xdotool("windowfocus", "--sync", dialog)
        time.sleep(0.5)
        return dialog

    def add(self, unix_path):
        """Add through the dialog: the path typed into its file name box."""
        dialog = self.open_dialog()
        xdotool("key", "ctrl+a")
        xdotool("type", "--delay", 30, windows_path(unix_path))
        self.answer(dialog, "Return")

    @staticmethod
    def answer(dialog, key):
        """Closes the dialog with key (Return accepts, Escape cancels)."""
        xdotool("key", key)
        wait_gone(dialog)
        time.sleep(0.3)

    def click_item(self, index, count=1):
        _, items = self.inspector.list_box()
        left, top, right, bottom = items[index][1]
        click_at((left + right) // 2, (top + bottom) // 2, count=count)

    def test_add_lists_the_name_at_the_end_and_stores_the_entry(self):
        self.launch()
        self.add(self.low)
        self.add(self.wave)
        self.assertEqual(self.inspector.items(), [b"low", b"intro"])
        expected = HEADER + b"low=" + gbk(windows_path(self.low)) + b"\r\n" + \
            b"intro=" + gbk(windows_path(self.wave)) + b"\r\n"
        self.assertEqual(self.read_ini(), expected)

    def test_the_dialog_offers_the_last_path_and_a_cancel_changes_nothing(self):
        self.launch()
        self.add(self.low)
        before = self.read_ini()
        # Accepting the second dialog as it opens adds the last path again.
        self.answer(self.open_dialog(), "Return")
        self.assertEqual(self.inspector.items(), [b"low", b"low"])
        self.assertEqual(self.read_ini(), before)
        self.answer(self.open_dialog(), "Escape")
        self.assertEqual(self.inspector.items(), [b"low", b"low"])
        self.assertEqual(self.read_ini(), before)

    def test_the_same_file_twice_is_listed_twice_and_one_delete_removes_both(self):
        self.launch()
        self.add(self.wave)
        self.add(self.low)
        self.add(self.wave)
        self.assertEqual(self.inspector.items(), [b"intro", b"low", b"intro"])
        self.click_item(2)
        self.click("删除")
        time.sleep(0.5)
        self.assertEqual(self.inspector.items(), [b"low"])
        self.assertEqual(self.inspector.list_box()[0], -1, "no item selected after a rebuild")
        self.assertEqual(self.read_ini(), HEADER + b"low=" + gbk(windows_path(self.low)) + b"\r\n")

    def test_delete_with_nothing_selected_writes_the_file_back_unchanged(self):
        self.launch()
        self.add(self.low)
        self.add(self.wave)
        before = self.read_ini()
        os.utime(self.ini, (0, 0))
        self.click("删除")
        time.sleep(0.5)
        self.assertEqual(self.read_ini(), before)
        self.assertGreater(os.path.getmtime(self.ini), 0, "the file was written back")
        self.assertEqual(self.inspector.items(), [b"low", b"intro"])

    def test_a_name_with_a_5c_trail_byte_is_listed_whole(self):
        self.launch()
        self.add(self.chinese)
        self.assertEqual(self.inspector.items(), [gbk("運")])

    def test_after_a_restart_the_list_comes_back_in_file_order(self):
        with open(self.ini, "wb") as f:
            f.write(HEADER + b"b=C:\\b.mp3\r\na=C:\\a.mp3\r\n=C:\\x.mp3\r\nc=\r\nd=e=f\r\n\r\n" + gbk("運=D:\\運.mp3") + b"\r\n")
        program = self.launch()
        self.assertEqual(self.inspector.items(), [b"b", b"a", b"", b"d", gbk("運")])
        program.key("Escape")
        self.assertEqual(program.wait(), 0)
        self.launch()
        self.assertEqual(self.inspector.items(), [b"b", b"a", b"", b"d", gbk("運")])

    def test_a_double_click_plays_the_entry_and_cuts_off_the_sound_before(self):
        self.launch()
        self.add(self.low)
        self.add(self.high)
        with Recorder() as recorder:
            self.click_item(0, count=2)
            time.sleep(1.0)
            self.click_item(1, count=2)
            time.sleep(1.5)
        samples = recorder.samples()
        frames = len(samples) // 2
        window = RATE // 20  # 50 ms
        powers = [(tone_power(samples, 440, start, window), tone_power(samples, 1760, start, window))
                  for start in range(0, frames - window, window)]
        loud = max(max(p) for p in powers)
        low_windows = [i for i, (low, high) in enumerate(powers) if low > loud / 10]
        high_windows = [i for i, (low, high) in enumerate(powers) if high > loud / 10]
        self.assertTrue(low_windows, "the first entry was not heard")
        self.assertTrue(high_windows, "the second entry was not heard")
        self.assertLess(max(low_windows), min(high_windows) + 1,
                        "the first entry went on after the second started")
        self.assertLess(len(low_windows) * 0.05, 2.0, "the 3 s tone was not cut off")
        self.assertGreater(len(high_windows) * 0.05, 0.4, "the second entry did not play to its end")

    def test_closing_while_an_entry_plays_stops_the_sound(self):
        with open(self.ini, "wb") as f:
            f.write(HEADER + b"low=" + gbk(windows_path(self.low)) + b"\r\n")
        program = self.launch()
        with Recorder() as recorder:
            self.click_item(0, count=2)
            time.sleep(1.0)
            program.key("Escape")
            self.assertEqual(program.wait(), 0)
            time.sleep(1.0)
        samples = recorder.samples()
        heard = Recorder.loud_seconds(samples)
        self.assertGreater(heard, 0.5, "the entry did not play")
        self.assertLess(heard, 2.0, "the 3 s tone went on after the program closed")


if __name__ == "__main__":
    unittest.main()
