"""The program's window and its end, through the real window system."""
import os
import time
import unittest

from harness import Inspector, ProgramTestCase, click_at, copy_dist, screen_size, xdotool

DESIGN_WIDTH, DESIGN_HEIGHT = 722, 468


class WindowTest(ProgramTestCase):
    def test_window_appears_centred_for_its_design_size(self):
        program = self.launch()
        width, height = screen_size()
        geometry = program.geometry()
        self.assertEqual(geometry.x, (width - DESIGN_WIDTH) // 2)
        self.assertEqual(geometry.y, (height - DESIGN_HEIGHT) // 2)
        self.assertEqual(geometry.height, DESIGN_HEIGHT)
        self.assertEqual(geometry.width, DESIGN_WIDTH)

    def test_escape_ends_the_program_with_exit_code_0(self):
        program = self.launch()
        program.key("Escape")
        self.assertEqual(program.wait(), 0)

    def test_escape_closes_whichever_control_has_the_focus(self):
        for target in ("list box", "拉伸窗口", "版权"):
            with self.subTest(focus=target):
                program = self.launch()
                inspector = Inspector()
                if target == "list box":
                    row = next(r for r in inspector.controls() if r[0].lower() == "listbox")
                    click_at(row[2] + row[4] // 2, row[3] + row[5] // 2)
                else:
                    click_at(*inspector.control_centre(target))
                time.sleep(0.3)
                xdotool("key", "Escape")
                self.assertEqual(program.wait(), 0)

    def test_escape_with_a_modifier_does_not_close(self):
        program = self.launch()
        program.key("shift+Escape")
        time.sleep(1)
        self.assertTrue(program.running())

    def test_alt_f4_ends_the_program_with_exit_code_0(self):
        program = self.launch()
        program.key("alt+F4")
        self.assertEqual(program.wait(), 0)

    def test_close_button_ends_the_program_with_exit_code_0(self):
        program = self.launch()
        geometry = program.geometry()
        # The close button sits at the right end of the caption.
        program.click(geometry.width - 12, 12)
        self.assertEqual(program.wait(), 0)

    def test_a_second_copy_opens_its_own_window(self):
        first = self.launch()
        second = self.launch()
        self.assertNotEqual(first.window, second.window)
        second.key("Escape")
        self.assertEqual(second.wait(), 0)
        self.assertTrue(first.running())
        first.key("Escape")
        self.assertEqual(first.wait(), 0)

    def test_a_copy_in_a_folder_named_with_a_5c_trail_byte_starts_and_closes(self):
        # 運 is DF 5C in GBK: its second byte is the byte of a backslash.
        folder = copy_dist("運")
        program = self.launch(folder)
        banner = program.pixel(40, 70)  # inside the banner, below the caption
        red, green, blue = banner
        self.assertGreater(red, blue + 40, f"banner pixel {banner} is no part of the picture")
        program.key("Escape")
        self.assertEqual(program.wait(), 0)


if __name__ == "__main__":
    unittest.main()
