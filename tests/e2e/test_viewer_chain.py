"""The clipboard viewer chain seen from outside, with viewers of another program before and after Varno: every
notice reaches every viewer while it is in the chain, whether Varno captures or not, and the chain stays whole when
a viewer leaves or Varno closes."""

import harness
from harness import SC_CLOSE, TITLE

from capture_support import CaptureTestCase, caption_for


class ViewerChainTest(CaptureTestCase):

    def assert_notices(self, viewers, before, added, what):
        """Each viewer has received `added` notices more than it had in `before` (a dict id -> count)."""
        for viewer in viewers:
            harness.wait_for(lambda: self.driver.viewer_notices(viewer) >= before[viewer] + added,
                             "%d notices more at viewer %d %s" % (added, viewer, what))
            self.assertEqual(self.driver.viewer_notices(viewer), before[viewer] + added, what)

    def counts(self, viewers):
        return {viewer: self.driver.viewer_notices(viewer) for viewer in viewers}

    def test_viewers_before_and_after_varno_get_every_notice_and_the_chain_survives_varno(self):
        # Chain, from its head: after -> Varno -> before.
        before = self.driver.viewer_join()
        self.addCleanup(self.driver.viewer_leave, before)
        varno = self.start_capture()
        after = self.driver.viewer_join()
        self.addCleanup(self.driver.viewer_leave, after)
        separator = self.separator()
        both = (before, after)

        used = 0
        for text in (b"one", b"two", b"three"):
            counts = self.counts(both)
            used += len(text + separator)
            self.copy(varno, text, used)
            self.assert_notices(both, counts, 1, "for the copy of %r" % text)

        # Varno leaves the chain as it closes; the viewer after it now links straight to the one before.
        varno.command(SC_CLOSE)
        varno.wait_end()
        for text in (b"four", b"five"):
            counts = self.counts(both)
            self.driver.clip_set_text(text)
            self.assert_notices(both, counts, 1, "for the copy of %r with Varno gone" % text)

    def test_a_viewer_that_joins_after_varno_and_leaves_again(self):
        varno = self.start_capture()
        separator = self.separator()
        viewer = self.driver.viewer_join()
        counts = self.counts([viewer])
        self.copy(varno, b"both see it", len(b"both see it" + separator))
        self.assert_notices([viewer], counts, 1, "while both are in the chain")

        self.driver.viewer_leave(viewer)
        used = len(b"both see it" + separator)
        for text in (b"after the leave", b"and once more"):
            used += len(text + separator)
            self.copy(varno, text, used)
        self.assertEqual(self.buffer_via_file(varno),
                         b"both see it" + separator + b"after the leave" + separator + b"and once more" + separator)

    def test_with_capture_off_notices_are_still_passed_on(self):
        viewer = self.driver.viewer_join()
        self.addCleanup(self.driver.viewer_leave, viewer)
        varno = self.start_capture(active=False)
        for change in (lambda: self.driver.clip_set_text(b"text"), self.driver.clip_set_image,
                       lambda: self.driver.clip_set_text(b"")):
            counts = self.counts([viewer])
            change()
            self.assert_notices([viewer], counts, 1, "passed on by Varno")
        self.nothing_captured(varno, TITLE)
        self.assertEqual(self.buffer_via_file(varno), b"")


if __name__ == "__main__":
    harness.main()
