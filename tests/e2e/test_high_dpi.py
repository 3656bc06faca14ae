"""On a screen of 144 DPI the main window keeps its size: 300 by 200 at 100, 100 are pixels at 96 DPI, scaled."""

import harness
from harness import wait_for

DPI_KEY = "Control Panel\\Desktop"
REG_DWORD = 4


class HighDpiTest(harness.VarnoTestCase):

    def setUp(self):
        super().setUp()
        self.addCleanup(self.driver.reg_delete_value, "HKCU", DPI_KEY, "LogPixels")

    def test_window_is_scaled_by_the_system_dpi(self):
        self.driver.reg_set("HKCU", DPI_KEY, "LogPixels", REG_DWORD, (144).to_bytes(4, "little"))
        varno = self.start_varno()
        varno.restore()
        expected = (150, 150, 600, 450)
        wait_for(lambda: varno.info().rect == expected, "the restored window at %r" % (expected,))
        harness.screenshot("window_144dpi", expected)


if __name__ == "__main__":
    harness.main()
