"""The Windows installer: a silent install, Varno started from where it was installed, and a silent uninstall
that removes what the install put in place and keeps the settings."""

import os
import subprocess

import harness
from harness import SETTINGS_KEY, SETTINGS_ROOT, TITLE, wait_for

INSTALLER = os.environ.get("VARNO_INSTALLER") or os.path.join(harness.BUILD_DIR, "varno-2.0-win64-setup.exe")
UNINSTALL_KEY = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Varno"


def drive_c(*parts):
    return os.path.join(os.environ["WINEPREFIX"], "drive_c", *parts)


class InstallerTest(harness.VarnoTestCase):

    def run_silently(self, *command):
        with harness.wine_log() as log:
            subprocess.run(["wine"] + list(command), check=True, timeout=120, stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=log)

    def test_install_start_and_uninstall(self):
        install_dir = drive_c("Program Files", "Varno")
        shortcut = drive_c("ProgramData", "Microsoft", "Windows", "Start Menu", "Programs", "Varno.lnk")
        installed = [os.path.join(install_dir, name) for name in ("varno.exe", "README.md", "LICENSE.txt",
                                                                  "Uninstall.exe")]

        self.run_silently(INSTALLER, "/S")
        for path in installed + [shortcut]:
            self.assertTrue(os.path.isfile(path), path)
        kind, name = self.driver.reg_get("HKLM", UNINSTALL_KEY, "DisplayName")
        self.assertEqual(name.rstrip(b"\0"), b"Varno 2.0")
        kind, command = self.driver.reg_get("HKLM", UNINSTALL_KEY, "UninstallString")
        self.assertEqual(command.rstrip(b"\0"), b'"C:\\Program Files\\Varno\\Uninstall.exe"')

        varno = self.start_varno(exe="C:\\Program Files\\Varno\\varno.exe")
        self.assertEqual(varno.caption(), TITLE)
        self.assertIsNotNone(self.driver.reg_get(SETTINGS_ROOT, SETTINGS_KEY, "fActive")[0])
        varno.kill()

        # The uninstaller copies itself away and goes on in the background: wait for its effects.
        self.run_silently("C:\\Program Files\\Varno\\Uninstall.exe", "/S")
        wait_for(lambda: not os.path.exists(install_dir), "the install folder to be removed", timeout=60)
        self.assertFalse(os.path.exists(shortcut))
        wait_for(lambda: self.driver.reg_get("HKLM", UNINSTALL_KEY, "DisplayName")[0] is None,
                 "the programs-list entry to go")
        # The settings stay for a later install.
        self.assertIsNotNone(self.driver.reg_get(SETTINGS_ROOT, SETTINGS_KEY, "fActive")[0])


if __name__ == "__main__":
    harness.main()
