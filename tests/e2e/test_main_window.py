"""The main window seen from outside: minimized start, fixed size and frame, the Clear and Close commands, and
screenshots of the window and its open system menu."""

import harness
from harness import (IDM_CLEAR_BUFFER, PROFILE_ROOT, PROFILE_SECTION, SC_CLOSE, SC_KEYMENU, TITLE, VK_ESCAPE,
                     WM_CANCELMODE, WM_KEYDOWN, WM_SYSCOMMAND, WS_CAPTION, WS_EX_CLIENTEDGE, WS_MAXIMIZEBOX,
                     WS_MINIMIZEBOX, WS_SYSMENU, WS_THICKFRAME, screenshot, union, wait_for)

RESTORED_RECT = (100, 100, 400, 300)  # 300 by 200 at 100, 100


class MainWindowTest(harness.VarnoTestCase):

    def test_starts_minimized_and_restores_to_a_fixed_frame_at_100_100(self):
        varno = self.start_varno()
        shown = varno.info()
        self.assertTrue(shown.visible)
        self.assertTrue(shown.iconic)
        self.assertEqual(varno.caption(), TITLE)
        for bit, name in ((WS_CAPTION, "caption"), (WS_SYSMENU, "system menu"), (WS_MINIMIZEBOX, "minimize box")):
            self.assertEqual(shown.style & bit, bit, "has a " + name)
        for bit, name in ((WS_MAXIMIZEBOX, "maximize box"), (WS_THICKFRAME, "sizing border")):
            self.assertEqual(shown.style & bit, 0, "has no " + name)
        self.assertEqual(shown.exstyle & WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE, "has a sunken client edge")

        varno.restore()
        wait_for(lambda: varno.info().rect == RESTORED_RECT, "the restored window at %r" % (RESTORED_RECT,))
        self.driver.update(varno.hwnd)
        screenshot("window", RESTORED_RECT)

        # The system menu, opened as the keyboard opens it, for the record; its items are checked in-process.
        self.driver.post(varno.hwnd, WM_SYSCOMMAND, SC_KEYMENU, ord(" "))
        menu = wait_for(lambda: self._open_menu(varno), "the system menu to open")
        screenshot("system_menu", union(RESTORED_RECT, self.driver.info(menu).rect))
        self.driver.post(varno.hwnd, WM_CANCELMODE)
        self.driver.post(varno.hwnd, WM_KEYDOWN, VK_ESCAPE)
        wait_for(lambda: not self._open_menu(varno), "the system menu to close")

    def _open_menu(self, varno):
        menus = [w.hwnd for w in self.driver.top_windows(varno.pid) if w.cls == "#32768" and w.visible]
        return menus[0] if menus else None

    def test_clear_empties_the_buffer_without_asking(self):
        for active, caption in ((True, b"0 bytes"), (False, b"Varno OFF")):
            with self.subTest(capture_on=active):
                harness.seed_settings(self.driver, active=active)
                with self.start_varno() as varno:
                    varno.command(IDM_CLEAR_BUFFER)
                    varno.wait_caption(caption)
                    varno.settle()
                    self.assertEqual(varno.boxes(), [])

    def test_close_ends_the_process_and_keeps_the_profile_entry(self):
        varno = self.start_varno()
        profile = self.driver.reg_get(PROFILE_ROOT, PROFILE_SECTION, "ClassName")
        varno.command(SC_CLOSE)
        varno.wait_end()
        self.assertFalse(self.driver.info(varno.hwnd).exists)
        self.assertEqual(self.driver.reg_get(PROFILE_ROOT, PROFILE_SECTION, "ClassName"), profile)


if __name__ == "__main__":
    harness.main()
